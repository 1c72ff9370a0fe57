// inject.cpp - a preloaded library that damages the input model while the program runs.
//
// The first time the program opens a path containing $NW_INJECT_TRIGGER (the output
// name probe, which comes after the reading pass and before the writing pass), the file
// $NW_INJECT_PATH is truncated to $NW_INJECT_SIZE bytes, or removed when the size is
// "delete".
#include <dlfcn.h>
#include <fcntl.h>
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
  } else if (truncate(target, atol(size)) != 0) {
    perror("inject: truncate");
  }
}

template <typename Fn>
Fn next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
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

}  // extern "C"
