// names_fill_test.cpp - the English name each bone, morph and display frame receives.
#include <gtest/gtest.h>

#include <string>

#include "names/fillname.h"
#include "tests/unit/names_util.h"

namespace {

using FillEnglish = NamesTest;

constexpr NameKind B = NameKind::bone, M = NameKind::morph, F = NameKind::frame;
constexpr const char* kEnRules = "-BoneEN\narm Arm\nclear \"\"\nD Dx\n-MorphEN\nsmile Smile\n";

TEST_F(FillEnglish, Decisions) {
  struct {
    NameKind kind;
    const char* en;   // UTF-8
    const char* gen;  // UTF-8
    int force;
    const char* rules;
    int changed;
    const char* out;  // the new name when changed
    const char* log;
  } const cases[] = {
      // vacant names take the generated name; bones and frames log only a non-empty one
      {B, "", "Left_腕", 0, "", 1, "Left_腕", " => Left_腕 "},
      // an empty generated name leaves a vacant name as the file has it
      {B, "", "", 0, "", 0, "", ""},
      {F, "", "", 0, "", 0, "", ""},
      {M, "", "", 0, "", 0, "", " =>  "},
      {F, "", "表情", 0, "", 1, "表情", " => 表情 "},
      // the "D" placeholder of bones
      {B, "D", "左腕", 0, "", 1, "左腕", " => 左腕 "},
      {B, "D", "ab", 0, "", 1, "ab", " => ab "},
      {B, "D", "a", 0, "", 0, "", ""},
      {B, "D", "a", 0, kEnRules, 1, "Dx", " => Dx "},
      {M, "D", "左腕", 0, kEnRules, 0, "", ""},
      {F, "D", "左腕", 0, kEnRules, 0, "", ""},
      // existing names through the English-name rules
      {B, "arm", "x", 0, kEnRules, 1, "Arm", " => Arm "},
      {B, "left arm", "x", 0, kEnRules, 1, "left Arm", " => left Arm "},
      {B, "leg", "x", 0, kEnRules, 0, "", ""},
      {B, "clear", "腕", 0, kEnRules, 1, "腕", " => 腕 "},
      {B, "clear", "", 0, kEnRules, 1, "", ""},
      {M, "smile", "x", 0, kEnRules, 1, "Smile", " => Smile "},
      {M, "arm", "x", 0, kEnRules, 0, "", ""},  // bone rules do not touch morphs
      {F, "arm", "x", 0, kEnRules, 0, "", ""},  // frames have no English-name rules
      {B, "a?b", "x", 0, "", 1, "a_b", " => a_b "},  // even without rules '?' changes
      // Force.display replaces every English name wherever the generated one is not empty
      {F, "x", "y", 1, "", 1, "y", "(CLR)  => y "},
      {B, "arm", "左", 1, kEnRules, 1, "左", "(CLR)  => 左 "},
      {M, "smile", "笑い", 1, kEnRules, 1, "笑い", "(CLR)  => 笑い "},
      {B, "x", "", 1, "", 0, "", ""},
      {B, "arm", "", 1, kEnRules, 1, "Arm", " => Arm "},
      {M, "", "", 1, "", 0, "", " =>  "},
      {F, "y", "y", 1, "", 0, "", "(CLR)  => y "},  // replaced by the same text: stays
  };
  for (const auto& c : cases) {
    loadrules(c.rules);
    Force.display = static_cast<int8_t>(c.force);
    const std::string en = sj(c.en), gen = sj(c.gen);
    char out[REP_BUFSIZE];
    ConsoleCapture cap;
    const int changed = fillenglish(c.kind, en.c_str(), gen.c_str(), out);
    const std::string what = std::string("en ") + c.en + " gen " + c.gen;
    EXPECT_EQ(changed, c.changed) << what;
    EXPECT_EQ(cap.take(), sj(c.log)) << what;
    if (changed == 1) {
      EXPECT_EQ(std::string(out), sj(c.out)) << what;
    }
  }
}

// An English name of the other kinds whose Shift-JIS form is not the file's text (here
// "a?b" from a character Shift-JIS lacks) is the author's: kept, unless every name is
// replaced. Bones, morphs and frames follow their rules whatever the text.
TEST_F(FillEnglish, InexactNamesOfTheOtherKindsAreKept) {
  loadrules(kEnRules);
  char out[REP_BUFSIZE] = "untouched";
  ConsoleCapture cap;
  for (NameKind k : {NameKind::model, NameKind::material, NameKind::body, NameKind::joint,
                     NameKind::softbody}) {
    EXPECT_EQ(fillenglish(k, "a?b", "x", out, false), 0);
    EXPECT_EQ(fillenglish(k, "arm", "x", out, false), 0);
    EXPECT_EQ(fillenglish(k, "", "x", out, false), 1);  // a vacant name is filled
    EXPECT_EQ(fillenglish(k, "arm", "x", out, true), 1);
    EXPECT_STREQ(out, "Arm");
    // A '?' the author wrote is no change of the rules' own; one with a rule's is.
    EXPECT_EQ(fillenglish(k, "a?b", "x", out, true), 0);
    EXPECT_EQ(fillenglish(k, "arm?", "x", out, true), 1);
    EXPECT_STREQ(out, "Arm_");
  }
  EXPECT_EQ(fillenglish(NameKind::bone, "a?b", "x", out, false), 1);
  EXPECT_STREQ(out, "a_b");
  cap.take();
  Force.display = 1;
  EXPECT_EQ(fillenglish(NameKind::material, "a?b", "x", out, false), 1);
  EXPECT_STREQ(out, "x");
  EXPECT_EQ(cap.take(), "(CLR)  => x ");
}

TEST_F(FillEnglish, LongGeneratedNameStaysWithinTheBuffer) {
  const std::string gen(GEN_NAMEMAX, 'g');
  char out[REP_BUFSIZE];
  ConsoleCapture cap;
  EXPECT_EQ(fillenglish(NameKind::bone, "", gen.c_str(), out), 1);
  EXPECT_EQ(std::string(out), gen);
  EXPECT_EQ(cap.take(), " => " + gen + " ");
}

}  // namespace
