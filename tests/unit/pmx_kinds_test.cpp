// pmx_kinds_test.cpp - the English names of the model, materials, rigid bodies, joints
// and soft bodies (Fill.everyKind): the counts, the console lines, every output byte.
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "pmx_util.h"

namespace {

using namespace pmxtest;
using pmxb::NameEdit;
using pmxb::NameRec;

constexpr uint16_t STD = 0x001E;

// Shift-JIS names on the console.
const std::string HAIR = "\x94\xAF";   // 髪
const std::string BODY = "\x91\xCC";   // 体
const std::string CLOTH = "\x95\x7A";  // 布

// Bone rules for hair and body, a morph rule for hair and an English-name rule: the
// other kinds must take the bone rules.
const char kRules[] =
    "\"髪\" \"hair\"\n"
    "\"体\" \"body\"\n"
    "-Morph\n"
    "\"髪\" \"HairMorph\"\n"
    "-BoneEN\n"
    "\"Skirt\" \"skirt\"\n";

// Every kind of name, some vacant, some that the English-name rule changes, some kept;
// PMX 2.1 with soft bodies and unknown bytes after them.
Builder everykind(bool utf8) {
  Builder b;
  b.utf8 = utf8;
  b.version = 2.1f;
  b.modelName = "体";
  b.modelNameEn = "";
  b.comment = "コメント";
  b.commentEn = "";  // prose: never filled
  b.addVertex(0);
  b.addVertex(1);
  b.addTexture("t.png");
  b.addMaterial("髪", "", 0, 0);
  b.addMaterial("服", "Skirt", 1, 0);
  b.addMaterial("体", "body", 1, 0);
  b.addBone("髪", "", STD);
  b.addMorph("髪", "", 1, 1);
  b.addFrame("髪", "", {{0, 0}});
  b.addRigidBody("髪", "");
  b.addRigidBody("体", "body");
  b.addJoint("髪", "", 0);
  b.addJoint("J", "Skirt", 1);
  b.addSoftBody("髪", "", 2, 3);
  b.addSoftBody("布", "cloth", 0, 1);
  b.trailing = {0xAB, 0xCD, 0xEF};
  return b;
}

class PmxKinds : public PmxTest {
 protected:
  Bytes output() { return pmxb::readfile(path("out.pmx")); }
  // One record's English name replaced by the given text.
  static NameEdit edit(const Builder& b, const NameRec& r, const std::string& en) {
    return {r, r.jp, b.encode(en)};
  }
};

TEST_F(PmxKinds, EveryKindIsFilledAndTheRestKeptByteForByte) {
  for (bool utf8 : {false, true}) {
    SCOPED_TRACE(utf8 ? "UTF-8" : "UTF-16");
    rules(kRules);
    Fill.everyKind = FLAG_ON;
    Builder b = everykind(utf8);
    Bytes in = b.build();
    Outcome r = read(in);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.console.find("OK. \nPMX 2.1: reading extended data ...\n2 Soft-bodies.\ndone. \n"),
              std::string::npos)
        << r.console;
    EXPECT_EQ(pmxModel.nameChangeCount, 3);  // bone, morph, frame
    EXPECT_EQ(pmxModel.kindChangeCount, 7);  // model, 2 materials, body, 2 joints, soft body

    Outcome w = write("out.pmx", "m.pmx");
    EXPECT_EQ(w.rc, 0);
    EXPECT_EQ(w.console,
              readhead(path("m.pmx")) + "Writing to  : " + path("out.pmx") +
                  " \n scanning ... \n\n"
                  "(model) (jp) " + BODY + "   (en)   => body \n"
                  "(material 0) (jp) " + HAIR + "   (en)   => hair \n"
                  "(material 1) (jp) \x95\x9E   (en) Skirt  => skirt \n"
                  "(material 2) (jp) " + BODY + "   (en) body \n"
                  "(bone 0) (jp) " + HAIR + "   (en)   => hair \n"
                  "(morph 0) (jp) " + HAIR + "   (en)   => HairMorph \n"
                  "(frame 0) (jp) " + HAIR + "   (en)   => HairMorph \n"
                  "(rigid body 0) (jp) " + HAIR + "   (en)   => hair \n"
                  "(rigid body 1) (jp) " + BODY + "   (en) body \n"
                  "(joint 0) (jp) " + HAIR + "   (en)   => hair \n"
                  "(joint 1) (jp) J   (en) Skirt  => skirt \n"
                  "(soft body 0) (jp) " + HAIR + "   (en)   => hair \n"
                  "(soft body 1) (jp) " + CLOTH + "   (en) cloth \n"
                  "\n");
    Bytes want = pmxb::withNames(
        in, {edit(b, b.model, "body"), edit(b, b.materials[0], "hair"),
             edit(b, b.materials[1], "skirt"), edit(b, b.bones[0], "hair"),
             edit(b, b.morphs[0], "HairMorph"), edit(b, b.frames[0], "HairMorph"),
             edit(b, b.bodies[0], "hair"), edit(b, b.joints[0], "hair"),
             edit(b, b.joints[1], "skirt"), edit(b, b.softBodies[0], "hair")});
    EXPECT_EQ(output(), want);
  }
}

TEST_F(PmxKinds, WithoutTheSettingOnlyBonesMorphsAndFramesChange) {
  for (bool utf8 : {false, true}) {
    SCOPED_TRACE(utf8 ? "UTF-8" : "UTF-16");
    rules(kRules);
    Builder b = everykind(utf8);
    Bytes in = b.build();
    Outcome r = read(in);
    EXPECT_EQ(r.console.find("Soft-bodies"), std::string::npos);
    EXPECT_EQ(pmxModel.nameChangeCount, 3);
    EXPECT_EQ(pmxModel.kindChangeCount, 0);
    Outcome w = write("out.pmx", "m.pmx");
    EXPECT_EQ(w.console.find("(model)"), std::string::npos);
    EXPECT_EQ(w.console.find("(material"), std::string::npos);
    EXPECT_EQ(w.console.find("(soft body"), std::string::npos);
    EXPECT_EQ(output(), pmxb::withNames(in, {edit(b, b.bones[0], "hair"),
                                             edit(b, b.morphs[0], "HairMorph"),
                                             edit(b, b.frames[0], "HairMorph")}));
  }
}

TEST_F(PmxKinds, ForceDisplayReplacesTheOtherKindsToo) {
  rules(kRules);
  Fill.everyKind = FLAG_ON;
  Force.display = 1;
  Builder b = everykind(false);
  Bytes in = b.build();
  read(in);
  write("out.pmx", "m.pmx");
  Bytes out = output();
  EXPECT_EQ(out, pmxb::withNames(
                     in, {edit(b, b.model, "body"), edit(b, b.materials[0], "hair"),
                          edit(b, b.materials[1], "\xE6\x9C\x8D"),  // 服: no rule
                          edit(b, b.materials[2], "body"), edit(b, b.bones[0], "hair"),
                          edit(b, b.morphs[0], "HairMorph"), edit(b, b.frames[0], "HairMorph"),
                          edit(b, b.bodies[0], "hair"), edit(b, b.bodies[1], "body"),
                          edit(b, b.joints[0], "hair"), edit(b, b.joints[1], "J"),
                          edit(b, b.softBodies[0], "hair"),
                          edit(b, b.softBodies[1], "\xE5\xB8\x83")}));  // 布
}

// An English name of the other kinds that Shift-JIS cannot hold (an author writing in
// Chinese) stays byte for byte: the rules work on Shift-JIS, which would give its
// characters back as '_' and its dash as another dash. Only -F replaces it.
TEST_F(PmxKinds, AnAuthorsNameShiftJisCannotHoldIsKept) {
  const std::string author = "\xE6\x98\x9F\xE7\xA9\xB9\xE9\x93\x81\xE9\x81\x93\xE2\x80\x94"
                             "\xE5\x8D\x83\xE5\x86\xB6\xC2\xB7\xE5\x88\x83";  // 星穹铁道—千冶·刃
  const std::string skirt = "Skirt\xE9\x93\x81";  // the rule would change the "Skirt"
  for (bool utf8 : {false, true}) {
    SCOPED_TRACE(utf8 ? "UTF-8" : "UTF-16");
    rules(kRules);
    Fill.everyKind = FLAG_ON;
    Force.display = 0;
    Builder c;
    c.utf8 = utf8;
    c.version = 2.1f;
    c.modelName = "体";
    c.modelNameEn = author;
    c.addVertex(0);
    c.addTexture("t.png");
    c.addMaterial("服", skirt, 0, 0);
    c.addMaterial("髪", "", 0, 0);
    c.addBone("髪", "hair", STD);
    c.addRigidBody("体", skirt);
    c.addJoint("J", author, 0);
    Bytes in = c.build();
    Outcome r = read(in);
    EXPECT_EQ(pmxModel.kindChangeCount, 1) << r.console;  // the vacant material only
    EXPECT_EQ(write("out.pmx", "m.pmx").rc, 0);
    EXPECT_EQ(output(), pmxb::withNames(in, {edit(c, c.materials[1], "hair")}));

    Force.display = 1;
    read(in);
    EXPECT_EQ(write("out.pmx", "m.pmx").rc, 0);
    EXPECT_EQ(output(), pmxb::withNames(in, {edit(c, c.model, "body"),
                                             edit(c, c.materials[0], "\xE6\x9C\x8D"),
                                             edit(c, c.materials[1], "hair"),
                                             edit(c, c.bones[0], "hair"),
                                             edit(c, c.bodies[0], "body"),
                                             edit(c, c.joints[0], "J")}));
  }
}

// A model complete but for its material names is worth a save only with the setting.
TEST_F(PmxKinds, OnlyMaterialNamesVacant) {
  for (int8_t every : {FLAG_OFF, FLAG_ON}) {
    Fill.everyKind = every;
    Builder b;
    b.addVertex(0);
    b.addTexture("t.png");
    b.addMaterial("髪", "", 0, 0);
    b.addMaterial("体", "", 1, 0);
    b.addBone("頭", "head", STD);
    b.addRigidBody("頭", "head");
    Bytes in = b.build();
    read(in);
    EXPECT_EQ(pmxModel.nameChangeCount, 0);
    EXPECT_EQ(pmxModel.kindChangeCount, every ? 2 : 0);
    if (!every) continue;
    write("out.pmx", "m.pmx");
    EXPECT_EQ(output(), pmxb::withNames(in, {edit(b, b.materials[0], "\xE9\xAB\xAA"),
                                             edit(b, b.materials[1], "\xE4\xBD\x93")}));
  }
}

// Elements beyond each table's limit are read and checked, but neither counted nor
// rewritten: their bytes are copied as they are.
TEST_F(PmxKinds, ElementsBeyondTheLimitsAreCopiedUntouched) {
  Fill.everyKind = FLAG_ON;
  Builder b;
  b.version = 2.1f;
  b.indexSizes(2);
  b.addVertex(0);
  b.addTexture("t.png");
  for (int i = 0; i <= PMX_MAXMATERIALS; i++) b.addMaterial("m" + std::to_string(i), "", 1, 0);
  for (int i = 0; i <= PMX_MAXBODIES; i++) b.addRigidBody("r" + std::to_string(i), "");
  for (int i = 0; i <= PMX_MAXJOINTS; i++) b.addJoint("j" + std::to_string(i), "", 0);
  for (int i = 0; i <= PMX_MAXSOFTBODIES; i++) b.addSoftBody("s" + std::to_string(i), "", 1, 1);
  Bytes in = b.build();
  Outcome r = read(in);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(pmxModel.storedMaterialCount, PMX_MAXMATERIALS);
  EXPECT_EQ(pmxModel.storedBodyCount, PMX_MAXBODIES);
  EXPECT_EQ(pmxModel.storedJointCount, PMX_MAXJOINTS);
  EXPECT_EQ(pmxModel.storedSoftBodyCount, PMX_MAXSOFTBODIES);
  EXPECT_EQ(pmxModel.kindChangeCount,
            PMX_MAXMATERIALS + PMX_MAXBODIES + PMX_MAXJOINTS + PMX_MAXSOFTBODIES);
  EXPECT_EQ(write("out.pmx", "m.pmx").rc, 0);
  std::vector<NameEdit> edits;
  auto upto = [&](const std::vector<NameRec>& recs, size_t limit) {
    ASSERT_EQ(recs.size(), limit + 1);
    for (size_t i = 0; i < limit; i++) edits.push_back({recs[i], recs[i].jp, recs[i].jp});
  };
  upto(b.materials, PMX_MAXMATERIALS);
  upto(b.bodies, PMX_MAXBODIES);
  upto(b.joints, PMX_MAXJOINTS);
  upto(b.softBodies, PMX_MAXSOFTBODIES);
  EXPECT_EQ(output(), pmxb::withNames(in, edits));
}

// Bytes after the joints that are no soft-body block stay what they were: not an error
// of the model, and the dump is still shown.
TEST_F(PmxKinds, UnreadableSoftBodiesAreNoError) {
  Fill.everyKind = FLAG_ON;
  Info.displayLevel = 1;
  Builder b = everykind(false);
  b.trailing.clear();
  Bytes whole = b.build();

  // A negative count.
  const auto count = static_cast<std::ptrdiff_t>(b.elementAt[Builder::SOFTBODY][0]) - 4;
  Bytes negative(whole.begin(), whole.begin() + count);
  for (uint8_t c : {0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x02}) negative.push_back(c);
  Outcome r = read(negative);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.console.find("PMX 2.1: reading extended data ...\n"
                           "Soft bodies not understood at soft body 0: their names are left as "
                           "they are. \n"
                           "FF FF FF FF 01 02 \nSoftBody block: Total 6 bytes.\ndone. \n"),
            std::string::npos)
      << r.console;
  EXPECT_EQ(pmxModel.storedSoftBodyCount, 0);
  EXPECT_EQ(pmxModel.kindChangeCount, 4);  // model, material, body, joint
}

// Cut anywhere inside the soft bodies, a model is still sound: no soft-body name is
// taken, and the block is copied as it was.
TEST_F(PmxKinds, SoftBodiesCutAnywhere) {
  Fill.everyKind = FLAG_ON;
  Builder b = everykind(true);
  b.trailing.clear();
  const Bytes whole = b.build();
  const size_t from = b.elementAt[Builder::SOFTBODY][0] - 4;
  for (size_t n = from + 1; n < whole.size(); n++) {
    SCOPED_TRACE(n);
    Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    Outcome r = read(cut);
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(pmxModel.storedSoftBodyCount, 0);
    ASSERT_EQ(pmxModel.kindChangeCount, 4);  // the vacant soft-body name is not counted
    ASSERT_EQ(write("out.pmx", "m.pmx").rc, 0);
    Bytes out = output();
    ASSERT_GE(out.size(), n - from);
    ASSERT_TRUE(std::equal(cut.begin() + static_cast<std::ptrdiff_t>(from), cut.end(),
                           out.end() - static_cast<std::ptrdiff_t>(n - from)));
  }
}

// A PMX 2.0 file has no soft bodies: whatever follows its joints is left unread.
TEST_F(PmxKinds, Pmx20TrailingBytesAreNotSoftBodies) {
  Fill.everyKind = FLAG_ON;
  Builder b = everykind(true);
  b.version = 2.0f;
  Bytes in = b.build();
  Outcome r = read(in);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.console.find("Soft-bodies"), std::string::npos);
  EXPECT_EQ(pmxModel.storedSoftBodyCount, 0);
}

}  // namespace
