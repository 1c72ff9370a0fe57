// setup_textfile_test.cpp - the character reader, its tokenizers and the encoding scans.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "setup/textfile.h"
#include "setup_files.h"
#include "support/capture.h"

namespace {

class TextReader : public ::testing::TestWithParam<PathForm> {
 protected:
  void TearDown() override { tfclose(); }

  // Opens the file through the path form under test.
  void open(const TextFile& f) {
    int r = GetParam() == PathForm::Ansi ? tfopen(f.path()) : tfopenW(f.pathW());
    ASSERT_EQ(r, 0);
  }
  int utf8scan(const TextFile& f) {
    return GetParam() == PathForm::Ansi ? chkifutf8(f.path()) : chkifutf8W(f.pathW());
  }
  int sjisscan(const TextFile& f) {
    return GetParam() == PathForm::Ansi ? chkifsjis(f.path()) : chkifsjisW(f.pathW());
  }
};

INSTANTIATE_TEST_SUITE_P(BothPaths, TextReader,
                         ::testing::Values(PathForm::Ansi, PathForm::Utf16),
                         [](const auto& info) { return std::string(formname(info.param)); });

// Every byte comes out in order across block boundaries, lines are counted, and the end
// flag is raised only by a consume at the end.
TEST_P(TextReader, DeliversEveryByteAndCountsLines) {
  std::string text;
  for (int i = 0; i < 20000; i++) text.push_back(i % 100 == 99 ? '\n' : static_cast<char>(i % 251 + 1));
  text.push_back('\xFF');
  TextFile f(text);
  open(f);
  std::string got;
  while (tfpeek() != -1) {
    EXPECT_EQ(tfeof(), 0);
    got.push_back(static_cast<char>(tfgetc()));
  }
  EXPECT_EQ(got, text);
  EXPECT_EQ(tfline(), 1 + std::count(text.begin(), text.end(), '\n'));
  EXPECT_EQ(tfeof(), 0);
  EXPECT_EQ(tfgetc(), -1);
  EXPECT_EQ(tfeof(), 0xFF);
  EXPECT_EQ(tfgetc(), -1);
  EXPECT_EQ(tfpeek(), -1);
  EXPECT_NE(tfclose(), 0);
  EXPECT_EQ(tfclose(), 0);
}

TEST_P(TextReader, EmptyFileEndsAtOnce) {
  TextFile f("");
  open(f);
  EXPECT_EQ(tfpeek(), -1);
  EXPECT_EQ(tfline(), 1);
  EXPECT_EQ(tfgetc(), -1);
  EXPECT_EQ(tfeof(), 0xFF);
}

// A second open replaces the first file and starts afresh.
TEST_P(TextReader, OpenReplacesTheOpenFile) {
  TextFile a("a\nb", "nw_a.txt");
  TextFile b("xy", "nw_b.txt");
  open(a);
  tfgetc();
  tfgetc();
  open(b);
  EXPECT_EQ(tfline(), 1);
  EXPECT_EQ(tfgetc(), 'x');
  EXPECT_EQ(tfgetc(), 'y');
  EXPECT_EQ(tfgetc(), -1);
}

TEST_P(TextReader, ClosedReaderDeliversNothing) {
  TextFile f("abc");
  open(f);
  EXPECT_NE(tfclose(), 0);
  EXPECT_EQ(tfpeek(), -1);
  EXPECT_EQ(tfgetc(), -1);
}

TEST_P(TextReader, MissingFileFailsSilentlyAndProbeLeavesNothingOpen) {
  std::string missing = missingpath();
  std::u16string missingW(missing.begin(), missing.end());
  TextFile f("abc");
  ConsoleCapture con;
  if (GetParam() == PathForm::Ansi) {
    EXPECT_EQ(tfopen(missing.c_str()), -1);
    EXPECT_EQ(tftryopen(missing.c_str()), -1);
    EXPECT_EQ(tftryopen(f.path()), 0);
  } else {
    EXPECT_EQ(tfopenW(missingW.c_str()), -1);
    EXPECT_EQ(tftryopenW(missingW.c_str()), -1);
    EXPECT_EQ(tftryopenW(f.pathW()), 0);
  }
  EXPECT_EQ(tfclose(), 0);
  EXPECT_EQ(con.text(), "");
}

struct IntCase {
  const char* text;
  int result;
  int32_t value;   // when result is 0
  int next;        // look-ahead afterwards
  const char* console;
};

TEST_P(TextReader, GetIntReadsAtMostFiveDigits) {
  const IntCase cases[] = {
      {"123456x", -2, 0, 'x', "Integer too Large.\n"},  // sixth digit consumed
      {"99999x", 0, 99999, 'x', ""},
      {"+-7 ", 0, -7, ' ', ""},
      {"-0012,", 0, -12, ',', ""},
      {"+5\n", 0, 5, '\n', ""},
      {"abc", 0, 0, 'a', ""},       // no digit: 0
      {"=3", 0, 0, '=', ""},
      {"42", -1, 0, -1, ""},        // the end inside the number
      {"", -1, 0, -1, ""},
      {"-", -1, 0, -1, ""},
  };
  for (const IntCase& c : cases) {
    TextFile f(c.text);
    open(f);
    ConsoleCapture con;
    int32_t v = 12345;
    EXPECT_EQ(tfgetint(&v), c.result) << c.text;
    if (c.result == 0) {
      EXPECT_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(tfpeek(), c.next) << c.text;
    EXPECT_EQ(con.text(), c.console) << c.text;
  }
}

struct FloatCase {
  const char* text;
  int result;
  float value;
  int next;
};

TEST_P(TextReader, GetFloatTakesSignDigitsPointAndExponent) {
  const FloatCase cases[] = {
      {".5 ", 0, 0.5f, ' '},
      {"5. ", 0, 5.0f, ' '},
      {"-2.5e3;", 0, -2500.0f, ';'},
      {"+1.25E-2\n", 0, 0.0125f, '\n'},
      {"7e", 0, 7.0f, -1},
      {"3x", 0, 3.0f, 'x'},
      {"1.5", 0, 1.5f, -1},           // the end is no failure
      {". ", -1, 0, ' '},
      {"-x", -1, 0, 'x'},
      {"e5", -1, 0, 'e'},
      {"=1.5", -1, 0, '='},
      {"", -1, 0, -1},
  };
  for (const FloatCase& c : cases) {
    TextFile f(c.text);
    open(f);
    float v = 99.0f;
    EXPECT_EQ(tfgetfloat(&v), c.result) << c.text;
    if (c.result == 0) {
      EXPECT_FLOAT_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(tfpeek(), c.next) << c.text;
  }
}

// A run of digits stops at 120 characters; the rest is left unread.
TEST_P(TextReader, GetFloatStopsAtTheTextLimit) {
  struct {
    std::string text;
    std::string rest;
  } const cases[] = {
      {"-" + std::string(130, '0') + ".5 ", std::string(11, '0') + ".5 "},
      {std::string(119, '0') + ".25 ", "25 "},         // the point still fits, no digit after
      {std::string(119, '0') + ".e+5x", "5x"},         // longest text: point, e and sign
  };
  for (const auto& c : cases) {
    TextFile f(c.text);
    open(f);
    float v = 1;
    EXPECT_EQ(tfgetfloat(&v), 0);
    EXPECT_EQ(v, 0.0f);
    std::string rest;
    while (tfpeek() != -1) rest.push_back(static_cast<char>(tfgetc()));
    EXPECT_EQ(rest, c.rest);
  }
}

TEST_P(TextReader, GetFloatBeyondTheFloatRangeIsInfinite) {
  TextFile f("1e300 -1e300 1e-300 ");
  open(f);
  float v = 0;
  ASSERT_EQ(tfgetfloat(&v), 0);
  EXPECT_TRUE(std::isinf(v) && v > 0);
  tfskipspace();
  ASSERT_EQ(tfgetfloat(&v), 0);
  EXPECT_TRUE(std::isinf(v) && v < 0);
  tfskipspace();
  ASSERT_EQ(tfgetfloat(&v), 0);
  EXPECT_EQ(v, 0.0f);
}

TEST_P(TextReader, GetLineStaysInsideTheBuffer) {
  TextFile f("abcdefghijkl");
  open(f);
  char buf[12];
  memset(buf, '#', sizeof buf);
  EXPECT_EQ(tfgetline(buf, 10), 8);
  EXPECT_EQ(std::string(buf, 10), std::string("abcdefgh\0\0", 10));
  EXPECT_EQ(buf[10], '#');
  EXPECT_EQ(tfpeek(), 'i');
  EXPECT_EQ(tfgetline(buf, 2), 0);  // too small: nothing read or written
  EXPECT_EQ(buf[0], 'a');
  EXPECT_EQ(tfpeek(), 'i');
  EXPECT_EQ(tfgetline(buf, 10), 4);
  EXPECT_STREQ(buf, "ijkl");
  EXPECT_EQ(tfpeek(), -1);
}

// What a line cut at the limit leaves is dropped with its line ends; a line that ended
// at the limit or before it leaves nothing.
TEST_P(TextReader, SkipRestDropsOnlyWhatACutLineLeft) {
  TextFile f("abcdefgh\nabcdefghij\r\n\nxy");
  open(f);
  char buf[10];
  EXPECT_EQ(tfgetline(buf, sizeof buf), 8);
  EXPECT_EQ(tfskiprest(), 0);
  EXPECT_EQ(tfpeek(), 'a');
  EXPECT_EQ(tfgetline(buf, sizeof buf), 8);
  EXPECT_EQ(tfskiprest(), 2);
  EXPECT_EQ(tfskiprest(), 0);
  EXPECT_EQ(tfgetline(buf, sizeof buf), 2);
  EXPECT_STREQ(buf, "xy");
  EXPECT_EQ(tfskiprest(), 0);
}

TEST_P(TextReader, GetLineSkipsLineEndsAndBlankLines) {
  TextFile f("ab\r\n\r\ncd\x1A\nef\n");
  open(f);
  char buf[16];
  EXPECT_EQ(tfgetline(buf, sizeof buf), 2);
  EXPECT_STREQ(buf, "ab");
  EXPECT_EQ(tfpeek(), 'c');
  EXPECT_EQ(tfline(), 3);
  EXPECT_EQ(tfgetline(buf, sizeof buf), 2);
  EXPECT_STREQ(buf, "cd");
  EXPECT_EQ(tfgetline(buf, sizeof buf), 2);
  EXPECT_STREQ(buf, "ef");
  EXPECT_EQ(tfgetline(buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "");
}

TEST_P(TextReader, SkipSpaceStopsAtTheFirstOtherCharacter) {
  TextFile f(" \t\r\n\x1A\n\x0Bx");
  open(f);
  EXPECT_EQ(tfskipspace(), 0);
  EXPECT_EQ(tfpeek(), 0x0B);  // vertical tab is no white space here
  EXPECT_EQ(tfline(), 3);
  for (int c = -1; c < 256; c++) {
    bool space = c == 9 || c == 10 || c == 13 || c == 0x1A || c == 32;
    EXPECT_EQ(tfisspace(c), space) << c;
  }
}

struct ScanCase {
  const char* name;
  std::string bytes;
  int verdict;
  bool readToEnd;  // the scan went on to the end of the file
  const char* console;
};

TEST_P(TextReader, Utf8ScanGoesOnAfterOneFaultAndEndsAtTheSecond) {
  const ScanCase cases[] = {
      {"empty", "", 7, true, ""},
      {"ascii", "-D 2\n", 7, true, ""},
      {"japanese", "# \xE8\xA8\xAD\xE5\xAE\x9A\n\xF0\x9F\x98\x80", 7, true, ""},
      {"one stray 0x80", "ab\x80" "cd", 0, true, ""},
      {"two strays", "ab\x80" "cd\x80" "ef", 0, false, ""},
      {"0xF8 and a cut sequence", "\xF8" "a\xE3\x81" "b" "cd", 0, false, ""},
      {"sequence cut by the end", "ab\xE3\x81", 0, true, ""},
      {"shift-jis", "\x90\xDD\x92\xE8\x83\x74\x83\x40xyz", 0, false, ""},
  };
  for (const ScanCase& c : cases) {
    TextFile f(c.bytes);
    ConsoleCapture con;
    EXPECT_EQ(utf8scan(f), c.verdict) << c.name;
    EXPECT_EQ(tfeof() != 0, c.readToEnd) << c.name;
    EXPECT_EQ(tfclose(), 0) << c.name;  // the scan closed the file
    EXPECT_EQ(con.text(), c.console) << c.name;
  }
}

TEST_P(TextReader, SjisScanVerdicts) {
  const ScanCase cases[] = {
      {"ascii", "abc", 7, true, ""},
      {"kana and kanji", "\xB1\x82\xA0\x88\x9F", 7, true, ""},
      {"lead 0xE0-0xFC", "\xE0\x40", 15, true, ""},
      {"0xFD-0xFF", "a\xFD", 15, true, ""},
      {"lead 0x80", "\x80\x41", 2, true, "[80(x) 41] (1st byte==0x80) "},
      {"low trail", "\x81\x20", 1, true, "[81 20(x)](2nd byte==0x00-3F) "},
      {"low trail after 0xE0", "\xE0\x40\x81\x20", 1, true, "[81 20(x)](2nd byte==0x00-3F) "},
      {"0xE0 with a low trail", "\xE0\x3F", 1, true, "[E0 3F(x)](2nd byte==0x00-3F) "},
      {"lead at the end", "ab\x82", 3, false, ""},
      {"lead at the end after 0xE0", "\xE0\x40\x9F", 3, false, ""},
      {"0x80 at the end", "\x80", 3, false, ""},
      {"utf-8", "\xE8\xA8\xAD\xE5\xAE\x9A", 3, false, ""},
  };
  for (const ScanCase& c : cases) {
    TextFile f(c.bytes);
    ConsoleCapture con;
    EXPECT_EQ(sjisscan(f), c.verdict) << c.name;
    EXPECT_EQ(tfeof() != 0, c.readToEnd) << c.name;
    EXPECT_EQ(tfclose(), 0) << c.name;
    EXPECT_EQ(con.text(), c.console) << c.name;
  }
}

TEST(TextScans, UnopenableFilesAreReported) {
  std::string missing = missingpath();
  std::u16string missingW(missing.begin(), missing.end());
  ConsoleCapture con;
  EXPECT_EQ(chkifutf8(missing.c_str()), -1);
  EXPECT_EQ(con.take(), "Cannot open " + missing + " .\n");
  EXPECT_EQ(chkifsjis(missing.c_str()), -1);
  EXPECT_EQ(con.take(), "Cannot open " + missing + " .\n");
  EXPECT_EQ(chkifutf8W(missingW.c_str()), -1);
  EXPECT_EQ(con.take(), "Cannot open (RDs). \n");
  EXPECT_EQ(chkifsjisW(missingW.c_str()), -1);
  EXPECT_EQ(con.take(), "Cannot open  .\n");
}

}  // namespace
