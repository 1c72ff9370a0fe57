// setupfile.h - the "modsetup.ini" parser: options written as on a command line.
#pragma once

// -1 when the file cannot be opened, 0 otherwise (also after a parameter error).
int readsetup(const char* path);
int readsetupW(const char16_t* path);
