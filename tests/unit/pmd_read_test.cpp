// pmd_read_test.cpp - the checking pass over PMD models: every block and its optional
// tail, every place a file can end, counts larger than the file, broken structure.
#include <cstring>

#include "pmd_util.h"

namespace {

using namespace pmdtest;

void putu32(Bytes& f, size_t at, uint32_t v, int size = 4) {
  for (int i = 0; i < size; i++) f[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

class PmdRead : public PmdTest {};

TEST_F(PmdRead, EveryBlockIsReadAndVacantNamesCounted) {
  Builder b = everyblock();
  Outcome r = read(b.build());
  EXPECT_EQ(r.rc, 0);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.console, "Reading from: " + path("m.pmd") + " \n"
                       "PMD Ver 1.00 \n3 Vertices.\n1 Surfaces.\n1 Materials.\n3 Bones.\n"
                       "1 IK-chains.\n3 Morphs.\n2 Frames.\nEnglish names found. \n"
                       "1 Rigid-bodies.\n1 Joints.\n"
                       "Unrecognized data after the joints: 3 bytes, kept. \n"
                       "OK. \nPMD 1.0: correctly read-in: OK. \ndone. \n\n");
  // Two bones, one morph (the base morph has no English name) and one frame.
  EXPECT_EQ(pmdModel.nameChangeCount, 4);
  EXPECT_EQ(pmdModel.boneCount, 3);
  EXPECT_EQ(pmdModel.morphCount, 3);
  EXPECT_EQ(pmdModel.frameCount, 2);
  EXPECT_STREQ(pmdModel.boneName[1], sj("左腕").c_str());
  EXPECT_STREQ(pmdModel.frameName[0], sj("表情").c_str());  // without its line feed
  EXPECT_EQ(pmdModel.englishFlag, 1);
  EXPECT_EQ(static_cast<size_t>(pmdModel.englishAt), b.blockAt[Builder::ENGLISH]);
  EXPECT_EQ(static_cast<size_t>(pmdModel.enModelAt), b.enModelAt);
  EXPECT_EQ(static_cast<size_t>(pmdModel.enBonesAt), b.enBoneAt[0]);
  EXPECT_EQ(static_cast<size_t>(pmdModel.enMorphsAt), b.enMorphAt[1]);
  EXPECT_EQ(static_cast<size_t>(pmdModel.enFramesAt), b.enFrameAt[0]);
}

TEST_F(PmdRead, OptionalBlocksMayEndTheFile) {
  for (int flag : {-1, 0, 1}) {
    for (int tail = 0; tail <= 3; tail++) {
      if (flag < 0 && tail > 0) continue;
      Builder b = everyblock();
      b.englishFlag = flag;
      b.tailBlocks = tail;
      if (tail < 3) b.trailing.clear();
      Outcome r = read(b.build());
      SCOPED_TRACE("flag " + std::to_string(flag) + " tail " + std::to_string(tail));
      EXPECT_EQ(r.status, 0) << r.console;
      EXPECT_NE(r.console.find("PMD 1.0: correctly read-in: OK. \n"), std::string::npos);
      EXPECT_EQ(pmdModel.englishFlag, flag);
      // Without the section every name of it is to be written; the model's is counted
      // with the other kinds.
      EXPECT_EQ(pmdModel.nameChangeCount, flag == 1 ? 4 : 3 + 2 + 2);
      EXPECT_EQ(pmdModel.kindChangeCount, flag == 1 ? 0 : 1);
      EXPECT_EQ(r.console.find("1 Rigid-bodies.\n") != std::string::npos, tail >= 2);
    }
  }
}

// Every prefix of the file: sound only where an optional block would start.
TEST_F(PmdRead, EveryTruncationIsReported) {
  Builder b = everyblock();
  b.trailing.clear();
  Bytes full = b.build();
  const size_t optional[4] = {b.blockAt[Builder::ENGLISH], b.blockAt[Builder::TOON],
                              b.blockAt[Builder::BODY], b.blockAt[Builder::JOINT]};
  for (size_t cut = 0; cut < full.size(); cut++) {
    Outcome r = read(Bytes(full.begin(), full.begin() + static_cast<long>(cut)));
    bool sound = std::find(std::begin(optional), std::end(optional), cut) != std::end(optional);
    if (cut < 3) {
      EXPECT_EQ(r.rc, 2) << cut;
    } else {
      EXPECT_EQ(r.rc, 0);
      EXPECT_EQ(r.status, sound ? 0 : 3) << "cut at " << cut << "\n" << r.console;
      EXPECT_EQ(r.console.find("Err: "), sound ? std::string::npos : r.console.find("Err: file ended"));
    }
  }
}

TEST_F(PmdRead, TruncationsNameTheirPlace) {
  Builder b = everyblock();
  Bytes full = b.build();
  struct Place {
    int block;
    const char* count;  // the block's count name
    const char* element;
  };
  const Place places[] = {
      {Builder::VERTEX, "vertex", "vertex"},       {Builder::FACE, "surface", "surface"},
      {Builder::MATERIAL, "material", "material"}, {Builder::BONE, "bone", "bone"},
      {Builder::IK, "IK chain", "IK chain"},       {Builder::MORPH, "morph", "morph"},
      {Builder::MORPHDISP, "morph display", "morph display"},
      {Builder::FRAME, "bone frame", "bone frame"},
      {Builder::BONEDISP, "bone display", "bone display"},
      {Builder::BODY, "rigid body", "rigid body"}, {Builder::JOINT, "joint", "joint"}};
  for (const Place& p : places) {
    SCOPED_TRACE(Builder::blockName(p.block));
    // The rigid bodies and joints may end the file where their count would start.
    bool optional = p.block == Builder::BODY || p.block == Builder::JOINT;
    size_t count = b.blockAt[p.block] + (optional ? 1 : 0);
    Outcome r = read(Bytes(full.begin(), full.begin() + static_cast<long>(count)));
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.console.find(std::string("Err: file ended at the ") + p.count + " count. \n"),
              std::string::npos) << r.console;
    size_t first = b.elementAt[p.block].at(0);
    r = read(Bytes(full.begin(), full.begin() + static_cast<long>(first + 1)));
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.console.find(std::string("Err: file ended inside ") + p.element + " 0. \n"),
              std::string::npos) << r.console;
  }
  // Inside the English section, the header and the toon names.
  Outcome r = read(Bytes(full.begin(), full.begin() + static_cast<long>(b.enBoneAt[1] + 5)));
  EXPECT_NE(r.console.find("Err: file ended inside English bone name 1. \n"), std::string::npos);
  r = read(Bytes(full.begin(), full.begin() + static_cast<long>(b.enMorphAt[2])));
  EXPECT_NE(r.console.find("Err: file ended inside English morph name 2. \n"), std::string::npos);
  r = read(Bytes(full.begin(), full.begin() + 30));
  EXPECT_NE(r.console.find("Err: file ended inside the header. \n"), std::string::npos);
  r = read(Bytes(full.begin(), full.begin() + static_cast<long>(b.blockAt[Builder::TOON] + 999)));
  EXPECT_NE(r.console.find("Err: file ended inside the toon texture names. \n"), std::string::npos);
}

// A count far beyond the file ends where the bytes do (or earlier, at the first thing
// that breaks the structure), quickly.
TEST_F(PmdRead, CountsLargerThanTheFile) {
  Builder b = everyblock();
  Bytes full = b.build();
  Builder shortTail = everyblock();  // no optional blocks, so that 255 links are too many
  shortTail.englishFlag = -1;
  Bytes shorter = shortTail.build();
  struct Count {
    size_t at;
    int size;
  };
  const Count counts[] = {
      {b.blockAt[Builder::VERTEX], 4},   {b.blockAt[Builder::FACE], 4},
      {b.blockAt[Builder::MATERIAL], 4}, {b.blockAt[Builder::BONE], 2},
      {b.blockAt[Builder::IK], 2},       {b.elementAt[Builder::IK][0] + 4, 1},  // links
      {b.blockAt[Builder::MORPH], 2},    {b.elementAt[Builder::MORPH][1] + 20, 4},  // vertices
      {b.blockAt[Builder::MORPHDISP], 1}, {b.blockAt[Builder::FRAME], 1},
      {b.blockAt[Builder::BONEDISP], 4}, {b.blockAt[Builder::BODY], 4},
      {b.blockAt[Builder::JOINT], 4}};
  for (const Count& c : counts) {
    Bytes f = c.at < shorter.size() ? shorter : full;
    putu32(f, c.at, 0xFFFFFFFFu, c.size);
    // A count of 2^32 - 1 ends where the bytes run out (a reader that walked the whole
    // count would not end within the test's time limit).
    Outcome r = read(f);
    EXPECT_NE(r.status, 0) << "count at " << c.at << "\n" << r.console;
    EXPECT_EQ(r.console.find("correctly read-in"), std::string::npos);
  }
}

TEST_F(PmdRead, BrokenStructure) {
  Builder b = everyblock();
  Bytes full = b.build();

  Builder odd = everyblock();
  odd.addFaceIndex(0);
  Outcome r = read(odd.build());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.console.find("Err: num of surface data (=4) is not multiples of 3. \n"), std::string::npos);

  Bytes f = full;
  putu32(f, b.elementAt[Builder::MATERIAL][0] + 46, 4);
  r = read(f);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.console.find("Err: illegal material-related vertex number at matrial 0. \n"), std::string::npos);

  f = full;
  f[b.blockAt[Builder::ENGLISH]] = 2;
  r = read(f);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.console.find("Err: illegal English-name flag 2. \n"), std::string::npos);

  for (const char* magic : {"PMX ", "pmd\x01", "Pm"}) {
    f = full;
    memcpy(f.data(), magic, strlen(magic));
    if (strlen(magic) == 2) f.resize(2);
    r = read(f);
    EXPECT_EQ(r.rc, 2) << magic;
    EXPECT_NE(r.console.find("Illegal file format at "), std::string::npos);
  }
}

TEST_F(PmdRead, EnglishNameRulesCountExistingNames) {
  rules("-BoneEN\n\"arm_L\"F \"arm_Left\"\n-MorphEN\n\"smile\"F \"smile\"\n");
  read(everyblock().build());
  EXPECT_EQ(pmdModel.nameChangeCount, 5);  // the four vacant names and arm_L

  pmdsetfillmodelname(true);
  read(everyblock().build());
  EXPECT_EQ(pmdModel.nameChangeCount, 5);
  EXPECT_EQ(pmdModel.kindChangeCount, 1);  // the vacant model name, counted apart

  // An author's English model name that is not Shift-JIS the rules could give back is
  // kept, whatever the rules would make of it.
  rules("-BoneEN\n\"ab\" \"AB\"\n");
  Builder gbk = everyblock();
  gbk.enName = "ab\xFD\xFE";  // bytes no Shift-JIS character has
  read(gbk.build());
  EXPECT_EQ(pmdModel.kindChangeCount, 0);
  gbk.enName = "ab";
  read(gbk.build());
  EXPECT_EQ(pmdModel.kindChangeCount, 1);
}

}  // namespace
