// pmdmodel.h - the PMD model being processed (PMD 1.0, the format before PMX).
//
// Holds no geometry: the element counts, the Japanese names the English names are
// generated from, where the English section lies, and the number of English names
// that will change. Every count of the format fits the tables (bones and morphs are
// counted in 16 bits, bone frames in 8), so no element is ever left out.
#pragma once
#include <cstdint>

constexpr int PMD_NAMELEN = 20;      // model, bone and morph name fields
constexpr int PMD_FRAMELEN = 50;     // bone frame name fields
constexpr int PMD_COMMENTLEN = 256;  // comment fields
constexpr int PMD_NAMEAT = 7;        // the model's name, after the magic and the version
constexpr int PMD_BONESIZE = 39;     // a bone: its name, then 19 bytes
constexpr int PMD_MAXBONES = 65535;
constexpr int PMD_MAXMORPHS = 65535;
constexpr int PMD_MAXFRAMES = 255;

struct PmdModel {
  int32_t boneCount, morphCount, frameCount;  // morphCount includes the base morph
  // The English section's flag byte: its offset, and the flag: 1 the section follows,
  // 0 it does not, -1 the file ended before the flag.
  int32_t englishAt;
  int8_t englishFlag;
  // Where the English fields start when the section is there: the model name (the
  // comment follows it), one name per bone, per morph after the base morph, per frame.
  int32_t enModelAt, enBonesAt, enMorphsAt, enFramesAt;
  // Where the Japanese names are, so that the save can tell they are still those read:
  // the first bone's (each bone takes PMD_BONESIZE bytes), each morph's, the first
  // bone frame's (each takes PMD_FRAMELEN bytes).
  int32_t bonesAt, framesAt;
  int32_t morphAt[PMD_MAXMORPHS];
  // English names that will change: of bones, morphs and bone frames; of the model.
  int32_t nameChangeCount;
  int32_t kindChangeCount;

  // Japanese names in Shift-JIS, terminated; a frame's without its trailing line feed.
  char modelName[PMD_NAMELEN + 1];
  char boneName[PMD_MAXBONES][PMD_NAMELEN + 1];
  char morphName[PMD_MAXMORPHS][PMD_NAMELEN + 1];
  char frameName[PMD_MAXFRAMES][PMD_FRAMELEN + 1];
};

extern PmdModel pmdModel;

// Whether the model's own English name is filled as bones are (off by default).
extern bool pmdFillModelName;
void pmdsetfillmodelname(bool on);

// The text of a name field of width bytes: up to its terminator, or the whole field
// when it has none; dst holds width + 1 bytes.
void pmdfieldtext(char* dst, const uint8_t* field, int width);
// The Japanese name of a bone frame field: its text without the line feed most frame
// names end in; dst holds PMD_FRAMELEN + 1 bytes.
void pmdframename(char* dst, const uint8_t* field);
// True when the Shift-JIS text converts to Unicode and back to the same bytes, so that
// a name made from it by the rules keeps every character it does not change.
bool pmdtextexact(const char* sjis);
// The longest prefix of the Shift-JIS text s of at most max bytes that ends on a whole
// character: its length.
int pmdcut(const char* s, int max);
