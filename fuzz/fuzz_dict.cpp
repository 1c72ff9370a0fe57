// fuzz_dict.cpp - arbitrary bytes as "namedict.bin", the compiled dictionary: checked,
// mapped and read through by names of the input's own bytes and by fixed ones. Unless
// byte 52 (a reserved one) is set, the size and the checksum are made right first, so
// that the checks behind them and the reading of the tables are reached too.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzzfile.h"
#include "names/dict.h"
#include "names/dictbin.h"
#include "names/namegen.h"
#include "names/namelist.h"
#include "names/rules.h"
#include "setup/settings.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

char dir[] = "/tmp/nwfuzzdict.XXXXXX";
char path[64];

void discard(const char*, size_t) {}

bool init() {
  consetsink(discard);
  if (mkdtemp(dir) == nullptr) abort();
  snprintf(path, sizeof path, "%s/namedict.bin", dir);
  settingsdefaults();
  nlinit();
  return true;
}

// Shift-JIS names of the shipped vocabulary's kinds: whole names, words, sides, kana.
const char* const kNames[] = {"\x8D\xB6\x94\xAF\x90\xE6",  // 左髪先
                              "\x83\x58\x83\x4A\x81\x5B\x83\x67",  // スカート
                              "\x83\x5A\x83\x93\x83\x5E\x81\x5B",  // センター
                              "\x82\xDC\x82\xCE\x82\xBD\x82\xAB",  // まばたき
                              "\xBD\xB6\xB0\xC4\x31", "abc_1"};

void readnames(const uint8_t* data, size_t size) {
  char out[REP_BUFSIZE];
  for (const char* jp : kNames) {
    for (NameKind kind : {NameKind::bone, NameKind::morph, NameKind::frame}) {
      genname(kind, jp, out);
      namegiven(kind, out);
      genname(kind, jp, out);  // the same name again: alternatives, then numerals
      namegiven(kind, out);
    }
  }
  // The input's last bytes as a Shift-JIS name and as UTF-8 text.
  char name[48];
  const size_t n = size < sizeof name - 1 ? size : sizeof name - 1;
  memcpy(name, data + size - n, n);
  name[n] = 0;
  genname(NameKind::morph, name, out);
  namegiven(NameKind::morph, out);
  dictbegin();
  dictstretchutf8(DK_BONE, name, static_cast<int>(n), true);
  dictcompose(out, REP_BUFSIZE, 0, 0, nullptr);
  dictcompose(out, REP_BUFSIZE, 0, 1, "2");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = init();
  (void)ready;
  std::vector<unsigned char> bytes(data, data + size);
  if (size >= dict::kBinHeader && bytes[52] == 0) {
    dict::put64(bytes.data() + 16, size);
    dict::DictSum sum;
    dict::dictsumstart(&sum);
    dict::dictsumadd(&sum, bytes.data(), size);
    dict::put32(bytes.data() + dict::kBinChecksumAt, dict::dictsumend(&sum));
  }
  putfile(path, bytes.data(), size);

  namesreset();
  dictsetlang(size > 0 && (data[0] & 1) != 0 ? DL_ZH : DL_JA);
  if (dictreadbin(path, nullptr, "fuzz") == 0 && size > 0) readnames(data, size);
  dictclear();
  return 0;
}
