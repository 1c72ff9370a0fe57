// fuzz_table.cpp - arbitrary bytes as a names table, read and checked against a model's
// elements in each of the three encodings of names; the names it gives then written
// through the names table as a writer would, and the corrections remembered.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "fuzz/fuzzfile.h"
#include "names/nametable.h"
#include "table/table.h"
#include "text/console.h"

namespace {

char dir[] = "/tmp/nwfuzztable.XXXXXX";
char path[64], folder[64];
char16_t folderW[64];

void discard(const char*, size_t) {}

bool init() {
  consetsink(discard);
  if (mkdtemp(dir) == nullptr) abort();
  snprintf(path, sizeof path, "%s/m.names.csv", dir);
  snprintf(folder, sizeof folder, "%s/", dir);
  for (int i = 0; (folderW[i] = static_cast<unsigned char>(folder[i])) != 0; i++) {
  }
  return true;
}

// A model's elements, their Japanese names in the encoding (ASCII reads the same in
// UTF-8 and Shift-JIS; "\x93\xAA" is 頭 in Shift-JIS, mojibake elsewhere).
void listmodel(NtEncoding enc) {
  ntbegin(enc, false);
  const int wide = enc == NtEncoding::utf16le ? 2 : 1;
  auto add = [&](NameKind kind, int i, const char* jp, int max) {
    uint8_t raw[64];
    int n = 0;
    for (; jp[n / wide] != 0; n += wide) {
      raw[n] = static_cast<uint8_t>(jp[n / wide]);
      if (wide == 2) raw[n + 1] = 0;
    }
    ntadd(kind, i, raw, n, raw, n, max);  // its English name as read: its Japanese one
  };
  const int max = enc == NtEncoding::sjis ? 19 : 254;
  add(NameKind::model, 0, "m", max);
  for (int i = 0; i < 3; i++) add(NameKind::bone, i, i == 1 ? "\x93\xAA" : "b", max);
  for (int i = 1; i < 3; i++) add(NameKind::morph, i, "a", max);
  add(NameKind::frame, 0, "f", enc == NtEncoding::sjis ? 49 : 254);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = init();
  (void)ready;
  putfile(path, data, size);
  for (NtEncoding enc : {NtEncoding::utf16le, NtEncoding::utf8, NtEncoding::sjis}) {
    listmodel(enc);
    if (tbread(path, nullptr, 0) < 0) abort();
    // Each element through the writer's hook, with a name of its own that differs.
    for (int r = 0; r < ntcount(); r++) {
      const NtRow& row = ntrow(r);
      const uint8_t* en = reinterpret_cast<const uint8_t*>("x\0y");
      int len = 3;
      ntwrite(row.kind, row.index, nullptr, 0, &en, &len, nullptr, 0, NameSource::copied);
      if (len < 0 || len > NT_TEXTMAX) abort();
    }
  }
  // The list made anew half of the time, so that both ways are taken and it never grows
  // without end.
  if (size % 2 == 0) {
    char list[96];
    snprintf(list, sizeof list, "%s%s", folder, TB_WORDLIST);
    remove(list);
  }
  int already;
  tbremember(folder, folderW, &already);
  return 0;
}
