// find.cpp - Windows: the directory search over FindFirstFileW / FindNextFileW.
//
// The ANSI search runs on UTF-16 too: FindFirstFileA would hand back best-fit names
// (U+301C as 0x8160, which names another file), so a found name gets its exact ANSI
// form instead, '?' where a character does not convert back to itself.
#include <windows.h>

#include "platform/platform.h"

namespace {

HANDLE search = INVALID_HANDLE_VALUE;  // the one search in progress

// Copies a found name; false when it does not fit the caller's buffer.
bool takename(char16_t* name, size_t cap, const WCHAR* found) {
  size_t n = 0;
  while (found[n] != 0) n++;
  if (n >= cap) return false;
  for (size_t i = 0; i <= n; i++) name[i] = static_cast<char16_t>(found[i]);
  return true;
}

bool takename(char* name, size_t cap, const WCHAR* found) {
  return oswide2ansi(reinterpret_cast<const char16_t*>(found), name, cap) == 0;
}

bool folder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

template <typename Ch>
int findnext(Ch* name, size_t cap, bool* isdir) {
  if (search == INVALID_HANDLE_VALUE) return -1;
  WIN32_FIND_DATAW fd;
  while (FindNextFileW(search, &fd)) {
    if (takename(name, cap, fd.cFileName)) {
      *isdir = folder(fd.dwFileAttributes);
      return 0;
    }
  }
  return -1;
}

template <typename Ch>
int findfirst(const char16_t* pattern, Ch* name, size_t cap, bool* isdir) {
  osfindclose();
  WIN32_FIND_DATAW fd;
  search = FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern), &fd);
  if (search == INVALID_HANDLE_VALUE) return -1;
  if (takename(name, cap, fd.cFileName)) {
    *isdir = folder(fd.dwFileAttributes);
    return 0;
  }
  return findnext(name, cap, isdir);
}

}  // namespace

int osfindfirst(const char* pattern, char* name, size_t cap, bool* isdir) {
  char16_t patternW[MAX_PATH];
  if (osansi2wide(pattern, patternW, MAX_PATH) != 0) return -1;
  return findfirst(patternW, name, cap, isdir);
}

int osfindfirstW(const char16_t* pattern, char16_t* name, size_t cap, bool* isdir) {
  return findfirst(pattern, name, cap, isdir);
}

int osfindnext(char* name, size_t cap, bool* isdir) { return findnext(name, cap, isdir); }
int osfindnextW(char16_t* name, size_t cap, bool* isdir) { return findnext(name, cap, isdir); }

void osfindclose() {
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  search = INVALID_HANDLE_VALUE;
}
