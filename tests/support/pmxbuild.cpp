// pmxbuild.cpp - the test model builder: PMX byte layout written from element lists.
#include "tests/support/pmxbuild.h"

#include <cstdio>
#include <cstring>

namespace pmxb {

namespace {

class Out {
 public:
  Bytes b;
  void u8(int v) { b.push_back(static_cast<uint8_t>(v)); }
  void u16(int v) {
    u8(v & 0xFF);
    u8((v >> 8) & 0xFF);
  }
  void i32(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; i++) u8(static_cast<int>((u >> (8 * i)) & 0xFF));
  }
  void f32(float f) {
    uint32_t u;
    memcpy(&u, &f, 4);
    i32(static_cast<int32_t>(u));
  }
  void floats(int n, float base) {
    for (int i = 0; i < n; i++) f32(base + 0.25f * static_cast<float>(i));
  }
  void index(int size, int v) {
    if (size == 1) {
      u8(v);
    } else if (size == 2) {
      u16(v);
    } else {
      i32(v);
    }
  }
  void raw(const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }
  // A text field; returns the raw bytes written after the length.
  std::string text(const std::string& bytes) {
    i32(static_cast<int32_t>(bytes.size()));
    raw(bytes);
    return bytes;
  }
};

// Decodes one UTF-8 sequence at s[i]; advances i. A bad sequence gives U+FFFD.
uint32_t decode8(const std::string& s, size_t& i) {
  auto at = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  uint8_t c = at(i++);
  if (c < 0x80) return c;
  int more = c >= 0xF8 ? -1 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
  if (more < 0) return 0xFFFD;
  uint32_t cp = c & (0x7Fu >> (more + 1));
  for (int k = 0; k < more; k++) {
    if (i >= s.size() || (at(i) & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (at(i++) & 0x3Fu);
  }
  return cp;
}

}  // namespace

std::string utf8to16le(const std::string& s) {
  std::string out;
  auto unit = [&](uint32_t u) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>((u >> 8) & 0xFF));
  };
  for (size_t i = 0; i < s.size();) {
    uint32_t cp = decode8(s, i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 | (cp >> 10));
      unit(0xDC00 | (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

std::string Builder::encode(const std::string& utf8text) const {
  return utf8 ? utf8text : utf8to16le(utf8text);
}

void Builder::indexSizes(int size) {
  vertexIndexSize = textureIndexSize = materialIndexSize = size;
  boneIndexSize = morphIndexSize = rigidIndexSize = size;
}

void Builder::addVertex(int weightType) { vertices_.push_back({weightType}); }

void Builder::addFace(int a, int b, int c) {
  faces_.push_back(a);
  faces_.push_back(b);
  faces_.push_back(c);
}

void Builder::addFaceIndex(int v) { faces_.push_back(v); }

void Builder::addTexture(const std::string& path) { textures_.push_back(path); }

void Builder::addMaterial(const std::string& name, const std::string& en, int toonMode,
                          int faceVertices) {
  materials_.push_back({name, en, toonMode, faceVertices});
}

int Builder::addBone(const std::string& name, const std::string& en, uint16_t flags,
                     std::vector<IkLink> links) {
  bonesIn_.push_back({name, en, flags, std::move(links)});
  return static_cast<int>(bonesIn_.size()) - 1;
}

int Builder::addMorph(const std::string& name, const std::string& en, int kind, int offsets) {
  morphsIn_.push_back({name, en, kind, offsets});
  return static_cast<int>(morphsIn_.size()) - 1;
}

int Builder::addFrame(const std::string& name, const std::string& en,
                      std::vector<FrameItem> items, bool special) {
  framesIn_.push_back({name, en, std::move(items), special});
  return static_cast<int>(framesIn_.size()) - 1;
}

void Builder::addRigidBody(const std::string& name, const std::string& en) {
  bodies_.push_back({name, en, 0});
}

void Builder::addJoint(const std::string& name, const std::string& en, int type) {
  joints_.push_back({name, en, type});
}

// The anchor and pin counts ride in Named::type: anchors in the low byte, pins above.
void Builder::addSoftBody(const std::string& name, const std::string& en, int anchors, int pins) {
  softBodies_.push_back({name, en, anchors | pins << 8});
}

Bytes Builder::build() {
  Out o;
  // An element's two name fields, recorded.
  auto names = [&](Out& out, const std::string& name, const std::string& en) {
    NameRec r;
    r.offset = out.b.size();
    r.jp = out.text(encode(name));
    r.en = out.text(encode(en));
    return r;
  };
  o.raw("PMX ");
  o.f32(version);
  o.u8(8 + extraGlobals);
  o.u8(utf8 ? 1 : 0);
  o.u8(additionalUv);
  o.u8(vertexIndexSize);
  o.u8(textureIndexSize);
  o.u8(materialIndexSize);
  o.u8(boneIndexSize);
  o.u8(morphIndexSize);
  o.u8(rigidIndexSize);
  for (int i = 0; i < extraGlobals; i++) o.u8(0x5A);
  model = NameRec{};
  model.offset = o.b.size();
  model.jp = o.text(encode(modelName));
  model.en = o.text(encode(modelNameEn));
  o.text(encode(comment));
  o.text(encode(commentEn));

  for (auto& at : elementAt) at.clear();
  o.i32(static_cast<int32_t>(vertices_.size()));
  int n = 0;
  for (const Vertex& v : vertices_) {
    elementAt[VERTEX].push_back(o.b.size());
    o.floats(8 + 4 * additionalUv, static_cast<float>(n++));
    o.u8(v.weight);
    int bonesPer = (v.weight == 0) ? 1 : (v.weight == 1 || v.weight == 3) ? 2 : 4;
    for (int k = 0; k < bonesPer; k++) o.index(boneIndexSize, k);
    if (v.weight == 1) o.f32(0.5f);
    if (v.weight == 2 || v.weight == 4) o.floats(4, 0.25f);
    if (v.weight == 3) {
      o.f32(0.5f);
      o.floats(9, 1.0f);
    }
    o.f32(1.0f);  // edge scale
  }

  o.i32(static_cast<int32_t>(faces_.size()));
  for (size_t k = 0; k < faces_.size(); k++) {
    if (k % 3 == 0) elementAt[FACE].push_back(o.b.size());
    o.index(vertexIndexSize, faces_[k]);
  }

  o.i32(static_cast<int32_t>(textures_.size()));
  for (const std::string& t : textures_) {
    elementAt[TEXTURE].push_back(o.b.size());
    o.text(encode(t));
  }

  materials.clear();
  o.i32(static_cast<int32_t>(materials_.size()));
  for (const Material& m : materials_) {
    elementAt[MATERIAL].push_back(o.b.size());
    materials.push_back(names(o, m.name, m.en));
    o.floats(11, 0.5f);
    o.u8(0x01);
    o.floats(5, 0.0f);
    o.index(textureIndexSize, 0);
    o.index(textureIndexSize, textureIndexSize == 4 ? -1 : 0);
    o.u8(1);
    o.u8(m.toon);
    if (m.toon == 0) {
      o.index(textureIndexSize, 0);
    } else {
      o.u8(3);
    }
    o.text(encode("memo"));
    o.i32(m.faceVertices);
  }

  bones.clear();
  o.i32(static_cast<int32_t>(bonesIn_.size()));
  int bi = 0;
  for (const Bone& b : bonesIn_) {
    elementAt[BONE].push_back(o.b.size());
    NameRec r;
    r.offset = o.b.size();
    r.jp = o.text(encode(b.name));
    r.en = o.text(encode(b.en));
    bones.push_back(r);
    o.floats(3, static_cast<float>(bi));
    o.index(boneIndexSize, bi == 0 ? (boneIndexSize == 4 ? -1 : 0) : bi - 1);
    o.i32(0);  // layer
    o.u16(b.flags);
    if (b.flags & BF_TAILBONE) {
      o.index(boneIndexSize, bi + 1);
    } else {
      o.floats(3, 0.0f);
    }
    if (b.flags & (BF_GRANTROT | BF_GRANTMOVE)) {
      o.index(boneIndexSize, 0);
      o.f32(0.5f);
    }
    if (b.flags & BF_FIXEDAXIS) o.floats(3, 1.0f);
    if (b.flags & BF_LOCALAXES) o.floats(6, 1.0f);
    if (b.flags & BF_EXTPARENT) o.i32(7);
    if (b.flags & BF_IK) {
      o.index(boneIndexSize, 0);
      o.i32(40);
      o.f32(0.5f);
      o.i32(static_cast<int32_t>(b.links.size()));
      for (const IkLink& l : b.links) {
        o.index(boneIndexSize, l.bone);
        o.u8(l.limits ? 1 : 0);
        if (l.limits) o.floats(6, -1.0f);
      }
    }
    bi++;
  }

  morphs.clear();
  o.i32(static_cast<int32_t>(morphsIn_.size()));
  for (const Morph& m : morphsIn_) {
    elementAt[MORPH].push_back(o.b.size());
    NameRec r;
    r.offset = o.b.size();
    r.jp = o.text(encode(m.name));
    r.en = o.text(encode(m.en));
    morphs.push_back(r);
    o.u8(4);  // panel
    o.u8(m.kind);
    o.i32(m.offsets);
    for (int k = 0; k < m.offsets; k++) {
      switch (m.kind) {
        case 0: case 9: o.index(morphIndexSize, 0); o.f32(1.0f); break;
        case 1: o.index(vertexIndexSize, k); o.floats(3, 0.1f); break;
        case 2: o.index(boneIndexSize, 0); o.floats(7, 0.1f); break;
        case 8: o.index(materialIndexSize, 0); o.u8(1); o.floats(28, 0.1f); break;
        case 10: o.index(rigidIndexSize, 0); o.u8(0); o.floats(6, 0.1f); break;
        default: o.index(vertexIndexSize, k); o.floats(4, 0.1f); break;  // UV 3..7
      }
    }
  }

  frames.clear();
  o.i32(static_cast<int32_t>(framesIn_.size()));
  for (const Frame& f : framesIn_) {
    elementAt[FRAME].push_back(o.b.size());
    NameRec r;
    r.offset = o.b.size();
    r.jp = o.text(encode(f.name));
    r.en = o.text(encode(f.en));
    frames.push_back(r);
    o.u8(f.special ? 1 : 0);
    o.i32(static_cast<int32_t>(f.items.size()));
    for (const FrameItem& it : f.items) {
      o.u8(it.type);
      o.index(it.type == 0 ? boneIndexSize : morphIndexSize, it.index);
    }
  }

  bodies.clear();
  o.i32(static_cast<int32_t>(bodies_.size()));
  for (const Named& rb : bodies_) {
    elementAt[BODY].push_back(o.b.size());
    bodies.push_back(names(o, rb.name, rb.en));
    o.index(boneIndexSize, 0);
    o.u8(1);
    o.u16(0xFFFE);
    o.u8(0);
    o.floats(14, 0.5f);
    o.u8(1);
  }

  joints.clear();
  o.i32(static_cast<int32_t>(joints_.size()));
  for (const Named& j : joints_) {
    elementAt[JOINT].push_back(o.b.size());
    joints.push_back(names(o, j.name, j.en));
    o.u8(j.type);
    o.index(rigidIndexSize, 0);
    o.index(rigidIndexSize, 0);
    o.floats(24, 0.0f);
  }

  softBodies.clear();
  if (!softBodies_.empty()) o.i32(static_cast<int32_t>(softBodies_.size()));
  for (const Named& sb : softBodies_) {
    elementAt[SOFTBODY].push_back(o.b.size());
    softBodies.push_back(names(o, sb.name, sb.en));
    o.u8(0);  // shape: triangle mesh
    o.index(materialIndexSize, 0);
    o.u8(2);  // group
    o.u16(0xFFFF);
    o.u8(0x03);
    o.i32(1);  // B-link distance
    o.i32(4);  // clusters
    o.f32(1.0f);
    o.f32(0.05f);
    o.i32(1);  // aero model
    o.floats(12, 0.5f);
    o.floats(6, 0.25f);
    for (int k = 0; k < 4; k++) o.i32(k + 1);
    o.floats(3, 1.0f);
    const int anchors = sb.type & 0xFF, pins = sb.type >> 8;
    o.i32(anchors);
    for (int k = 0; k < anchors; k++) {
      o.index(rigidIndexSize, 0);
      o.index(vertexIndexSize, k);
      o.u8(k & 1);
    }
    o.i32(pins);
    for (int k = 0; k < pins; k++) o.index(vertexIndexSize, k);
  }

  o.b.insert(o.b.end(), trailing.begin(), trailing.end());
  return o.b;
}

Bytes withNames(const Bytes& file, const std::vector<NameEdit>& edits) {
  Bytes out;
  size_t pos = 0;
  auto field = [&](const std::string& s) {
    uint32_t n = static_cast<uint32_t>(s.size());
    for (int i = 0; i < 4; i++) out.push_back(static_cast<uint8_t>((n >> (8 * i)) & 0xFF));
    out.insert(out.end(), s.begin(), s.end());
  };
  for (const NameEdit& e : edits) {
    out.insert(out.end(), file.begin() + static_cast<std::ptrdiff_t>(pos),
               file.begin() + static_cast<std::ptrdiff_t>(e.at.offset));
    field(e.jp);
    field(e.en);
    pos = e.at.end();
  }
  out.insert(out.end(), file.begin() + static_cast<std::ptrdiff_t>(pos), file.end());
  return out;
}

Bytes readfile(const std::string& path) {
  Bytes b;
  FILE* f = fopen(path.c_str(), "rb");
  if (f == nullptr) return b;
  uint8_t buf[8192];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) b.insert(b.end(), buf, buf + n);
  fclose(f);
  return b;
}

bool writefile(const std::string& path, const Bytes& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

}  // namespace pmxb
