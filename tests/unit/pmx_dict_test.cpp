// pmx_dict_test.cpp - a model read and rewritten with the dictionary loaded: the names the
// reader finds are kept apart from the generated ones, kind by kind.
#include "names/dict.h"
#include "names/namegen.h"
#include "pmx_util.h"
#include "setup/settings.h"
#include "support/tempfile.h"

namespace {

using namespace pmxtest;

constexpr uint16_t STD = 0x001E;

const std::string kDict =
    "namewright-dictionary 1\n"
    "bmf\tS\t左\tL\n"
    "bmf\tW\t髪\thair | tress\n"
    "m\tW\tにっこり\tsmile | grin\n"
    "m\tW\t笑い\tsmile | laugh\n"
    "m\tN\tまばたき\tblink\n"
    "bmf\tW\tケーブル\tcable\n"
    "f\tW\t目\teyes\n"
    "bmf\tS\t右\tR\n"
    "bmfc\tW\t飘带\tstreamer\n"
    "bmfc\tW\t裙\tskirt\n"
    "bmfj\tK\t裙\them\n";

class PmxDict : public PmxTest {
 protected:
  void SetUp() override {
    PmxTest::SetUp();
    TempFile f(kDict, "namedict.txt");
    ConsoleCapture quiet;
    ASSERT_EQ(dictread(f.path(), nullptr, "D"), 0);
  }
  void TearDown() override {
    dictclear();
    namesreset();
    PmxTest::TearDown();
  }
  // Reads and rewrites; the writer's console.
  std::string save(Builder& b) {
    Outcome r = read(b.build());
    EXPECT_EQ(r.status, 0) << r.console;
    return write("out.pmx", "m.pmx").console;
  }
  static int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
  }
};

TEST_F(PmxDict, GeneratedNamesDifferFromTheModelsOwn) {
  rules("-MorphEN\n\"wire\" \"Cable\"\n");
  Builder b;
  b.addVertex(1);
  b.addBone("髪", "", STD);        // before the bone whose name it would repeat
  b.addBone("左髪", "", STD);
  b.addBone("毛", "hair", STD);
  b.addMorph("にっこり", "", 1, 1);
  b.addMorph("笑い", "smile", 1, 1);
  b.addMorph("まばたき", "", 1, 1);
  b.addMorph("まばたき", "", 1, 1);  // the same Japanese name shares its English one
  b.addMorph("ケーブル", "", 1, 1);
  b.addMorph("線", "wire", 1, 1);    // its English name as the rules leave it
  b.addFrame("目", "", {});
  b.addFrame("顔", "Eyes", {});
  std::string c = save(b);
  EXPECT_EQ(count(c, " => Tress \n"), 1) << c;
  EXPECT_EQ(count(c, " => Hair_L \n"), 1);
  EXPECT_EQ(count(c, " => Grin \n"), 1);
  EXPECT_EQ(count(c, " => blink \n"), 2);
  EXPECT_EQ(count(c, " => Cable(2) \n"), 1);
  EXPECT_EQ(count(c, " => Cable \n"), 1);  // the English-name rule's own
  EXPECT_EQ(count(c, " => Eyes(2) \n"), 1);
  // The reader counted what the writer changed.
  EXPECT_EQ(count(c, " => "), pmxModel.nameChangeCount);
}

TEST_F(PmxDict, ReplacingEveryNameIgnoresTheOldOnes) {
  Force.display = 1;
  Builder b;
  b.addVertex(1);
  b.addBone("髪", "", STD);
  b.addBone("左", "Hair", STD);
  std::string c = save(b);
  EXPECT_EQ(count(c, "(en)  (CLR)  => Hair \n"), 1) << c;
  EXPECT_EQ(count(c, "(en) Hair (CLR)  => _L \n"), 1) << c;
}

// The other kinds of names are kept apart within their kind, and only there: a
// material and a rigid body may both be Hair, two materials may not.
TEST_F(PmxDict, EveryKindKeepsItsNamesApart) {
  Fill.everyKind = FLAG_ON;
  Builder b;
  b.addVertex(1);
  b.addMaterial("髪", "", 0, 0);
  b.addMaterial("毛", "hair", 0, 0);
  b.addBone("髪", "", STD);
  b.addRigidBody("髪", "");
  b.addRigidBody("髪", "");  // the same Japanese name shares its English one
  std::string c = save(b);
  Fill.everyKind = FLAG_OFF;
  // material 0 yields to material 1's own; the bone and both rigid bodies are Hair
  EXPECT_EQ(count(c, " => Tress \n"), 1) << c;
  EXPECT_EQ(count(c, " => Hair \n"), 3) << c;
  EXPECT_EQ(count(c, " => "), pmxModel.nameChangeCount + pmxModel.kindChangeCount);
}

TEST_F(PmxDict, EachModelStartsAfresh) {
  Builder b;
  b.addVertex(1);
  b.addMorph("にっこり", "", 1, 1);
  b.addMorph("笑い", "", 1, 1);
  for (int run = 0; run < 2; run++) {
    std::string c = save(b);
    EXPECT_EQ(count(c, " => Smile \n"), 1) << c;
    EXPECT_EQ(count(c, " => Laugh \n"), 1) << c;
  }
}

// A Chinese model, in either encoding: the simplified characters reach the dictionary,
// and the kanji-only names are read in the model's language.
TEST_F(PmxDict, AChineseModelIsReadAsChinese) {
  for (bool utf8 : {false, true}) {
    Builder b;
    b.utf8 = utf8;
    b.addVertex(1);
    b.addBone("飘带左1", "", STD);
    b.addBone("飘带左2", "", STD);
    b.addBone("飘带右1", "", STD);
    b.addBone("右裙", "", STD);
    std::string c = save(b);
    EXPECT_EQ(count(c, " => Streamer1_L \n"), 1) << c;
    EXPECT_EQ(count(c, " => Streamer2_L \n"), 1) << c;
    EXPECT_EQ(count(c, " => Streamer1_R \n"), 1) << c;
    EXPECT_EQ(count(c, " => Skirt_R \n"), 1) << c;
  }
}

}  // namespace
