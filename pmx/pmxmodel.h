// pmxmodel.h - the in-memory picture of the model being processed.
//
// Holds no geometry or names: only the header settings needed to read and encode the
// name fields, the element counts, the absolute offsets of the bone, morph and display
// frame name fields, and the number of English names that will change. With
// Fill.everyKind the reader also records the offsets of the model's name and of the
// names of materials, rigid bodies, joints and soft bodies, and counts theirs apart.
#pragma once
#include <cstdint>

constexpr int PMX_MAXBONES = 4096;
constexpr int PMX_MAXMORPHS = 8192;
constexpr int PMX_MAXFRAMES = 1024;
constexpr int PMX_MAXMATERIALS = 2048;
constexpr int PMX_MAXBODIES = 4096;
constexpr int PMX_MAXJOINTS = 4096;
constexpr int PMX_MAXSOFTBODIES = 256;
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

  // The other kinds; their stored counts stay 0 without Fill.everyKind. The soft-body
  // count is that of a block that was read whole (PMX 2.1 only), else 0.
  int32_t materialCount, bodyCount, jointCount, softBodyCount;
  int32_t storedModelName;  // 1 when modelNameOffset is recorded
  int32_t storedMaterialCount, storedBodyCount, storedJointCount, storedSoftBodyCount;
  int32_t kindChangeCount;  // as nameChangeCount, for the names of these kinds

  int32_t boneNameOffset[PMX_MAXBONES];
  int32_t morphNameOffset[PMX_MAXMORPHS];
  int32_t frameNameOffset[PMX_MAXFRAMES];
  int32_t modelNameOffset;
  int32_t materialNameOffset[PMX_MAXMATERIALS];
  int32_t bodyNameOffset[PMX_MAXBODIES];
  int32_t jointNameOffset[PMX_MAXJOINTS];
  int32_t softBodyNameOffset[PMX_MAXSOFTBODIES];
};

extern PmxModel pmxModel;
