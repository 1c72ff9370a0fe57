// mkbig.cpp - nwbigmodel: writes the benchmark's large model, for the memory check.
//
//   nwbigmodel <vertices> utf16|utf8 <output.pmx>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bigmodel.h"

int main(int argc, char** argv) {
  int vertices = argc == 4 ? atoi(argv[1]) : 0;
  if (vertices <= 0 || (strcmp(argv[2], "utf16") != 0 && strcmp(argv[2], "utf8") != 0)) {
    fputs("usage: nwbigmodel <vertices> utf16|utf8 <output.pmx>\n", stderr);
    return 2;
  }
  pmxb::Bytes file = bench::bigmodel(vertices, strcmp(argv[2], "utf8") == 0);
  if (!pmxb::writefile(argv[3], file)) {
    fprintf(stderr, "nwbigmodel: cannot write %s\n", argv[3]);
    return 1;
  }
  printf("%s: %zu bytes\n", argv[3], file.size());
  return 0;
}
