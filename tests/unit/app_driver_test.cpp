// app_driver_test.cpp - the output name beside the model, under Windows and POSIX path rules.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "app/driver.h"
#include "platform/platform.h"
#include "ui/paths.h"

namespace {

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class OutputName : public ::testing::Test {
 protected:
  void TearDown() override { pathrules(0, false); }
};

// None of these names exists, so the first candidate is taken.
TEST_F(OutputName, BesideTheModelWithItsOwnExtension) {
  struct Case {
    bool windows;
    std::string model, out;
  };
  const Case cases[] = {
      {true, "C:\\m\\a.pmx", "C:\\m\\a-new.pmx"},
      {true, "nw-sub/m.PmX", "nw-sub/m-new.PmX"},     // a slash ends the folder too
      {true, "C:/x\\y/a.pmx", "C:/x\\y/a-new.pmx"},
      {true, "nw-d.x\\a", "nw-d.x\\a-new"},           // a folder's dot is no extension
      {false, "/nw-none/u/a.tar.pmx", "/nw-none/u/a.tar-new.pmx"},
      {false, "nw-a\\b.pmx", "nw-a\\b-new.pmx"},      // a backslash is a name character
  };
  for (const Case& c : cases) {
    pathrules(c.windows ? '\\' : '/', c.windows);
    char outA[OS_MAXPATH];
    char16_t outW[OS_MAXPATH];
    ASSERT_EQ(outputname(c.model.c_str(), widen(c.model).c_str(), outA, outW), 0) << c.model;
    EXPECT_EQ(std::string(outA), c.out) << c.model;
    EXPECT_EQ(std::u16string(outW), widen(c.out)) << c.model;
  }
}

TEST_F(OutputName, RefusedWhenNoFormFits) {
  const std::string model = "/nw-none/" + std::string(246, 'x') + ".pmx";  // 259 bytes
  char outA[OS_MAXPATH];
  char16_t outW[OS_MAXPATH];
  EXPECT_EQ(outputname(model.c_str(), widen(model).c_str(), outA, outW), -2);
  EXPECT_EQ(outA[0], 0);
  EXPECT_EQ(outW[0], 0);
}

// The names table beside a model: "<stem>.names.csv", then the next free "(n)".
TEST_F(OutputName, TablesTakeTheNextFreeName) {
  pathrules('\\', true);
  char outA[OS_MAXPATH];
  char16_t outW[OS_MAXPATH];
  ASSERT_EQ(tablename("C:\\m\\a.PMD", u"C:\\m\\a.PMD", outA, outW), 0);
  EXPECT_EQ(std::string(outA), "C:\\m\\a.names.csv");
  EXPECT_EQ(std::u16string(outW), u"C:\\m\\a.names.csv");
  pathrules(0, false);
  char tmpl[] = "/tmp/nwtable.XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl;
  const std::string model = dir + "/m.pmx";
  for (const char* taken : {"", "m.names.csv", "m.names(1).csv"}) {
    if (taken[0] != 0) std::filesystem::create_directory(dir + "/" + taken);  // any entry takes it
    ASSERT_EQ(tablename(model.c_str(), widen(model).c_str(), outA, outW), 0);
  }
  EXPECT_EQ(std::string(outA), dir + "/m.names(2).csv");
  std::filesystem::remove_all(dir);
}

}  // namespace
