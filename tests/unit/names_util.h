// names_util.h - helpers of the name tests: readable Japanese text, rule files, rules.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "names/namelist.h"
#include "names/rules.h"
#include "setup/settings.h"
#include "tests/support/capture.h"
#include "tests/support/tempfile.h"
#include "text/sjis.h"

// Shift-JIS bytes of a UTF-8 literal, so tests can write Japanese names readably.
inline std::string sj(const std::string& utf8) {
  std::string out(utf8.size() * 2 + 2, '\0');
  utf82sjisc(out.data(), utf8.c_str());
  out.resize(out.find('\0'));
  return out;
}

// A rule file written with exact bytes in the temporary folder; removed afterwards.
class RuleFile : public TempFile {
 public:
  explicit RuleFile(const std::string& bytes, const char* name = "nwalias.ini")
      : TempFile(bytes, name) {}
};

// Empties the lists and reads the rules from the given file text; returns what the
// reader printed.
inline std::string loadrules(const std::string& bytes) {
  nlinit();
  RuleFile f(bytes);
  ConsoleCapture cap;
  EXPECT_EQ(aliasread(f.path()), 0);
  return cap.take();
}

// A rule function applied to a Shift-JIS name.
inline std::string ruled(int (*fn)(char*, const char*), const std::string& name) {
  char out[REP_BUFSIZE + 16];
  memset(out, 0x55, sizeof out);  // a missing terminator shows as a long result
  EXPECT_EQ(fn(out, name.c_str()), 0);
  EXPECT_EQ(out[REP_BUFSIZE], 0x55) << "result ran past its buffer";
  return std::string(out);
}

// Settings as at the start of a run in English mode, restored after each test.
class NamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settingsdefaults();
    savedLang = Lang;
    Lang = LanguageMode{false, false, false, 437};
    nlinit();
  }
  void TearDown() override {
    Lang = savedLang;
    settingsdefaults();
    nlinit();
  }
  LanguageMode savedLang{};
};
