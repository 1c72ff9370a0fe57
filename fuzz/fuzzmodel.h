// fuzzmodel.h - what the model fuzz targets share: a folder with a few rules of every
// kind, the input written as the model file, and the knobs its last byte sets.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzzfile.h"
#include "io/binfile.h"
#include "names/namelist.h"
#include "names/rules.h"
#include "setup/settings.h"
#include "text/console.h"

namespace fuzzmodel {

inline char dir[] = "/tmp/nwfuzz.XXXXXX";
inline char inA[64], outA[64];
inline char16_t inW[64], outW[64];

inline void discard(const char*, size_t) {}

inline void widen(char16_t* w, const char* a) {
  while ((*w++ = static_cast<unsigned char>(*a++)) != 0) {
  }
}

// A few rules of every kind, so that the rule functions run on every name.
inline void loadrules() {
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

// Once per process: the folder, the paths ("in" and "out" with the extension), the rules.
inline bool init(const char* ext) {
  consetsink(discard);
  if (mkdtemp(dir) == nullptr) abort();
  snprintf(inA, sizeof inA, "%s/in%s", dir, ext);
  snprintf(outA, sizeof outA, "%s/out%s", dir, ext);
  widen(inW, inA);
  widen(outW, outA);
  settingsdefaults();
  loadrules();
  return true;
}

// Writes the input as the model file. Its last byte picks the verbosity, forced English
// names and (returned) the knob: 8 the UTF-16 path form, 16 every kind of name.
inline uint8_t putinput(const uint8_t* data, size_t size) {
  putfile(inA, data, size);
  uint8_t knob = size > 0 ? data[size - 1] : 0;
  Info.displayLevel = static_cast<int8_t>(knob % 3);
  Force.display = static_cast<int8_t>(knob & 4 ? 1 : 0);
  return knob;
}

// The writer never replaces a file: the next input's copy needs the name free again.
inline void cleanup() {
  rfclose();
  wfclose();
  remove(outA);
}

}  // namespace fuzzmodel
