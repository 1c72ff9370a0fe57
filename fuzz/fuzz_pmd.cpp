// fuzz_pmd.cpp - arbitrary bytes as a PMD model: the reading pass, then the writing pass.
#include "fuzz/fuzzmodel.h"
#include "pmd/pmd.h"
#include "pmd/pmdmodel.h"

using namespace fuzzmodel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = init(".pmd");
  (void)ready;
  uint8_t knob = putinput(data, size);
  bool wide = (knob & 8) != 0;
  pmdsetfillmodelname((knob & 16) != 0);

  int r = wide ? pmdreadW(inW) : pmdreadA(inA);
  if (r == 0) {
    // The writer runs on whatever the reader gathered, sound or not.
    if (wide) {
      pmdrewriteW(outW, inW);
    } else {
      pmdrewriteA(outA, inA);
    }
  }
  cleanup();
  return 0;
}
