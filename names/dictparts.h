// dictparts.h - the pieces of the name being built: filled by the segmentation
// (names/segment.cpp), written as one name by the composition (names/compose.cpp).
#pragma once
#include <cstdint>

#include "names/dict.h"

namespace dict {

enum PartType : uint8_t { PT_TEXT, PT_WORD, PT_LITERAL, PT_KANA, PT_UNKNOWN };

struct Part {
  PartType type;
  int32_t entry;  // PT_WORD
  const char* s;  // the piece's text in the normal form (PT_TEXT: as written)
  int len;
};

extern Part parts[DICT_PARTS];
extern int partCount;
extern bool usedDict;  // a stretch was read through the dictionary
extern bool ruled;     // a rule's text is part of the name
extern int64_t nameCost;  // the segmentation's rank of the stretches read
extern bool wholeEntry;   // the name is one whole-name entry

}  // namespace dict
