// args.h - the program's arguments in two index-aligned forms: the ANSI list (Shift-JIS)
// and the UTF-16 list. Entry 0 is the program's own path.
//
// Each list keeps its entries zero-terminated one after the other in one store;
// start[count] is the fill position, so the entry behind the last one is empty.
#pragma once
#include <cstdint>

constexpr int ARG_MAXENTRIES = 511;
constexpr int ARG_STORESIZE = 65535;

struct ArgList {
  int32_t count;
  int32_t start[ARG_MAXENTRIES + 1];
  char store[ARG_STORESIZE + 2];  // room for the last terminator and the empty entry
};

struct ArgListW {
  int32_t count;
  int32_t start[ARG_MAXENTRIES + 1];
  char16_t store[ARG_STORESIZE + 2];
};

extern ArgList argList;
extern ArgListW argListW;

void argclear();                          // both lists empty
int argsplitW(const char16_t* cmdline);   // fills the UTF-16 list from a command line
int argadd(const char* s);
int argaddW(const char16_t* s);
// Appends one argument in both forms, stored as given (the UTF-16 form only while the
// lists are aligned, so that entry j of each names the same file). -1 with nothing
// added when the ANSI list has no room left for it.
int argaddpair(const char* a, const char16_t* w);
// Entry j names a file the system cannot spell (POSIX: not UTF-8): its entries hold a
// shown form only and are never used as paths, since the nearest spelling would name
// another file.
void argmarkbad(int j);
bool argisbad(int j);
// "Too many command line parameters." once per run: the rest of the arguments is dropped.
void argtoomany();
// Entry j, or an empty string when the list has no entry j.
const char* argget(int j);
const char16_t* arggetW(int j);
