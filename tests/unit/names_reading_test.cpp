// names_reading_test.cpp - how a name is read: Chinese or Japanese, the characters
// Shift-JIS cannot spell, the marks a name keeps, and the standard names that never move.
#include <string>

#include "names/dict.h"
#include "names/namegen.h"
#include "names_util.h"

namespace {

// Words of both languages: shared entries, Japanese-only (j) and Chinese-only (c) ones.
const std::string kDict =
    "namewright-dictionary 2\n"
    "bmf\tS\t左\tL\n"
    "bmf\tS\t右\tR\n"
    "m\tN\t笑い\tsmile\n"
    "bmf\tW\t髪\thair\n"
    "bmf\tW\t后\tback\n"            // a word Japanese names do not use otherwise
    "bmfj\tW\t手紙\tletter\n"
    "bmfc\tW\t手纸\ttoilet paper\n"
    "bmfc\tW\t手紙\ttoilet paper\n"
    "bmfj\tK\t手\thand\n"
    "bmfj\tK\t套\tcover\n"
    "bmfc\tW\t手套\tgloves\n"
    "bmfc\tW\t发\thair\n"
    "bmfc\tW\t飘带\tstreamer\n"
    "bmfc\tW\t裙\tskirt\n"
    "bmfj\tK\t裙\them\n"
    "m\tW\tにっこり\tsmile\n"
    "bmf\tW\t◯\tcircle\n"
    "bmf\tW\t！\texclamation\n"
    "bmf\tW\t目\teyes\n"
    "bmf\tW\t角\thorn\n"
    "m\tW\t口角\tmouth corner\n";

class Reading : public NamesTest {
 protected:
  void SetUp() override {
    NamesTest::SetUp();
    dictclear();
    namesreset();
    TempFile f(kDict, "namedict.txt");
    ConsoleCapture cap;
    EXPECT_EQ(dictread(f.path(), nullptr, "D"), 0) << cap.take();
  }
  void TearDown() override {
    dictclear();
    namesreset();
    NamesTest::TearDown();
  }
  // The name generated from a name as a UTF-8 file spells it: its Shift-JIS form leaves
  // out what Shift-JIS cannot spell, as the readers convert it.
  std::string gen(NameKind kind, const std::string& utf8, bool withsource = true) {
    char out[REP_BUFSIZE];
    genname(kind, sj(utf8).c_str(), out, withsource ? utf8.c_str() : nullptr);
    return out;
  }
  std::string given(NameKind kind, const std::string& utf8) {
    char out[REP_BUFSIZE];
    genname(kind, sj(utf8).c_str(), out, utf8.c_str());
    namegiven(kind, out);
    return out;
  }
};

TEST_F(Reading, ChineseNamesAreReadAsChinese) {
  // Simplified characters without a Shift-JIS code reach the dictionary as they are.
  EXPECT_EQ(gen(NameKind::bone, "飘带左3_2"), "Streamer3_2_L");
  EXPECT_EQ(gen(NameKind::bone, "左发1"), "Hair1_L");
  // Without the file's own spelling only what Shift-JIS keeps is read.
  EXPECT_EQ(gen(NameKind::bone, "飘带左3_2", false), "3_2_L");
  // A name of the script: Chinese entries first (手纸 is toilet paper in Chinese).
  EXPECT_EQ(gen(NameKind::bone, "发手纸"), "HairToiletPaper");
  // Kanji alone that Chinese reads with a piece fewer: a Chinese word (手套 gloves).
  EXPECT_EQ(gen(NameKind::material, "手套"), "Gloves");
  // A Japanese name with characters Chinese shares keeps its Japanese sense.
  EXPECT_EQ(gen(NameKind::bone, "手紙"), "Letter");
  EXPECT_EQ(gen(NameKind::bone, "右裙"), "Hem_R");
  EXPECT_EQ(gen(NameKind::bone, "后髪"), "BackHair");  // a shared entry
}

TEST_F(Reading, AModelOfChineseNamesReadsItsKanjiAsChinese) {
  namesreset();
  for (const char* jp : {"飘带1", "飘带2", "发3", "センター", "まばたき"}) namenote(sj(jp).c_str(), jp);
  EXPECT_TRUE(nameschinese());
  EXPECT_EQ(gen(NameKind::bone, "右裙"), "Skirt_R");
  EXPECT_EQ(gen(NameKind::bone, "手紙"), "ToiletPaper");
  EXPECT_EQ(gen(NameKind::morph, "にっこり"), "Smile");  // kana: Japanese
  // A Japanese model with an accessory named in Chinese stays Japanese.
  namesreset();
  for (const char* jp : {"飘带1", "飘带2", "发3"}) namenote(sj(jp).c_str(), jp);
  for (int i = 0; i < 16; i++) namenote(sj("まばたき").c_str(), "まばたき");
  EXPECT_FALSE(nameschinese());
  EXPECT_EQ(gen(NameKind::bone, "右裙"), "Hem_R");
}

TEST_F(Reading, NamesThatDifferOnlyInCharactersShiftJisLacksStayApart) {
  EXPECT_EQ(given(NameKind::bone, "绿A1"), "_A1");
  EXPECT_EQ(given(NameKind::bone, "红A1"), "_A1(2)");  // another name, not the same one
  EXPECT_EQ(given(NameKind::bone, "绿A1"), "_A1");      // the first again keeps its own
}

TEST_F(Reading, MarksStayAsTheyAre) {
  EXPECT_EQ(gen(NameKind::morph, "目+"), "Eyes+");
  EXPECT_EQ(gen(NameKind::morph, "目'7"), "Eyes'7");
  EXPECT_EQ(gen(NameKind::morph, "(目)髪"), "(Eyes)Hair");
  EXPECT_EQ(gen(NameKind::morph, "！！"), "!!");          // a mark, whatever an entry says
  EXPECT_EQ(gen(NameKind::morph, "髪？！"), "Hair?!");     // full-width as ASCII
  EXPECT_EQ(gen(NameKind::morph, "目?"), "Eyes?");
  EXPECT_EQ(gen(NameKind::morph, "【髪】"), "[Hair]");
  EXPECT_EQ(gen(NameKind::morph, "目′"), "Eyes'");         // a prime stays a prime
  EXPECT_EQ(gen(NameKind::morph, "◯"), "Circle");         // a symbol by its shape
  EXPECT_EQ(gen(NameKind::morph, "鬱"), "_");             // nothing else fits
  EXPECT_EQ(gen(NameKind::morph, "目up"), "EyesUp");      // letters run on begin a word
}

TEST_F(Reading, SensesByKindAndNeighbour) {
  EXPECT_EQ(gen(NameKind::morph, "口角"), "MouthCorner");
  EXPECT_EQ(gen(NameKind::bone, "角"), "Horn");
}

TEST_F(Reading, AStandardNameNeverMovesTheOtherOneDoes) {
  // にっこり comes first and would take "smile"; the standard 笑い keeps it.
  namesreset();
  namereserve(NameKind::morph, sj("笑い").c_str(), "笑い");
  EXPECT_EQ(given(NameKind::morph, "にっこり"), "Smile(2)");
  EXPECT_EQ(given(NameKind::morph, "笑い"), "smile");
}

TEST_F(Reading, NamesTheUserRulesGiveCountAndLetterCaseDoesNot) {
  loadrules("-Morph\n\"ほほえみ\"F \"SMILE\"\n");
  namesreset();
  namereserve(NameKind::morph, sj("ほほえみ").c_str(), "ほほえみ");
  EXPECT_EQ(given(NameKind::morph, "にっこり"), "Smile(2)");
  EXPECT_EQ(given(NameKind::morph, "ほほえみ"), "SMILE");
}

TEST_F(Reading, WithoutADictionaryNothingChanges) {
  dictclear();
  EXPECT_EQ(gen(NameKind::bone, "飘带左3_2"), sj("左3_2"));  // as the rules leave it
  EXPECT_EQ(gen(NameKind::morph, "目?"), sj("目_"));
}

}  // namespace
