// names_rules_test.cpp - applying replacement rules to names: forms, order, wildcards, bounds.
#include <gtest/gtest.h>

#include <string>

#include "tests/unit/names_util.h"

namespace {

using NamesRules = NamesTest;

struct Case {
  const char* rules;  // alias file text, UTF-8
  const char* name;   // UTF-8
  const char* want;   // UTF-8
};

void runcases(int (*fn)(char*, const char*), const Case* cases, size_t n) {
  for (size_t i = 0; i < n; i++) {
    loadrules(cases[i].rules);
    EXPECT_EQ(ruled(fn, sj(cases[i].name)), sj(cases[i].want))
        << "rules: " << cases[i].rules << " name: " << cases[i].name;
  }
}

TEST_F(NamesRules, FormsAndOrder) {
  const Case cases[] = {
      // whole-name against part rule
      {"\"左腕\"F \"left arm\"\n", "左腕捩", "左腕捩"},
      {"\"左腕\"F \"left arm\"\n", "左腕", "left arm"},
      {"\"左腕\" \"Left_Arm\"\n", "左腕捩", "Left_Arm捩"},
      // tail rule: only at the end, and it ends the result
      {"\"捩\"L \"_twist\"\n", "左腕捩", "左腕_twist"},
      {"\"捩\"L \"_twist\"\n", "捩左", "捩左"},
      {"\"捩\"FL \"_twist\"\n", "左捩", "左_twist"},
      // a part rule replaces every occurrence and text between is copied
      {"\"左\" \"L_\"\n", "左左x左", "L_L_xL_"},
      // newest first at one position, whatever the form
      {"\"左\" \"L_\"\n\"左腕\" \"ArmL\"\n", "左腕", "ArmL"},
      {"\"左腕\" \"ArmL\"\n\"左\" \"L_\"\n", "左腕", "L_腕"},
      {"\"腕\"L \"_tail\"\n\"腕\" \"_part\"\n", "左腕", "左_part"},
      // the earliest position wins over a newer rule further on
      {"\"腕\" \"arm\"\n\"左\" \"L\"\n", "腕左", "armL"},
      // the whole-name rule applies only from the start
      {"\"腕\"F \"arm\"\n", "左腕", "左腕"},
      // a lower-case f is no form letter but the start of the replacement token
      {"\"腕\"f \"arm\"\n", "左腕", "左f"},
  };
  runcases(brep, cases, std::size(cases));
}

TEST_F(NamesRules, Wildcards) {
  const Case cases[] = {
      {"\"髪*\" \"hair\"\n", "髪飾り", "hair"},
      {"\"髪*\" \"hair\"\n", "髪", "髪"},
      {"\"髪*\" \"hair\"\n", "前髪x", "前hair"},
      {"\"_?\" \"_X\"\n", "a_b_", "a_X_"},
      {"\"a?c\" \"Z\"\n", "abcabd", "Zabd"},
      // ？ takes one double-byte character, and a literal ？ too
      {"\"左？\" \"L\"\n", "左腕左？左a", "LL左a"},
      // after the '*' the source is ignored
      {"\"a*b\" \"Z\"\n", "xaxyz", "xZ"},
  };
  runcases(brep, cases, std::size(cases));
}

TEST_F(NamesRules, QuestionMarkBecomesUnderscoreWithOrWithoutRules) {
  EXPECT_EQ(ruled(brep, "a?b??"), "a_b__");
  // A rule "?" takes any other byte, but rules are never tried on a '?' of the name.
  loadrules("\"?\" \"Q\"\n");
  EXPECT_EQ(ruled(brep, sj("腕?")), "QQ_");
}

TEST_F(NamesRules, EachKindUsesItsOwnSection) {
  loadrules(
      "\"a\" \"bone\"\n-Morph\n\"a\" \"morph\"\n-BoneEN\n\"a\" \"boneEN\"\n"
      "-MorphEN\n\"a\" \"morphEN\"\n");
  EXPECT_EQ(ruled(brep, "a"), "bone");
  EXPECT_EQ(ruled(mrep, "a"), "morph");
  EXPECT_EQ(ruled(benrep, "a"), "boneEN");
  EXPECT_EQ(ruled(menrep, "a"), "morphEN");
}

TEST_F(NamesRules, LeadByteAtTheEndIsCopiedAlone) {
  EXPECT_EQ(ruled(brep, "ab\x88"), "ab\x88");
  // a trail byte that looks like '?' or a rule's first byte is not taken apart
  loadrules("\"@\" \"AT\"\n");
  EXPECT_EQ(ruled(brep, "\x81\x40@"), "\x81\x40" "AT");
}

TEST_F(NamesRules, GrowingResultIsCutAtAWholeCharacter) {
  // Each 'a' becomes 15 bytes; the result must stop before REP_BUFSIZE.
  loadrules("\"a\" \"123456789012345\"\n");
  std::string out = ruled(brep, std::string(100, 'a'));
  std::string full;
  while (full.size() < static_cast<size_t>(REP_BUFSIZE - 1)) full += "123456789012345";
  EXPECT_EQ(out, full.substr(0, REP_BUFSIZE - 1));
  // The same with a double-byte replacement: 7 characters, never half of one.
  loadrules("\"a\" \"左左左左左左左\"\n");
  out = ruled(brep, std::string(100, 'a'));
  EXPECT_EQ(out.size() % 2, 0u);
  EXPECT_GE(out.size(), static_cast<size_t>(REP_BUFSIZE - 3));
  // Copied text stops whole too.
  nlinit();
  std::string name(REP_BUFSIZE - 2, 'x');
  name += sj("左");
  EXPECT_EQ(ruled(brep, name), std::string(REP_BUFSIZE - 2, 'x'));
}

// What the rule tests above cannot reach through brep.
TEST(NamesMatch, FullWidthQuestionMarkAndTrailBytes) {
  const std::string any = sj("？");
  EXPECT_EQ(matchhere(any.c_str(), any.c_str()), 0);
  EXPECT_NE(matchhere("ab", any.c_str()), 0);
  EXPECT_NE(matchhere("\x88", any.c_str()), 0);  // lead byte without its trail
  // ャ (83 83) then 'H': the bytes 83 48 after the lead are not "？"
  EXPECT_NE(matchhere("\x83\x84H", "\x83\x83H"), 0);
  EXPECT_EQ(matchhere("\x83\x83H", "\x83\x83H"), 0);
  EXPECT_EQ(matchrest("a", "a*"), 1);  // the star needs a byte
  EXPECT_EQ(keyis("\xE0", "\xC0"), -1);  // no case folding beyond a-z
}

}  // namespace
