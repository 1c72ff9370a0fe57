// names_table_test.cpp - where a record's English name comes from, and the names table
// of the model in hand: its rows recorded, listed, found and given by a table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "names/dict.h"
#include "names/fillname.h"
#include "names/namegen.h"
#include "names/nametable.h"
#include "tests/unit/names_util.h"

namespace {

class NameSources : public NamesTest {
 protected:
  void TearDown() override {
    dictclear();
    namesreset();
    NamesTest::TearDown();
  }
  // The source of the name a record with these names receives.
  NameSource source(NameKind kind, const std::string& jp, const std::string& en) {
    char gen[REP_BUFSIZE], out[REP_BUFSIZE];
    ConsoleCapture quiet;
    genname(kind, sj(jp).c_str(), gen);
    fillenglish(kind, sj(en).c_str(), gen, out);
    return fillsource();
  }
};

TEST_F(NameSources, EachWayANameIsMadeIsTold) {
  loadrules("-Bone\n\"左\" \"Left_\"\n-BoneEN\narm Arm\n");
  EXPECT_EQ(source(NameKind::bone, "左腕", ""), NameSource::rule);
  EXPECT_EQ(source(NameKind::bone, "腕", ""), NameSource::copied);
  EXPECT_EQ(source(NameKind::bone, "腕", "arm"), NameSource::englishrule);
  EXPECT_EQ(source(NameKind::bone, "腕", "leg"), NameSource::kept);
  EXPECT_EQ(source(NameKind::morph, "左", ""), NameSource::copied);  // bone rules only
  TempFile dict("namewright-dictionary 1\nb\tN\tセンター\tcenter\nbmf\tW\t髪\thair\n", "namedict.txt");
  {
    ConsoleCapture quiet;
    ASSERT_EQ(dictread(dict.path(), nullptr, "D"), 0);
  }
  EXPECT_EQ(source(NameKind::bone, "センター", ""), NameSource::standard);
  EXPECT_EQ(source(NameKind::bone, "髪", ""), NameSource::dictionary);
  EXPECT_EQ(source(NameKind::bone, "左髪", ""), NameSource::rule);
  EXPECT_EQ(source(NameKind::bone, "センター", "D"), NameSource::standard);  // a placeholder
}

const uint8_t* u8(const char* s) { return reinterpret_cast<const uint8_t*>(s); }
int len(const char* s) { return static_cast<int>(strlen(s)); }

// The English name the writer ends up with, and what it printed.
struct Written {
  std::string en;
  NameSource source;
  std::string console;
};
Written write(NameKind kind, int index, const char* en, const char* orig = "") {
  const uint8_t* p = u8(en);
  int n = len(en);
  ConsoleCapture cap;
  NameSource s = ntwrite(kind, index, u8("jp"), 2, &p, &n, u8(orig), len(orig), NameSource::copied);
  return {std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(n)), s, cap.take()};
}

TEST(NameTable, RecordsWhatTheWriterWrites) {
  ntbegin(NtEncoding::utf8, true);
  write(NameKind::bone, 0, "Head", "head");
  write(NameKind::morph, 3, "");
  ASSERT_EQ(ntcount(), 2);
  const NtRow& r = ntrow(0);
  EXPECT_EQ(r.kind, NameKind::bone);
  EXPECT_EQ(r.source, NameSource::copied);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(nttext(r, NT_EN)), r.len[NT_EN]), "Head");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(nttext(r, NT_ORIG)), r.len[NT_ORIG]), "head");
  EXPECT_EQ(ntrow(1).index, 3);
  EXPECT_TRUE(ntwhole());
  // Listing is for a table to apply, not while recording.
  EXPECT_EQ(ntadd(NameKind::bone, 0, u8("x"), 1, nullptr, 0, 254), -1);
  ntbegin(NtEncoding::utf8, false);
  EXPECT_FALSE(ntwhole());
  write(NameKind::bone, 0, "Head");
  EXPECT_EQ(ntcount(), 0);
}

TEST(NameTable, ElementsAreFoundByKindAndIndex) {
  ntbegin(NtEncoding::sjis, false);
  ASSERT_EQ(ntadd(NameKind::model, 0, u8("m"), 1, nullptr, 0, 19), 0);
  for (int i = 1; i <= 3; i++) ASSERT_EQ(ntadd(NameKind::morph, i, u8("x"), 1, nullptr, 0, 19), 0);
  ASSERT_EQ(ntadd(NameKind::frame, 0, u8("f"), 1, nullptr, 0, 49), 0);
  EXPECT_EQ(ntadd(NameKind::morph, 4, u8("x"), 1, nullptr, 0, 19), -1);  // its kind is over
  EXPECT_EQ(ntadd(NameKind::frame, 2, u8("x"), 1, nullptr, 0, 49), -1);  // an index left out
  EXPECT_EQ(ntfind(NameKind::morph, 1), 1);
  EXPECT_EQ(ntfind(NameKind::morph, 3), 3);
  EXPECT_EQ(ntfind(NameKind::morph, 0), -1);
  EXPECT_EQ(ntfind(NameKind::morph, 4), -1);
  EXPECT_EQ(ntfind(NameKind::bone, 0), -1);
  int32_t first, count;
  ntrange(NameKind::morph, &first, &count);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(ntmaxbytes(4), 49);
}

TEST(NameTable, GivenNamesReplaceOnlyNamesThatReadOtherwise) {
  ntbegin(NtEncoding::utf8, false);
  for (int i = 0; i < 3; i++) ASSERT_EQ(ntadd(NameKind::bone, i, u8("jp"), 2, nullptr, 0, 254), 0);
  const std::string fffd = "\xEF\xBF\xBD";
  ASSERT_EQ(ntgive(0, u8("Arm"), 3, 2), 0);
  ASSERT_EQ(ntgive(1, u8(("a" + fffd).c_str()), 4, 3), 0);
  Written w = write(NameKind::bone, 0, "arm");
  EXPECT_EQ(w.en, "Arm");
  EXPECT_EQ(w.source, NameSource::table);
  EXPECT_EQ(w.console, " table => Arm ");
  // A byte that cannot be shown reads as U+FFFD in the table: the writer's bytes stay.
  w = write(NameKind::bone, 1, "a\xFF");
  EXPECT_EQ(w.en, "a\xFF");
  EXPECT_EQ(w.source, NameSource::copied);
  EXPECT_EQ(w.console, "");
  w = write(NameKind::bone, 2, "left");  // no row in the table
  EXPECT_EQ(w.en, "left");
  EXPECT_EQ(ntchanged(), 1);
  EXPECT_TRUE(ntrow(0).changed);
  EXPECT_FALSE(ntrow(1).changed);
}

}  // namespace
