// mapping.cpp - Windows: a file mapped read-only (CreateFileMapping), and the size of a file.
#include <windows.h>

#include "platform/platform.h"

namespace {

// An empty file cannot be mapped; its bytes point here.
const unsigned char kEmpty[1] = {0};

// The file is shared for reading only: nobody can cut it short while it is mapped.
int maphandle(HANDLE h, OsMapping* m, uint32_t* err) {
  *m = OsMapping{nullptr, 0, OS_NOHANDLE};
  if (h == INVALID_HANDLE_VALUE) {
    *err = GetLastError();
    return -1;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size) || size.QuadPart < 0 ||
      static_cast<uint64_t>(size.QuadPart) > SIZE_MAX) {
    *err = GetLastError() != 0 ? GetLastError() : 8;
    CloseHandle(h);
    return -1;
  }
  const void* p = kEmpty;
  if (size.QuadPart > 0) {
    HANDLE map = CreateFileMappingW(h, nullptr, PAGE_READONLY, 0, 0, nullptr);
    p = map != nullptr ? MapViewOfFile(map, FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (p == nullptr) {
      *err = GetLastError();
      if (map != nullptr) CloseHandle(map);
      CloseHandle(h);
      return -1;
    }
    CloseHandle(map);  // the view keeps the mapping
  }
  *m = OsMapping{static_cast<const unsigned char*>(p), static_cast<uint64_t>(size.QuadPart),
                 reinterpret_cast<oshandle>(h)};
  return 0;
}

int64_t sizeofhandle(HANDLE h) {
  LARGE_INTEGER size;
  const bool ok = h != INVALID_HANDLE_VALUE && GetFileSizeEx(h, &size);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return ok ? static_cast<int64_t>(size.QuadPart) : -1;
}

}  // namespace

int osmapread(const char* path, OsMapping* m, uint32_t* err) {
  return maphandle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr),
                   m, err);
}

int osmapreadW(const char16_t* path, OsMapping* m, uint32_t* err) {
  return maphandle(CreateFileW(reinterpret_cast<const wchar_t*>(path), GENERIC_READ,
                               FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr),
                   m, err);
}

void osunmap(OsMapping* m) {
  if (m->bytes != nullptr && m->size > 0) UnmapViewOfFile(m->bytes);
  if (m->h != OS_NOHANDLE) CloseHandle(reinterpret_cast<HANDLE>(m->h));
  *m = OsMapping{nullptr, 0, OS_NOHANDLE};
}

int64_t osfilesize(const char* path) {
  return sizeofhandle(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

int64_t osfilesizeW(const char16_t* path) {
  return sizeofhandle(CreateFileW(reinterpret_cast<const wchar_t*>(path), 0,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}
