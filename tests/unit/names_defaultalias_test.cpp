// names_defaultalias_test.cpp - the shipped "alias.ini" and "modsetup.ini".
//
// The shipped rules are a few examples that leave the user's sections nearly empty:
// they load cleanly, fit the reader, none hides another or the dictionary beneath
// them, and each does what the file's header says of it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "names/namelist.h"
#include "names/rules.h"
#include "setup/settings.h"
#include "setup/setupfile.h"
#include "tests/support/capture.h"
#include "text/sjis.h"

namespace {

const char* const kAliasPath = NW_SOURCE_DIR "/data/alias.ini";
const char* const kSetupPath = NW_SOURCE_DIR "/data/modsetup.ini";

enum Kind { BONE, MORPH };  // frames go through the morph rules

struct Expect {
  Kind kind;
  const char* jp;
  const char* en;
};

std::string toSjis(const char* utf8) {
  char buf[1024] = {};
  utf82sjisc(buf, utf8);
  return buf;
}

std::string toUtf8(const std::string& sjis) {
  char buf[2048] = {};
  sjis2utf8c(buf, sjis.c_str());
  return buf;
}

// The generated name of a record, in UTF-8.
std::string generate(Kind kind, const char* jp) {
  char out[REP_BUFSIZE] = {};
  const std::string sj = toSjis(jp);
  if (kind == BONE)
    brep(out, sj.c_str());
  else
    mrep(out, sj.c_str());
  return toUtf8(out);
}

bool isascii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

class DefaultAlias : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    nlinit();
    ConsoleCapture cap;
    result = aliasread(kAliasPath);
    log = cap.take();
  }
  static int result;
  static std::string log;
};
int DefaultAlias::result = -1;
std::string DefaultAlias::log;

TEST_F(DefaultAlias, LoadsCleanlyAndLeavesTheUserRoom) {
  ASSERT_EQ(result, 0) << kAliasPath;
  EXPECT_NE(log.find("Reading (UTF-8): "), std::string::npos) << log.substr(0, 200);
  for (const char* bad : {"Err: ", "Syntax: ", "(cannot set)", " => 0 \n", "bEN-rep", "mEN-rep"})
    EXPECT_EQ(log.find(bad), std::string::npos) << "the reader printed " << bad;
  for (int kind : {RK_BONE, RK_MORPH}) {
    EXPECT_GT(nlcount(ruleList[kind]), 0);
    EXPECT_LE(nlcount(ruleList[kind]), 100);  // the rest of the section is the user's
  }
  EXPECT_EQ(nlcount(ruleList[RK_BONEEN]), 0);
  EXPECT_EQ(nlcount(ruleList[RK_MORPHEN]), 0);
}

// The reader keeps 253 bytes of a line, 15 of a replacement and 63 of a source, and a
// '?' or a full-width question mark in a source matches any character: a rule that
// breaks one of these would silently do something else than it says, and a wildcard
// would take from the dictionary every character it fits.
TEST_F(DefaultAlias, EveryRuleFitsTheReader) {
  std::ifstream in(kAliasPath, std::ios::binary);
  ASSERT_TRUE(in) << kAliasPath;
  std::string line;
  int lineno = 0, rules = 0;
  while (std::getline(in, line)) {
    lineno++;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    EXPECT_LE(line.size(), 250u) << "line " << lineno << " is cut by the reader";
    const size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, 2, "//") == 0) continue;
    if (line[at] == '-') continue;
    ASSERT_EQ(line[at], '"') << "line " << lineno << ": rules are written quoted: " << line;
    const size_t srcend = line.find('"', at + 1);
    ASSERT_NE(srcend, std::string::npos) << "line " << lineno;
    const std::string src = line.substr(at + 1, srcend - at - 1);
    const size_t repat = line.find('"', srcend + 1);
    ASSERT_NE(repat, std::string::npos) << "line " << lineno << ": no replacement";
    const size_t repend = line.find('"', repat + 1);
    ASSERT_NE(repend, std::string::npos) << "line " << lineno;
    const std::string rep = line.substr(repat + 1, repend - repat - 1);
    const std::string letters = line.substr(srcend + 1, repat - srcend - 1);
    EXPECT_TRUE(letters.find_first_not_of("FL \t") == std::string::npos)
        << "line " << lineno << ": stray text between the texts: " << line;
    const std::string sj = toSjis(src.c_str());
    EXPECT_FALSE(sj.empty()) << "line " << lineno;
    EXPECT_LE(sj.size(), 63u) << "line " << lineno;
    EXPECT_EQ(toUtf8(sj), src) << "line " << lineno << ": source has no Shift-JIS form";
    EXPECT_EQ(src.find('?'), std::string::npos) << "line " << lineno << ": wildcard in " << src;
    EXPECT_EQ(src.find("？"), std::string::npos) << "line " << lineno << ": wildcard in " << src;
    const size_t star = src.find('*');
    EXPECT_TRUE(star == std::string::npos || star == src.size() - 1) << "line " << lineno;
    EXPECT_TRUE(isascii(rep)) << "line " << lineno << ": " << rep;
    EXPECT_LE(rep.size(), static_cast<size_t>(RULE_TEXTMAX)) << "line " << lineno << ": " << rep;
    rules++;
  }
  EXPECT_EQ(rules, nlcount(ruleList[RK_BONE]) + nlcount(ruleList[RK_MORPH]));
}

// A rule that a newer rule always beats at its own place is dead: it means the file's
// order is wrong (a word placed before a shorter word it begins with, a whole-name rule
// before a part rule that matches the name's start). A newer part rule beats an older
// one whose source begins with its own (a starred one only when the older source is
// longer); a newer rule of the same other form beats an older one with the same source.
// The newest rule of each source and form is indexed, so every prefix of a source is
// looked up instead of compared with every newer rule.
TEST_F(DefaultAlias, NoRuleIsShadowed) {
  ASSERT_EQ(result, 0);
  for (int kind : {RK_BONE, RK_MORPH}) {
    const int list = ruleList[kind];
    const int n = nlcount(list);
    std::vector<std::string> src(n + 1);
    std::map<std::string, int> newestpart, neweststar, newestwhole, newesttail;
    for (int i = 1; i <= n; i++) {
      char buf[NL_SLOT] = {};
      ASSERT_EQ(nlget(list, buf, i), 0);
      src[i] = buf;
      const std::string& s = src[i];
      switch (ruleForm[kind][i]) {
        case RF_PART:
          if (!s.empty() && s.back() == '*')
            neweststar[s.substr(0, s.size() - 1)] = i;
          else
            newestpart[s] = i;
          break;
        case RF_WHOLE: newestwhole[s] = i; break;
        default: newesttail[s] = i; break;
      }
    }
    auto newer = [](const std::map<std::string, int>& m, const std::string& s, int i) {
      const auto it = m.find(s);
      return it != m.end() && it->second > i ? it->second : 0;
    };
    for (int i = 1; i <= n; i++) {
      const std::string& a = src[i];
      int by = 0;
      for (size_t len = 0; len <= a.size() && by == 0; len++) {
        const std::string head = a.substr(0, len);
        by = newer(newestpart, head, i);
        if (by == 0 && len < a.size()) by = newer(neweststar, head, i);
      }
      if (by == 0 && ruleForm[kind][i] == RF_WHOLE) by = newer(newestwhole, a, i);
      if (by == 0 && ruleForm[kind][i] == RF_TAIL) by = newer(newesttail, a, i);
      EXPECT_EQ(by, 0) << (kind == RK_BONE ? "-Bone" : "-Morph") << " rule " << i << " \""
                       << toUtf8(a) << "\" is beaten by rule " << by << " \""
                       << toUtf8(by ? src[by] : std::string()) << "\"";
    }
  }
}

// Each example does what the header says of it. Without the dictionary the text no
// rule covers is copied, so what the rules wrote stands out.
TEST_F(DefaultAlias, ExamplesDoWhatTheHeaderSays) {
  ASSERT_EQ(result, 0);
  const Expect examples[] = {
      {BONE, "鎖骨", "Collarbone"},     {BONE, "左鎖骨", "左Collarbone"},
      {BONE, "センター2", "center2"},   {BONE, "センター２", "center2"},
      {BONE, "センター2先", "センター2先"}, {BONE, "髪物理", "髪_Phys"},
      {BONE, "物理髪", "物理髪"},       {MORPH, "まばたき2", "blink2"},
      {MORPH, "まばたき２", "blink2"},  {MORPH, "笑い2", "smile2"},
      {MORPH, "笑い２", "smile2"},      {MORPH, "髪物理", "髪Physics"},
      {MORPH, "まばたき", "まばたき"},
  };
  for (const Expect& e : examples)
    EXPECT_EQ(generate(e.kind, e.jp), e.en) << (e.kind == BONE ? "bone " : "morph ") << e.jp;
}

// The shipped setup file only shows the options, but for the ones that fill every kind
// of name and write the names table: as shipped it changes no other setting.
TEST(DefaultSetup, TurnsOnEveryKindAndTheTableAndNothingElse) {
  settingsdefaults();
  const InfoSettings info = Info;
  const ForceSettings force = Force;
  const CancelSettings cancel = Cancel;
  const ConvSettings conv = Conv;
  std::string out;
  int r;
  {
    ConsoleCapture cap;
    r = readsetup(kSetupPath);
    out = cap.take();
  }
  EXPECT_EQ(r, 0);
  EXPECT_EQ(out, " -- (UTF-8 setup reading ...) \nFill.everyKind = ON \nTable.write = ON \n");
  EXPECT_EQ(Fill.everyKind, FLAG_ON);
  EXPECT_EQ(Table.write, FLAG_ON);
  EXPECT_EQ(Table.remember, FLAG_OFF);
  EXPECT_EQ(Info.displayLevel, info.displayLevel);
  EXPECT_EQ(Force.display, force.display);
  EXPECT_EQ(Cancel.displaying.dialogue, cancel.displaying.dialogue);
  EXPECT_EQ(Conv.mode, conv.mode);
}

// Each commented option, once uncommented, is understood as its comment says.
TEST(DefaultSetup, CommentedOptionsWorkWhenEnabled) {
  std::ifstream in(kSetupPath, std::ios::binary);
  ASSERT_TRUE(in);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const char* opt : {"# -J", "# -D 1", "# -F 1", "# -ND2"})
    ASSERT_NE(text.find(std::string("\n") + opt + "\n"), std::string::npos) << opt;
  std::string enabled;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    EXPECT_LT(line.size(), 200u) << line;  // a comment is skipped only so far
    if (line == "# -J" || line == "# -D 1" || line == "# -F 1" || line == "# -ND2") line = line.substr(2);
    enabled += line + "\n";
    pos = end + 1;
  }
  const std::string path = ::testing::TempDir() + "modsetup_enabled.ini";
  {
    std::ofstream outf(path, std::ios::binary);
    outf << enabled;
  }
  settingsdefaults();
  std::string out;
  {
    ConsoleCapture cap;
    EXPECT_EQ(readsetup(path.c_str()), 0);
    out = cap.take();
  }
  std::remove(path.c_str());
  EXPECT_EQ(out,
            " -- (UTF-8 setup reading ...) \n"
            "Fill.everyKind = ON \n"
            "Table.write = ON \n"
            "Table.remember = ON \n"
            "Info.displayLevel = 1. \n"
            "Force.display = 1. \n"
            "Displaying.dialogue = partially OFF (Level 2). \n");
  EXPECT_EQ(Info.displayLevel, 1);
  EXPECT_EQ(Force.display, 1);
  EXPECT_EQ(Cancel.displaying.dialogue, 2);
  EXPECT_EQ(Table.remember, FLAG_ON);
  settingsdefaults();
}

}  // namespace
