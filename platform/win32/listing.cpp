// listing.cpp - Windows: reading a folder's entries, for folders named as models.
#include <windows.h>

#include "platform/platform.h"

namespace {

// The one listing in progress; FindFirstFileW's entry waits in first until asked for.
HANDLE listing = INVALID_HANDLE_VALUE;
WIN32_FIND_DATAW first;
bool firstwaiting = false;

// A junction or a link to a folder carries both attributes: it is not entered.
int kindof(DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return OSENTRY_FILE;
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? OSENTRY_OTHER : OSENTRY_FOLDER;
}

bool dots(const WCHAR* n) { return n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0)); }

}  // namespace

bool osisfolderW(const char16_t* path) {
  DWORD a = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int oslistopenW(const char16_t* folder) {
  oslistclose();
  WCHAR pattern[MAX_PATH + 2];
  size_t n = 0;
  while (folder[n] != 0) {
    if (n + 3 > MAX_PATH) return -1;
    pattern[n] = static_cast<WCHAR>(folder[n]);
    n++;
  }
  if (n == 0) return -1;
  if (pattern[n - 1] != L'\\' && pattern[n - 1] != L'/') pattern[n++] = L'\\';
  pattern[n++] = L'*';
  pattern[n] = 0;
  listing = FindFirstFileW(pattern, &first);
  firstwaiting = listing != INVALID_HANDLE_VALUE;
  return firstwaiting ? 0 : -1;
}

int oslistnextW(char16_t* name, size_t cap, int* kind) {
  if (listing == INVALID_HANDLE_VALUE) return -1;
  WIN32_FIND_DATAW fd;
  for (;;) {
    if (firstwaiting) {
      fd = first;
      firstwaiting = false;
    } else if (!FindNextFileW(listing, &fd)) {
      return GetLastError() == ERROR_NO_MORE_FILES ? -1 : -2;
    }
    if (dots(fd.cFileName)) continue;
    size_t n = 0;
    while (fd.cFileName[n] != 0) n++;
    if (n >= cap) continue;
    for (size_t i = 0; i <= n; i++) name[i] = static_cast<char16_t>(fd.cFileName[i]);
    *kind = kindof(fd.dwFileAttributes);
    return 0;
  }
}

void oslistclose() {
  if (listing != INVALID_HANDLE_VALUE) FindClose(listing);
  listing = INVALID_HANDLE_VALUE;
  firstwaiting = false;
}
