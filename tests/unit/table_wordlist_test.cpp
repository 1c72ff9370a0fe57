// table_wordlist_test.cpp - corrections remembered in the user's word list: made when
// there is none, appended without touching the old bytes, each line once, and the rows
// that cannot be whole-name lines told and left out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "names/dict.h"
#include "names/nametable.h"
#include "support/capture.h"
#include "table/table.h"

namespace {

const uint8_t* u8(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
int len(const std::string& s) { return static_cast<int>(s.size()); }

struct Correction {
  NameKind kind;
  std::string jp, en;
};

class WordList : public ::testing::Test {
 protected:
  std::string dir, list;
  void SetUp() override {
    char tmpl[] = "/tmp/nwlist.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = std::string(tmpl) + "/";
    list = dir + TB_WORDLIST;
  }
  void TearDown() override {
    ntbegin(NtEncoding::utf8, false);
    std::filesystem::remove_all(dir);
  }
  // A copy in which the table changed these names (each its own element); the rows
  // whose English name is the one generated, unchanged.
  void corrected(const std::vector<Correction>& rows, const std::string& generated = "generated") {
    ntbegin(NtEncoding::utf8, false);
    int index[8] = {};
    for (const Correction& c : rows) {
      int& i = index[static_cast<int>(c.kind)];
      ASSERT_EQ(ntadd(c.kind, i, u8(c.jp), len(c.jp), nullptr, 0, 254), 0);
      ASSERT_EQ(ntgive(ntfind(c.kind, i), u8(c.en), len(c.en), 2), 0);
      i++;
    }
    std::fill(std::begin(index), std::end(index), 0);
    ConsoleCapture quiet;
    for (const Correction& c : rows) {
      const uint8_t* p = u8(generated);
      int n = len(generated);
      ntwrite(c.kind, index[static_cast<int>(c.kind)]++, nullptr, 0, &p, &n, nullptr, 0,
              NameSource::copied);
    }
  }
  int remember(int* already, std::string* console = nullptr) {
    std::u16string w(dir.begin(), dir.end());
    ConsoleCapture con;
    int n = tbremember(dir.c_str(), w.c_str(), already);
    if (console != nullptr) *console = con.take();
    return n;
  }
  std::string contents() const {
    std::ifstream in(list, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(WordList, MadeWhenThereIsNoneThenAppendedOnce) {
  corrected({{NameKind::bone, "鎖骨", "Collarbone"}, {NameKind::morph, "にっこり", "Smile wide"},
             {NameKind::frame, "表情", "Faces"}, {NameKind::body, "鎖骨", "Collarbone"}});
  int already = -1;
  EXPECT_EQ(remember(&already), 3);  // the rigid body's line is the bone's
  EXPECT_EQ(already, 0);
  const std::string lines = "b\tN\t鎖骨\tCollarbone\nm\tN\tにっこり\tSmile wide\nf\tN\t表情\tFaces\n";
  const std::string made = contents();
  EXPECT_TRUE(made.starts_with("# namedict-user.txt"));
  EXPECT_NE(made.find("\nnamewright-dictionary 1\n" + lines), std::string::npos);
  EXPECT_EQ(remember(&already), 0);
  EXPECT_EQ(already, 3);
  EXPECT_EQ(contents(), made);
}

// The old bytes are copied as they are (a last line without its line end gets one),
// its line ends are used for the new lines, the lines it has are not added again, and
// its other name keeps the old file: it was never opened for writing.
TEST_F(WordList, AppendedWithoutTouchingWhatWasThere) {
  const std::string old = "\xEF\xBB\xBF# mine\r\nb\tN\t鎖骨\tCollarbone\r\nbmf\tW\t髪\thair";
  { std::ofstream(list, std::ios::binary) << old; }
  ASSERT_EQ(link(list.c_str(), (dir + "other").c_str()), 0);
  corrected({{NameKind::bone, "鎖骨", "Collarbone"}, {NameKind::bone, "頭", "Head"}});
  int already = 0;
  EXPECT_EQ(remember(&already), 1);
  EXPECT_EQ(already, 1);
  EXPECT_EQ(contents(), old + "\r\nb\tN\t頭\tHead\r\n");
  std::ifstream in(dir + "other", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
  EXPECT_FALSE(std::filesystem::exists(list + ".part"));
}

// A line gives every later name of its kind and Japanese text one English name: a table
// that would make it say two things is not remembered. Here the table changes 頭 to two
// names, and an old table applied again keeps the list's name of 髪 for one element
// (its other rows, generated before the list had 髪, are no corrections).
TEST_F(WordList, CorrectionsThatWouldNotSayOneThingStayOut) {
  { std::ofstream(list, std::ios::binary) << "b\tN\t髪\tHairBody\n"; }
  corrected({{NameKind::bone, "頭", "Head"}, {NameKind::material, "髪", "hair"},
             {NameKind::morph, "髪", "hair"}, {NameKind::body, "頭", "HeadBody"},
             {NameKind::body, "髪", "HairBody"}, {NameKind::joint, "首", "Neck"}},
            "HairBody");
  int already = 0;
  std::string console;
  EXPECT_EQ(remember(&already, &console), 2);
  EXPECT_EQ(console,
            "Not remembered (the table changes this Japanese name to more than one English name): bone 0 \x93\xAA \n"
            "Not remembered (namedict-user.txt names it otherwise, and the table keeps that name for another element): material 0 \x94\xAF \n"
            "Not remembered (the table changes this Japanese name to more than one English name): rigid body 0 \x93\xAA \n");
  EXPECT_EQ(contents(), "b\tN\t髪\tHairBody\nm\tN\t髪\thair\nb\tN\t首\tNeck\n");
}

TEST_F(WordList, NamesThatCannotBeLinesAreToldAndLeftOut) {
  corrected({{NameKind::bone, "頭", "Kopf|Head"},
             {NameKind::bone, "腕", " Arm"},
             {NameKind::bone, "髪", "かみ"},
             {NameKind::bone, "首", "-"},
             {NameKind::bone, "胸", "two  blanks"},
             {NameKind::bone, std::string(33, 'x'), "Long"},
             {NameKind::bone, std::string(32, 'y'), "Longest"},
             {NameKind::bone, "한", "Han"},
             {NameKind::bone, "足", "Leg"}});
  int already = 0;
  std::string console;
  EXPECT_EQ(remember(&already, &console), 2);
  EXPECT_EQ(console,
            "Not remembered (the English name is not plain ASCII (or holds '|')): bone 0 \x93\xAA \n"
            "Not remembered (the English name is empty or starts or ends with a blank): bone 1 \x98\x72 \n"
            "Not remembered (the English name is not plain ASCII (or holds '|')): bone 2 \x94\xAF \n"
            "Not remembered (the English name is \"-\"): bone 3 \x8E\xF1 \n"
            "Not remembered (the English name holds two blanks in a row): bone 4 \x8B\xB9 \n"
            "Not remembered (the Japanese name is longer than 32 characters): bone 5 " +
                std::string(33, 'x') + " \n"
            "Not remembered (the Japanese name has a character without a Shift-JIS code): bone 7  \n");
  EXPECT_TRUE(contents().ends_with("namewright-dictionary 1\nb\tN\t" + std::string(32, 'y') +
                                   "\tLongest\nb\tN\t足\tLeg\n"));
}

// The dictionary refuses a whole file for a Japanese text with a C1 control character,
// so such a row stays out and the list still reads.
TEST_F(WordList, ListStaysReadableByTheDictionary) {
  corrected({{NameKind::bone, "腕\xC2\x85", "Ctl"}, {NameKind::bone, "足", "Leg"}});
  int already = 0;
  std::string console;
  EXPECT_EQ(remember(&already, &console), 1);
  EXPECT_TRUE(console.starts_with("Not remembered (the Japanese name holds a control character): bone 0 "))
      << console;
  ConsoleCapture quiet;
  EXPECT_EQ(dictread(list.c_str(), nullptr, "list"), 0);
  EXPECT_EQ(dictcount(), 1);
  dictclear();
}

}  // namespace
