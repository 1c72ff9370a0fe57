// inject.cpp - a preloaded library that disturbs the program's files while it runs.
//
// The first time the program opens or looks up a path containing $NW_INJECT_TRIGGER (the
// output name search, which comes after the reading pass and before the writing pass), the file
// $NW_INJECT_PATH is truncated to $NW_INJECT_SIZE bytes, removed when the size is
// "delete", created when it is "create" (a file that appears under a name the program
// has chosen), or replaced by the file F when it is "move:F" (another file of any size
// under the name). With $NW_INJECT_KILL set to N, the process is killed (SIGKILL)
// as soon as more than N bytes have gone to files, as by a power cut mid-save.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool done = false;

void maybeinject(const char* path) {
  if (done || path == nullptr) return;
  const char* trigger = getenv("NW_INJECT_TRIGGER");
  const char* target = getenv("NW_INJECT_PATH");
  const char* size = getenv("NW_INJECT_SIZE");
  if (trigger == nullptr || target == nullptr || size == nullptr) return;
  if (strstr(path, trigger) == nullptr) return;
  done = true;
  if (strcmp(size, "delete") == 0) {
    unlink(target);
  } else if (strncmp(size, "move:", 5) == 0) {
    if (rename(size + 5, target) != 0) perror("inject: move");
  } else if (strcmp(size, "create") == 0) {
    FILE* f = fopen(target, "w");
    if (f == nullptr || fputs("taken\n", f) < 0 || fclose(f) != 0) perror("inject: create");
  } else if (truncate(target, atol(size)) != 0) {
    perror("inject: truncate");
  }
}

template <typename Fn>
Fn next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

long long written = 0;  // bytes that went to files (not the console)

void maybekill(int fd, long long n) {
  static const char* limit = getenv("NW_INJECT_KILL");
  if (limit == nullptr || fd <= 2 || n <= 0) return;
  written += n;
  if (written > atoll(limit)) raise(SIGKILL);
}

}  // namespace

extern "C" {

FILE* fopen(const char* path, const char* mode) {
  maybeinject(path);
  static auto real = next<FILE* (*)(const char*, const char*)>("fopen");
  return real(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
  maybeinject(path);
  static auto real = next<FILE* (*)(const char*, const char*)>("fopen64");
  return real(path, mode);
}

int lstat(const char* path, struct stat* st) {
  maybeinject(path);
  static auto real = next<int (*)(const char*, struct stat*)>("lstat");
  return real(path, st);
}
int lstat64(const char* path, struct stat64* st) {
  maybeinject(path);
  static auto real = next<int (*)(const char*, struct stat64*)>("lstat64");
  return real(path, st);
}
int open(const char* path, int flags, ...) {
  maybeinject(path);
  va_list ap;
  va_start(ap, flags);
  mode_t mode = static_cast<mode_t>(va_arg(ap, int));
  va_end(ap);
  static auto real = next<int (*)(const char*, int, ...)>("open");
  return real(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  maybeinject(path);
  va_list ap;
  va_start(ap, flags);
  mode_t mode = static_cast<mode_t>(va_arg(ap, int));
  va_end(ap);
  static auto real = next<int (*)(const char*, int, ...)>("open64");
  return real(path, flags, mode);
}

ssize_t write(int fd, const void* buf, size_t n) {
  static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
  ssize_t r = real(fd, buf, n);
  maybekill(fd, r);
  return r;
}

size_t fwrite(const void* buf, size_t size, size_t n, FILE* fp) {
  static auto real = next<size_t (*)(const void*, size_t, size_t, FILE*)>("fwrite");
  size_t r = real(buf, size, n, fp);
  int fd = fileno(fp);
  if (fd > 2 && getenv("NW_INJECT_KILL") != nullptr) fflush(fp);  // on the disk before the kill
  maybekill(fd, static_cast<long long>(r * size));
  return r;
}

}  // extern "C"
