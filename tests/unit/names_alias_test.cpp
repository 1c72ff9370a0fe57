// names_alias_test.cpp - reading "alias.ini": encodings, line ends, every line rule and
// its console line, limits, the rule listing and the per-model loading steps.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/unit/names_util.h"

namespace {

using Alias = NamesTest;

// What the reader prints for a stored rule.
std::string stored(const char* label, const std::string& src, const std::string& rep, int n) {
  return " " + std::string(label) + " \"" + src + "\" \"" + rep + "\"  => " + std::to_string(n) +
         " \n";
}

// What aliaslist prints for the given rule lines and counts of a found file.
std::string listing(const std::string& bones, int b, int m, int be, int me) {
  return "Bones: \n" + bones + "Morphing: \nBonesEN: \nMorphingEN: \n" +
         "  => Replace def. bone  strings: " + std::to_string(b) + " \n" +
         "  => Replace def. morph strings: " + std::to_string(m) + " \n" +
         "  => Replace def. boneEN  strings: " + std::to_string(be) + " \n" +
         "  => Replace def. morphEN strings: " + std::to_string(me) + " \n\n";
}

std::string head(const std::string& path, bool utf8) {
  return "Checking : " + path + " \n" + (utf8 ? "Reading (UTF-8): " : "Reading (SJIS) : ") +
         path + " \n";
}

// Reads the file text and returns the console bytes after the two heading lines.
std::string body(const std::string& text, bool utf8 = true) {
  RuleFile f(text);
  ConsoleCapture cap;
  EXPECT_EQ(aliasread(f.path()), 0);
  std::string out = cap.take();
  std::string h = head(f.path(), utf8);
  EXPECT_EQ(out.substr(0, h.size()), h);
  return out.substr(std::min(h.size(), out.size()));
}

TEST_F(Alias, BothEncodingsAndEveryLineEnd) {
  const std::string rules[] = {"-Bone", "\"左\" \"Left_\"", "\"右腕\"F \"arm_R\"", "-Morph",
                               "\"髪*\" \"hair\"", "-BoneEN", "arm Arm", "-MorphEN", "\"_?\" \"_X\""};
  const std::string want = stored("b-rep", sj("左"), "Left_", 1) +
                           stored("b-rep", sj("右腕"), "arm_R", 2) +
                           stored("m-rep", sj("髪*"), "hair", 1) + stored("bEN-rep", "arm", "Arm", 1) +
                           stored("mEN-rep", "_?", "_X", 1);
  for (bool utf8 : {true, false}) {
    for (const char* eol : {"\n", "\r", "\r\n", "\x1A", "\n\n\r\n  \t\n"}) {
      std::string text;
      for (const std::string& r : rules) text += (utf8 ? r : sj(r)) + eol;
      nlinit();
      EXPECT_EQ(body(text, utf8), want) << "utf8 " << utf8 << " eol " << int(eol[0]);
      EXPECT_EQ(nlcount(0), 2);
      EXPECT_EQ(ruleForm[RK_BONE][2], RF_WHOLE);
      EXPECT_EQ(ruleForm[RK_BONE][1], RF_PART);
      EXPECT_STREQ(ruleText[RK_MORPH][1], "hair");
    }
  }
}

TEST_F(Alias, SectionKeywordsAndComments) {
  const std::string out = body(
      "  // a comment \"x\" \"y\"\n"
      "-BONESen trailing words\n\"a\" \"1\"\n"
      "-morphsEN\n\"a\" \"2\"\n"
      "-Morphs\n\"a\" \"3\"\n"
      "\t-Bones\n\"a\" \"4\"\n"
      "-forcereplace\n"
      "//\n");
  EXPECT_EQ(out, stored("bEN-rep", "a", "1", 1) + stored("mEN-rep", "a", "2", 1) +
                     stored("m-rep", "a", "3", 1) + stored("b-rep", "a", "4", 1));
  EXPECT_EQ(Force.display, 1);
}

TEST_F(Alias, TokensAndFormLetters) {
  struct {
    const char* line;
    const char* src;
    const char* rep;
    RuleForm form;
  } const cases[] = {
      {"\"a b\" \"c d\" ignored", "a b", "c d", RF_PART},
      {"\"a\"F \"x\"", "a", "x", RF_WHOLE},
      {"\"a\"L \"x\"", "a", "x", RF_TAIL},
      {"\"a\"FL \"x\"", "a", "x", RF_TAIL},
      {"\"a\"LF \"x\"", "a", "F", RF_TAIL},  // F only right after the quote
      {"\"a\"\t\t\"x\"", "a", "x", RF_PART},
      {"a x y", "a", "x", RF_PART},
      {"a\"b c\"d", "a\"b", "c\"d", RF_PART},
      {"\"a\"", "a", "", RF_PART},
      {"a   ", "a", "", RF_PART},
      {"\"a\" x\t", "a", "x", RF_PART},
      {"F\"a\" x", "F\"a\"", "x", RF_PART},
  };
  for (const auto& c : cases) {
    nlinit();
    EXPECT_EQ(body(std::string(c.line) + "\n"), stored("b-rep", c.src, c.rep, 1)) << c.line;
    EXPECT_EQ(ruleForm[RK_BONE][1], c.form) << c.line;
  }
}

TEST_F(Alias, BadLinesAreReportedAndSkipped) {
  struct {
    std::string text;
    std::string want;
  } const cases[] = {
      {"\"abc\n", "Err: string end not detected: \"abc \n"},
      {"\"a\" \"bcd\n", "Err: string end not detected:  \"bcd \n"},
      {"\"a\"\t\"bcd\n", "Err: string end not detected: \t\"bcd \n"},
      {"\"\"x\n", "78(x) Syntax: x \n"},
      {"\"\"x and more  \n", "78(x) Syntax: x and more \n"},
      {"\"\"\"x\"\n", "22(\") Syntax: \"x\" \n"},
      {"\"\" \"a\"\n", ""},
      {"\"\"\t\"a\"\n", ""},
      {"\"\"F \"a\"\n", ""},
      {"\"\"\n", ""},
      {"\"\"\x1E\n", ""},
      // a character without a Shift-JIS code converts to nothing
      {"\"한\" \"x\"\n", " rep \"\" \"x\"  => (cannot set) \n"},
      {"한 \"\xF0\x9F\x98\x80y\"\n", " rep \"\" \"y\"  => (cannot set) \n"},
  };
  for (const auto& c : cases) {
    nlinit();
    EXPECT_EQ(body(c.text + "\"ok\" \"1\"\n"), c.want + stored("b-rep", "ok", "1", 1)) << c.text;
  }
}

TEST_F(Alias, SyntaxLineIsShownInTheConsoleEncoding) {
  const std::string u8 = "\"\"x左\n";
  const std::string sjis = sj(u8);
  // English mode: a Shift-JIS file's text becomes UTF-8, a UTF-8 file's text stays.
  EXPECT_EQ(body(u8), "78(x) Syntax: x左 \n");
  EXPECT_EQ(body(sjis + sj("\"右\" \"R\"\n"), false),
            "78(x) Syntax: x左 \n" + stored("b-rep", sj("右"), "R", 1));
  // Japanese mode with a Shift-JIS console: the other way round.
  Lang = LanguageMode{true, true, false, 932};
  nlinit();
  EXPECT_EQ(body(u8), "78(x) Syntax: x" + sj("左") + " \n");
  EXPECT_EQ(body(sjis + sj("\"右\" \"R\"\n"), false),
            "78(x) Syntax: x" + sj("左") + " \n" + stored("b-rep", sj("右"), "R", 1));
  // Japanese mode with a UTF-8 console counts as "every other mode".
  Lang = LanguageMode{true, false, true, 65001};
  EXPECT_EQ(body(u8), "78(x) Syntax: x左 \n");
}

TEST_F(Alias, ReplacementIsCutToFifteenBytesAtAWholeCharacter) {
  const std::string out = body(
      "a 1234567890123456789\n"
      "b \"左右左右左右左右\"\n"
      "c \"x左右左右左右左右\"\n");
  EXPECT_EQ(out, stored("b-rep", "a", "123456789012345", 1) +
                     stored("b-rep", "b", sj("左右左右左右左"), 2) +
                     stored("b-rep", "c", "x" + sj("左右左右左右左"), 3));
}

TEST_F(Alias, SourceLongerThanAnEntryIsRefused) {
  const std::string fits(NL_SLOT - 1, 's');
  const std::string over(NL_SLOT, 's');
  const std::string out = body(fits + " a\n" + over + " b\n");
  EXPECT_EQ(out, stored("b-rep", fits, "a", 1) + " b-rep \"" + over +
                     "\" \"b\"  => (cannot set: over 63 bytes) \n");
  EXPECT_EQ(nlcount(0), 1);
  // 32 double-byte characters: 64 bytes in Shift-JIS though fewer in the line.
  std::string kanji;
  for (int i = 0; i < 32; i++) kanji += "左";
  nlinit();
  EXPECT_EQ(body(kanji + " a\n"),
            " b-rep \"" + sj(kanji) + "\" \"a\"  => (cannot set: over 63 bytes) \n");
  EXPECT_EQ(nlcount(0), 0);
}

// The reader hands out 253 bytes of a line. A longer line goes whole: its rest never
// becomes a line of its own. A rule is reported as dropped; a comment or a keyword
// line does what its start says.
TEST_F(Alias, OverlongLinesGoWhole) {
  const std::string rule = "\"x\" \"b\" ";  // anything after the replacement is ignored
  const std::string fits = rule + std::string(253 - rule.size(), 'c');
  EXPECT_EQ(body(fits + "\n"), stored("b-rep", "x", "b", 1));
  nlinit();
  EXPECT_EQ(body(fits + "c\n\"y\" \"d\"\n"),
            "Err: line longer than 253 bytes, dropped: " + fits + " \n" + stored("b-rep", "y", "d", 1));
  nlinit();
  const std::string comment = "// " + std::string(250, '-') + "\"腕\" \"HACKED\"\n";
  EXPECT_EQ(body(comment), "");
  EXPECT_EQ(nlcount(0), 0);
  EXPECT_EQ(body("-Morph " + std::string(300, '-') + "\n\"y\" \"d\"\n"), stored("m-rep", "y", "d", 1));
}

TEST_F(Alias, ByteOrderMarkIsTextOfTheFirstLine) {
  // The mark has no Shift-JIS code: it is a source that converts to nothing, and a
  // keyword behind it is not recognised.
  EXPECT_EQ(body("\xEF\xBB\xBF\n\"a\" \"b\"\n"),
            " rep \"\" \"\"  => (cannot set) \n" + stored("b-rep", "a", "b", 1));
  nlinit();
  EXPECT_EQ(body("\xEF\xBB\xBF-Morph\n\"a\" \"b\"\n"),
            stored("b-rep", "-Morph", "", 1) + stored("b-rep", "a", "b", 2));
}

TEST_F(Alias, EachKindHoldsAtMost8191Rules) {
  std::string text;
  for (int i = 1; i <= RULE_SLOTS; i++) text += "r" + std::to_string(i) + " x\n";
  text += "-Morph\nm y\n";
  const std::string out = body(text);
  const std::string tail = stored("b-rep", "r8191", "x", 8191) + stored("b-rep", "r8192", "x", 0) +
                           stored("m-rep", "m", "y", 1);
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  EXPECT_EQ(nlcount(0), RULE_SLOTS - 1);
  EXPECT_EQ(ruled(brep, "r8191"), "x");
  // Refused, r8192 is no rule: the name is cut up by rule r819 instead.
  EXPECT_EQ(ruled(brep, "r8192"), "x2");
}

TEST_F(Alias, MissingFileFailsAfterItsHeadings) {
  const std::string path = ::testing::TempDir() + "nw_no_alias_here.ini";
  ConsoleCapture cap;
  EXPECT_EQ(aliasread(path.c_str()), -1);
  EXPECT_EQ(cap.take(), "Checking : " + path + " \nCannot open " + path + " .\nReading (UTF-8): " +
                            path + " \n");
  std::u16string w(path.begin(), path.end());
  EXPECT_EQ(aliasreadW(w.c_str()), -1);
  EXPECT_EQ(cap.take(), "Checking :  \nCannot open (RDs). \nReading (UTF-8):  \n");
}

TEST_F(Alias, ListShowsEveryKind) {
  loadrules("\"a\" \"1\"\n\"b\"F \"2\"\n-Morph\n\"c\"L \"3\"\n-MorphEN\nd \"\"\n");
  ConsoleCapture cap;
  aliaslist(true);
  EXPECT_EQ(cap.take(),
            "Bones: \n"
            " 1: \"a\"    \"1\" \n"
            " 2: \"b\"L   \"2\" \n"
            "Morphing: \n"
            " 1: \"c\"L   \"3\" \n"
            "BonesEN: \n"
            "MorphingEN: \n"
            " 1: \"d\"    \"\" \n"
            "  => Replace def. bone  strings: 2 \n"
            "  => Replace def. morph strings: 1 \n"
            "  => Replace def. boneEN  strings: 0 \n"
            "  => Replace def. morphEN strings: 1 \n"
            "\n");
  nlinit();
  aliaslist(false);
  EXPECT_EQ(cap.take(), "Bones: \nMorphing: \nBonesEN: \nMorphingEN: \n\n");
}

// A program folder in the temporary folder, with or without "alias.ini".
class ProgramDir {
 public:
  explicit ProgramDir(const std::string& leaf) {
    dir_ = std::filesystem::path(::testing::TempDir()) / std::filesystem::u8path(leaf);
    std::filesystem::create_directories(dir_);
  }
  ~ProgramDir() { std::filesystem::remove_all(dir_); }
  void write(const std::string& bytes) {
    FILE* f = fopen((dir_ / "alias.ini").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
  std::filesystem::path dir_;
};

std::u16string utf16(const std::string& utf8) {
  std::u16string w(utf8.size() + 1, u'\0');
  utf82unistr(w.data(), utf8.c_str());
  w.resize(w.find(u'\0'));
  return w;
}

TEST_F(Alias, LoadFindsTheFileByEitherPathForm) {
  ProgramDir pd("nw_prog_" + std::to_string(getpid()));
  const std::string dirA = pd.dir_.string() + "/";
  const std::u16string dirW = utf16(dirA);
  const std::string path = dirA + "alias.ini";
  ConsoleCapture cap;
  // No file: only the headings.
  nladd(0, "stale");
  aliasload(dirA.c_str(), dirW.c_str());
  EXPECT_EQ(cap.take(), "Bones: \nMorphing: \nBonesEN: \nMorphingEN: \n\n");
  EXPECT_EQ(nlcount(0), 0);

  pd.write("-ForceReplace\n\"a\" \"b\"\n");
  aliasload(dirA.c_str(), dirW.c_str());
  EXPECT_EQ(cap.take(), "Alias file found. \n" + head(path, true) + stored("b-rep", "a", "b", 1) +
                            "Alias file read-in. \n" + listing(" 1: \"a\"    \"b\" \n", 1, 0, 0, 0));
  EXPECT_EQ(Force.display, 1);
  // Reloading empties the lists first; the force setting stays for the run.
  pd.write("\"c\" \"d\"\n");
  aliasload(dirA.c_str(), dirW.c_str());
  cap.take();
  EXPECT_EQ(nlcount(0), 1);
  EXPECT_EQ(ruled(brep, "a"), "a");
  EXPECT_EQ(Force.display, 1);
}

TEST_F(Alias, LoadFallsBackToTheUtf16Path) {
  // A folder name without a Shift-JIS form: its ANSI path holds '?' and cannot be opened.
  ProgramDir pd("nw_prog_한_" + std::to_string(getpid()));
  const std::string dirU8 = pd.dir_.string() + "/";
  std::string ansi = dirU8;
  ansi.replace(ansi.find("한"), 3, "?");
  const std::u16string dirW = utf16(dirU8);
  pd.write(sj("\"左\" \"L\"\n"));
  ConsoleCapture cap;
  aliasload(ansi.c_str(), dirW.c_str());
  EXPECT_EQ(cap.take(), "Alias file found. (W) \n" + head("", false) + stored("b-rep", sj("左"), "L", 1) +
                            "Alias file read-in. (W) \n" +
                            listing(" 1: \"" + sj("左") + "\"    \"L\" \n", 1, 0, 0, 0));
}

}  // namespace
