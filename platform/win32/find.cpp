// find.cpp - Windows: the directory search over FindFirstFile / FindNextFile.
#include <windows.h>

#include "platform/platform.h"

namespace {

HANDLE search = INVALID_HANDLE_VALUE;  // the one search in progress

// Copies a found name; false when it does not fit the caller's buffer.
template <typename Ch, typename WinCh>
bool takename(Ch* name, size_t cap, const WinCh* found) {
  size_t n = 0;
  while (found[n] != 0) n++;
  if (n >= cap) return false;
  for (size_t i = 0; i <= n; i++) name[i] = static_cast<Ch>(found[i]);
  return true;
}

bool folder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

}  // namespace

int osfindfirst(const char* pattern, char* name, size_t cap, bool* isdir) {
  osfindclose();
  WIN32_FIND_DATAA fd;
  search = FindFirstFileA(pattern, &fd);
  if (search == INVALID_HANDLE_VALUE) return -1;
  if (takename(name, cap, fd.cFileName)) {
    *isdir = folder(fd.dwFileAttributes);
    return 0;
  }
  return osfindnext(name, cap, isdir);
}

int osfindfirstW(const char16_t* pattern, char16_t* name, size_t cap, bool* isdir) {
  osfindclose();
  WIN32_FIND_DATAW fd;
  search = FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern), &fd);
  if (search == INVALID_HANDLE_VALUE) return -1;
  if (takename(name, cap, fd.cFileName)) {
    *isdir = folder(fd.dwFileAttributes);
    return 0;
  }
  return osfindnextW(name, cap, isdir);
}

int osfindnext(char* name, size_t cap, bool* isdir) {
  if (search == INVALID_HANDLE_VALUE) return -1;
  WIN32_FIND_DATAA fd;
  while (FindNextFileA(search, &fd)) {
    if (takename(name, cap, fd.cFileName)) {
      *isdir = folder(fd.dwFileAttributes);
      return 0;
    }
  }
  return -1;
}

int osfindnextW(char16_t* name, size_t cap, bool* isdir) {
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

void osfindclose() {
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  search = INVALID_HANDLE_VALUE;
}
