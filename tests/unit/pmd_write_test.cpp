// pmd_write_test.cpp - the rewritten PMD copy: every output byte against an expected
// file worked out here, the added English section, cuts at whole characters, the same
// names as in a PMX model, and failed saves.
#include <filesystem>
#include <map>
#include <set>

#include "names/dict.h"
#include "names/namegen.h"
#include "support/tempfile.h"
#include "pmd_util.h"
#include "pmx/pmx.h"
#include "pmx/pmxmodel.h"

namespace {

using namespace pmdtest;

// A field as the writer makes a new name: the text, then zeros.
std::string newfield(const std::string& text, size_t width) {
  std::string f = text;
  f.resize(width, 0);
  return f;
}

void putfield(Bytes& f, size_t at, const std::string& bytes) {
  std::copy(bytes.begin(), bytes.end(), f.begin() + static_cast<long>(at));
}

class PmdWrite : public PmdTest {};

const char* const kRules =
    "-Bone\n\"センター\"F \"center\"\n\"頭\"F \"head\"\n"
    "-Morph\n\"まばたき\"F \"blink\"\n\"表情\"F \"facial\"\n";

TEST_F(PmdWrite, VacantNamesAreFilledAndEveryOtherByteKept) {
  rules(kRules);
  Builder b = everyblock();
  Bytes in = b.build();
  Outcome w = save(in);
  EXPECT_EQ(w.rc, 0) << w.console;
  Bytes want = in;
  putfield(want, b.enBoneAt[0], newfield("center", 20));
  putfield(want, b.enBoneAt[2], newfield("head", 20));
  putfield(want, b.enMorphAt[1], newfield("blink", 20));
  putfield(want, b.enFrameAt[0], newfield("facial", 50));
  EXPECT_EQ(output(), want);
  EXPECT_EQ(w.console,
            "Reading from: " + path("m.pmd") + " \nWriting to  : " + path("out.pmd") +
                " \n scanning ... \n\n"
                "(bone 0) (jp) " + sj("センター") + "   (en)   => center \n"
                "(bone 1) (jp) " + sj("左腕") + "   (en) arm_L \n"
                "(bone 2) (jp) " + sj("頭") + "   (en)   => head \n"
                "(morph 1) (jp) " + sj("まばたき") + "   (en)   => blink \n"
                "(morph 2) (jp) " + sj("笑い") + "   (en) smile \n"
                "(frame 0) (jp) " + sj("表情") + "   (en)   => facial \n"
                "(frame 1) (jp) " + sj("腕") + "   (en) arms\n \n"
                "\n");
  EXPECT_FALSE(std::filesystem::exists(path("out.pmd.part")));
}

// A model without the section gets one in its place: flag 1, the model's name, an
// empty comment, every name generated; what followed is copied after it.
TEST_F(PmdWrite, MissingSectionIsAdded) {
  rules(kRules);
  for (int flag : {-1, 0}) {
    Builder b = everyblock();
    b.englishFlag = flag;
    Bytes in = b.build();
    Outcome w = save(in);
    EXPECT_EQ(w.rc, 0) << w.console;
    size_t at = b.blockAt[Builder::ENGLISH];
    Bytes want(in.begin(), in.begin() + static_cast<long>(at));
    std::string section = "\x01" + newfield(sj("テストモデル"), 20) + std::string(256, '\0') +
                          newfield("center", 20) + newfield(sj("左腕"), 20) + newfield("head", 20) +
                          newfield("blink", 20) + newfield(sj("笑い"), 20) +
                          newfield("facial", 50) + newfield(sj("腕"), 50);
    want.insert(want.end(), section.begin(), section.end());
    want.insert(want.end(), in.begin() + static_cast<long>(at) + (flag == 0 ? 1 : 0), in.end());
    EXPECT_EQ(output(), want) << "flag " << flag;
    EXPECT_NE(w.console.find("(model 0) (jp) " + sj("テストモデル") + "   (en)   => " +
                             sj("テストモデル") + " \n"), std::string::npos) << w.console;
    // The copy reads as a model with the section and nothing left to fill.
    Outcome again = read(output(), "again.pmd");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(pmdModel.englishFlag, 1);
    EXPECT_EQ(pmdModel.nameChangeCount, 0);
  }
}

// Names longer than their field keep the whole characters that fit with a terminator.
TEST_F(PmdWrite, NamesAreCutAtAWholeCharacter) {
  Builder b;
  const std::string kana10 = sj("あいうえおかきくけこ");      // 20 bytes, no terminator
  const std::string odd = "a" + sj("あいうえおかきくけ");      // 19 bytes
  const std::string half = sj("ｱｲｳ") + sj("あいうえおかきく");  // 3 + 16 bytes
  b.addBone(kana10, "");
  b.addBone(odd, "");
  b.addBone("abcdefghijklmnopqrst", "");
  b.addBone(half + "x", "");
  b.addMorph("base", "");
  b.addMorph(kana10, "");
  std::string frame50;
  for (int i = 0; i < 25; i++) frame50 += sj("あ");
  b.addFrame(frame50, "");
  b.addFrame(sj("あ") + std::string(47, 'z') + "\n", "");  // 49 bytes and its line feed
  Bytes in = b.build();
  EXPECT_EQ(save(in).rc, 0);
  Bytes want = in;
  putfield(want, b.enBoneAt[0], newfield(kana10.substr(0, 18), 20));
  putfield(want, b.enBoneAt[1], newfield(odd, 20));
  putfield(want, b.enBoneAt[2], newfield("abcdefghijklmnopqrs", 20));
  putfield(want, b.enBoneAt[3], newfield(half, 20));
  putfield(want, b.enMorphAt[1], newfield(kana10.substr(0, 18), 20));
  putfield(want, b.enFrameAt[0], newfield(frame50.substr(0, 48), 50));
  putfield(want, b.enFrameAt[1], newfield(sj("あ") + std::string(47, 'z'), 50));
  EXPECT_EQ(output(), want);
}

TEST_F(PmdWrite, ExistingNamesThroughRulesAndForce) {
  rules(std::string(kRules) + "-BoneEN\n\"arm_L\"F \"arm_Left\"\n");
  Builder b = everyblock();
  Bytes in = b.build();
  EXPECT_EQ(save(in).rc, 0);
  Bytes want = in;
  putfield(want, b.enBoneAt[0], newfield("center", 20));
  putfield(want, b.enBoneAt[1], newfield("arm_Left", 20));  // the bytes after arm_L go
  putfield(want, b.enBoneAt[2], newfield("head", 20));
  putfield(want, b.enMorphAt[1], newfield("blink", 20));
  putfield(want, b.enFrameAt[0], newfield("facial", 50));
  EXPECT_EQ(output(), want);

  Force.display = 1;
  Outcome w = save(in);
  putfield(want, b.enBoneAt[1], newfield(sj("左腕"), 20));
  putfield(want, b.enMorphAt[2], newfield(sj("笑い"), 20));
  putfield(want, b.enFrameAt[1], newfield(sj("腕"), 50));
  EXPECT_EQ(output(), want);
  EXPECT_NE(w.console.find("(morph 2) (jp) " + sj("笑い") + "   (en) smile (CLR)  => " + sj("笑い") + " \n"),
            std::string::npos) << w.console;
}

TEST_F(PmdWrite, ModelNameOnlyWithTheSetting) {
  rules(kRules);
  Builder b;
  b.addBone(sj("頭"), "head");
  b.addBone(sj("センター"), "");
  Bytes in = b.build();

  EXPECT_EQ(save(in).rc, 0);
  Bytes want = in;
  putfield(want, b.enBoneAt[1], newfield("center", 20));
  EXPECT_EQ(output(), want);

  pmdsetfillmodelname(true);
  Outcome w = save(in);
  putfield(want, b.enModelAt, newfield(sj("テストモデル"), 20));
  EXPECT_EQ(output(), want) << w.console;  // the English comment stays

  b.enName = pmdb::field("Test", 20, '\x7F');  // an existing name stays byte for byte
  in = b.build();
  EXPECT_EQ(save(in).rc, 0);
  want = in;
  putfield(want, b.enBoneAt[1], newfield("center", 20));
  EXPECT_EQ(output(), want);
}

// The English name a PMD element gets is the one a PMX model gets for the same
// Japanese name, cut to its field: the shipped rules and dictionary on both.
TEST_F(PmdWrite, SameNamesAsInAPmxModel) {
  {
    ConsoleCapture quiet;
    nlinit();
    ASSERT_EQ(aliasread(NW_SOURCE_DIR "/data/alias.ini"), 0);
    ASSERT_EQ(dictread(NW_SOURCE_DIR "/data/namedict.txt", nullptr, "namedict.txt"), 0);
  }
  struct Unload {
    ~Unload() { dictclear(); }
  } unload;
  const char* bones[] = {"全ての親", "センター", "左腕", "右ひざ", "左足ＩＫ", "髪飾り左",
                         "スカート前１", "上半身２", "左目戻", "おっぱい調整右",
                         "髪飾りリボン先端調整左"};
  const char* morphs[] = {"まばたき", "笑い", "あ", "ウィンク右", "照れ", "ハイライト消し"};
  const char* frames[] = {"センター", "表情", "髪", "スカート"};
  pmxb::Builder x;
  pmdtest::Builder d;
  x.addVertex(0);
  d.addMorph("base", "");
  for (const char* n : bones) x.addBone(n, ""), d.addBone(sj(n), "");
  for (const char* n : morphs) x.addMorph(n, "", 1, 1), d.addMorph(sj(n), "");
  for (const char* n : frames) x.addFrame(n, "", {}), d.addFrame(sj(n) + "\n", "");
  ASSERT_TRUE(pmxb::writefile(path("m.pmx"), x.build()));
  std::string pmxconsole;
  {
    ConsoleCapture cap;
    pmxModel.nameChangeCount = 0;
    ASSERT_EQ(pmdinforeadA(path("m.pmx").c_str()), 0);
    ASSERT_EQ(pmxrewriteA(path("out.pmx").c_str(), path("m.pmx").c_str()), 0);
    pmxconsole = cap.take();
  }
  Bytes in = d.build();
  EXPECT_EQ(save(in).rc, 0);
  Bytes out = output();
  // The PMX writer's console shows each name it wrote: "(bone 3) (jp) ...  => NAME \n".
  auto pmxname = [&](const char* kind, int i) {
    std::string key = "(" + std::string(kind) + " " + std::to_string(i) + ") (jp) ";
    size_t line = pmxconsole.find(key);
    size_t from = pmxconsole.find(" => ", line) + 4;
    return pmxconsole.substr(from, pmxconsole.find(" \n", from) - from);
  };
  auto pmdfield = [&](size_t at, size_t width) {
    std::string f(out.begin() + static_cast<long>(at), out.begin() + static_cast<long>(at + width));
    return f.substr(0, f.find('\0'));
  };
  size_t longest = 0;
  for (int i = 0; i < static_cast<int>(std::size(bones)); i++) {
    std::string name = pmxname("bone", i);
    longest = std::max(longest, name.size());
    const std::string got = pmdfield(d.enBoneAt[static_cast<size_t>(i)], 20);
    if (name.size() <= 19) {
      EXPECT_EQ(got, name) << bones[i];
    } else {
      // Cut where a word begins (this name ends in words, no number or side to keep).
      EXPECT_LE(got.size(), 19u) << bones[i];
      EXPECT_EQ(name.substr(0, got.size()), got) << bones[i];
      EXPECT_TRUE(name[got.size()] >= 'A' && name[got.size()] <= 'Z') << got;
    }
  }
  EXPECT_GT(longest, 19u);  // one name is cut (every generated name is ASCII)
  for (int i = 0; i < static_cast<int>(std::size(morphs)); i++) {
    EXPECT_EQ(pmdfield(d.enMorphAt[static_cast<size_t>(i) + 1], 20), pmxname("morph", i).substr(0, 19))
        << morphs[i];
  }
  for (int i = 0; i < static_cast<int>(std::size(frames)); i++) {
    EXPECT_EQ(pmdfield(d.enFrameAt[static_cast<size_t>(i)], 50), pmxname("frame", i)) << frames[i];
  }
}

// Names cut to their 20-byte fields keep their number and side, and stay apart after the
// cut, as they are written.
TEST_F(PmdWrite, NamesCutToTheirFieldsStayApart) {
  TempFile f("namewright-dictionary 1\nbmf\tS\t左\tL\nbmf\tS\t右\tR\n"
             "bmf\tW\t髪飾り\thair ornament\nbmf\tW\t揺れ\tsway\nbmf\tW\t先\ttip\n",
             "namedict.txt");
  {
    ConsoleCapture quiet;
    ASSERT_EQ(dictread(f.path(), nullptr, "D"), 0);
  }
  pmdtest::Builder d;
  d.addMorph("base", "");
  const char* bones[] = {"左髪飾り揺れ先1", "左髪飾り揺れ先2", "右髪飾り揺れ先1", "左髪飾り揺れ1"};
  for (const char* n : bones) d.addBone(sj(n), "");
  Bytes in = d.build();
  EXPECT_EQ(save(in).rc, 0);
  Bytes out = output();
  std::set<std::string> seen;
  const char* want[] = {"HairOrnamentSway1_L", "HairOrnamentSway2_L", "HairOrnamentSway1_R",
                        "HairOrnament1(2)_L"};
  for (size_t i = 0; i < std::size(bones); i++) {
    std::string field(out.begin() + static_cast<long>(d.enBoneAt[i]),
                      out.begin() + static_cast<long>(d.enBoneAt[i] + 20));
    const std::string name = field.substr(0, field.find('\0'));
    EXPECT_EQ(name, want[i]) << bones[i];
    EXPECT_TRUE(seen.insert(name).second) << name;
  }
  dictclear();
  namesreset();
}

TEST_F(PmdWrite, FailedSavesLeaveNothing) {
  Builder b = everyblock();
  Bytes in = b.build();
  read(in);
  {
    ConsoleCapture cap;
    EXPECT_EQ(pmdrewriteA(path("no/out.pmd").c_str(), path("m.pmd").c_str()), -1);
  }
  EXPECT_FALSE(std::filesystem::exists(path("no")));

  // A source that is not the one read: cut inside its English section, exactly at it,
  // or shorter than its first part; the same size with another Japanese name or another
  // flag; longer. Each is noticed before anything is saved.
  struct Case { const char* what; Bytes file; };
  std::vector<Case> cases;
  for (size_t cut : {b.enMorphAt[2] + 3, b.blockAt[Builder::ENGLISH], b.blockAt[Builder::BONE]}) {
    cases.push_back({"cut", Bytes(in.begin(), in.begin() + static_cast<long>(cut))});
  }
  Bytes renamed = in;
  renamed[b.elementAt[Builder::MORPH][2]] ^= 1;
  cases.push_back({"another morph name", renamed});
  Bytes frame = in;
  frame[b.elementAt[Builder::FRAME][1] + 3] = 'x';
  cases.push_back({"another frame name", frame});
  Bytes unflagged = in;
  unflagged[b.blockAt[Builder::ENGLISH]] = 0;
  cases.push_back({"another flag", unflagged});
  Bytes longer = in;
  longer.push_back(0);
  cases.push_back({"longer", longer});
  for (const Case& c : cases) {
    ASSERT_TRUE(pmxb::writefile(path("m.pmd"), c.file));
    Outcome w = write("out.pmd", "m.pmd");
    EXPECT_EQ(w.rc, -1) << c.what;
    EXPECT_NE(w.console.find("Err: the source file changed after it was read. \n"), std::string::npos)
        << c.what << w.console;
    EXPECT_FALSE(std::filesystem::exists(path("out.pmd"))) << c.what;
    EXPECT_FALSE(std::filesystem::exists(path("out.pmd.part"))) << c.what;
  }

  // A model that ends before its section: the section goes at the end of the file read,
  // and nothing the file gained since.
  b.englishFlag = -1;
  b.trailing.clear();
  in = b.build();
  read(in);
  in.push_back(1);
  ASSERT_TRUE(pmxb::writefile(path("m.pmd"), in));
  EXPECT_EQ(write("out.pmd", "m.pmd").rc, -1);
  EXPECT_FALSE(std::filesystem::exists(path("out.pmd")));
}

// A copy that would equal its source is not written: vacant names whose generated
// names are empty stay vacant, and an added section would hold no name.
TEST_F(PmdWrite, NothingToChangeWritesNoCopy) {
  rules("-Bone\n\"*\" \"\"\n-Morph\n\"*\" \"\"\n");  // every name generates empty
  Builder b;
  b.name = "";
  b.addBone(sj("頭"), "");
  b.addMorph("base", "");
  b.addMorph(sj("笑い"), "");
  b.addFrame(sj("表情") + "\n", "");
  for (int flag : {1, 0, -1}) {
    b.englishFlag = flag;
    Bytes in = b.build();
    Outcome r = read(in);
    EXPECT_GT(pmdModel.nameChangeCount, 0) << r.console;
    Outcome w = write("out.pmd", "m.pmd");
    EXPECT_EQ(w.rc, 1) << flag << w.console;
    EXPECT_NE(w.console.find("No name would change: no copy was written. \n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("out.pmd"))) << flag;
    EXPECT_FALSE(std::filesystem::exists(path("out.pmd.part"))) << flag;
  }
}

TEST_F(PmdWrite, WideEntryPointWritesTheSameFile) {
  rules(kRules);
  Bytes in = everyblock().build();
  EXPECT_EQ(save(in).rc, 0);
  Bytes narrow = output();
  std::filesystem::remove(path("out.pmd"));
  std::u16string out, src;
  for (char c : path("out.pmd")) out.push_back(static_cast<char16_t>(c));
  for (char c : path("m.pmd")) src.push_back(static_cast<char16_t>(c));
  ConsoleCapture cap;
  EXPECT_EQ(pmdrewriteW(out.c_str(), src.c_str()), 0);
  EXPECT_EQ(output(), narrow);
}

}  // namespace
