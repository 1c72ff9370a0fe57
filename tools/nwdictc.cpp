// nwdictc.cpp - nwdictc: compiles the dictionary text into "namedict.bin", the form the
// program maps and reads as it lies (names/dictbin.h), with the program's own reader.
//
//   nwdictc TEXT BIN           writes BIN, a new file (one that exists is left alone)
//   nwdictc --check TEXT BIN   exits 1 unless BIN holds exactly what TEXT compiles to
// Exits 2 for a text that cannot be read whole (its line is told on standard error).
#include <cstdio>
#include <cstring>

#include "names/dict.h"
#include "names/dictbin.h"
#include "platform/platform.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

void tostderr(const char* bytes, size_t n) { fwrite(bytes, 1, n, stderr); }

char16_t textW[OS_MAXPATH * 4];
char16_t binW[OS_MAXPATH * 4];

int usage() {
  fputs("usage: nwdictc [--check] namedict.txt namedict.bin\n", stderr);
  return 2;
}

int writenew(const char16_t* path, const char* shown, const unsigned char* p, uint64_t n) {
  uint32_t err = 0;
  const oshandle h = osopenwriteW(path, &err);
  if (h == OS_NOHANDLE) {
    fprintf(stderr, "nwdictc: cannot create %s (error %u; an existing file is not replaced)\n",
            shown, static_cast<unsigned>(err));
    return 1;
  }
  bool ok = true;
  for (uint64_t at = 0; ok && at < n;) {
    const uint64_t want = n - at < (1u << 30) ? n - at : (1u << 30);
    uint32_t put = 0;
    ok = oswrite(h, p + at, static_cast<uint32_t>(want), &put) == 0 && put > 0;
    at += put;
  }
  ok = osclose(h) == 0 && ok;
  if (!ok) {
    osremoveW(path);  // our own half-written file
    fprintf(stderr, "nwdictc: cannot write %s\n", shown);
    return 1;
  }
  return 0;
}

int check(const char16_t* path, const char* shown, const unsigned char* p, uint64_t n) {
  OsMapping m;
  uint32_t err = 0;
  if (osmapreadW(path, &m, &err) != 0) {
    fprintf(stderr, "nwdictc: cannot open %s\n", shown);
    return 1;
  }
  const bool same = m.size == n && memcmp(m.bytes, p, static_cast<size_t>(n)) == 0;
  osunmap(&m);
  if (!same) {
    fprintf(stderr, "nwdictc: %s is not what the text compiles to\n", shown);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool checking = argc == 4 && strcmp(argv[1], "--check") == 0;
  if (argc != 3 && !checking) return usage();
  const char* text = argv[argc - 2];
  const char* bin = argv[argc - 1];
  if (utf82unistr(textW, text) == 0 || utf82unistr(binW, bin) == 0) return usage();
  consetsink(tostderr);
  const int r = dictread(nullptr, textW, text);
  conflush();
  if (r == -1) {
    fprintf(stderr, "nwdictc: cannot open %s\n", text);
    return 2;
  }
  if (r != 0) return 2;
  const unsigned char* image = nullptr;
  uint64_t size = 0;
  if (dict::bincompile(static_cast<uint64_t>(osfilesizeW(textW)), &image, &size) != 0) {
    fprintf(stderr, "nwdictc: %s holds no entry\n", text);
    return 2;
  }
  return checking ? check(binW, bin, image, size) : writenew(binW, bin, image, size);
}
