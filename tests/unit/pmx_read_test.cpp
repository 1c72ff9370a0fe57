// pmx_read_test.cpp - the checking pass: console lines, counts, offsets, error stops.
#include <vector>

#include "names/translit.h"
#include "pmx_util.h"
#include "text/sjis.h"

namespace {

using namespace pmxtest;
using pmxb::BF_FIXEDAXIS;
using pmxb::BF_IK;

constexpr uint16_t STD = 0x001E;

// Bones, morphs and frames whose names are given, and one element of every other kind.
Builder small(bool utf8) {
  Builder b;
  b.utf8 = utf8;
  b.modelName = "サンプル";
  b.modelNameEn = "Sample";
  b.addVertex(0);
  b.addVertex(2);
  b.addFace(0, 1, 0);
  b.addTexture("t.png");
  b.addMaterial("体", "body", 0, 3);
  b.addBone("センター", "", STD);
  b.addBone("左腕", "arm_L", STD);
  b.addBone("右腕捩", "", STD | BF_FIXEDAXIS);
  b.addMorph("まばたき", "", 1, 2);
  b.addMorph("笑い", "smile", 0, 1);
  b.addFrame("表情", "", {{1, 0}, {1, 1}});
  b.addFrame("Root", "Root", {{0, 0}}, true);
  b.addRigidBody("頭", "head");
  b.addJoint("髪", "", 0);
  return b;
}

const char* const TWIST_SJIS = "\x89\x45\x98\x72\x9D\x80";  // 右腕捩

std::string smallconsole(const std::string& p, const std::string& found) {
  return readhead(p) +
         "PMX Ver 2.00 \nModel: Sample \n2 Vertices.\n1 Surfaces.\n1 Textures.\n1 Materials.\n"
         "3 Bones.\n" + found + "2 Morphs.\n2 Frames.\n1 Rigid-bodies.\n1 Joints.\nOK. \n"
         "PMX 2.0: correctly read-in: OK. \ndone. \n\n";
}

void expectoffsets(const Builder& b) {
  ASSERT_EQ(pmxModel.storedBoneCount, static_cast<int>(b.bones.size()));
  for (size_t i = 0; i < b.bones.size(); i++) {
    EXPECT_EQ(pmxModel.boneNameOffset[i], static_cast<int32_t>(b.bones[i].offset)) << i;
  }
  ASSERT_EQ(pmxModel.storedMorphCount, static_cast<int>(b.morphs.size()));
  for (size_t i = 0; i < b.morphs.size(); i++) {
    EXPECT_EQ(pmxModel.morphNameOffset[i], static_cast<int32_t>(b.morphs[i].offset)) << i;
  }
  ASSERT_EQ(pmxModel.storedFrameCount, static_cast<int>(b.frames.size()));
  for (size_t i = 0; i < b.frames.size(); i++) {
    EXPECT_EQ(pmxModel.frameNameOffset[i], static_cast<int32_t>(b.frames[i].offset)) << i;
  }
}

using PmxRead = PmxTest;

TEST_F(PmxRead, TypicalModelInBothEncodings) {
  for (bool utf8 : {false, true}) {
    Builder b = small(utf8);
    Outcome r = read(b.build());
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.status, 0);
    std::string eng(ENG_BUFSIZE, '\0');
    sjis2eng(eng.data(), TWIST_SJIS);
    EXPECT_EQ(r.console, smallconsole(path("m.pmx"), "(found:[" + std::string(eng.c_str()) + "])\n"));
    EXPECT_EQ(pmxModel.encoding, utf8 ? 1 : 0);
    EXPECT_EQ(pmxModel.boneCount, 3);
    EXPECT_EQ(pmxModel.morphCount, 2);
    EXPECT_EQ(pmxModel.frameCount, 2);
    EXPECT_EQ(pmxModel.nameChangeCount, 4);  // two bones, one morph, one frame
    expectoffsets(b);
  }
}

TEST_F(PmxRead, TwistLineFollowsTheLanguageMode) {
  Builder b = small(false);
  Bytes model = b.build();
  Lang = LanguageMode{true, true, false, 932};
  Outcome r = read(model);
  EXPECT_NE(r.console.find("(found:[" + std::string(TWIST_SJIS) + "])\n"), std::string::npos);
  // The Japanese mode shows the local model name instead of the English one.
  EXPECT_NE(r.console.find("Model: \x83\x54\x83\x93\x83\x76\x83\x8B \n"), std::string::npos);
  EXPECT_EQ(r.console.find("Model: Sample"), std::string::npos);

  Lang = LanguageMode{true, false, true, 65001};
  r = read(model);
  EXPECT_NE(r.console.find("(found:[右腕捩])\n"), std::string::npos);
  EXPECT_NE(r.console.find("Model: Sample \n"), std::string::npos);
}

TEST_F(PmxRead, TwistLineNeedsTheFixedAxisAndMatchesEnglishNames) {
  Builder b;
  b.addBone("右腕捩", "", STD);                        // no fixed axis
  b.addBone("ねじり", "wrist twist_L", STD | BF_FIXEDAXIS);  // found by its English name
  b.addBone("左腕捩x", "", STD | BF_FIXEDAXIS);        // a longer name is no match
  Lang = LanguageMode{true, true, false, 932};
  Outcome r = read(b.build());
  EXPECT_EQ(r.status, 0);
  std::string found = "(found:[\x82\xCB\x82\xB6\x82\xE8])\n";  // ねじり
  EXPECT_NE(r.console.find("3 Bones.\n" + found + "0 Morphs.\n"), std::string::npos) << r.console;
}

TEST_F(PmxRead, EveryElementLayoutAtEveryIndexSize) {
  for (int size : {1, 2, 4}) {
    for (bool utf8 : {false, true}) {
      Builder b;
      b.utf8 = utf8;
      b.indexSizes(size);
      b.additionalUv = 2;
      b.extraGlobals = 1;  // a ninth global is skipped
      for (int w = 0; w <= 4; w++) b.addVertex(w);
      b.addFace(0, 1, 2);
      b.addTexture("a.png");
      b.addMaterial("m0", "", 0, 3);
      b.addMaterial("m1", "", 1, 0);
      // Every optional part of a bone, alone and together.
      const uint16_t parts[] = {0x0001, 0x0100, 0x0200, 0x0300, 0x0400, 0x0800, 0x2000, 0x0020};
      for (uint16_t f : parts) b.addBone("b", "", static_cast<uint16_t>(STD | f), {{0, true}});
      b.addBone("all", "x", 0x2F3F, {{0, true}, {1, false}, {2, true}});
      b.addBone("ik0", "", STD | BF_IK);
      for (int k = 0; k <= 10; k++) b.addMorph("m", k % 2 ? "e" : "", k, 3);
      b.addFrame("f", "", {{0, 1}, {1, 2}, {0, 3}});
      b.addFrame("empty", "e", {});
      b.addRigidBody("r", "");
      for (int t = 0; t <= 5; t++) b.addJoint("j", "", t);
      Outcome r = read(b.build());
      SCOPED_TRACE("size " + std::to_string(size) + (utf8 ? " utf8" : " utf16"));
      EXPECT_EQ(r.status, 0) << r.console;
      EXPECT_NE(r.console.find("PMX 2.0: correctly read-in: OK. \n"), std::string::npos);
      EXPECT_EQ(pmxModel.vertexIndexSize, size);
      EXPECT_EQ(pmxModel.additionalUvCount, 2);
      EXPECT_EQ(pmxModel.nameChangeCount, 9 + 6 + 1);  // bones, even morph kinds, one frame
      expectoffsets(b);
    }
  }
}

TEST_F(PmxRead, CountsBeyondTheCapacities) {
  Builder b;
  for (int i = 0; i < 5000; i++) b.addBone("b", i < 4096 ? "e" : "", STD);
  for (int i = 0; i < 9000; i++) b.addMorph("m", "", 1, 1);
  for (int i = 0; i < 1030; i++) b.addFrame("f", "e", {});
  Outcome r = read(b.build());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(pmxModel.boneCount, 5000);
  EXPECT_EQ(pmxModel.storedBoneCount, 4096);
  EXPECT_EQ(pmxModel.morphCount, 9000);
  EXPECT_EQ(pmxModel.storedMorphCount, 8192);
  EXPECT_EQ(pmxModel.frameCount, 1030);
  EXPECT_EQ(pmxModel.storedFrameCount, 1024);
  // Elements past the capacities are still counted.
  EXPECT_EQ(pmxModel.nameChangeCount, 904 + 9000);
  EXPECT_EQ(pmxModel.boneNameOffset[4095], static_cast<int32_t>(b.bones[4095].offset));
  EXPECT_EQ(pmxModel.morphNameOffset[8191], static_cast<int32_t>(b.morphs[8191].offset));
}

TEST_F(PmxRead, LongNameIsConsumedWhole) {
  Builder b;
  b.addBone(std::string(150, 'x'), "", STD);  // 300 bytes in UTF-16
  b.addBone("y", "y", STD);
  Outcome r = read(b.build());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(pmxModel.boneNameOffset[0], static_cast<int32_t>(b.bones[0].offset));
  EXPECT_EQ(pmxModel.boneNameOffset[1], static_cast<int32_t>(b.bones[1].offset));
}

TEST_F(PmxRead, EnglishRulesEnterTheCount) {
  rules("-BoneEN\n\"arm\" \"Arm\"\n-MorphEN\n\"smile\" \"Smile\"\n");
  Builder b;
  b.addBone("a", "arm_L", STD);     // changed by a rule
  b.addBone("b", "leg", STD);       // not changed
  b.addMorph("c", "smile", 0, 0);   // changed
  b.addMorph("d", "Smile", 0, 0);   // not changed
  b.addFrame("e", "arm", {});       // frames have no rules
  Outcome r = read(b.build());
  EXPECT_EQ(pmxModel.nameChangeCount, 2) << r.console;
}

TEST_F(PmxRead, SoftBodyBytesAreCountedAndDumped) {
  Builder b = small(false);
  b.version = 2.1f;
  for (int i = 0; i < 18; i++) b.trailing.push_back(static_cast<uint8_t>(0xA0 + i));
  Bytes model = b.build();
  const std::string head = "OK. \nPMX 2.1: reading extended data ...\n";
  const std::string bytes =
      "A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF \nB0 B1 \n";
  struct Case { int level; std::string tail; };
  const Case cases[] = {
      {0, head + "done. \n\n"},
      {1, head + bytes + "SoftBody block: Total 18 bytes.\ndone. \n\n"},
      {2, head + "Unrecognized data bytes found. \n" + bytes +
              "Unrecognized block: Total 18 bytes.\ndone. \n\n"},
  };
  for (const Case& c : cases) {
    Info.displayLevel = static_cast<int8_t>(c.level);
    Outcome r = read(model);
    EXPECT_EQ(r.status, 0);
    ASSERT_GE(r.console.size(), c.tail.size());
    EXPECT_EQ(r.console.substr(r.console.size() - c.tail.size()), c.tail) << c.level;
    EXPECT_NE(r.console.find("PMX Ver 2.10 \n"), std::string::npos);
  }
}

TEST_F(PmxRead, SixteenTrailingBytesEndInOneLineBreak) {
  Builder b;
  b.trailing.assign(16, 0x01);
  Info.displayLevel = 1;
  Outcome r = read(b.build());
  EXPECT_NE(r.console.find("01 01 01 01 01 01 01 01 01 01 01 01 01 01 01 01 \n\nSoftBody block: "
                           "Total 16 bytes.\n"),
            std::string::npos);
}

TEST_F(PmxRead, ModelNameCutWithoutHalfACharacter) {
  Builder b;
  b.modelNameEn = "abcdefghijklmnopqrs\xE3\x81\x82";  // the 20th byte leads a character
  Info.displayLevel = 1;
  Outcome r = read(b.build());
  EXPECT_NE(r.console.find("Model: abcdefghijklmnopqrs\x82\xA0 \n(>20 DBCS-trancated) 0 Vertices"),
            std::string::npos)
      << r.console;
  Info.displayLevel = 0;
  r = read(b.build());
  EXPECT_EQ(r.console.find("trancated"), std::string::npos);
}

// ---- Files that are not PMX ---------------------------------------------------------

TEST_F(PmxRead, RejectedHeaders) {
  Bytes good = Builder().build();
  Bytes badmagic = good;
  badmagic[2] = 'Y';
  Bytes fewglobals = good;
  fewglobals[8] = 7;
  struct Case { const char* what; Bytes file; std::string message; };
  const Case cases[] = {
      {"PMY", badmagic, "Illegal file format at 000003=(59) \n"},
      {"empty", Bytes{}, "Illegal file format at 000000=(FFFFFFFF) \n"},
      {"7 globals", fewglobals, "PMX Ver 2.00 \nIllegal file format at 000009=(07) \n"},
  };
  for (const Case& c : cases) {
    Outcome r = read(c.file);
    EXPECT_EQ(r.rc, 2) << c.what;
    EXPECT_EQ(r.console, readhead(path("m.pmx")) + c.message) << c.what;
  }
}

TEST_F(PmxRead, MissingFile) {
  Outcome r = readfile("none.pmx");
  EXPECT_EQ(r.rc, -1);
  EXPECT_EQ(r.console, readhead(path("none.pmx")) + "Cannot open RD file : " + path("none.pmx") + "\n");
}

// ---- Structural errors: the message, the status, and a quick stop --------------------

void putlong(Bytes& f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; i++) f[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

struct Broken {
  const char* what;
  Bytes file;
  std::string message;  // the last line before the closing "\n"
  int status;
};

std::vector<Broken> brokenmodels() {
  std::vector<Broken> v;
  auto model = [](auto&& edit) {
    Builder b;
    b.addVertex(0);
    b.addTexture("t");
    b.addMaterial("m", "", 0, 3);
    b.addBone("a", "", STD);
    b.addBone("ik", "", STD | BF_IK, {{0, false}});
    b.addMorph("m", "", 1, 2);
    b.addFrame("f", "", {{0, 0}});
    b.addRigidBody("r", "");
    b.addJoint("j", "", 1);
    edit(b);
    return b;
  };
  auto nothing = [](Builder&) {};
  {
    Builder b = model([](Builder& m) { m.addVertex(5); });
    v.push_back({"weight type", b.build(), "Err: illegal DEF type 5. \n", 2});
    b = model([](Builder& m) { m.addVertex(0xFF); });
    v.push_back({"negative weight type", b.build(), "Err: illegal DEF type -1. \n", 2});
  }
  {
    Builder b = model([](Builder& m) { m.addMaterial("x", "", 2, 3); });
    v.push_back({"toon", b.build(), "Err: unknown toon sharing mode at matrial 1. \n", 2});
    b = model([](Builder& m) { m.addMaterial("x", "", 0, 4); });
    v.push_back({"material vertices", b.build(),
                 "Err: illegal material-related vertex number at matrial 1. \n", 2});
    b = model([](Builder& m) { m.addMorph("x", "", 11, 0); });
    v.push_back({"morph kind", b.build(), "Err: unknown morph kind at morph 1. \n", 2});
    b = model([](Builder& m) { m.addJoint("x", "", 6); });
    v.push_back({"joint type", b.build(), "Err: joint type 6 unsupported at joint 1. \n", 2});
  }
  Builder b = model(nothing);
  Bytes f = b.build();
  const size_t bone0 = b.bones[0].offset, bone1 = b.bones[1].offset;
  {
    Bytes t = f;
    putlong(t, bone0, 0xFFFFFF00u);
    v.push_back({"negative name length", t, "Err: illegal text length -256 at bone 0. \n", 2});
    t = f;
    putlong(t, bone0 + 4 + b.bones[0].jp.size(), 0x7FFFFFFFu);
    v.push_back({"huge name length", t, "Err: file ended inside bone 0. \n", 3});
    t = f;
    // target, loop count and angle come before the link count
    size_t links = b.bones[1].end() + 12 + 2 + 4 + 2 + 12 + 2 + 8;
    putlong(t, links, 0x7FFFFFFFu);
    v.push_back({"huge IK link count", t, "Err: file ended inside bone 1. \n", 3});
    t = f;
    putlong(t, links, 0x80000000u);
    v.push_back({"negative IK link count", t,
                 "Err: illegal IK link count -2147483648 at bone 1. \n", 2});
    t = f;
    putlong(t, b.morphs[0].end() + 2, 0x7FFFFFFFu);
    v.push_back({"huge morph offset count", t, "Err: file ended inside morph 0. \n", 3});
    t = f;
    putlong(t, b.frames[0].end() + 1, 0x40000000u);
    v.push_back({"huge frame element count", t, "Err: file ended inside display frame 0. \n", 3});
    t = f;
    putlong(t, bone0 - 4, 0xFFFFFFFEu);
    v.push_back({"negative bone count", t, "Err: illegal bone count -2. \n", 2});
    t = f;
    t.resize(bone1 + 2);
    v.push_back({"cut in a bone's length field", t, "Err: file ended inside bone 1. \n", 3});
    t = f;
    t.resize(bone1 - 3);
    v.push_back({"cut before a bone", t, "Err: file ended at bone 1. \n", 3});
    t = f;
    t.resize(b.morphs[0].offset - 2);
    v.push_back({"cut in the morph count", t, "Err: file ended at the morph count. \n", 3});
    t = f;
    t.resize(f.size() - 5);
    v.push_back({"cut in the last joint", t, "Err: file ended inside joint 0. \n", 3});
    t = f;
    t.resize(20);
    v.push_back({"cut in the header", t, "Err: file ended inside the header. \n", 3});
    t = f;
    t[11] = 3;  // vertex index size
    v.push_back({"index size", t, "Err: illegal index size 3 in the header. \n", 2});
    t = f;
    t[9] = 2;
    v.push_back({"encoding", t, "Err: unknown text encoding 2 in the header. \n", 2});
  }
  {
    Bytes t = Builder().build();
    putlong(t, t.size() - 36, 0x7FFFFFFFu);  // the vertex count of an empty model
    v.push_back({"huge vertex count", t, "Err: file ended inside vertex 0. \n", 3});
  }
  return v;
}

TEST_F(PmxRead, BrokenModelsStopWithTheirMessage) {
  // A huge count ends where the bytes run out (walking it all would outlast the test).
  for (const Broken& c : brokenmodels()) {
    Outcome r = read(c.file);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.status, c.status);
    const std::string tail = c.message + "\n";
    ASSERT_GE(r.console.size(), tail.size()) << r.console;
    EXPECT_EQ(r.console.substr(r.console.size() - tail.size()), tail) << r.console;
    EXPECT_EQ(r.console.find("OK. \n"), std::string::npos);
  }
}

// A file cut one byte short of the end of element 1 of each block: fixed parts are
// noticed by the end check of element 2, texts and counts at once.
TEST_F(PmxRead, FileEndingInsideEachBlock) {
  Builder b;
  for (int i = 0; i < 3; i++) {
    b.addVertex(i);
    b.addFace(0, 1, 2);
    b.addTexture("t");
    b.addMaterial("m", "", 0, 3);
    b.addBone("b", "", STD);
    b.addMorph("m", "", 1, 1);
    b.addFrame("f", "", {{0, 0}});
    b.addRigidBody("r", "");
    b.addJoint("j", "", 0);
  }
  Bytes f = b.build();
  const std::pair<Builder::Block, std::string> cases[] = {
      {Builder::VERTEX, "Err: file ended at vertex 2. \n"},
      {Builder::FACE, "Err: file ended at surface 2. \n"},
      {Builder::TEXTURE, "Err: file ended inside texture 1. \n"},
      {Builder::MATERIAL, "Err: file ended inside material 1. \n"},
      {Builder::BONE, "Err: file ended at bone 2. \n"},
      {Builder::MORPH, "Err: file ended inside morph 1. \n"},
      {Builder::FRAME, "Err: file ended at display frame 2. \n"},
      {Builder::BODY, "Err: file ended at rigid body 2. \n"},
      {Builder::JOINT, "Err: file ended at joint 2. \n"},
  };
  for (const auto& [block, message] : cases) {
    Bytes t(f.begin(), f.begin() + static_cast<long>(b.elementAt[block][2]) - 1);
    Outcome r = read(t);
    EXPECT_EQ(r.status, 3) << message;
    EXPECT_EQ(r.console.substr(r.console.size() - message.size() - 1), message + "\n") << r.console;
  }
}

TEST_F(PmxRead, NegativeModelNameLength) {
  Bytes f = Builder().build();
  putlong(f, 17, 0xFFFFFFFFu);
  Outcome r = read(f);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.console, readhead(path("m.pmx")) +
                           "PMX Ver 2.00 \nErr: illegal text length -1 in the header. \n\n");
}

TEST_F(PmxRead, WideEntryPoint) {
  Builder b = small(false);
  ASSERT_TRUE(pmxb::writefile(path("m.pmx"), b.build()));
  std::u16string w;
  for (char c : path("m.pmx")) w += static_cast<char16_t>(c);
  ConsoleCapture cap;
  EXPECT_EQ(pmdinforeadW(w.c_str()), 0);
  EXPECT_EQ(pmdinforeadstatus(), 0);
  EXPECT_EQ(cap.text().substr(0, readhead(path("m.pmx")).size()), readhead(path("m.pmx")));
  expectoffsets(b);
  EXPECT_EQ(pmdinforeadW(u"/nonexistent/dir/m.pmx"), -1);
}

TEST_F(PmxRead, FaceCountNotAMultipleOfThree) {
  Builder b;
  b.addVertex(0);
  for (int i = 0; i < 7; i++) b.addFaceIndex(0);
  Outcome r = read(b.build());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.console.find("1 Vertices.\n2 Surfaces.\n"
                           "Err: num of surface data (=7) is not multiples of 3. \n\n"),
            std::string::npos)
      << r.console;
}

TEST_F(PmxRead, StatusIsResetByTheNextRead) {
  Bytes bad = Builder().build();
  bad.resize(20);
  EXPECT_EQ(read(bad).status, 3);
  EXPECT_EQ(read(Builder().build()).status, 0);
  EXPECT_EQ(pmxModel.storedBoneCount, 0);
}

}  // namespace
