// fuzz_text.cpp - arbitrary bytes as "alias.ini" and as "modsetup.ini", the rule
// functions on the rules they give, and the text conversions on the same bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzzfile.h"
#include "names/namelist.h"
#include "names/rules.h"
#include "names/translit.h"
#include "setup/settings.h"
#include "setup/setupfile.h"
#include "setup/textfile.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

char dir[] = "/tmp/nwfuzztext.XXXXXX";
char path[64];

void discard(const char*, size_t) {}

bool init() {
  consetsink(discard);
  if (mkdtemp(dir) == nullptr) abort();
  snprintf(path, sizeof path, "%s/text.ini", dir);
  return true;
}

// Names taken from the input itself, cut where a rule buffer would be.
void applyrules(const uint8_t* data, size_t size) {
  char name[256];
  char out[REP_BUFSIZE];
  char eng[ENG_BUFSIZE];
  size_t n = size < sizeof name - 1 ? size : sizeof name - 1;
  memcpy(name, data, n);
  name[n] = 0;
  brep(out, name);
  mrep(out, name);
  benrep(out, name);
  menrep(out, name);
  sjis2eng(eng, name);
}

void convert(const uint8_t* data, size_t size) {
  // Every conversion grows its text at most fourfold; units need twice the room.
  std::vector<char> src(data, data + size);
  src.push_back(0);
  src.push_back(0);
  std::vector<char> bytes(size * 4 + 16);
  std::vector<char16_t> units(size * 4 + 16);
  utf82sjisc(bytes.data(), src.data());
  sjis2utf8c(bytes.data(), src.data());
  sjis2unistrc(units.data(), src.data());
  utf82unistr(units.data(), src.data());
  std::vector<char16_t> wsrc(size / 2 + 1);
  memcpy(wsrc.data(), data, size / 2 * 2);
  wsrc[size / 2] = 0;
  unistr2sjisc(bytes.data(), wsrc.data());
  unistr2utf8(bytes.data(), wsrc.data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = init();
  (void)ready;
  putfile(path, data, size);

  settingsdefaults();
  nlinit();
  aliasread(path);
  applyrules(data, size);
  readsetup(path);
  tfclose();
  convert(data, size);
  return 0;
}
