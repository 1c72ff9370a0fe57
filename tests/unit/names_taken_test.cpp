// names_taken_test.cpp - the names a model already has, at the limit of their table.
#include <string>

#include "names/dict.h"
#include "names/namegen.h"
#include "names_util.h"

namespace {

class Taken : public NamesTest {
 protected:
  void SetUp() override {
    NamesTest::SetUp();
    dictclear();
    namesreset();
    TempFile f("namewright-dictionary 1\nbmf\tW\tケーブル\tcable\n", "namedict.txt");
    ConsoleCapture quiet;
    ASSERT_EQ(dictread(f.path(), nullptr, "namedict.txt"), 0);
  }
  void TearDown() override {
    dictclear();
    namesreset();
    NamesTest::TearDown();
  }
  std::string given(const std::string& utf8) {
    char out[REP_BUFSIZE];
    genname(NameKind::bone, sj(utf8).c_str(), out);
    namegiven(NameKind::bone, out);
    return out;
  }
};

// A model may hold more bones than its table keeps (their names are copied as they
// are), so a kind keeps taken names beyond its table's count: up to three quarters of
// its slots, twice that count rounded up to a power of two.
TEST_F(Taken, NamesBeyondTheTableStillCount) {
  const int limit = 2 * NAMES_BONES / 4 * 3;
  for (int i = 0; i < limit - 1; i++) {
    ASSERT_EQ(nametaken(NameKind::bone, ("n" + std::to_string(i)).c_str(), "jp"), 0) << i;
  }
  EXPECT_EQ(nametaken(NameKind::bone, "Cable", "other"), 0);  // the last one kept
  EXPECT_EQ(nametaken(NameKind::bone, "x", "y"), -1);
  EXPECT_EQ(given("ケーブル"), "Cable(2)");
}

}  // namespace
