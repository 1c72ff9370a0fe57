// pmdbuild.h - builds PMD 1.0 model files in memory for tests and the generator.
//
// Names are given as the bytes of their field (Shift-JIS; sj() converts UTF-8): shorter
// ones are padded with zero bytes, so a test can put bytes after a terminator. The
// builder remembers where every block, element and English field starts, so that a
// test can cut the file anywhere and work out an expected output on its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pmdb {

using Bytes = std::vector<uint8_t>;

// The Shift-JIS bytes of a UTF-8 text.
std::string sj(const std::string& utf8);
// A field of width bytes: the text, its terminator and then filler repeated.
std::string field(const std::string& text, size_t width, char filler);

class Builder {
 public:
  std::string name = sj("テストモデル"), comment = sj("テスト用");
  std::string enName, enComment = "A model for tests.";
  // The English section: its flag byte (-1: the file ends before it). Flag 1 writes the
  // section from the en names given.
  int englishFlag = 1;
  // Optional blocks after the section (none when the file ends before the flag):
  // 0 none, 1 toon names, 2 and rigid bodies, 3 and joints.
  int tailBlocks = 3;
  Bytes trailing;  // bytes after the joints

  void addVertex();
  void addFace(int a, int b, int c);
  void addFaceIndex(int v);  // one index, to make counts that are not whole faces
  void addMaterial(uint32_t faceVertices);
  int addBone(const std::string& jp, const std::string& en);
  void addIk(int bone, int target, int links);
  // The first morph is the base morph, whose English name the section leaves out.
  int addMorph(const std::string& jp, const std::string& en, int vertices = 1);
  void addMorphDisplay(int morph);
  int addFrame(const std::string& jp, const std::string& en);
  void addBoneDisplay(int bone, int frame);
  void addRigidBody();
  void addJoint();

  Bytes build();

  // Filled by build(): where each block starts (its count field) and, for the blocks
  // that have elements, where each element starts; where the English fields are.
  enum Block {
    HEADER, VERTEX, FACE, MATERIAL, BONE, IK, MORPH, MORPHDISP, FRAME, BONEDISP,
    ENGLISH, TOON, BODY, JOINT, TRAILING, BLOCKS
  };
  static const char* blockName(int block);
  size_t blockAt[BLOCKS] = {};
  std::vector<size_t> elementAt[BLOCKS];
  size_t enModelAt = 0;  // English model name (the comment follows)
  std::vector<size_t> enBoneAt, enMorphAt, enFrameAt;  // enMorphAt[0] is unused

 private:
  int vertices_ = 0, bodies_ = 0, joints_ = 0;
  std::vector<int> faces_;
  std::vector<uint32_t> materials_;
  struct Named { std::string jp, en; int extra; };
  std::vector<Named> bones_, morphs_, frames_;
  struct Ik { int bone, target, links; };
  std::vector<Ik> iks_;
  std::vector<int> morphDisplay_;
  std::vector<std::pair<int, int>> boneDisplay_;
};

}  // namespace pmdb
