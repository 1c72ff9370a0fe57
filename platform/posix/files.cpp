// files.cpp - POSIX: file access standing in for CreateFileW / ReadFile / WriteFile and fopen.
//
// Paths arrive as Shift-JIS or UTF-16 and go to the system as UTF-8. Failures are kept
// as the Windows code a Japanese Windows would give:
//
//   ENOENT            2  FILE_NOT_FOUND, or 3 PATH_NOT_FOUND when the folder is missing
//   ENOTDIR           3  PATH_NOT_FOUND (a folder of the path is a file)
//   EACCES EPERM      5  ACCESS_DENIED
//   EISDIR EROFS      5  ACCESS_DENIED (a folder opened as a file, a read-only volume)
//   ETXTBSY EBUSY    32  SHARING_VIOLATION
//   EEXIST           80  FILE_EXISTS
//   EINVAL           87  INVALID_PARAMETER (also a seek before the start)
//   ENOSPC          112  DISK_FULL
//   EFBIG           223  FILE_TOO_LARGE
//   ENAMETOOLONG    206  FILENAME_EXCED_RANGE
//   EMFILE ENFILE     4  TOO_MANY_OPEN_FILES
//   ENOMEM            8  NOT_ENOUGH_MEMORY
//   EBADF             6  INVALID_HANDLE
//   EIO            1117  IO_DEVICE
//   ELOOP          1921  CANT_RESOLVE_FILENAME
//   others           31  GEN_FAILURE
//   a path that cannot be converted (or holds '?' / '*'): 123 INVALID_NAME
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/oschars.h"

namespace {

uint32_t lasterr = 0;

// True when the folder part of a UTF-8 path exists as a folder.
bool parentexists(const char* path) {
  const char* slash = strrchr(path, '/');
  if (slash == nullptr) return true;  // the current folder
  char parent[PATH_MAX];
  size_t len = slash == path ? 1 : static_cast<size_t>(slash - path);
  if (len >= sizeof parent) return false;
  memcpy(parent, path, len);
  parent[len] = 0;
  struct stat st;
  return stat(parent, &st) == 0 && S_ISDIR(st.st_mode);
}

uint32_t winerror(int e, const char* path) {
  switch (e) {
    case ENOENT:
      return path[0] != 0 && parentexists(path) ? OSERR_FILE_NOT_FOUND : OSERR_PATH_NOT_FOUND;
    case ENOTDIR: return OSERR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return OSERR_ACCESS_DENIED;
    case ETXTBSY:
    case EBUSY: return 32;
    case EEXIST: return 80;
    case EINVAL: return 87;
    case ENOSPC: return 112;
    case EFBIG: return 223;
    case ENAMETOOLONG: return 206;
    case EMFILE:
    case ENFILE: return 4;
    case ENOMEM: return 8;
    case EBADF: return 6;
    case EIO: return 1117;
    case ELOOP: return 1921;
    default: return 31;
  }
}

int fail(uint32_t code) {
  lasterr = code;
  return -1;
}

// Opens a UTF-8 path; -1 with lasterr set. A read open refuses folders (Windows does),
// and does not wait for a writer when the path is a pipe. A write open only ever creates
// a new file: whatever has the name already (a file, a link, a pipe) is never opened,
// so a planted name cannot steer the bytes elsewhere. The new file is locked for as
// long as it is open, which tells other runs that it is being written.
int openutf8(const char* path, bool write) {
  int flags = write ? (O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC)
                    : (O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  int fd;
  do {
    fd = open(path, flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return fail(winerror(errno, path));
  if (write) {
    // Every new file is locked at once; a lock that cannot be had on a file nobody
    // else knows yet means the system has no locks here, and the exclusive creation
    // alone still keeps runs apart.
    flock(fd, LOCK_EX | LOCK_NB);
  } else {
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
      close(fd);
      return fail(OSERR_ACCESS_DENIED);
    }
  }
  return fd;
}

oshandle openW(const char16_t* path, bool write, uint32_t* err) {
  char utf8[PATH_MAX];
  int fd = unipath2utf8(path, utf8, sizeof utf8) == 0 ? openutf8(utf8, write)
                                                      : fail(OSERR_INVALID_NAME);
  if (fd < 0) {
    *err = lasterr;
    return OS_NOHANDLE;
  }
  return fd;
}

// read(2) and write(2) move at most this much per call.
constexpr uint32_t kChunk = 1u << 30;

}  // namespace

oshandle osopenreadW(const char16_t* path, uint32_t* err) { return openW(path, false, err); }
oshandle osopenwriteW(const char16_t* path, uint32_t* err) { return openW(path, true, err); }

// Like ReadFile on a disk file: a short count only at the end of the file.
int osread(oshandle h, void* buf, uint32_t n, uint32_t* got) {
  auto* p = static_cast<unsigned char*>(buf);
  uint32_t done = 0;
  while (done < n) {
    uint32_t want = n - done < kChunk ? n - done : kChunk;
    ssize_t r = read(static_cast<int>(h), p + done, want);
    if (r < 0) {
      if (errno == EINTR) continue;
      *got = done;
      return fail(winerror(errno, ""));
    }
    if (r == 0) break;
    done += static_cast<uint32_t>(r);
  }
  *got = done;
  return 0;
}

// An error after part of the data went out is still an error (a full disk), so the
// caller can say so.
int oswrite(oshandle h, const void* buf, uint32_t n, uint32_t* put) {
  const auto* p = static_cast<const unsigned char*>(buf);
  uint32_t done = 0;
  while (done < n) {
    uint32_t want = n - done < kChunk ? n - done : kChunk;
    ssize_t r = write(static_cast<int>(h), p + done, want);
    if (r < 0) {
      if (errno == EINTR) continue;
      *put = done;
      return fail(winerror(errno, ""));
    }
    if (r == 0) break;
    done += static_cast<uint32_t>(r);
  }
  *put = done;
  return 0;
}

int64_t osseek(oshandle h, int64_t offset, bool fromCurrent) {
  int whence = fromCurrent ? SEEK_CUR : SEEK_SET;
  off_t r = lseek(static_cast<int>(h), static_cast<off_t>(offset), whence);
  if (r < 0) return fail(winerror(errno, ""));
  return r;
}

// close(2) releases the descriptor even when interrupted, so EINTR is not retried.
int osclose(oshandle h) {
  if (close(static_cast<int>(h)) != 0 && errno != EINTR) return fail(winerror(errno, ""));
  return 0;
}

uint32_t oslasterror() { return lasterr; }

FILE* osfopen(const char* path, const char* mode) {
  char utf8[PATH_MAX];
  if (sjispath2utf8(path, utf8, sizeof utf8) != 0) {
    fail(OSERR_INVALID_NAME);
    return nullptr;
  }
  // The program opens files for reading or for writing only ("rb", "wb").
  bool write = mode[0] == 'w';
  if (!write && mode[0] != 'r') {
    fail(87);
    return nullptr;
  }
  int fd = openutf8(utf8, write);
  if (fd < 0) return nullptr;
  FILE* fp = fdopen(fd, write ? "wb" : "rb");
  if (fp == nullptr) {
    fail(winerror(errno, ""));
    close(fd);
  }
  return fp;
}

int osremove(const char* path) {
  char utf8[PATH_MAX];
  if (sjispath2utf8(path, utf8, sizeof utf8) != 0) return fail(OSERR_INVALID_NAME);
  if (unlink(utf8) != 0) return fail(winerror(errno, utf8));
  return 0;
}

int osremoveW(const char16_t* path) {
  char utf8[PATH_MAX];
  if (unipath2utf8(path, utf8, sizeof utf8) != 0) return fail(OSERR_INVALID_NAME);
  if (unlink(utf8) != 0) return fail(winerror(errno, utf8));
  return 0;
}

namespace {

// A leftover of a run that was cut off is a plain file with this one name that no
// running program holds locked; only such a file is removed.
int clearstale(const char* path) {
  struct stat st, cur;
  if (lstat(path, &st) != 0) return errno == ENOENT ? 0 : fail(winerror(errno, path));
  if (!S_ISREG(st.st_mode) || st.st_nlink != 1) return fail(80);
  int fd = open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail(winerror(errno, path));
  int r = -1;
  if (fstat(fd, &cur) == 0 && S_ISREG(cur.st_mode) && cur.st_nlink == 1 &&
      cur.st_dev == st.st_dev && cur.st_ino == st.st_ino && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      lstat(path, &st) == 0 && cur.st_dev == st.st_dev && cur.st_ino == st.st_ino) {
    r = unlink(path) == 0 ? 0 : -1;
  }
  close(fd);
  return r == 0 ? 0 : fail(80);
}

// Any entry counts, a dangling link or a folder too: a new name must be free of all.
bool existsutf8(const char* path) {
  struct stat st;
  return lstat(path, &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

int fileid(const char* path, OsFileId* id) {
  struct stat st;
  if (stat(path, &st) != 0) return fail(winerror(errno, path));
  id->volume = static_cast<uint64_t>(st.st_dev);
  id->file = static_cast<uint64_t>(st.st_ino);
  return 0;
}

}  // namespace

int osclearstale(const char* path) {
  char utf8[PATH_MAX];
  if (sjispath2utf8(path, utf8, sizeof utf8) != 0) return fail(OSERR_INVALID_NAME);
  return clearstale(utf8);
}

int osclearstaleW(const char16_t* path) {
  char utf8[PATH_MAX];
  if (unipath2utf8(path, utf8, sizeof utf8) != 0) return fail(OSERR_INVALID_NAME);
  return clearstale(utf8);
}

bool osexists(const char* path) {
  char utf8[PATH_MAX];
  return sjispath2utf8(path, utf8, sizeof utf8) == 0 && existsutf8(utf8);
}

bool osexistsW(const char16_t* path) {
  char utf8[PATH_MAX];
  return unipath2utf8(path, utf8, sizeof utf8) == 0 && existsutf8(utf8);
}

int osfileid(const char* path, OsFileId* id) {
  char utf8[PATH_MAX];
  if (sjispath2utf8(path, utf8, sizeof utf8) != 0) return fail(OSERR_INVALID_NAME);
  return fileid(utf8, id);
}

int osfileidW(const char16_t* path, OsFileId* id) {
  char utf8[PATH_MAX];
  if (unipath2utf8(path, utf8, sizeof utf8) != 0) return fail(OSERR_INVALID_NAME);
  return fileid(utf8, id);
}

int osfsync(oshandle h) { return fsync(static_cast<int>(h)) == 0 ? 0 : fail(winerror(errno, "")); }

int osfsyncstream(FILE* stream) { return osfsync(fileno(stream)); }

namespace {

// The folder entry of a renamed file reaches the disk only with its folder.
void syncfolder(const char* path) {
  const char* slash = strrchr(path, '/');
  char folder[PATH_MAX] = ".";
  if (slash != nullptr) {
    size_t len = slash == path ? 1 : static_cast<size_t>(slash - path);
    if (len >= sizeof folder) return;
    memcpy(folder, path, len);
    folder[len] = 0;
  }
  int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// rename(2) replaces the target; a new name must never do that. The kernel refuses a
// taken name atomically with RENAME_NOREPLACE, or with link(2); a volume that offers
// neither (FAT) gets the check just before the rename.
int renamenew(const char* from, const char* to) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
    syncfolder(to);
    return 0;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return fail(winerror(errno, to));
#elif defined(__APPLE__)
  if (renamex_np(from, to, RENAME_EXCL) == 0) {
    syncfolder(to);
    return 0;
  }
  if (errno != ENOTSUP) return fail(winerror(errno, to));
#endif
  if (link(from, to) == 0) {
    unlink(from);
    syncfolder(to);
    return 0;
  }
  if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != ENOSYS) {
    return fail(winerror(errno, to));
  }
  struct stat st;
  if (lstat(to, &st) == 0) return fail(winerror(EEXIST, to));
  if (rename(from, to) != 0) return fail(winerror(errno, to));
  syncfolder(to);
  return 0;
}

}  // namespace

// The file stays open (and locked) until it has its new name, so no other run takes it
// for a leftover in between.
int osrenamenew(FILE*, const char* from, const char* to) {
  char a[PATH_MAX], b[PATH_MAX];
  if (sjispath2utf8(from, a, sizeof a) != 0 || sjispath2utf8(to, b, sizeof b) != 0) {
    return fail(OSERR_INVALID_NAME);
  }
  return renamenew(a, b);
}

int osrenamenewW(oshandle, const char16_t* from, const char16_t* to) {
  char a[PATH_MAX], b[PATH_MAX];
  if (unipath2utf8(from, a, sizeof a) != 0 || unipath2utf8(to, b, sizeof b) != 0) {
    return fail(OSERR_INVALID_NAME);
  }
  return renamenew(a, b);
}

namespace {

// rename(2) puts the new file in the old one's place in one step: the old file is never
// opened, and a link there is replaced, not written through.
int renameover(const char* from, const char* to) {
  if (rename(from, to) != 0) return fail(winerror(errno, to));
  syncfolder(to);
  return 0;
}

}  // namespace

int osrenameover(FILE*, const char* from, const char* to) {
  char a[PATH_MAX], b[PATH_MAX];
  if (sjispath2utf8(from, a, sizeof a) != 0 || sjispath2utf8(to, b, sizeof b) != 0) {
    return fail(OSERR_INVALID_NAME);
  }
  return renameover(a, b);
}

int osrenameoverW(oshandle, const char16_t* from, const char16_t* to) {
  char a[PATH_MAX], b[PATH_MAX];
  if (unipath2utf8(from, a, sizeof a) != 0 || unipath2utf8(to, b, sizeof b) != 0) {
    return fail(OSERR_INVALID_NAME);
  }
  return renameover(a, b);
}
