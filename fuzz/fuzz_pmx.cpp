// fuzz_pmx.cpp - arbitrary bytes as a model: the reading pass, then the writing pass.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "io/binfile.h"
#include "names/namelist.h"
#include "names/rules.h"
#include "pmx/pmx.h"
#include "pmx/pmxmodel.h"
#include "setup/settings.h"
#include "text/console.h"

namespace {

char dir[] = "/tmp/nwfuzz.XXXXXX";
char inA[64], outA[64];
char16_t inW[64], outW[64];

void discard(const char*, size_t) {}

void widen(char16_t* w, const char* a) {
  while ((*w++ = static_cast<unsigned char>(*a++)) != 0) {
  }
}

// A few rules of every kind, so that the rule functions run on every name.
void loadrules() {
  char path[96];
  snprintf(path, sizeof path, "%s/alias.ini", dir);
  FILE* f = fopen(path, "wb");
  if (f == nullptr) abort();
  fputs("\"\xE5\xB7\xA6\" \"L_\"\n\"\xE8\x85\x95\"F \"arm\"\n\"*\xE6\x8D\xA9\"L \"_tw\"\n"
        "-Morph\n\"\xE3\x81\x82\" \"a\"\n\"\xE7\x9B\xAE*\" \"eye\"\n"
        "-BoneEN\n\"D\" \"d\"\n-MorphEN\n\"?\" \"q\"\n", f);
  fclose(f);
  nlinit();
  aliasread(path);
}

bool init() {
  consetsink(discard);
  if (mkdtemp(dir) == nullptr) abort();
  snprintf(inA, sizeof inA, "%s/in.pmx", dir);
  snprintf(outA, sizeof outA, "%s/out.pmx", dir);
  widen(inW, inA);
  widen(outW, outA);
  settingsdefaults();
  loadrules();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = init();
  (void)ready;
  FILE* f = fopen(inA, "wb");
  if (f == nullptr) abort();
  if (size > 0 && fwrite(data, 1, size, f) != size) abort();
  fclose(f);

  // The last byte picks the verbosity, the setting and the path form.
  uint8_t knob = size > 0 ? data[size - 1] : 0;
  Info.displayLevel = static_cast<int8_t>(knob % 3);
  Force.display = static_cast<int8_t>(knob & 4 ? 1 : 0);
  bool wide = (knob & 8) != 0;
  Fill.everyKind = knob & 16 ? FLAG_ON : FLAG_OFF;

  pmxModel.nameChangeCount = 0;
  int r = wide ? pmdinforeadW(inW) : pmdinforeadA(inA);
  if (r == 0) {
    // The writer runs on whatever the reader gathered, sound or not.
    if (wide) {
      pmxrewriteW(outW, inW);
    } else {
      pmxrewriteA(outA, inA);
    }
  }
  rfclose();
  wfclose();
  // The writer never replaces a file: the next input's copy needs the name free again.
  remove(outA);
  return 0;
}
