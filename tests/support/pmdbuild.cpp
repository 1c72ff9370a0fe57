// pmdbuild.cpp - the PMD test model builder: PMD 1.0 byte layout written from element lists.
#include "tests/support/pmdbuild.h"

#include <cstring>

#include "text/sjis.h"

namespace pmdb {

namespace {

struct Out {
  Bytes b;
  void u8(int v) { b.push_back(static_cast<uint8_t>(v)); }
  void u16(int v) {
    u8(v & 0xFF);
    u8((v >> 8) & 0xFF);
  }
  void u32(uint32_t v) {
    for (int i = 0; i < 4; i++) u8(static_cast<int>((v >> (8 * i)) & 0xFF));
  }
  void f32(float f) {
    uint32_t u;
    memcpy(&u, &f, 4);
    u32(u);
  }
  // n bytes that differ from element to element and are never all zero.
  void filler(size_t n, int seed) {
    for (size_t i = 0; i < n; i++) u8(static_cast<int>((seed * 31 + i * 7 + 1) & 0xFF) | 1);
  }
  void text(const std::string& s, size_t width) {
    for (size_t i = 0; i < width; i++) u8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
  }
  size_t at() const { return b.size(); }
};

}  // namespace

std::string sj(const std::string& utf8) {
  char buf[1024];
  utf82sjisc(buf, utf8.c_str());
  return buf;
}

std::string field(const std::string& text, size_t width, char filler) {
  std::string f = text;
  f.push_back(0);
  while (f.size() < width) f.push_back(filler);
  f.resize(width);
  return f;
}

const char* Builder::blockName(int block) {
  static const char* const names[BLOCKS] = {
      "header", "vertex", "face", "material", "bone", "IK", "morph", "morph display",
      "frame", "bone display", "English", "toon", "rigid body", "joint", "trailing"};
  return names[block];
}

void Builder::addVertex() { vertices_++; }
void Builder::addFace(int a, int b, int c) {
  faces_.push_back(a);
  faces_.push_back(b);
  faces_.push_back(c);
}
void Builder::addFaceIndex(int v) { faces_.push_back(v); }
void Builder::addMaterial(uint32_t faceVertices) { materials_.push_back(faceVertices); }
int Builder::addBone(const std::string& jp, const std::string& en) {
  bones_.push_back({jp, en, 0});
  return static_cast<int>(bones_.size()) - 1;
}
void Builder::addIk(int bone, int target, int links) { iks_.push_back({bone, target, links}); }
int Builder::addMorph(const std::string& jp, const std::string& en, int vertices) {
  morphs_.push_back({jp, en, vertices});
  return static_cast<int>(morphs_.size()) - 1;
}
void Builder::addMorphDisplay(int morph) { morphDisplay_.push_back(morph); }
int Builder::addFrame(const std::string& jp, const std::string& en) {
  frames_.push_back({jp, en, 0});
  return static_cast<int>(frames_.size()) - 1;
}
void Builder::addBoneDisplay(int bone, int frame) { boneDisplay_.push_back({bone, frame}); }
void Builder::addRigidBody() { bodies_++; }
void Builder::addJoint() { joints_++; }

Bytes Builder::build() {
  Out o;
  for (auto& e : elementAt) e.clear();
  enBoneAt.clear();
  enMorphAt.clear();
  enFrameAt.clear();
  auto element = [&](Block k) { elementAt[k].push_back(o.at()); };

  blockAt[HEADER] = o.at();
  o.u8('P'), o.u8('m'), o.u8('d');
  o.f32(1.0f);
  o.text(name, 20);
  o.text(comment, 256);

  blockAt[VERTEX] = o.at();
  o.u32(static_cast<uint32_t>(vertices_));
  for (int i = 0; i < vertices_; i++) {
    element(VERTEX);
    o.filler(38, i);
  }
  blockAt[FACE] = o.at();
  o.u32(static_cast<uint32_t>(faces_.size()));
  for (size_t i = 0; i < faces_.size(); i++) {
    if (i % 3 == 0) element(FACE);
    o.u16(faces_[i]);
  }
  blockAt[MATERIAL] = o.at();
  o.u32(static_cast<uint32_t>(materials_.size()));
  for (size_t i = 0; i < materials_.size(); i++) {
    element(MATERIAL);
    o.filler(46, static_cast<int>(i));
    o.u32(materials_[i]);
    o.text("tex" + std::to_string(i) + ".bmp", 20);
  }
  blockAt[BONE] = o.at();
  o.u16(static_cast<int>(bones_.size()));
  for (size_t i = 0; i < bones_.size(); i++) {
    element(BONE);
    o.text(bones_[i].jp, 20);
    o.u16(i == 0 ? 0xFFFF : 0), o.u16(0xFFFF), o.u8(1), o.u16(0);
    o.filler(12, static_cast<int>(i));
  }
  blockAt[IK] = o.at();
  o.u16(static_cast<int>(iks_.size()));
  for (const Ik& k : iks_) {
    element(IK);
    o.u16(k.bone), o.u16(k.target), o.u8(k.links), o.u16(15), o.f32(0.5f);
    for (int l = 0; l < k.links; l++) o.u16(l);
  }
  blockAt[MORPH] = o.at();
  o.u16(static_cast<int>(morphs_.size()));
  for (size_t i = 0; i < morphs_.size(); i++) {
    element(MORPH);
    o.text(morphs_[i].jp, 20);
    o.u32(static_cast<uint32_t>(morphs_[i].extra));
    o.u8(i == 0 ? 0 : 1 + static_cast<int>(i % 4));
    o.filler(16 * static_cast<size_t>(morphs_[i].extra), static_cast<int>(i));
  }
  blockAt[MORPHDISP] = o.at();
  o.u8(static_cast<int>(morphDisplay_.size()));
  for (int m : morphDisplay_) {
    element(MORPHDISP);
    o.u16(m);
  }
  blockAt[FRAME] = o.at();
  o.u8(static_cast<int>(frames_.size()));
  for (const Named& f : frames_) {
    element(FRAME);
    o.text(f.jp, 50);
  }
  blockAt[BONEDISP] = o.at();
  o.u32(static_cast<uint32_t>(boneDisplay_.size()));
  for (auto [bone, frame] : boneDisplay_) {
    element(BONEDISP);
    o.u16(bone), o.u8(frame + 1);
  }

  blockAt[ENGLISH] = o.at();
  const size_t noBlock = 0;
  for (int k = ENGLISH + 1; k < BLOCKS; k++) blockAt[k] = noBlock;
  if (englishFlag < 0) return o.b;
  o.u8(englishFlag);
  if (englishFlag == 1) {
    enModelAt = o.at();
    o.text(enName, 20);
    o.text(enComment, 256);
    for (const Named& b : bones_) {
      enBoneAt.push_back(o.at());
      o.text(b.en, 20);
    }
    for (size_t i = 0; i < morphs_.size(); i++) {
      enMorphAt.push_back(o.at());
      if (i > 0) o.text(morphs_[i].en, 20);
    }
    for (const Named& f : frames_) {
      enFrameAt.push_back(o.at());
      o.text(f.en, 50);
    }
  }
  if (tailBlocks >= 1) {
    blockAt[TOON] = o.at();
    for (int i = 0; i < 10; i++) o.text("toon" + std::to_string(i + 1) + ".bmp", 100);
  }
  if (tailBlocks >= 2) {
    blockAt[BODY] = o.at();
    o.u32(static_cast<uint32_t>(bodies_));
    for (int i = 0; i < bodies_; i++) {
      element(BODY);
      o.filler(83, i);
    }
  }
  if (tailBlocks >= 3) {
    blockAt[JOINT] = o.at();
    o.u32(static_cast<uint32_t>(joints_));
    for (int i = 0; i < joints_; i++) {
      element(JOINT);
      o.filler(124, i);
    }
    blockAt[TRAILING] = o.at();
    o.b.insert(o.b.end(), trailing.begin(), trailing.end());
  }
  return o.b;
}

}  // namespace pmdb
