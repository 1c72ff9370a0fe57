// pmx_table_test.cpp - the writer and the names table: the rows it records, the elements
// it lists, and a copy with the names a table gives, every byte worked out here.
#include "names/nametable.h"
#include "pmx_util.h"

namespace {

using namespace pmxtest;
using pmxb::NameEdit;

class PmxTable : public PmxTest {
 protected:
  void TearDown() override {
    ntbegin(NtEncoding::utf8, false);  // no later test sees these rows
    PmxTest::TearDown();
  }
  Bytes output() { return pmxb::readfile(path("out.pmx")); }
  static std::string shown(const NtRow& row, NtText which) {
    uint8_t out[NT_SHOWMAX];
    int n = ntshow(out, sizeof out, nttext(row, which), row.len[which]);
    return std::string(reinterpret_cast<char*>(out), static_cast<size_t>(n));
  }
};

Builder sample(bool utf8) {
  Builder b;
  b.utf8 = utf8;
  b.addVertex(0);
  b.addTexture("t.png");
  b.addMaterial("体", "", 0, 0);
  b.addBone("左腕", "", 0x001E);
  b.addBone("頭", "head", 0x001E);
  b.addMorph("まばたき", "blink⇔", 1, 1);
  b.addMorph("笑い", "", 1, 1);
  b.addFrame("表情", "Exp", {{1, 0}});
  return b;
}

TEST_F(PmxTable, RowsTellWhatWasWrittenAndWhy) {
  rules("-Bone\n\"左\" \"Left_\"\n");
  Builder b = sample(false);
  ASSERT_EQ(read(b.build()).status, 0);
  ntbegin(NtEncoding::utf16le, true);
  ASSERT_EQ(write("out.pmx", "m.pmx").rc, 0);
  struct Row {
    NameKind kind;
    int index;
    const char *jp, *en, *orig;
    NameSource source;
  };
  const Row want[] = {
      {NameKind::bone, 0, "左腕", "Left_腕", "", NameSource::rule},
      {NameKind::bone, 1, "頭", "head", "head", NameSource::kept},
      {NameKind::morph, 0, "まばたき", "blink←→", "blink⇔", NameSource::repaired},
      {NameKind::morph, 1, "笑い", "笑い", "", NameSource::copied},
      {NameKind::frame, 0, "表情", "Exp", "Exp", NameSource::kept},
  };
  ASSERT_EQ(ntcount(), 5);
  for (int r = 0; r < 5; r++) {
    SCOPED_TRACE(r);
    const NtRow& row = ntrow(r);
    EXPECT_EQ(row.kind, want[r].kind);
    EXPECT_EQ(row.index, want[r].index);
    EXPECT_EQ(shown(row, NT_JP), want[r].jp);
    EXPECT_EQ(shown(row, NT_EN), want[r].en);
    EXPECT_EQ(shown(row, NT_ORIG), want[r].orig);
    EXPECT_EQ(row.source, want[r].source);
  }
}

// Listed elements get the table's names where they read otherwise; every other byte
// is the copy the writer would make without a table.
TEST_F(PmxTable, GivenNamesAreWrittenInTheModelsEncoding) {
  for (bool utf8 : {false, true}) {
    SCOPED_TRACE(utf8);
    Builder b = sample(utf8);
    Bytes in = b.build();
    ASSERT_EQ(read(in).status, 0);
    ntbegin(utf8 ? NtEncoding::utf8 : NtEncoding::utf16le, false);
    {
      ConsoleCapture quiet;
      ASSERT_EQ(pmxreadnames(path("m.pmx").c_str(), nullptr, 0), 0);
    }
    ASSERT_EQ(ntcount(), 5);
    EXPECT_EQ(shown(ntrow(2), NT_JP), "まばたき");
    const std::string arm = b.encode("Arm 😀"), same = b.encode("笑い");
    ASSERT_EQ(ntgive(ntfind(NameKind::bone, 0), reinterpret_cast<const uint8_t*>(arm.data()),
                     static_cast<int>(arm.size()), 2), 0);
    ASSERT_EQ(ntgive(ntfind(NameKind::morph, 1), reinterpret_cast<const uint8_t*>(same.data()),
                     static_cast<int>(same.size()), 3), 0);
    Outcome w = write("out.pmx", "m.pmx");
    ASSERT_EQ(w.rc, 0) << w.console;
    EXPECT_EQ(ntchanged(), 1);
    std::vector<NameEdit> edits = {
        {b.bones[0], b.bones[0].jp, arm},
        {b.morphs[0], b.morphs[0].jp, b.encode("blink←→")},
        {b.morphs[1], b.morphs[1].jp, same},
    };
    EXPECT_EQ(output(), pmxb::withNames(in, edits));
  }
}

}  // namespace
