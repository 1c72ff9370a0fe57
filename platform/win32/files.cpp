// files.cpp - Windows: file access over CreateFileW / ReadFile / WriteFile and fopen.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "platform/platform.h"

namespace {

// Kept here because a console write between the failure and the question may change
// GetLastError.
uint32_t lasterr = 0;

int fail() {
  lasterr = GetLastError();
  return -1;
}

const wchar_t* wpath(const char16_t* p) { return reinterpret_cast<const wchar_t*>(p); }

oshandle openW(const char16_t* path, DWORD access, DWORD disposition, uint32_t* err) {
  HANDLE h = CreateFileW(wpath(path), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
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

// No sharing while the file is written: another run cannot open it, so cannot take it
// for a leftover. DELETE lets the file be renamed through this handle before it is
// closed.
oshandle osopenwriteW(const char16_t* path, uint32_t* err) {
  return openW(path, GENERIC_WRITE | DELETE, CREATE_NEW, err);
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
  if (mode[0] != 'w') {
    FILE* fp = fopen(path, mode);
    if (fp == nullptr) fail();
    return fp;
  }
  // fopen cannot create exclusively on every runtime: the handle is made here.
  HANDLE h = CreateFileA(path, GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    fail();
    return nullptr;
  }
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    fail();
    CloseHandle(h);
    return nullptr;
  }
  FILE* fp = _fdopen(fd, "wb");
  if (fp == nullptr) {
    fail();
    _close(fd);
  }
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

namespace {

// Renamed through the open handle, which no other program can open meanwhile; a name
// that is taken fails unless replace is set.
int renamehandle(HANDLE h, const wchar_t* to, bool replace = false) {
  size_t n = wcslen(to);
  if (n >= MAX_PATH * 2) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return fail();
  }
  alignas(FILE_RENAME_INFO) static unsigned char buf[sizeof(FILE_RENAME_INFO) + MAX_PATH * 4 + 4];
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buf);
  memset(buf, 0, sizeof buf);
  info->ReplaceIfExists = replace ? TRUE : FALSE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(n * sizeof(wchar_t));
  memcpy(info->FileName, to, (n + 1) * sizeof(wchar_t));
  if (SetFileInformationByHandle(h, FileRenameInfo, info, sizeof buf)) return 0;
  // A taken name is ERROR_ALREADY_EXISTS here; the callers know it as FILE_EXISTS.
  if (GetLastError() == ERROR_ALREADY_EXISTS) SetLastError(ERROR_FILE_EXISTS);
  return fail();
}

}  // namespace

int osrenamenew(FILE* stream, const char*, const char* to) {
  fflush(stream);
  wchar_t wide[MAX_PATH * 2];
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, to, -1, wide, MAX_PATH * 2) == 0) return fail();
  return renamehandle(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), wide);
}

int osrenamenewW(oshandle h, const char16_t*, const char16_t* to) {
  return renamehandle(winhandle(h), wpath(to));
}

int osrenameover(FILE* stream, const char*, const char* to) {
  fflush(stream);
  wchar_t wide[MAX_PATH * 2];
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, to, -1, wide, MAX_PATH * 2) == 0) return fail();
  return renamehandle(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), wide, true);
}

int osrenameoverW(oshandle h, const char16_t*, const char16_t* to) {
  return renamehandle(winhandle(h), wpath(to), true);
}

namespace {

// The file behind the handle is the one the path names itself, not one a link leads
// to. Windows marks links as reparse points; Wine shows a link of the host system as the
// file it leads to, and only the final path tells.
bool samefile(HANDLE h, const wchar_t* path) {
  static wchar_t full[MAX_PATH * 2 + 8], final[MAX_PATH * 2 + 8];
  DWORD nf = GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
  DWORD nh = GetFinalPathNameByHandleW(h, final, MAX_PATH * 2, FILE_NAME_NORMALIZED);
  if (nf == 0 || nf >= MAX_PATH * 2 || nh == 0 || nh >= MAX_PATH * 2) return false;
  const wchar_t* f = final;
  if (wcsncmp(f, L"\\\\?\\", 4) == 0) f += 4;
  return CompareStringOrdinal(full, -1, f, -1, TRUE) == CSTR_EQUAL;
}

// A leftover is a plain file with one name that no program has open: a file being
// written by another run cannot be opened at all (it shares nothing).
int clearstale(HANDLE h, const wchar_t* path) {
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : fail();
  BY_HANDLE_FILE_INFORMATION info;
  FILE_DISPOSITION_INFO gone = {TRUE};
  int r = -1;
  if (GetFileInformationByHandle(h, &info) && info.nNumberOfLinks == 1 &&
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                FILE_ATTRIBUTE_DEVICE)) == 0 &&
      samefile(h, path) && SetFileInformationByHandle(h, FileDispositionInfo, &gone, sizeof gone)) {
    r = 0;
  }
  CloseHandle(h);
  if (r != 0) SetLastError(ERROR_FILE_EXISTS);
  return r == 0 ? 0 : fail();
}

constexpr DWORD kStaleAccess = DELETE | FILE_READ_ATTRIBUTES;
constexpr DWORD kStaleFlags = FILE_FLAG_OPEN_REPARSE_POINT;

bool absent(DWORD attrs) {
  if (attrs != INVALID_FILE_ATTRIBUTES) return false;
  DWORD e = GetLastError();
  return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_INVALID_NAME;
}

int fileid(HANDLE h, OsFileId* id) {
  if (h == INVALID_HANDLE_VALUE) return fail();
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = GetFileInformationByHandle(h, &info);
  if (!ok) fail();
  CloseHandle(h);
  if (!ok) return -1;
  id->volume = info.dwVolumeSerialNumber;
  id->file = static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
  return 0;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

int osclearstale(const char* path) {
  wchar_t wide[MAX_PATH * 2];
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, wide, MAX_PATH * 2) == 0) return fail();
  return osclearstaleW(reinterpret_cast<const char16_t*>(wide));
}

int osclearstaleW(const char16_t* path) {
  HANDLE h = CreateFileW(wpath(path), kStaleAccess, 0, nullptr, OPEN_EXISTING, kStaleFlags, nullptr);
  return clearstale(h, wpath(path));
}

bool osexists(const char* path) { return !absent(GetFileAttributesA(path)); }
bool osexistsW(const char16_t* path) { return !absent(GetFileAttributesW(wpath(path))); }

int osfileid(const char* path, OsFileId* id) {
  return fileid(CreateFileA(path, FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr), id);
}

int osfileidW(const char16_t* path, OsFileId* id) {
  return fileid(CreateFileW(wpath(path), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr),
                id);
}
