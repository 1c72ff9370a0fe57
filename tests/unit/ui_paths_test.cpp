// ui_paths_test.cpp - path splitting under Windows and POSIX rules, and on-disk names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/platform.h"
#include "ui/paths.h"

namespace {

namespace fs = std::filesystem;

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

enum Fn { GetDir, GetFname, GetExt, CutExt, CutLastSep };

struct PathCase {
  bool windows;  // Windows rules, else POSIX rules
  Fn fn;
  std::string in;
  std::string out;
  int result;
};

// Runs one case in the ANSI form, and in the UTF-16 form when the path is ASCII.
int run(Fn fn, const std::string& in, std::string* out) {
  char buf[1024] = {0};
  int r = 0;
  switch (fn) {
    case GetDir: r = getdir(buf, in.c_str()); break;
    case GetFname: r = getfname(buf, in.c_str()); break;
    case GetExt: r = getext(buf, in.c_str()); break;
    case CutExt: r = cutext(buf, in.c_str()); break;
    case CutLastSep:
      in.copy(buf, in.size());
      r = cutlastsep(buf);
      break;
  }
  *out = buf;
  return r;
}

int runW(Fn fn, const std::u16string& in, std::u16string* out) {
  char16_t buf[1024] = {0};
  int r = 0;
  switch (fn) {
    case GetDir: r = getdirW(buf, in.c_str()); break;
    case GetFname: r = getfnameW(buf, in.c_str()); break;
    case GetExt: r = getextW(buf, in.c_str()); break;
    case CutExt: r = cutextW(buf, in.c_str()); break;
    case CutLastSep:
      in.copy(buf, in.size());
      r = cutlastsepW(buf);
      break;
  }
  *out = buf;
  return r;
}

class PathRules : public ::testing::Test {
 protected:
  void TearDown() override { pathrules(0, false); }
};

TEST_F(PathRules, SplitPathsInBothForms) {
  const std::string long300(300, 'x');
  const std::string long258 = std::string(257, 'x') + "\\";
  const std::string long259 = std::string(258, 'x') + "\\";
  const PathCase cases[] = {
      {true, GetDir, "C:\\models\\a.pmx", "C:\\models\\", 0},
      {true, GetDir, "a.pmx", "", 0},
      {true, GetDir, "C:/x/a.pmx", "", 0},  // the slash is no folder end here
      {false, GetDir, "/home/u/a.pmx", "/home/u/", 0},
      {false, GetDir, "C:\\models\\a.pmx", "", 0},
      {true, GetFname, "C:/x/a.pmx", "a.pmx", 0},
      {true, GetFname, "C:\\x/y\\a.pmx", "a.pmx", 0},
      {true, GetFname, "C:\\tools\\", "", 0},
      {true, GetFname, "a.pmx", "a.pmx", 0},
      {false, GetFname, "/x/a\\b.pmx", "a\\b.pmx", 0},
      {true, GetExt, "model.PMX", ".PMX", -1},
      {true, GetExt, "model", "", 0},
      {true, GetExt, "C:\\a.b\\file", ".b\\file", -1},
      {true, CutExt, "archive.tar.gz", "archive.tar", 0},
      {true, CutExt, "C:\\a.b\\file", "C:\\a", 0},
      {true, CutExt, "noext", "noext", 0},
      {true, CutLastSep, "C:\\", "C:\\", 0},
      {true, CutLastSep, "c:/", "c:/", 0},
      {true, CutLastSep, "\\", "\\", 0},
      {true, CutLastSep, "C:\\data\\", "C:\\data", 0},
      {true, CutLastSep, "C:/data/", "C:/data", 0},
      {true, CutLastSep, "a\\", "a", 0},
      {true, CutLastSep, "C:\\data", "C:\\data", 0},
      {true, CutLastSep, long258, long258.substr(0, 257), 0},
      {true, CutLastSep, long259, long259, 0},  // too long to be trimmed
      {true, CutLastSep, long300, long300.substr(0, 259), 0},
      {false, CutLastSep, "/", "/", 0},
      {false, CutLastSep, "/data/", "/data", 0},
      {false, CutLastSep, "C:/", "C:", 0},  // no drive letters here
      {false, CutLastSep, "dir\\", "dir\\", 0},
  };
  for (const PathCase& c : cases) {
    pathrules(c.windows ? '\\' : '/', c.windows);
    std::string out;
    EXPECT_EQ(run(c.fn, c.in, &out), c.result) << c.fn << " " << c.in;
    EXPECT_EQ(out, c.out) << c.fn << " " << c.in;
    std::u16string outW;
    EXPECT_EQ(runW(c.fn, widen(c.in), &outW), c.result) << c.fn << " W " << c.in;
    EXPECT_EQ(outW, widen(c.out)) << c.fn << " W " << c.in;
  }
}

// 0x955C is a kanji whose trail byte is a backslash; 0x8341 one whose trail byte is 'A'.
TEST_F(PathRules, TrailByteIsNeverASeparatorOrDot) {
  const std::string kanji = "\x95\x5C";
  const PathCase cases[] = {
      {true, GetFname, "C:\\m\\" + kanji, kanji, 0},
      {true, GetDir, "C:\\m\\" + kanji, "C:\\m\\", 0},
      {true, GetDir, "C:\\m" + kanji + "a", "C:\\", 0},
      {true, CutLastSep, "C:\\m\\" + kanji, "C:\\m\\" + kanji, 0},
      {true, CutLastSep, kanji, kanji, 0},
      {true, CutLastSep, "C:\\" + kanji + "\\", "C:\\" + kanji, 0},
      {true, GetExt, "a.b" + kanji, ".b" + kanji, -1},
      {true, CutExt, kanji + ".pmx", kanji, 0},
      // A lead byte cut off at the end of the string stands alone.
      {true, GetFname, "C:\\a\\\x95", "\x95", 0},
  };
  for (const PathCase& c : cases) {
    pathrules('\\', true);
    std::string out;
    EXPECT_EQ(run(c.fn, c.in, &out), c.result) << c.fn << " " << c.in;
    EXPECT_EQ(out, c.out) << c.fn << " " << c.in;
  }
  // In UTF-16 the same units are plain characters: the backslash is a separator.
  pathrules('\\', true);
  char16_t out[32];
  getfnameW(out, u"C:\\m\u8868\\a");
  EXPECT_EQ(std::u16string(out), u"a");
}

TEST(HeadCmpi, FoldsOnlyAsciiLetters) {
  struct Case {
    std::string s, t;
    int result;
  };
  const Case cases[] = {
      {".pmx", ".PMX", 0},   {".pm", ".PMX", -1},  {".PMXZ", ".pmx", 0},
      {"x", "", 0},          {"", ".PMX", -1},     {"\xE0", "\xC0", -1},
      {"[", "{", -1},        {"@", "`", -1},
      // The ANSI form folds every byte in a-z, trail bytes too.
      {"\x82\x61", "\x82\x41", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(headcmpi(c.s.c_str(), c.t.c_str()), c.result) << c.s << " " << c.t;
    if (static_cast<unsigned char>(c.s[0]) < 0x80) {
      EXPECT_EQ(headcmpiW(widen(c.s).c_str(), widen(c.t).c_str()), c.result) << c.s;
    }
  }
  EXPECT_EQ(headcmpiW(u"\u00e9", u"\u00c9"), -1);
}

// findrealname on real folders (this system's rules).
class RealName : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/nwpathsXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override { fs::remove_all(dir); }
  void touch(const std::string& name) { std::ofstream(dir / fs::path(name)) << "x"; }
  void folder(const std::string& name) { fs::create_directory(dir / fs::path(name)); }
  std::string pattern(const std::string& p) const { return dir.string() + "/" + p; }
  fs::path dir;
};

struct FindCase {
  std::string pattern;
  int result;
  std::string name;
};

TEST_F(RealName, FirstMatchSkippingOneFolder) {
  folder("m1");
  touch("m2.pmx");
  folder("f1");
  folder("f2");
  touch("f3");
  folder("d1");
  touch("a[1].pmx");
  touch("noext");
  const FindCase cases[] = {
      {"m*", 0, "m2.pmx"},       // a folder first, then the file
      {"f*", -2, ""},            // two folders
      {"d*", -1, ""},            // a folder and nothing after it
      {"z*", -1, ""},
      {"m2.pmx", 0, "m2.pmx"},   // no wildcard: the entry itself
      {"m2.PMX", -1, ""},
      {"a[1]*", 0, "a[1].pmx"},  // '[' is an ordinary character
      {"no?xt", 0, "noext"},
      {"*e*t", 0, "noext"},
      {"m?", -1, ""},            // "m1" is a folder, nothing follows
      {"*.*", -2, ""},           // "." and ".." come first, as on Windows
      {"", -1, ""},
  };
  for (const FindCase& c : cases) {
    char out[OS_MAXPATH] = "junk";
    EXPECT_EQ(findrealname(out, pattern(c.pattern).c_str()), c.result) << c.pattern;
    EXPECT_EQ(std::string(out), c.name) << c.pattern;
    char16_t outW[OS_MAXPATH] = u"junk";
    EXPECT_EQ(findrealnameW(outW, widen(pattern(c.pattern)).c_str()), c.result) << c.pattern;
    EXPECT_EQ(std::u16string(outW), widen(c.name)) << c.pattern;
  }
  char out[OS_MAXPATH];
  EXPECT_EQ(findrealname(out, (dir.string() + "/nofolder/*").c_str()), -1);
  EXPECT_EQ(findrealname(out, (dir.string() + "/m*/x").c_str()), -1);  // wildcard in a folder
}

TEST_F(RealName, NamesInBothEncodings) {
  touch("\xE3\x83\xA2\xE3\x83\x87\xE3\x83\xAB.pmx");  // モデル.pmx
  folder("k");
  std::ofstream(dir / "k" / fs::path("\xEB\xAA\xA8\xEB\x8D\xB8.pmx")) << "x";  // 모델.pmx
  char out[OS_MAXPATH];
  // Shift-JIS pattern and name.
  ASSERT_EQ(findrealname(out, pattern("\x83\x82\x83\x66\x83\x8B.pmx").c_str()), 0);
  EXPECT_EQ(std::string(out), "\x83\x82\x83\x66\x83\x8B.pmx");
  ASSERT_EQ(findrealname(out, pattern("\x83\x82*").c_str()), 0);
  EXPECT_EQ(std::string(out), "\x83\x82\x83\x66\x83\x8B.pmx");
  // A name without a Shift-JIS form comes back with '?' in ANSI, as it is in UTF-16.
  ASSERT_EQ(findrealname(out, pattern("k/*.pmx").c_str()), 0);
  EXPECT_EQ(std::string(out), "??.pmx");
  // That ANSI name, used as a path, finds the file again: '?' is one character.
  ASSERT_EQ(findrealname(out, pattern("k/??.pmx").c_str()), 0);
  EXPECT_EQ(std::string(out), "??.pmx");
  EXPECT_EQ(findrealname(out, pattern("k/?.pmx").c_str()), -1);
  char16_t outW[OS_MAXPATH];
  ASSERT_EQ(findrealnameW(outW, (widen(dir.string()) + u"/k/*.pmx").c_str()), 0);
  EXPECT_EQ(std::u16string(outW), u"\uBAA8\uB378.pmx");
  ASSERT_EQ(findrealnameW(outW, (widen(dir.string()) + u"/\u30E2\u30C7\u30EB.pmx").c_str()), 0);
  EXPECT_EQ(std::u16string(outW), u"\u30E2\u30C7\u30EB.pmx");
}

}  // namespace

namespace {

// The two forms of a name: an ANSI form never stands for another file.
TEST(NameForms, AnsiFormOnlyWhereItReadsBackExactly) {
  struct Case {
    std::u16string wide;
    std::string ansi;
  };
  const Case cases[] = {
      {u"\u30DF\u30AF\u301C\u6539.pmx", "\x83\x7E\x83\x4E?\x89\xFC.pmx"},  // wave dash
      {u"d\u2212.pmx", "d?.pmx"},            // minus sign
      {u"d\uFF0D.pmx", "d\x81\x7C.pmx"},    // its full-width look-alike has the code
      {u"\uD55C.pmx", "?.pmx"},              // Korean
      {u"\U00020089.pmx", "?.pmx"},          // beyond the BMP: one character, one '?'
  };
  for (const Case& c : cases) {
    char ansi[64];
    ASSERT_EQ(oswide2ansi(c.wide.c_str(), ansi, sizeof ansi), 0);
    EXPECT_EQ(std::string(ansi), c.ansi);
    char16_t back[64];
    ASSERT_EQ(osansi2wide(ansi, back, 64), 0);
    EXPECT_EQ(std::u16string(back) == c.wide, c.ansi.find('?') == std::string::npos);
  }
  char small[4];
  EXPECT_EQ(oswide2ansi(u"\u3042\u3042", small, sizeof small), -1);  // 4 bytes + terminator
}

}  // namespace
