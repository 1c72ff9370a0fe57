// app_everykind_test.cpp - the option that fills every kind of name, in "modsetup.ini"
// and on the command line, and the options around it that must read as before.
#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"
#include "setup/settings.h"
#include "setup/setupfile.h"
#include "support/capture.h"
#include "support/tempfile.h"

namespace {

class EveryKind : public ::testing::Test {
 protected:
  void SetUp() override { settingsdefaults(); }
  void TearDown() override { settingsdefaults(); }

  // The console after the encoding line of a setup file with these bytes.
  std::string setup(const std::string& text) {
    TempFile f(text, "nweverykind.ini");
    ConsoleCapture con;
    EXPECT_EQ(readsetup(f.path()), 0);
    std::string out = con.take();
    const std::string head = " -- (UTF-8 setup reading ...) \n";
    EXPECT_EQ(out.compare(0, head.size(), head), 0) << out;
    return out.substr(head.size());
  }
  std::string group(const char* g, bool apply = true) {
    ConsoleCapture con;
    optiongroup(g, apply);
    return con.take();
  }
};

TEST_F(EveryKind, OffUnlessAsked) {
  EXPECT_EQ(Fill.everyKind, FLAG_OFF);
}

TEST_F(EveryKind, SetupFile) {
  struct Case {
    const char* text;
    const char* console;
    int8_t value;
  };
  const Case cases[] = {
      {"-O\n", "Fill.everyKind = ON \n", FLAG_ON},
      {"/o", "Fill.everyKind = ON \n", FLAG_ON},
      {"-O 1\n", "Fill.everyKind = ON \n", FLAG_ON},
      {"-O=7\n", "Fill.everyKind = ON \n", FLAG_ON},
      {"-O\n-O 0\n", "Fill.everyKind = ON \nFill.everyKind = OFF \n", FLAG_OFF},
      {"-O0 -D 1\n", "Fill.everyKind = OFF \nInfo.displayLevel = 1. \n", FLAG_OFF},
      {"# -O\n", "", FLAG_OFF},
      // The letters around it are still unknown, as before.
      {"-P -Q -X", "  Option -[P]: could not be recognized. \n"
                   "  Option -[Q]: could not be recognized. \n"
                   "  Option -[X]: could not be recognized. \n", FLAG_OFF},
  };
  for (const Case& c : cases) {
    settingsdefaults();
    EXPECT_EQ(setup(c.text), c.console) << c.text;
    EXPECT_EQ(Fill.everyKind, c.value) << c.text;
  }
}

TEST_F(EveryKind, CommandLine) {
  EXPECT_EQ(group("-O"), "Fill.everyKind = ON \n");
  EXPECT_EQ(Fill.everyKind, FLAG_ON);
  EXPECT_EQ(group("-D2O0F"),
            "Info.displayLevel = 2. \nFill.everyKind = OFF \nForce.display = -1. \n");
  EXPECT_EQ(Fill.everyKind, FLAG_OFF);
  EXPECT_EQ(group("/o=1"), "Fill.everyKind = ON \n");
  EXPECT_EQ(Fill.everyKind, FLAG_ON);
  // The per-model second reading prints but stores nothing.
  EXPECT_EQ(group("-O0", false), "Fill.everyKind = OFF \n");
  EXPECT_EQ(Fill.everyKind, FLAG_ON);
  // A mistyped letter is reported as before and the rest still read.
  EXPECT_EQ(group("-QO0"), "\nOption error: <Q> 51Fill.everyKind = OFF \n");
  EXPECT_EQ(Fill.everyKind, FLAG_OFF);
}

// The command line comes after the setup file and wins.
TEST_F(EveryKind, CommandLineWinsOverTheSetupFile) {
  setup("-O\n");
  group("-O0");
  EXPECT_EQ(Fill.everyKind, FLAG_OFF);
}

}  // namespace
