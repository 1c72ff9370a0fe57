// fuzz_pmx.cpp - arbitrary bytes as a model: the reading pass, then the writing pass.
#include "fuzz/fuzzmodel.h"
#include "pmx/pmx.h"
#include "pmx/pmxmodel.h"

using namespace fuzzmodel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = init(".pmx");
  (void)ready;
  uint8_t knob = putinput(data, size);
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
  cleanup();
  return 0;
}
