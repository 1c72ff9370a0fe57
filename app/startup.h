// startup.h - the environment of a run: language mode, banner and version line, the
// program folder, the settings from "modsetup.ini" and the command-line option groups.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// The program folder, with its trailing separator (the File-Open dialog starts there).
extern char progDir[OS_MAXPATH];
extern char16_t progDirW[OS_MAXPATH];
// The data folder, with its trailing separator: "modsetup.ini", "alias.ini", the
// dictionary and every other data file are read from there.
extern char dataDir[OS_MAXPATH];
extern char16_t dataDirW[OS_MAXPATH];

// Sets the three language flags from the user's language, the console output code
// page and whether the system code page is a double-byte one.
void langmodeset(uint16_t langid, uint32_t consolecp, bool dbcssystem);
// The system part of the version line, e.g. " on Windows 10.019 ".
void versiontext(char* out, size_t cap, float version);
// Pause, banner, version line with the language label.
void startbanner();
// The program folder from argument 0 (both forms), else the executable's folder, else
// the current directory.
void progdirset();
// The data folder: the program folder when it holds any of the data files, else the
// installed one relative to it (POSIX: ../share/namewright/) when that holds them, else
// the program folder.
void datadirset();
// "modsetup.ini" from the data folder, ANSI path first.
void setupread();
// One command-line option group. With apply false the values are parsed and printed
// but not stored (the per-model pass reads the groups a second time).
void optiongroup(const char* group, bool apply);
