// names_dict_test.cpp - the dictionary beneath the rules: reading good and broken files,
// the segmentation of stretches, the walk with the user's rules, distinct names.
#include <sys/stat.h>

#include <set>
#include <string>
#include <vector>

#include "names/dict.h"
#include "names/namegen.h"
#include "names_util.h"

namespace {

// A small dictionary in the file format, covering every class and layer.
const std::string kDict =
    "# a comment\r\n"
    "\n"
    "namewright-dictionary 1\r\n"
    "bmf\tS\t左\tL\n"
    "bmf\tS\t右\tR\n"
    "b\tN\t左腕\tarm_L\n"
    "m\tN\tまばたき\tblink\n"
    "bmf\tW\t髪\thair | tress\n"
    "bmf\tW\t先\ttip\n"
    "bmf\tW\t立体\tsolid | three dimensional\n"
    "bmf\tW\t機動\tmaneuver\n"
    "bmf\tW\t装置\tdevice\n"
    "bmf\tK\t立\tstand\n"
    "bmf\tK\t体\tbody\n"
    "bmf\tK\t未\tnot yet\n"
    "bmf\tK\t使\tuse\n"
    "bmf\tK\t用\tuse\n"
    "bmf\tW\t使用\tuse\n"
    "bmf\tW\t未使用\tunused\n"
    "bmf\tW\tケーブル\tcable\n"
    "mf\tW\t笑い\tsmile | laugh\n"
    "m\tW\tにっこり\tsmile | grin\n"
    "b\tW\t目\teye\n"
    "mf\tW\t目\teyes\n"
    "bmf\tW\tＩＫ\tIK\n"
    "bmf\tW\t素足\tbare  legs\n"
    "bmf\tW\t電線\tcable\n"
    "bmf\tW\tコード\tcable\n";

class Dict : public NamesTest {
 protected:
  void SetUp() override {
    NamesTest::SetUp();
    dictclear();
    namesreset();
  }
  void TearDown() override {
    dictclear();
    namesreset();
    NamesTest::TearDown();
  }
  // Reads a dictionary text; what the reader printed.
  std::string load(const std::string& text, int want = 0) {
    TempFile f(text, "namedict.txt");
    ConsoleCapture cap;
    EXPECT_EQ(dictread(f.path(), nullptr, "D"), want);
    return cap.take();
  }
  std::string gen(NameKind kind, const std::string& utf8) {
    char out[REP_BUFSIZE + 8];
    memset(out, 0x55, sizeof out);
    EXPECT_EQ(genname(kind, sj(utf8).c_str(), out), 0);
    EXPECT_EQ(out[REP_BUFSIZE], 0x55);
    return out;
  }
  // The name a vacant record receives, as the writer gives it.
  std::string given(NameKind kind, const std::string& utf8) {
    char out[REP_BUFSIZE];
    genname(kind, sj(utf8).c_str(), out);
    namegiven(kind, out);
    return out;
  }
};

TEST_F(Dict, GoodFileIsReadWholeAndQuietly) {
  EXPECT_EQ(load(kDict), "");
  EXPECT_TRUE(dicthas());
  EXPECT_EQ(dictcount(), 25);
  // A byte order mark as an editor writes it, no final line end.
  EXPECT_EQ(load("\xEF\xBB\xBFnamewright-dictionary 1\nb\tW\t髪\thair"), "");
  EXPECT_EQ(dictcount(), 1);
  EXPECT_EQ(gen(NameKind::bone, "髪"), "Hair");
}

TEST_F(Dict, BrokenFileNamesItsLineAndLeavesNothing) {
  struct Case {
    std::string text;
    int line;
    const char* what;
  };
  const std::string head = "# c\nnamewright-dictionary 1\n";
  std::string kanji32;
  for (int i = 0; i < 32; i++) kanji32 += "髪";
  std::string zero = "b\tW\t髪\tha";
  zero += '\0';
  zero += "ir\n";
  const std::vector<Case> cases = {
      {"# only a comment\n\nnamewright-dictionary 3\n", 3, "not a Namewright dictionary"},
      {"", 1, "not a Namewright dictionary (no line"},
      {"# c\n", 2, "not a Namewright dictionary (no line"},
      {head + "b\tW\t髪\n", 3, "fewer than four fields"},
      {head + "b\tW\t髪\thair\textra\n", 3, "more than four fields"},
      {head + "b\tW\t髪\thair\nbx\tW\t先\ttip\n", 4, "a kind that is not b, m, f, n, j or c"},
      {head + "\tW\t髪\thair\n", 3, "no kind"},
      {head + "j\tW\t髪\thair\n", 3, "no kind"},
      {head + "bjc\tW\t髪\thair\n", 3, "a kind both j and c"},
      {head + "b\tX\t髪\thair\n", 3, "a class that is not N, W, K or S"},
      {head + "b\tWW\t髪\thair\n", 3, "a class that is not N, W, K or S"},
      {head + "b\tW\t\thair\n", 3, "empty Japanese text"},
      {head + "b\tW\t\xE9\xAB\tsmile\n", 3, "Japanese text that is not UTF-8"},
      {head + "b\tW\t\xED\xA0\x80\tsmile\n", 3, "Japanese text that is not UTF-8"},
      {head + "b\tW\t髪\x01\tsmile\n", 3, "Japanese text with a control character"},
      {head + "b\tW\t髪\xC2\x85\tsmile\n", 3, "Japanese text with a control character"},
      {head + "b\tW\t" + kanji32 + "髪\thair\n", 3, "Japanese text over 32 characters"},
      {head + "b\tW\t髪\tcheveux \xC3\xA9\n", 3, "English text that is not printable ASCII"},
      {head + "b\tW\t髪\thair | \n", 3, "empty English text"},
      {head + "b\tS\t左\tLeft\n", 3, "a side whose English is not L or R"},
      {head + "b\tW\t髪\t" + std::string(1100, 'a') + "\n", 3, "a line over 1024 bytes"},
      {head + zero, 3, "a zero byte"},
  };
  for (const Case& c : cases) {
    std::string printed = load(c.text, -2);
    std::string want = "Dictionary D, line " + std::to_string(c.line) + ": " + c.what;
    EXPECT_EQ(printed.rfind(want, 0), 0u) << printed << " / " << want;
    EXPECT_EQ(printed.substr(printed.size() - 2), " \n");
    EXPECT_FALSE(dicthas());
    EXPECT_EQ(dictcount(), 0);
    // Nothing of the file is used: the name is as the rules alone make it.
    EXPECT_EQ(gen(NameKind::bone, "髪"), sj("髪"));
  }
}

TEST_F(Dict, ProgramFolderFileIsAnnouncedOnceOrNotAtAll) {
  const std::string dir = ::testing::TempDir() + std::to_string(getpid()) + "_dict/";
  ASSERT_EQ(system(("mkdir -p " + dir).c_str()), 0);
  std::u16string dirW(dir.begin(), dir.end());
  {
    ConsoleCapture cap;
    EXPECT_EQ(dictload(dir.c_str(), dirW.c_str()), 0);
    EXPECT_EQ(cap.take(), "");  // no file: nothing at all
    EXPECT_FALSE(dicthas());
  }
  FILE* f = fopen((dir + "namedict.txt").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fputs(kDict.c_str(), f);
  fclose(f);
  {
    ConsoleCapture cap;
    EXPECT_EQ(dictload(dir.c_str(), dirW.c_str()), 0);
    EXPECT_EQ(cap.take(), "Dictionary: " + dir + "namedict.txt (25 entries) \n");
    // The UTF-16 path is taken when the ANSI one cannot be used.
    EXPECT_EQ(dictload("/nonexistent-folder/", dirW.c_str()), 0);
    EXPECT_EQ(cap.take(), "Dictionary: " + dir + "namedict.txt (25 entries) \n");
  }
  f = fopen((dir + "namedict.txt").c_str(), "ab");
  fputs("b\tQ\t髪\thair\n", f);
  fclose(f);
  {
    ConsoleCapture cap;
    EXPECT_EQ(dictload(dir.c_str(), dirW.c_str()), -1);
    EXPECT_EQ(cap.take(),
              "Dictionary " + dir + "namedict.txt, line 29: a class that is not N, W, K or S \n");
  }
  remove((dir + "namedict.txt").c_str());
  // A folder in the file's place cannot be read: not the same as no file.
  ASSERT_EQ(mkdir((dir + "namedict.txt").c_str(), 0755), 0);
  {
    ConsoleCapture cap;
    EXPECT_EQ(dictload(dir.c_str(), dirW.c_str()), -1);
    EXPECT_EQ(cap.take(), "Dictionary " + dir +
                              "namedict.txt, line 1: the file cannot be opened (access denied) \n");
  }
  rmdir((dir + "namedict.txt").c_str());
  rmdir(dir.c_str());
}

TEST_F(Dict, SegmentationAcrossTheLayers) {
  load(kDict);
  struct Case {
    NameKind kind;
    const char* jp;
    const char* en;
  };
  const std::vector<Case> cases = {
      {NameKind::bone, "左腕", "arm_L"},  // whole name, verbatim
      {NameKind::morph, "左腕", "_L"},    // not a morph's whole name
      {NameKind::morph, "まばたき", "blink"},
      {NameKind::bone, "まばたき", "Mabataki"},                 // no bone entry: romaji
      {NameKind::bone, "立体機動装置", "SolidManeuverDevice"},  // words over kanji
      {NameKind::bone, "未使用", "Unused"},                     // fewest pieces
      {NameKind::bone, "立用", "StandUse"},                     // kanji fallbacks
      {NameKind::bone, "左髪１", "Hair1_L"},                    // side to the end, digits kept
      {NameKind::bone, "髪先IK右", "HairTipIK_R"},
      {NameKind::bone, "髪ＩＫ", "HairIK"},          // a full-width word of its own
      {NameKind::bone, "髪Ａｂ-2.x", "HairAb-2.x"},  // full-width made ASCII
      {NameKind::morph, "ケーブル", "Cable"},        // a loanword beats its romaji
      {NameKind::morph, "ケーブルきゃっち", "CableKyatchi"},
      {NameKind::bone, "目", "Eye"},  // the entry of the kind
      {NameKind::frame, "目", "Eyes"},
      {NameKind::bone, "素足", "BareLegs"},   // words capitalised, run together
      {NameKind::morph, "笑い☆★", "Smile_"},  // unknown characters collapse
      {NameKind::bone, "☆髪 ☆", "_Hair_"},
      {NameKind::bone, "髪左右", "Hair_LR"},  // two sides together, in their order
  };
  for (const Case& c : cases) EXPECT_EQ(gen(c.kind, c.jp), c.en) << c.jp;
}

TEST_F(Dict, AppendedLinesParticlesAndHalfWidthKana) {
  load(kDict +
       "bmf\tW\tの\t-\n"
       "m\tW\t髪\tmane\n"  // a later line of a word wins for its kinds
       "bmf\tW\tスカート\tskirt\n"
       "m\tN\tウィンク\twink\n");
  EXPECT_EQ(gen(NameKind::bone, "髪の先"), "HairTip");
  EXPECT_EQ(gen(NameKind::morph, "髪の先"), "ManeTip");
  EXPECT_EQ(gen(NameKind::bone, "ｽｶｰﾄ前1"), "Skirt_1");  // 前 has no entry here
  EXPECT_EQ(gen(NameKind::morph, "ｳｨﾝｸ"), "wink");
  EXPECT_EQ(gen(NameKind::bone, "ｹｰﾌﾞﾙｹｰﾌﾞﾙ"), "CableCable");
  EXPECT_EQ(gen(NameKind::bone, "ﾐﾑﾒ"), "Mimume");
  // A name that reads as nothing is '_'; an empty text the user's rule asks for stays.
  EXPECT_EQ(gen(NameKind::bone, ""), "_");
  EXPECT_EQ(gen(NameKind::bone, "の"), "_");
  loadrules("-Bone\n\"消\"F \"\"\n");
  EXPECT_EQ(gen(NameKind::bone, "消"), "");
}

TEST_F(Dict, EqualReadingsAndKatakanaRuns) {
  load(
      "namewright-dictionary 1\n"
      "bmf\tW\t手\thand\nbmf\tW\t首\tneck\nbmf\tW\t手首\twrist\n"
      "bmf\tW\t首飾り\tnecklace\nbmf\tW\t飾り\tornament\n"
      "bmf\tW\tロー\tlow\nbmf\tW\tブラ\tbra\nbmf\tW\tー\t-\n"
      "bmf\tW\tスカート\tskirt\nbmf\tW\t裾\them\nbmf\tW\tスカート裾\tskirt hem\n");
  // The longer first piece among readings of equal rank, as a reader splits.
  EXPECT_EQ(gen(NameKind::bone, "手首飾り"), "WristOrnament");
  // A katakana run is words alone or one romaji word.
  EXPECT_EQ(gen(NameKind::bone, "グロー"), "Guro");
  EXPECT_EQ(gen(NameKind::bone, "ブラー"), "Bra");
  EXPECT_EQ(gen(NameKind::bone, "スカートロー裾"), "SkirtLowHem");
  EXPECT_EQ(gen(NameKind::bone, "スカート裾ロー"), "SkirtHemLow");
  EXPECT_EQ(gen(NameKind::bone, "グロー裾"), "GuroHem");
}

TEST_F(Dict, KanaWithoutEntryBecomeHepburn) {
  load("namewright-dictionary 1\n");
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"しゃしん", "Shashin"},
      {"ちょっと", "Chotto"},
      {"きゃ", "Kya"},
      {"マッチ", "Matchi"},
      {"ティファ", "Tifa"},
      {"シェ", "She"},
      {"ウィンク", "Winku"},
      {"ヴァ", "Va"},
      {"ｽｶｰﾄ", "Sukato"},
      {"ｶﾞﾊﾟ", "Gapa"},
      {"ｳﾞ", "Vu"},
      {"あっ", "A"},
      {"ふくれっ面", "Fukure_"},
      {"ー", "_"},
      {"ッッ", "_"},
  };
  for (const auto& [jp, en] : cases) EXPECT_EQ(gen(NameKind::morph, jp), en) << jp;
}

TEST_F(Dict, UserRulesKeepTheirPlaceAboveTheDictionary) {
  load(kDict);
  // A part rule inside a stretch, a whole-name rule, a tail rule, a part rule ending in *.
  loadrules(
      "-Bone\n"
      "\"先\" \"Point\"\n"
      "\"装置\"L \"Unit\"\n"
      "\"機動装置\"F \"Gear\"\n"
      "\"髪飾*\" \"Orn\"\n"
      "-Morph\n"
      "\"笑い\"F \"SmileX\"\n");
  EXPECT_EQ(gen(NameKind::bone, "左髪先１"), "HairPoint1_L");
  EXPECT_EQ(gen(NameKind::bone, "機動装置"), "Gear");
  EXPECT_EQ(gen(NameKind::bone, "立体機動装置"), "SolidManeuverUnit");
  EXPECT_EQ(gen(NameKind::bone, "左髪飾り右"), "Orn_L");  // ends the name
  EXPECT_EQ(gen(NameKind::bone, "髪?先"), "Hair?Point");  // a mark the name keeps
  EXPECT_EQ(gen(NameKind::morph, "笑い"), "SmileX");  // the user's rule wins
  EXPECT_EQ(gen(NameKind::frame, "笑い"), "SmileX");  // frames use the morph rules
  EXPECT_EQ(gen(NameKind::morph, "笑い目"), "SmileEyes");
  // Without the dictionary the same rules give today's names.
  dictclear();
  EXPECT_EQ(gen(NameKind::bone, "左髪先１"), sj("左髪") + "Point" + sj("１"));
  EXPECT_EQ(gen(NameKind::bone, "立体機動装置"), sj("立体機動") + "Unit");
}

TEST_F(Dict, LongNamesStayWithinTheLimitWithTheirSide) {
  load(kDict);
  std::string jp = "左";
  for (int i = 0; i < 100; i++) jp += "髪";
  std::string en = gen(NameKind::bone, jp);
  // Cut where a word begins: 62 words of Hair and the side.
  EXPECT_EQ(en.size(), static_cast<size_t>(62 * 4 + 2));
  EXPECT_EQ(en.substr(en.size() - 6), "Hair_L");
  EXPECT_EQ(en.substr(0, 8), "HairHair");
}

// A field of 20 bytes (a PMD's): the words give way, the numbers and the side stay, and
// names cut alike are kept apart after the cut.
TEST_F(Dict, ANameCutToItsFieldKeepsItsNumberAndSide) {
  load("namewright-dictionary 1\n"
       "bmf\tW\t髪飾り\thair ornament\nbmf\tW\t揺れ\tsway\nbmf\tW\t先\ttip\n"
       "bmf\tS\t左\tL\nbmf\tS\t右\tR\n");
  auto cut = [](const char* jp) {
    char out[REP_BUFSIZE];
    genname(NameKind::bone, sj(jp).c_str(), out, nullptr, 20);
    namegiven(NameKind::bone, out);
    return std::string(out);
  };
  EXPECT_EQ(cut("左髪飾り揺れ先1"), "HairOrnamentSway1_L");
  EXPECT_EQ(cut("左髪飾り揺れ先2"), "HairOrnamentSway2_L");
  EXPECT_EQ(cut("右髪飾り揺れ先1"), "HairOrnamentSway1_R");
  // The same cut name for another Japanese name: the copy's number, inside the field.
  EXPECT_EQ(cut("左髪飾り揺れ1"), "HairOrnament1(2)_L");
  EXPECT_EQ(cut("左髪飾り揺れ先1"), "HairOrnamentSway1_L");  // its own again
  const std::string twin = cut("左髪飾り揺れ揺れ1");
  EXPECT_LE(twin.size(), 19u);
  EXPECT_EQ(twin.substr(twin.size() - 2), "_L");
  EXPECT_NE(twin, "HairOrnamentSway1_L");
}

TEST_F(Dict, GeneratedNamesStayDistinctWithinAModel) {
  load(kDict);
  // An existing name of the kind is taken; the same Japanese name may share it.
  EXPECT_EQ(nametaken(NameKind::morph, "smile", sj("笑い").c_str()), 0);
  EXPECT_EQ(given(NameKind::morph, "笑い"), "Smile");
  EXPECT_EQ(given(NameKind::morph, "にっこり"), "Grin");  // its alternative
  EXPECT_EQ(given(NameKind::morph, "にっこり"), "Grin");  // the same Japanese name again
  EXPECT_EQ(nametaken(NameKind::morph, "Hair1", sj("毛").c_str()), 0);
  EXPECT_EQ(given(NameKind::morph, "髪１"), "Tress1");  // case does not tell names apart
  EXPECT_EQ(given(NameKind::morph, "左髪１"), "Hair1_L");
  EXPECT_EQ(given(NameKind::morph, "左髪1"), "Tress1_L");
  // No alternative left: the copy's number, in parentheses before the side, the copies
  // in order.
  EXPECT_EQ(given(NameKind::morph, "ケーブル"), "Cable");
  EXPECT_EQ(given(NameKind::morph, "電線"), "Cable(2)");
  EXPECT_EQ(given(NameKind::morph, "コード"), "Cable(3)");
  EXPECT_EQ(given(NameKind::morph, "ケーブル１"), "Cable1");
  EXPECT_EQ(given(NameKind::morph, "電線１"), "Cable1(2)");
  EXPECT_EQ(given(NameKind::morph, "左ケーブル"), "Cable_L");
  EXPECT_EQ(given(NameKind::morph, "左電線"), "Cable(2)_L");
  EXPECT_EQ(given(NameKind::morph, "左髪1 "), "Hair1(2)_L");
  // Other kinds keep their own names.
  EXPECT_EQ(given(NameKind::frame, "笑い"), "Smile");
  EXPECT_EQ(given(NameKind::bone, "ケーブル"), "Cable");
  // Names the last genname call did not make are left alone.
  char other[REP_BUFSIZE] = "Cable";
  namegiven(NameKind::morph, other);
  EXPECT_STREQ(other, "Cable");
  // A new model starts afresh.
  namesreset();
  EXPECT_EQ(given(NameKind::morph, "にっこり"), "Smile");
}

TEST_F(Dict, ManyNamesThatReadAlikeGetNumeralsInTurn) {
  load(kDict);
  // 3000 different kanji pairs without entries: each reads "_"; the numerals are found
  // without searching from 2 each time, and a name given again keeps its numeral.
  std::set<std::string> seen;
  std::string again, first;
  int numerals = 0;
  for (int i = 0; i < 3000; i++) {
    std::string jp = {'\x89', static_cast<char>(0x40 + i % 60),
                      static_cast<char>(0x8A + i / 60 % 20), static_cast<char>(0x40 + i / 1200)};
    char out[REP_BUFSIZE];
    genname(NameKind::morph, jp.c_str(), out);
    namegiven(NameKind::morph, out);
    EXPECT_TRUE(seen.insert(out).second) << out;
    numerals += out[0] == '_' && out[1] == '(' ? 1 : 0;
    if (i == 1000) again = jp, first = out;
  }
  EXPECT_GT(numerals, 2900);
  EXPECT_EQ(first.substr(0, 1), "_");
  char out[REP_BUFSIZE];
  genname(NameKind::morph, again.c_str(), out);
  namegiven(NameKind::morph, out);
  EXPECT_EQ(out, first);
}

TEST_F(Dict, WithoutADictionaryNamesAreNotTouched) {
  EXPECT_EQ(nametaken(NameKind::morph, "x", "y"), 0);
  char out[REP_BUFSIZE];
  genname(NameKind::morph, "x", out);
  namegiven(NameKind::morph, out);
  genname(NameKind::morph, "x", out);
  namegiven(NameKind::morph, out);
  EXPECT_STREQ(out, "x");
}

}  // namespace
