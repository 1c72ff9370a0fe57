// app_tableoptions_test.cpp - the options of the names table (-V) and of remembered
// corrections (-J), in "modsetup.ini" and on the command line.
#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"
#include "setup/settings.h"
#include "setup/setupfile.h"
#include "support/capture.h"
#include "support/tempfile.h"

namespace {

class TableOptions : public ::testing::Test {
 protected:
  void SetUp() override { settingsdefaults(); }
  void TearDown() override { settingsdefaults(); }
};

TEST_F(TableOptions, OffUnlessAsked) {
  EXPECT_EQ(Table.write, FLAG_OFF);
  EXPECT_EQ(Table.remember, FLAG_OFF);
}

TEST_F(TableOptions, SetupFile) {
  struct Case {
    const char* text;
    const char* console;
    int8_t write, remember;
  };
  const Case cases[] = {
      {"-V\n-J\n", "Table.write = ON \nTable.remember = ON \n", FLAG_ON, FLAG_ON},
      {"/v=1 -j 0\n", "Table.write = ON \nTable.remember = OFF \n", FLAG_ON, FLAG_OFF},
      {"-V\n-V0 -O\n", "Table.write = ON \nTable.write = OFF \nFill.everyKind = ON \n", FLAG_OFF,
       FLAG_OFF},
      {"# -V\n", "", FLAG_OFF, FLAG_OFF},
      {"-V 123456\n", "Integer too Large.\n-V: first parameter (integer) retriving error. \n",
       FLAG_OFF, FLAG_OFF},
  };
  for (const Case& c : cases) {
    settingsdefaults();
    TempFile f(c.text, "nwtable.ini");
    ConsoleCapture con;
    EXPECT_EQ(readsetup(f.path()), 0);
    EXPECT_EQ(con.take(), std::string(" -- (UTF-8 setup reading ...) \n") + c.console) << c.text;
    EXPECT_EQ(Table.write, c.write) << c.text;
    EXPECT_EQ(Table.remember, c.remember) << c.text;
  }
}

TEST_F(TableOptions, CommandLine) {
  ConsoleCapture con;
  optiongroup("-VJ", true);
  EXPECT_EQ(con.take(), "Table.write = ON \nTable.remember = ON \n");
  EXPECT_EQ(Table.write, FLAG_ON);
  optiongroup("-v0J0", false);  // the per-model second reading stores nothing
  EXPECT_EQ(con.take(), "Table.write = OFF \nTable.remember = OFF \n");
  EXPECT_EQ(Table.remember, FLAG_ON);
  optiongroup("/V=0", true);
  EXPECT_EQ(con.take(), "Table.write = OFF \n");
  EXPECT_EQ(Table.write, FLAG_OFF);
}

}  // namespace
