// names_translit_test.cpp - word-by-word English rendering of Japanese bone names.
#include <gtest/gtest.h>

#include <string>

#include "names/translit.h"
#include "tests/unit/names_util.h"

namespace {

std::string eng(const std::string& sjisname) {
  char out[ENG_BUFSIZE + 8];
  memset(out, 0x55, sizeof out);
  sjis2eng(out, sjisname.c_str());
  size_t n = strlen(out);
  EXPECT_LE(n + 2, static_cast<size_t>(ENG_BUFSIZE));
  EXPECT_EQ(out[n + 1], 0) << "second zero byte missing";
  return std::string(out, n);
}

TEST(Translit, Examples) {
  struct {
    const char* jp;
    const char* en;
  } const cases[] = {
      {"左腕捩", "Left Arm Twist"},
      {"右足首ＩＫ", "Right Ankle IK"},
      {"左手首", "Left Wrist"},
      {"左手", "Left Hand"},
      {"首", "Neck"},
      {"全ての親", "Mother bone"},
      {"親", "Parent"},
      {"左親指１", "Left Thumb 1"},
      {"上半身２", "Upper Body 2"},
      {"スカート", "Skirt"},
      {"ｽｶｰﾄ", "Skirt"},
      {"つま先ＩＫ", "Toe IK"},
      {"右目光", "Right Eye Light"},
      {"０９", "0 9"},
      {"センター先", "Center Top"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(eng(sj(c.jp)), c.en) << c.jp;
}

TEST(Translit, UnknownTextPassesThroughAndOneTrailingSpaceGoes) {
  EXPECT_EQ(eng("arm "), "arm");
  EXPECT_EQ(eng("arm  "), "arm ");
  EXPECT_EQ(eng(" "), "");
  EXPECT_EQ(eng(sj("左ひとさし")), "Left " + sj("ひとさし"));
  EXPECT_EQ(eng(sj("腕Ｘ")), "Arm " + sj("Ｘ"));
}

TEST(Translit, WalkIsByteWise) {
  // A word may start on a trail byte: ロ is 83 8D and ｶ is B6, so 8D B6 reads as 左;
  // ヵ is 83 95 and 95 5C 8F EE reads as 表情.
  EXPECT_EQ(eng(sj("ロｶ")), "\x83Left");
  EXPECT_EQ(eng("\x83\x95\x5C\x8F\xEE"), "\x83" "Expression");
}

TEST(Translit, LongRenderingIsCutBeforeAWholeWordAndKeepsTwoZeros) {
  // 左 grows from 2 bytes to 5: 100 of them would need 500 bytes.
  std::string name;
  for (int i = 0; i < 100; i++) name += sj("左");
  std::string expect;
  while (expect.size() + 5 <= static_cast<size_t>(ENG_BUFSIZE - 2)) expect += "Left ";
  expect.pop_back();
  EXPECT_EQ(eng(name), expect);
}

TEST(Translit, CutNeverSplitsADoubleByteCharacter) {
  std::string name(ENG_BUFSIZE - 3, 'a');
  name += sj("ひ");  // a double-byte character not in the table, one byte short of room
  std::string out = eng(name);
  EXPECT_EQ(out, std::string(ENG_BUFSIZE - 3, 'a'));
}

}  // namespace
