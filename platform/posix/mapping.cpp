// mapping.cpp - POSIX: a file mapped read-only (mmap), and the size of a file.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/platform.h"
#include "platform/posix/oschars.h"

namespace {

// An empty file has nothing to map; its bytes point here.
const unsigned char kEmpty[1] = {0};

uint32_t errcode(int e) {
  switch (e) {
    case ENOENT:
    case ENOTDIR: return OSERR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return OSERR_ACCESS_DENIED;
    case ENAMETOOLONG: return OSERR_NAME_TOO_LONG;
    case ENOMEM: return 8;
    default: return 31;
  }
}

int maputf8(const char* path, OsMapping* m, uint32_t* err) {
  *m = OsMapping{nullptr, 0, OS_NOHANDLE};
  int fd;
  do {
    fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    *err = errcode(errno);
    return -1;
  }
  struct stat st;
  // Only a plain file: a pipe or a device would not map, a folder is not a file.
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    close(fd);
    *err = OSERR_ACCESS_DENIED;
    return -1;
  }
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  if (size > SIZE_MAX) {
    close(fd);
    *err = 8;
    return -1;
  }
  const void* p = kEmpty;
  if (size > 0) {
    p = mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) {
      *err = errcode(errno);
      close(fd);
      return -1;
    }
    // Look-ups land on scattered pages: none read ahead of them.
    madvise(const_cast<void*>(p), static_cast<size_t>(size), MADV_RANDOM);
  }
  *m = OsMapping{static_cast<const unsigned char*>(p), size, fd};
  return 0;
}

int64_t sizeutf8(const char* path) {
  struct stat st;
  if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

}  // namespace

int osmapread(const char* path, OsMapping* m, uint32_t* err) {
  char utf8[PATH_MAX];
  if (sjispath2utf8(path, utf8, sizeof utf8) != 0) {
    *m = OsMapping{nullptr, 0, OS_NOHANDLE};
    *err = OSERR_INVALID_NAME;
    return -1;
  }
  return maputf8(utf8, m, err);
}

int osmapreadW(const char16_t* path, OsMapping* m, uint32_t* err) {
  char utf8[PATH_MAX];
  if (unipath2utf8(path, utf8, sizeof utf8) != 0) {
    *m = OsMapping{nullptr, 0, OS_NOHANDLE};
    *err = OSERR_INVALID_NAME;
    return -1;
  }
  return maputf8(utf8, m, err);
}

void osunmap(OsMapping* m) {
  if (m->bytes != nullptr && m->size > 0)
    munmap(const_cast<unsigned char*>(m->bytes), static_cast<size_t>(m->size));
  if (m->h != OS_NOHANDLE) close(static_cast<int>(m->h));
  *m = OsMapping{nullptr, 0, OS_NOHANDLE};
}

int64_t osfilesize(const char* path) {
  char utf8[PATH_MAX];
  return sjispath2utf8(path, utf8, sizeof utf8) == 0 ? sizeutf8(utf8) : -1;
}

int64_t osfilesizeW(const char16_t* path) {
  char utf8[PATH_MAX];
  return unipath2utf8(path, utf8, sizeof utf8) == 0 ? sizeutf8(utf8) : -1;
}
