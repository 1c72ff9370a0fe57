// app_startup_test.cpp - language mode, version line and command-line option groups.
#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"
#include "setup/settings.h"
#include "support/capture.h"

namespace {

struct LangCase {
  uint16_t langid;
  uint32_t cp;
  bool dbcs;
  bool japanese, sjis, utf8;
};

TEST(LanguageMode, FollowsUserLanguageConsoleAndSystemCodePage) {
  const LangCase cases[] = {
      {0x0411, 932, true, true, true, false},     // Japanese Windows, Japanese console
      {0x0411, 65001, true, true, false, true},   // UTF-8 console
      {0x0411, 437, true, true, false, false},    // Japanese user, Western console
      {0x0411, 932, false, true, false, false},   // single-byte system code page
      {0x0411, 65001, false, true, false, true},
      {0x0409, 932, true, false, false, false},   // English user, whatever the console
      {0x0409, 65001, true, false, false, false},
  };
  for (const LangCase& c : cases) {
    langmodeset(c.langid, c.cp, c.dbcs);
    EXPECT_EQ(Lang.japanese, c.japanese) << c.langid << " " << c.cp;
    EXPECT_EQ(Lang.sjisConsole, c.sjis) << c.langid << " " << c.cp;
    EXPECT_EQ(Lang.utf8Console, c.utf8) << c.langid << " " << c.cp;
    EXPECT_EQ(Lang.consoleCp, c.cp);
  }
}

TEST(VersionLine, NamesTheSystemByThreshold) {
  char text[64];
  // Values as the system reports them (major + (minor + build / 100000) / 10); the
  // float is widened before it meets the thresholds, so 6.2f itself falls below 6.2.
  const std::pair<float, const char*> cases[] = {
      {10.019045f, " on Windows 10.019 "}, {6.39600f, " on Windows 8.1 "},
      {6.29200f, " on Windows 8 "},       {6.2f, " on Windows 7 "},
      {6.17601f, " on Windows 7 "},       {6.06002f, " on Windows Vista "},
      {5.3f, " on Windows XP "},          {5.15f, " on Windows 2000 "},
      {4.0f, " on Windows 95-98,Me "},
  };
  for (const auto& [version, expected] : cases) {
    versiontext(text, sizeof text, version);
    EXPECT_STREQ(text, expected) << version;
  }
}

struct OptionCase {
  const char* group;
  const char* printed;
};

class OptionGroups : public ::testing::Test {
 protected:
  void SetUp() override { settingsdefaults(); }
};

TEST_F(OptionGroups, PrintTheStoredValues) {
  const OptionCase cases[] = {
      {"-D300", "Info.displayLevel = 44. \n"},
      {"-d=2", "Info.displayLevel = 2. \n"},
      {"-F", "Force.display = -1. \n"},
      {"-F0", "Force.display = 0. \n"},
      {"-ND", "Cancel.displaying.dialogue = 1 \n"},
      {"-ND2", "Cancel.displaying.dialogue = 2 \n"},
      {"-EA=0.25", "ErrorAdmittance = 0.25 \n"},
      {"-M3", "Conv.mode = 3. \n"},
      {"-N5", ""},
      {"-D2F", "Info.displayLevel = 2. \nForce.display = -1. \n"},
      {"-Q", "\nOption error: <Q> 51"},
      {"-X", "\nOption error: <X> 58"},
      {"-D", "Info.displayLevel = 0. \n"},
      // Numbers clamp at 32 bits, as strtol does where long has 32 bits.
      {"-D2147483648", "Info.displayLevel = -1. \n"},
      {"-D4294967297", "Info.displayLevel = -1. \n"},
      {"-M-2147483649", "Conv.mode = 0. \n"},
  };
  for (const OptionCase& c : cases) {
    ConsoleCapture con;
    optiongroup(c.group, true);
    EXPECT_EQ(con.text(), c.printed) << c.group;
  }
}

TEST_F(OptionGroups, StoreTheLowByteAndApplyOnlyWhenAsked) {
  optiongroup("-D300", true);
  EXPECT_EQ(Info.displayLevel, 44);
  optiongroup("-D2F", true);
  EXPECT_EQ(Info.displayLevel, 2);
  EXPECT_EQ(Force.display, -1);
  optiongroup("-F0ND2", true);
  EXPECT_EQ(Force.display, 0);
  EXPECT_EQ(Cancel.displaying.dialogue, 2);
  optiongroup("-EA0.5", true);
  EXPECT_FLOAT_EQ(Accuracy, 0.5f);

  ConsoleCapture con;
  optiongroup("-D7F3ND9M1EA2", false);
  EXPECT_EQ(Info.displayLevel, 2);
  EXPECT_EQ(Force.display, 0);
  EXPECT_EQ(Cancel.displaying.dialogue, 2);
  EXPECT_FLOAT_EQ(Accuracy, 0.5f);
  EXPECT_EQ(con.text(),
            "Info.displayLevel = 7. \nForce.display = 3. \nCancel.displaying.dialogue = 9 \n"
            "Conv.mode = 1. \nErrorAdmittance = 2 \n");
}

TEST_F(OptionGroups, AnUnknownCharacterIsReportedAndTheRestStillRead) {
  ConsoleCapture con;
  optiongroup("-Z/d1\xE9", true);
  EXPECT_EQ(con.text(), "\nOption error: <Z> 5AInfo.displayLevel = 1. \n"
                        "\nOption error: <\xE9> FFFFFFE9");
  EXPECT_EQ(Info.displayLevel, 1);
}

}  // namespace
