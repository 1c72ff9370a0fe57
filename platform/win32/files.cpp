// files.cpp - Windows: file access over CreateFileW / ReadFile / WriteFile and fopen.
#include <windows.h>

#include <io.h>

#include <cstdio>

#include "platform/platform.h"

namespace {

// Kept here because a console write between the failure and the question may change
// GetLastError.
uint32_t lasterr = 0;

int fail() {
  lasterr = GetLastError();
  return -1;
}

oshandle openW(const char16_t* path, DWORD access, DWORD disposition, uint32_t* err) {
  HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path), access, 0, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    fail();
    *err = lasterr;
    return OS_NOHANDLE;
  }
  return reinterpret_cast<oshandle>(h);
}

HANDLE winhandle(oshandle h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

oshandle osopenreadW(const char16_t* path, uint32_t* err) {
  return openW(path, GENERIC_READ, OPEN_EXISTING, err);
}

oshandle osopenwriteW(const char16_t* path, uint32_t* err) {
  return openW(path, GENERIC_WRITE, CREATE_ALWAYS, err);
}

int osread(oshandle h, void* buf, uint32_t n, uint32_t* got) {
  DWORD done = 0;
  BOOL ok = ReadFile(winhandle(h), buf, n, &done, nullptr);
  *got = done;
  return ok ? 0 : fail();
}

int oswrite(oshandle h, const void* buf, uint32_t n, uint32_t* put) {
  DWORD done = 0;
  BOOL ok = WriteFile(winhandle(h), buf, n, &done, nullptr);
  *put = done;
  return ok ? 0 : fail();
}

int64_t osseek(oshandle h, int64_t offset, bool fromCurrent) {
  LONG high = static_cast<LONG>(offset >> 32);
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(winhandle(h), static_cast<LONG>(offset & 0xFFFFFFFF), &high,
                             fromCurrent ? FILE_CURRENT : FILE_BEGIN);
  // INVALID_SET_FILE_POINTER is also a valid low half of a large position.
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return fail();
  return static_cast<int64_t>(static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32 | low);
}

int osclose(oshandle h) { return CloseHandle(winhandle(h)) ? 0 : fail(); }

uint32_t oslasterror() { return lasterr; }

FILE* osfopen(const char* path, const char* mode) {
  FILE* fp = fopen(path, mode);
  if (fp == nullptr) fail();
  return fp;
}

int osremove(const char* path) { return DeleteFileA(path) ? 0 : fail(); }

int osremoveW(const char16_t* path) {
  return DeleteFileW(reinterpret_cast<const wchar_t*>(path)) ? 0 : fail();
}

int osfsync(oshandle h) { return FlushFileBuffers(winhandle(h)) ? 0 : fail(); }

int osfsyncstream(FILE* stream) {
  auto h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h) ? 0 : fail();
}

// Without MOVEFILE_REPLACE_EXISTING a name that is taken fails the move.
int osrenamenew(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH) ? 0 : fail();
}

int osrenamenewW(const char16_t* from, const char16_t* to) {
  return MoveFileExW(reinterpret_cast<const wchar_t*>(from), reinterpret_cast<const wchar_t*>(to),
                     MOVEFILE_WRITE_THROUGH)
             ? 0
             : fail();
}
