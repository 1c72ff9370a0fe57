// pmxmodel.h - the in-memory picture of the model being processed.
//
// Holds no geometry or names: only the header settings needed to read and encode the
// name fields, the element counts, the absolute offsets of the bone, morph and display
// frame name fields, and the number of English names that will change.
#pragma once
#include <cstdint>

constexpr int PMX_MAXBONES = 4096;
constexpr int PMX_MAXMORPHS = 8192;
constexpr int PMX_MAXFRAMES = 1024;
constexpr int PMX_NAMEMAX = 254;  // text bytes kept of a name field

struct PmxModel {
  float version;
  uint8_t encoding;          // 0 UTF-16LE, 1 UTF-8
  uint8_t additionalUvCount;
  uint8_t vertexIndexSize;
  uint8_t textureIndexSize;
  uint8_t materialIndexSize;
  uint8_t boneIndexSize;
  uint8_t morphIndexSize;
  uint8_t rigidBodyIndexSize;

  int32_t boneCount, morphCount, frameCount;
  int32_t storedBoneCount, storedMorphCount, storedFrameCount;
  int32_t nameChangeCount;

  int32_t boneNameOffset[PMX_MAXBONES];
  int32_t morphNameOffset[PMX_MAXMORPHS];
  int32_t frameNameOffset[PMX_MAXFRAMES];
};

extern PmxModel pmxModel;
