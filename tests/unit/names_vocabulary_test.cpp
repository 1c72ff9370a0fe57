// names_vocabulary_test.cpp - the shipped vocabulary, data/alias.ini and
// data/namedict.txt loaded as the program loads them: whatever a name holds, bone, morph
// and frame names come out as printable ASCII within the name limit.
//
// How well the held-out names of tests/data/names read is measured by the names_heldout
// test (tools/namescore.py through nwnamegen). Skipped while there is no dictionary.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "names/dict.h"
#include "names/namegen.h"
#include "names/namelist.h"
#include "names/rules.h"
#include "tests/support/capture.h"
#include "text/sjis.h"

namespace {

const char* const kAliasPath = NW_SOURCE_DIR "/data/alias.ini";
const char* const kDictPath = NW_SOURCE_DIR "/data/namedict.txt";

std::string sjisof(const std::string& utf8) {
  char buf[1024] = {};
  utf82sjisc(buf, utf8.c_str());
  return buf;
}

std::string utf8of(const std::string& sjis) {
  char buf[2048] = {};
  sjis2utf8c(buf, sjis.c_str());
  return buf;
}

bool printable(const std::string& s) {
  if (s.empty()) return false;
  for (unsigned char c : s)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

class Vocabulary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::FILE* f = std::fopen(kDictPath, "rb");
    present = f != nullptr;
    if (!present) return;
    std::fclose(f);
    nlinit();
    ConsoleCapture cap;
    loaded = aliasread(kAliasPath) == 0 && dictread(kDictPath, nullptr, kDictPath) == 0;
  }
  static void TearDownTestSuite() {
    dictclear();
    nlinit();
  }
  void SetUp() override {
    if (!present) GTEST_SKIP() << "no " << kDictPath;
    ASSERT_TRUE(loaded) << "the shipped rules or dictionary cannot be read";
  }

  // Counts the names that are not printable ASCII or too long; shows the first few.
  static int check(const std::string& sjis, int& bad) {
    for (NameKind kind : {NameKind::bone, NameKind::morph, NameKind::frame}) {
      char out[REP_BUFSIZE] = {};
      genname(kind, sjis.c_str(), out);
      const std::string got = out;
      if (!printable(got) || got.size() > static_cast<size_t>(GEN_NAMEMAX)) {
        if (++bad <= 10) ADD_FAILURE() << utf8of(sjis) << " -> " << utf8of(got);
      }
    }
    return bad;
  }
  static bool present, loaded;
};
bool Vocabulary::present = false;
bool Vocabulary::loaded = false;

// Every character of Shift-JIS (code page 932) alone, between ASCII letters, doubled,
// and after a side with a number.
TEST_F(Vocabulary, EveryCharacterGivesPrintableAscii) {
  std::vector<std::string> chars;
  for (int b = 0xA1; b <= 0xDF; b++) chars.push_back(std::string(1, static_cast<char>(b)));
  for (int lead = 0x81; lead <= 0xFC; lead++) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; trail++) {
      if (trail == 0x7F) continue;
      chars.push_back(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  const std::string side = sjisof("左");
  int bad = 0;
  for (const std::string& c : chars) {
    for (const std::string& name : {c, "a" + c + "b", c + c, side + c + "1"}) check(name, bad);
  }
  EXPECT_EQ(bad, 0);
}

// Names of the longest length a model holds, of words, loanwords, kana and signs.
TEST_F(Vocabulary, LongNamesStayWithinTheLimit) {
  int bad = 0;
  for (const char* piece : {"立体機動装置", "ヘッドセット", "ぷくー", "ｹｰﾌﾞﾙ", "★☆", "髪左1_"}) {
    std::string name;
    const std::string p = sjisof(piece);
    while (name.size() + p.size() <= 254) name += p;
    check(name, bad);
  }
  EXPECT_EQ(bad, 0);
}

}  // namespace
