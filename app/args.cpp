// args.cpp - building the ANSI and UTF-16 argument lists.
#include "app/args.h"

#include <cstring>

#include "text/console.h"
#include "text/sjis.h"

ArgList argList;
ArgListW argListW;

namespace {

// A separating blank stops the split once either limit is reached.
constexpr int32_t SPLIT_FILLLIMIT = 65275;
constexpr int32_t SPLIT_LINELIMIT = 65533;

template <typename List>
void clear(List& list) {
  list.count = 0;
  list.start[0] = 0;
  list.store[0] = 0;
}

template <typename List>
int32_t fill(const List& list) {
  return list.start[list.count];
}

// Appends s as one entry: a leading double quote is dropped and the entry ends at the
// next one; in the ANSI list a double-byte character is copied as a pair.
template <typename List, typename Ch>
int add(List& list, const Ch* s, bool ansi) {
  if (s[0] == 0 || list.count >= ARG_MAXENTRIES) return 0;
  int32_t at = fill(list);
  int32_t pos = at;
  bool quoted = s[0] == '"';
  for (int32_t i = quoted ? 1 : 0; s[i] != 0 && pos < ARG_STORESIZE; i++) {
    auto c = static_cast<unsigned>(s[i]);
    if (ansi && sysleadbyte(static_cast<unsigned char>(c)) && s[i + 1] != 0) {
      if (pos + 2 > ARG_STORESIZE) break;
      list.store[pos++] = s[i];
      list.store[pos++] = s[++i];
      continue;
    }
    if (quoted && c == '"') break;
    list.store[pos++] = s[i];
  }
  if (pos == at) return 0;  // nothing stored: the entry is withdrawn
  list.store[pos++] = 0;
  list.count++;
  list.start[list.count] = pos;
  list.store[pos] = 0;
  return 0;
}

// Appends s whole, an empty s too; false when the list has no room for it.
template <typename List, typename Ch>
bool addraw(List& list, const Ch* s) {
  int32_t len = 0;
  while (s[len] != 0) len++;
  int32_t at = fill(list);
  if (list.count >= ARG_MAXENTRIES || len + 1 > ARG_STORESIZE - at) return false;
  for (int32_t i = 0; i <= len; i++) list.store[at + i] = s[i];
  list.count++;
  list.start[list.count] = at + len + 1;
  list.store[at + len + 1] = 0;
  return true;
}

bool toldtoomany = false;  // once per process: the lists may be rebuilt

}  // namespace

namespace {
bool badnames[ARG_MAXENTRIES + 1];
}  // namespace

void argclear() {
  clear(argList);
  clear(argListW);
  memset(badnames, 0, sizeof badnames);
}

void argmarkbad(int j) {
  if (j >= 0 && j <= ARG_MAXENTRIES) badnames[j] = true;
}

bool argisbad(int j) { return j >= 0 && j <= ARG_MAXENTRIES && badnames[j]; }

void argtoomany() {
  if (!toldtoomany) conputs("Too many command line parameters.\n");
  toldtoomany = true;
}

int argaddpair(const char* a, const char16_t* w) {
  bool aligned = argListW.count == argList.count;
  if (!addraw(argList, a)) return -1;
  // Both forms or neither: a UTF-16 form that does not fit withdraws the ANSI one.
  if (aligned && !addraw(argListW, w != nullptr ? w : u"")) {
    argList.count--;
    argList.store[argList.start[argList.count]] = 0;
    return -1;
  }
  return 0;
}

int argsplitW(const char16_t* cmdline) {
  ArgListW& list = argListW;
  list.count = 1;
  list.start[0] = 0;
  int32_t pos = 0;
  int32_t i = 0;
  while (cmdline[i] == ' ' || cmdline[i] == '\t') i++;
  bool inquotes = false;
  for (int32_t taken = 0; cmdline[i] != 0 && taken < SPLIT_LINELIMIT && pos < ARG_STORESIZE;
       taken++, i++) {
    char16_t c = cmdline[i];
    if (c == '"') {
      inquotes = !inquotes;
      continue;
    }
    if (c != ' ' || inquotes) {
      list.store[pos++] = c;
      continue;
    }
    if (list.count >= ARG_MAXENTRIES || pos >= SPLIT_FILLLIMIT) break;
    list.store[pos++] = 0;
    while (cmdline[i + 1] == ' ') i++;
    list.start[list.count++] = pos;
  }
  list.store[pos++] = 0;
  // A line that ended in blanks leaves an empty entry 1 behind.
  if (list.count == 2 && list.store[list.start[1]] == 0) list.count = 1;
  list.start[list.count] = pos;
  list.store[pos] = 0;
  return 0;
}

int argadd(const char* s) { return add(argList, s, true); }
int argaddW(const char16_t* s) { return add(argListW, s, false); }

const char* argget(int j) {
  if (j < 0 || j >= argList.count) return argList.store + fill(argList);
  return argList.store + argList.start[j];
}

const char16_t* arggetW(int j) {
  if (j < 0 || j >= argListW.count) return argListW.store + fill(argListW);
  return argListW.store + argListW.start[j];
}
