// driver.h - the program's run: argument lists, settings, and every model through the
// pipeline of extension check, rules, reading, counting, saving and reporting; every
// names table named through its own (its model found, read, checked, then saved).
#pragma once

#include "ui/outname.h"

// Run codes: the exit status of the process. 16 is or-ed in when the user declines the
// extension question; the others record the first model that failed.
constexpr int RUN_OK = 0;
constexpr int RUN_CANNOTOPEN = -1;   // a model could not be opened
constexpr int RUN_NOTSAVED = 1;      // a model could not be saved
constexpr int RUN_FORMAT = 2;        // a model is not PMX or its data is broken
constexpr int RUN_ENDEARLY = 3;      // a model file ends before its last element
constexpr int RUN_DECLINED = 16;

int nwmain(int argc, char** argv);
