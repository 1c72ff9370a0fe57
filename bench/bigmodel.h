// bigmodel.h - the large model measured by the benchmark and the memory check.
#pragma once
#include "tests/support/pmxbuild.h"

namespace bench {

// A model shaped like a big real one: `vertices` vertices of mixed weight types and
// twice as many faces (about 75 bytes per vertex in all), 5000 bones, 9000 morphs and
// 1100 display frames with typical Japanese names, two thirds of the English names
// vacant. utf8 picks the text encoding (else UTF-16LE).
pmxb::Bytes bigmodel(int vertices, bool utf8);

}  // namespace bench
