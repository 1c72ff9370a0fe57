// pmxbuild.h - builds PMX 2.0/2.1 model files in memory for tests and the generator.
//
// Names are given in UTF-8 and encoded here, by code of its own (independent of the
// program's converters), in the model's encoding. The model's name and every material,
// bone, morph, display frame, rigid body, joint and soft body remember where their name
// fields start and their raw bytes, so that a test can work out the expected output file
// on its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pmxb {

using Bytes = std::vector<uint8_t>;

// Bone flags.
enum : uint16_t {
  BF_TAILBONE = 0x0001,
  BF_ROTATE = 0x0002,
  BF_MOVE = 0x0004,
  BF_VISIBLE = 0x0008,
  BF_ENABLED = 0x0010,
  BF_IK = 0x0020,
  BF_GRANTROT = 0x0100,
  BF_GRANTMOVE = 0x0200,
  BF_FIXEDAXIS = 0x0400,
  BF_LOCALAXES = 0x0800,
  BF_EXTPARENT = 0x2000,
};

// One element's name fields as they stand in the file.
struct NameRec {
  size_t offset = 0;  // of the local name's length field
  std::string jp;     // raw bytes in the file's encoding
  std::string en;
  size_t end() const { return offset + 8 + jp.size() + en.size(); }
};

// A name field replacement for withNames(): the element's new raw name bytes.
struct NameEdit {
  NameRec at;
  std::string jp;
  std::string en;
};

struct IkLink {
  int bone = 0;
  bool limits = false;
};

struct FrameItem {
  int type = 0;  // 0 bone, 1 morph
  int index = 0;
};

// UTF-8 to UTF-16LE bytes (well-formed input expected; a bad byte becomes U+FFFD).
std::string utf8to16le(const std::string& s);

class Builder {
 public:
  // Header choices; call before adding elements.
  bool utf8 = false;
  float version = 2.0f;
  int additionalUv = 0;
  int vertexIndexSize = 2, textureIndexSize = 1, materialIndexSize = 1;
  int boneIndexSize = 2, morphIndexSize = 2, rigidIndexSize = 1;
  int extraGlobals = 0;  // globals beyond the eight known ones
  std::string modelName = "model", modelNameEn = "model", comment = "", commentEn = "";
  Bytes trailing;  // bytes after the joints (and the soft bodies, when there are any)

  // Every size at once (vertex, texture, material, bone, morph, rigid body).
  void indexSizes(int size);

  void addVertex(int weightType);
  void addFace(int a, int b, int c);
  void addFaceIndex(int v);  // one vertex index, to make counts that are not whole faces
  void addTexture(const std::string& path);
  // toonMode 0: a texture index follows; 1: a shared toon number follows.
  void addMaterial(const std::string& name, const std::string& en, int toonMode,
                   int faceVertices);
  int addBone(const std::string& name, const std::string& en, uint16_t flags = 0x001E,
              std::vector<IkLink> links = {});
  // kind 0..10, with that many offsets of the kind's layout.
  int addMorph(const std::string& name, const std::string& en, int kind, int offsets = 1);
  int addFrame(const std::string& name, const std::string& en, std::vector<FrameItem> items,
               bool special = false);
  void addRigidBody(const std::string& name, const std::string& en);
  void addJoint(const std::string& name, const std::string& en, int type);
  // A PMX 2.1 soft body; the block is written after the joints when there is one.
  void addSoftBody(const std::string& name, const std::string& en, int anchors = 1,
                   int pins = 2);

  // Serialises the model; fills the name records and elementAt with where every
  // element of every block starts.
  Bytes build();
  NameRec model;  // the model's name and English name
  std::vector<NameRec> bones, morphs, frames;
  std::vector<NameRec> materials, bodies, joints, softBodies;
  enum Block { VERTEX, FACE, TEXTURE, MATERIAL, BONE, MORPH, FRAME, BODY, JOINT, SOFTBODY, BLOCKS };
  std::vector<size_t> elementAt[BLOCKS];

  // A name as the model stores it.
  std::string encode(const std::string& utf8text) const;

 private:
  struct Vertex { int weight; };
  struct Material { std::string name, en; int toon, faceVertices; };
  struct Bone { std::string name, en; uint16_t flags; std::vector<IkLink> links; };
  struct Morph { std::string name, en; int kind, offsets; };
  struct Frame { std::string name, en; std::vector<FrameItem> items; bool special; };
  struct Named { std::string name, en; int type; };

  std::vector<Vertex> vertices_;
  std::vector<int> faces_;
  std::vector<std::string> textures_;
  std::vector<Material> materials_;
  std::vector<Bone> bonesIn_;
  std::vector<Morph> morphsIn_;
  std::vector<Frame> framesIn_;
  std::vector<Named> bodies_, joints_, softBodies_;
};

// The file with each listed element's two name fields replaced (edits in file order).
Bytes withNames(const Bytes& file, const std::vector<NameEdit>& edits);

Bytes readfile(const std::string& path);
bool writefile(const std::string& path, const Bytes& bytes);

}  // namespace pmxb
