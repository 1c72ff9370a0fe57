// pmd_table_test.cpp - a PMD copy with the names a table gives: new names fill their
// field with zeros, a name that reads the same keeps every byte of its field.
#include "names/nametable.h"
#include "pmd_util.h"

namespace {

using namespace pmdtest;

class PmdTable : public PmdTest {
 protected:
  void TearDown() override {
    ntbegin(NtEncoding::utf8, false);
    PmdTest::TearDown();
  }
  void give(NameKind kind, int index, const std::string& sjis) {
    int r = ntfind(kind, index);
    ASSERT_GE(r, 0);
    ASSERT_EQ(ntgive(r, reinterpret_cast<const uint8_t*>(sjis.data()), static_cast<int>(sjis.size()), 2 + r), 0);
  }
};

TEST_F(PmdTable, GivenNamesFillTheirFieldsAndTheRestIsKept) {
  Builder b = everyblock();
  Bytes in = b.build();
  ASSERT_EQ(read(in).status, 0);
  ntbegin(NtEncoding::sjis, false);
  ASSERT_EQ(pmdreadnames(path("m.pmd").c_str(), nullptr, 0), 0);
  // Three bones, the morphs after the base morph, two frames; a frame without its line feed.
  ASSERT_EQ(ntcount(), 7);
  EXPECT_EQ(ntfind(NameKind::morph, 0), -1);
  const NtRow& frame = ntrow(ntfind(NameKind::frame, 0));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(nttext(frame, NT_JP)), frame.len[NT_JP]), sj("表情"));
  EXPECT_EQ(ntmaxbytes(ntfind(NameKind::frame, 0)), 49);
  EXPECT_EQ(ntmaxbytes(ntfind(NameKind::bone, 0)), 19);
  give(NameKind::bone, 1, "arm_L");           // reads as the field does: its bytes stay
  give(NameKind::bone, 2, sj("頭Head"));      // new
  give(NameKind::frame, 1, "Arms");            // new, where "arms\n" was
  Outcome w = save(in);
  ASSERT_EQ(w.rc, 0) << w.console;
  EXPECT_EQ(ntchanged(), 2);
  Bytes want = in;
  auto put = [&](size_t at, std::string text, size_t width) {
    text.resize(width, 0);
    std::copy(text.begin(), text.end(), want.begin() + static_cast<long>(at));
  };
  put(b.enBoneAt[0], sj("センター"), 20);  // generated without rules: the Japanese name
  put(b.enBoneAt[2], sj("頭Head"), 20);
  put(b.enMorphAt[1], sj("まばたき"), 20);
  put(b.enFrameAt[0], sj("表情"), 50);
  put(b.enFrameAt[1], "Arms", 50);
  EXPECT_EQ(output(), want);
}

// With -F every name is generated anew; a table that keeps one as read gets its field
// back as it was, the bytes after its terminator too.
TEST_F(PmdTable, ANameKeptAsReadKeepsItsField) {
  Builder b = everyblock();
  Bytes in = b.build();
  ASSERT_EQ(read(in).status, 0);
  Force.display = 1;
  ntbegin(NtEncoding::sjis, false);
  ASSERT_EQ(pmdreadnames(path("m.pmd").c_str(), nullptr, 0), 0);
  const NtRow& arm = ntrow(ntfind(NameKind::bone, 1));
  ASSERT_EQ(std::string(reinterpret_cast<const char*>(nttext(arm, NT_ORIG)), arm.len[NT_ORIG]), "arm_L");
  give(NameKind::bone, 1, "arm_L");
  Outcome w = save(in);
  ASSERT_EQ(w.rc, 0) << w.console;
  EXPECT_EQ(ntchanged(), 1);
  Bytes out = output();
  auto fieldof = [](const Bytes& f, size_t at) { return std::string(f.begin() + static_cast<long>(at), f.begin() + static_cast<long>(at + 20)); };
  EXPECT_EQ(fieldof(out, b.enBoneAt[1]), fieldof(in, b.enBoneAt[1]));
  std::string smile = sj("笑い");
  smile.resize(20, 0);
  EXPECT_EQ(fieldof(out, b.enMorphAt[2]), smile);  // the others generated anew
}

}  // namespace
