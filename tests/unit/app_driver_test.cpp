// app_driver_test.cpp - the output name beside the model, under Windows and POSIX path rules.
#include <gtest/gtest.h>

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

}  // namespace
