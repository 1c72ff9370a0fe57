// fuzzfile.h - the input of a fuzz target written as the file the program reads.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The file is the harness's own, so a failure to write it ends the run at once.
inline void putfile(const char* path, const uint8_t* data, size_t size) {
  FILE* f = fopen(path, "wb");
  if (f == nullptr) abort();
  if (size > 0 && fwrite(data, 1, size, f) != size) abort();
  fclose(f);
}
