// pmx_write_test.cpp - the rewritten copy: every output byte against an independently
// computed file, the console lines, the arrow repair and failed saves.
#include <dlfcn.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <vector>

#include "pmx_util.h"

// Closes can be made to fail on demand, as a network file or a quota may report a write
// error only when the file is closed.
namespace {
bool failClose = false;
}
extern "C" int fclose(FILE* fp) {
  using Fn = int (*)(FILE*);
  static auto real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "fclose"));
  int r = real(fp);
  return failClose ? EOF : r;
}

namespace {

using namespace pmxtest;
using pmxb::NameEdit;
using pmxb::NameRec;

constexpr uint16_t STD = 0x001E;

// The English name (UTF-8) an element should receive, or nullopt to keep its own.
using Decide = std::function<std::optional<std::string>(char kind, size_t i)>;

// The expected output: each stored element's local name cut (given) and English name
// decided by the test.
Bytes expected(const Builder& b, const Bytes& in, const Decide& decide,
               size_t maxBones = 4096, size_t maxMorphs = 8192) {
  std::vector<NameEdit> edits;
  auto add = [&](char kind, const std::vector<NameRec>& recs, size_t max) {
    for (size_t i = 0; i < recs.size() && i < max; i++) {
      std::optional<std::string> en = decide(kind, i);
      edits.push_back({recs[i], recs[i].jp, en ? b.encode(*en) : recs[i].en});
    }
  };
  add('b', b.bones, maxBones);
  add('m', b.morphs, maxMorphs);
  add('f', b.frames, 1024);
  return pmxb::withNames(in, edits);
}

class PmxWrite : public PmxTest {
 protected:
  // Reads and rewrites the model; checks the input is untouched.
  Outcome save(const Bytes& model) {
    Outcome r = read(model, "m.pmx");
    EXPECT_EQ(r.status, 0) << r.console;
    Outcome w = write("out.pmx", "m.pmx");
    EXPECT_EQ(pmxb::readfile(path("m.pmx")), model);
    return w;
  }
  Bytes output() { return pmxb::readfile(path("out.pmx")); }
};

// Japanese names in the console's Shift-JIS.
const std::string CENTER = "\x83\x5A\x83\x93\x83\x5E\x81\x5B";  // センター
const std::string LARM = "\x8D\xB6\x98\x72";                    // 左腕
const std::string BLINK = "\x82\xDC\x82\xCE\x82\xBD\x82\xAB";   // まばたき
const std::string SMILE = "\x8F\xCE\x82\xA2";                   // 笑い
const std::string FACE = "\x95\x5C\x8F\xEE";                    // 表情

Builder typical(bool utf8) {
  Builder b;
  b.utf8 = utf8;
  b.addVertex(1);
  b.addMaterial("体", "body", 1, 0);
  b.addBone("センター", "", STD);
  b.addBone("左腕", "arm_L", STD);
  b.addMorph("まばたき", "", 1, 1);
  b.addMorph("笑い", "smile", 8, 1);
  b.addFrame("表情", "", {{1, 0}});
  b.addFrame("Root", "Root", {{0, 0}}, true);
  b.addRigidBody("r", "");
  b.addJoint("j", "", 2);
  return b;
}

TEST_F(PmxWrite, VacantNamesGetTheJapaneseNameInBothEncodings) {
  for (bool utf8 : {false, true}) {
    Builder b = typical(utf8);
    Bytes in = b.build();
    Outcome w = save(in);
    EXPECT_EQ(w.rc, 0);
    EXPECT_EQ(w.console,
              "Reading from: " + path("m.pmx") + " \nWriting to  : " + path("out.pmx") +
                  " \n scanning ... \n\n"
                  "(bone 0) (jp) " + CENTER + "   (en)   => " + CENTER + " \n"
                  "(bone 1) (jp) " + LARM + "   (en) arm_L \n"
                  "(morph 0) (jp) " + BLINK + "   (en)   => " + BLINK + " \n"
                  "(morph 1) (jp) " + SMILE + "   (en) smile \n"
                  "(frame 0) (jp) " + FACE + "   (en)   => " + FACE + " \n"
                  "(frame 1) (jp) Root   (en) Root \n"
                  "\n");
    Bytes want = expected(b, in, [](char kind, size_t i) -> std::optional<std::string> {
      if (i != 0) return std::nullopt;
      return kind == 'b' ? "センター" : kind == 'm' ? "まばたき" : "表情";
    });
    EXPECT_EQ(output(), want) << (utf8 ? "utf8" : "utf16");
  }
}

TEST_F(PmxWrite, FilledModelIsCopiedUnchanged) {
  for (bool utf8 : {false, true}) {
    Builder b;
    b.utf8 = utf8;
    b.version = 2.1f;
    b.trailing = {1, 2, 3, 4, 5};  // soft bodies are copied as they are
    b.addVertex(3);
    b.addBone("a", "A", STD);
    b.addBone("x", "D", STD);  // a one-byte generated name keeps the D
    b.addMorph("m", "M", 0, 1);
    b.addMorph("n", "D", 0, 1);
    b.addFrame("f", "F", {});
    b.addRigidBody("r", "R");
    b.addJoint("j", "J", 5);
    Bytes in = b.build();
    // Every English name stays: a copy would equal the model, so none is left.
    Outcome w = save(in);
    EXPECT_EQ(w.rc, 1);
    EXPECT_TRUE(w.console.ends_with("No name would change: no copy was written. \n\n")) << w.console;
    EXPECT_FALSE(std::filesystem::exists(path("out.pmx")));
    EXPECT_FALSE(std::filesystem::exists(path("out.pmx.part")));
  }
}

TEST_F(PmxWrite, ForceDisplayReplacesEveryEnglishName) {
  Force.display = 1;
  Builder b = typical(false);
  Bytes in = b.build();
  Outcome w = save(in);
  EXPECT_NE(w.console.find("(bone 1) (jp) " + LARM + "   (en) arm_L (CLR)  => " + LARM + " \n"),
            std::string::npos)
      << w.console;
  EXPECT_NE(w.console.find("(frame 1) (jp) Root   (en) Root (CLR)  => Root \n"), std::string::npos);
  const char* jp[3][2] = {{"センター", "左腕"}, {"まばたき", "笑い"}, {"表情", "Root"}};
  EXPECT_EQ(output(), expected(b, in, [&](char kind, size_t i) -> std::optional<std::string> {
              return jp[kind == 'b' ? 0 : kind == 'm' ? 1 : 2][i];
            }));
}

TEST_F(PmxWrite, RulesMakeTheGeneratedNames) {
  rules("\"\xE5\xB7\xA6\" \"Left_\"\n-Morph\n\"\xE8\xA1\xA8\" \"Face\"\n");  // 左, 表
  Builder b;
  b.addBone("左腕", "", STD);
  b.addFrame("表情", "", {});
  b.addFrame("表", "Keep", {});  // an existing frame name stays
  Bytes in = b.build();
  Outcome w = save(in);
  EXPECT_NE(w.console.find("(bone 0) (jp) " + LARM + "   (en)   => Left_\x98\x72 \n"),
            std::string::npos)
      << w.console;
  EXPECT_EQ(output(), expected(b, in, [](char kind, size_t i) -> std::optional<std::string> {
              if (kind == 'b') return "Left_腕";
              if (i == 0) return "Face情";
              return std::nullopt;
            }));
}

TEST_F(PmxWrite, LongLocalNamesAreCutAtAWholeCharacter) {
  struct Case {
    bool utf8;
    std::string name;  // 300 bytes or more in the file
    std::string kept;  // what is left of it
  };
  const std::string x126(126, 'x'), x253(253, 'x');
  const Case cases[] = {
      {false, std::string(150, 'x'), std::string(127, 'x')},
      {false, x126 + "\xF0\xA0\x82\x89" + std::string(30, 'y'), x126},  // pair across the cut
      {true, x253 + "\xE3\x81\x82" + std::string(60, 'y'), x253},       // あ across the cut
      {true, std::string(300, 'z'), std::string(254, 'z')},
  };
  for (const Case& c : cases) {
    Builder b;
    b.utf8 = c.utf8;
    b.addBone(c.name, "", STD);
    b.addBone("next", "N", STD);
    Bytes in = b.build();
    ASSERT_GE(b.bones[0].jp.size(), 300u);
    EXPECT_EQ(save(in).rc, 0);
    // The vacant English name gets the generated name: at most 252 bytes of Shift-JIS.
    std::vector<NameEdit> edits = {{b.bones[0], b.encode(c.kept), b.encode(c.kept.substr(0, 252))},
                                   {b.bones[1], b.bones[1].jp, b.bones[1].en}};
    EXPECT_EQ(output(), pmxb::withNames(in, edits)) << c.kept.size();
  }
}

TEST_F(PmxWrite, OnlyStoredElementsAreVisited) {
  Builder b;
  for (int i = 0; i < 4100; i++) b.addBone("b", "", STD);
  for (int i = 0; i < 8200; i++) b.addMorph("m", "", 1, 1);
  for (int i = 0; i < 1030; i++) b.addFrame("f", "", {});
  Bytes in = b.build();
  Outcome w = save(in);
  EXPECT_EQ(w.rc, 0);
  EXPECT_NE(w.console.find("(bone 4095) "), std::string::npos);
  EXPECT_EQ(w.console.find("(bone 4096) "), std::string::npos);
  EXPECT_EQ(w.console.find("(morph 8192) "), std::string::npos);
  EXPECT_EQ(w.console.find("(frame 1024) "), std::string::npos);
  EXPECT_EQ(output(), expected(b, in, [](char kind, size_t) -> std::optional<std::string> {
              return kind == 'b' ? "b" : kind == 'm' ? "m" : "f";
            }, 4096, 8192));
}

// ---- Arrow symbols in English morph names -------------------------------------------

TEST_F(PmxWrite, ArrowInAMorphNameIsDumpedAndRepaired) {
  struct Case { bool utf8; std::string dumps; };
  const Case cases[] = {
      {false, "SJIS(Smile[81 CC]) UTF16(Smile[21D4]) => UTF16(Smile[2190][2192]) "},
      {true, "SJIS(Smile[81 CC]) UTF8(Smile[E2][87][94]) => UTF8(Smile[E2][86][90][E2][86][92]) "},
  };
  for (const Case& c : cases) {
    Builder b;
    b.utf8 = c.utf8;
    b.addMorph("笑い", "Smile⇔", 0, 1);
    Bytes in = b.build();
    Outcome w = save(in);
    EXPECT_NE(w.console.find("(morph 0) (jp) " + SMILE + "   (en) Smile\x81\xCC " + c.dumps + "\n"),
              std::string::npos)
        << w.console;
    Bytes out = output();
    EXPECT_EQ(out, expected(b, in, [](char, size_t) { return std::optional<std::string>("Smile←→"); }));
    if (!c.utf8) {
      size_t en = b.morphs[0].offset + 4 + b.morphs[0].jp.size();
      EXPECT_EQ(out[en], 14);  // 7 units
    }
  }
}

// Where the spelling of an arrow crosses 254 bytes, the characters that fit stay.
TEST_F(PmxWrite, ArrowAtTheLimitKeepsWhatFits) {
  struct Case { bool utf8; std::string en, fixed; };
  const Case cases[] = {
      {false, std::string(126, 'a') + "↔", std::string(126, 'a') + "←"},
      {true, std::string(251, 'a') + "⇔", std::string(251, 'a') + "←"},
  };
  for (const Case& c : cases) {
    Builder b;
    b.utf8 = c.utf8;
    b.addMorph("m", c.en, 0, 0);
    Bytes in = b.build();
    save(in);
    EXPECT_EQ(output(), expected(b, in, [&](char, size_t) { return std::optional<std::string>(c.fixed); }))
        << (c.utf8 ? "utf8" : "utf16");
  }
}

TEST_F(PmxWrite, ControlCharactersAreDumpedAndKept) {
  Builder b;
  b.addMorph("m", std::string("a\x01~\x7F", 4), 0, 1);
  Bytes in = b.build();
  Outcome w = save(in);
  EXPECT_NE(w.console.find("  (en) a\x01~\x7F SJIS(a[01][7E][7F]) UTF16(a[0001][007E][007F]) "
                           "=> UTF16(a[0001][007E][007F]) \n"),
            std::string::npos)
      << w.console;
  EXPECT_EQ(w.rc, 1);  // nothing to repair: no copy
}

TEST_F(PmxWrite, EveryArrowCodePoint) {
  // Each arrow with its plain spelling.
  const std::string table =
      "↔ ←→, ↕ ↑↓, ↖ ←↑, ↗ ↑→, ↘ ↓→, ↙ ←↓, ↚ ←, ↛ →, ↜ ←〜, ↝ 〜→, ↞ ←←, ↟ ↑↑, ↠ →→, ↡ ↓↓, "
      "↢ ←＜, ↣ ＞→, ↤ ←|, ↥ ↑, ↦ |→, ↧ ↓, ↨ ↑↓, ↩ ←↓, ↪ ↓→, ↫ ←, ↬ →, ↭ ←→, ↮ ←→, ↯ ↓↑↓, "
      "↰ ←↑, ↱ ↑→, ↲ ←↓, ↳ ↓→, ↴ →↓, ↵ ←↓, ↶ ↓), ↷ (↓, ↸ ←↑, ↹ |←→|, ↺ (↑, ↻ ↑), ↼ ←, ↽ ←, "
      "↾ ↑, ↿ ↑, ⇀ →, ⇁ →, ⇂ ↓, ⇃ ↓, ⇄ ←→, ⇅ ↑↓, ⇆ ←→, ⇇ ←←, ⇈ ↑↑, ⇉ →→, ⇊ ↓↓, ⇋ ←→, "
      "⇌ ←→, ⇍ ←, ⇎ ←→, ⇏ ←→, ⇐ ←, ⇑ ↑, ⇒ →, ⇓ ↓, ⇔ ←→, ⇕ ↑↓, ⇖ ←↑, ⇗ ↑→, ⇘ ↓→, ⇙ ←↓, "
      "⇚ ←, ⇛ →, ⇜ ←, ⇝ →, ⇞ ↑, ⇟ ↓, ⇠ ←, ⇡ ↑, ⇢ →, ⇣ ↓, ⇤ |←, ⇥ →|, ⇦ ←, ⇧ ↑, ⇨ →, ⇩ ↓, "
      "⇪ ↑, ⇫ ↑, ⇬ ↑, ⇭ ↑, ⇮ ↑, ⇯ ↑, ⇰ →, ⇱ ←↑, ⇲ ↓→, ⇳ ↑↓";
  std::vector<std::pair<std::string, std::string>> rows;
  for (size_t at = 0; at < table.size();) {
    size_t sp = table.find(' ', at), end = table.find(", ", at);
    if (end == std::string::npos) end = table.size();
    rows.push_back({table.substr(at, sp - at), table.substr(sp + 1, end - sp - 1)});
    at = end + 2;
  }
  ASSERT_EQ(rows.size(), 96u);
  for (bool utf8 : {false, true}) {
    Builder b;
    b.utf8 = utf8;
    std::vector<std::string> want;
    // A kanji in front makes sure the name is checked whether the arrow has a
    // Shift-JIS code or not.
    for (size_t i = 0; i < rows.size(); i += 8) {
      std::string en = "字", fixed = "字";
      for (size_t k = i; k < i + 8; k++) {
        en += rows[k].first;
        fixed += rows[k].second;
      }
      b.addMorph("m", en, 0, 0);
      want.push_back(fixed);
    }
    Bytes in = b.build();
    save(in);
    EXPECT_EQ(output(), expected(b, in, [&](char, size_t i) { return std::optional<std::string>(want[i]); }))
        << (utf8 ? "utf8" : "utf16");
  }
}

// ---- New names that do not fit -----------------------------------------------------

TEST_F(PmxWrite, OverlongNewNameIsCutAtAWholeCharacter) {
  // Each "a" becomes fifteen half-width katakana: three UTF-8 bytes each.
  rules("\"a\" \"\xEF\xBD\xB1\xEF\xBD\xB1\xEF\xBD\xB1\xEF\xBD\xB1\xEF\xBD\xB1\xEF\xBD\xB1"
        "\xEF\xBD\xB1\xEF\xBD\xB1\xEF\xBD\xB1\xEF\xBD\xB1\xEF\xBD\xB1\xEF\xBD\xB1"
        "\xEF\xBD\xB1\xEF\xBD\xB1\xEF\xBD\xB1\"\n");
  for (bool utf8 : {false, true}) {
    Builder b;
    b.utf8 = utf8;
    b.addBone(std::string(40, 'a'), "", STD);
    b.addBone("b", "B", STD);
    Bytes in = b.build();
    save(in);
    std::string ka;
    for (int k = 0; k < (utf8 ? 84 : 127); k++) ka += "ｱ";
    EXPECT_EQ(output(), expected(b, in, [&](char, size_t i) {
                return i == 0 ? std::optional<std::string>(ka) : std::nullopt;
              }));
  }
}

// ---- Failed saves -------------------------------------------------------------------

TEST_F(PmxWrite, MissingOutputFolder) {
  Bytes in = typical(false).build();
  read(in);
  Outcome w = write("none/out.pmx", "m.pmx");
  EXPECT_EQ(w.rc, -1);
  EXPECT_NE(w.console.find("Cannot open WR file : " + path("none/out.pmx.part") + "\n"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path("none/out.pmx")));
}

TEST_F(PmxWrite, FullDiskLeavesNoOutput) {
  Builder b;
  for (int i = 0; i < 3000; i++) b.addBone("b", "", STD);
  Bytes in = b.build();
  read(in);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 20000;
  auto oldsig = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Outcome w = write("out.pmx", "m.pmx");
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldsig);
  EXPECT_EQ(w.rc, -1);
  EXPECT_NE(w.console.find("writing error.(or Disk full)\n"), std::string::npos) << w.console;
  EXPECT_NE(w.console.find("Failed in writing to end. \n\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path("out.pmx")));
  EXPECT_EQ(pmxb::readfile(path("m.pmx")), in);
}

// A write that fails inside a name: reported there, and nothing is left behind. (Handle
// mode, where every byte passes the writer's own buffer, so the failing flush can be
// placed inside a name.)
TEST_F(PmxWrite, FullDiskWhileWritingAName) {
  Builder b;
  for (int i = 0; i < 200; i++) b.addBone(std::string(127, 'n'), "", STD);
  Bytes in = b.build();
  read(in);
  // The writer flushes every 8192 bytes; pick a flush that falls inside the name fields
  // of a bone in the output (each vacant name grows by the 254 bytes of the copy).
  size_t limit = 0;
  for (size_t i = 0; i < b.bones.size() && limit == 0; i++) {
    size_t from = b.bones[i].offset + 254 * i, to = from + 4 + 254 + 4 + 254;
    size_t k = (from + 8191) / 8192 * 8192;
    if (k >= 8192 * 2 && from + 1 < k && k + 1 < to) limit = k - 1;
  }
  ASSERT_NE(limit, 0u);
  std::u16string out, src;
  for (char c : path("out.pmx")) out += static_cast<char16_t>(c);
  for (char c : path("m.pmx")) src += static_cast<char16_t>(c);
  {
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = limit;
    auto oldsig = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ConsoleCapture cap;
    int rc = pmxrewriteW(out.c_str(), src.c_str());
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldsig);
    EXPECT_EQ(rc, -1);
    const std::string& text = cap.text();
    size_t err = text.find("File writing error.(or Disk full)\n");
    ASSERT_NE(err, std::string::npos);
    EXPECT_EQ(text.substr(text.find("Error writing file. \n", err)),
              "Error writing file. \nFailed in writing to end. \n\n")
       ;
    EXPECT_FALSE(std::filesystem::exists(path("out.pmx")));
  }
}

TEST_F(PmxWrite, FailedCloseLeavesNoOutput) {
  Bytes in = typical(false).build();
  read(in);
  failClose = true;
  Outcome w = write("out.pmx", "m.pmx");
  failClose = false;
  EXPECT_EQ(w.rc, -1);
  EXPECT_NE(w.console.find("File writing error.(or Disk full)\n\n"), std::string::npos) << w.console;
  EXPECT_FALSE(std::filesystem::exists(path("out.pmx")));
}

TEST_F(PmxWrite, WideEntryPointWritesTheSameFile) {
  Builder b = typical(true);
  Bytes in = b.build();
  save(in);
  Bytes viaA = output();
  std::filesystem::remove(path("out.pmx"));
  std::u16string out, src;
  for (char c : path("out.pmx")) out += static_cast<char16_t>(c);
  for (char c : path("m.pmx")) src += static_cast<char16_t>(c);
  ConsoleCapture cap;
  EXPECT_EQ(pmxrewriteW(out.c_str(), src.c_str()), 0);
  EXPECT_EQ(output(), viaA);
  EXPECT_EQ(cap.text().substr(0, 14 + path("m.pmx").size() + 2), "Reading from: " + path("m.pmx") + " \n");
}

TEST_F(PmxWrite, SourceChangedAfterReading) {
  Builder b = typical(false);
  Bytes in = b.build();
  read(in);
  struct Case { const char* what; Bytes file; };
  Bytes cut(in.begin(), in.begin() + static_cast<long>(b.morphs[0].offset) + 3);
  Bytes longer = in;
  longer[b.bones[0].offset + 4 + b.bones[0].jp.size()] = 200;  // an English name grew
  Bytes grown = in;
  grown.push_back(0);
  for (const Case& c : {Case{"cut", cut}, Case{"longer name", longer}, Case{"grown", grown}}) {
    ASSERT_TRUE(pmxb::writefile(path("m.pmx"), c.file));
    Outcome w = write("out.pmx", "m.pmx");
    EXPECT_EQ(w.rc, -1) << c.what;
    EXPECT_NE(w.console.find("Err: the source file changed after it was read. \n"), std::string::npos)
        << c.what << w.console;
    EXPECT_FALSE(std::filesystem::exists(path("out.pmx"))) << c.what;
  }
}

TEST_F(PmxWrite, MissingSource) {
  Outcome w = write("out.pmx", "none.pmx");
  EXPECT_EQ(w.rc, -1);
  EXPECT_FALSE(std::filesystem::exists(path("out.pmx")));
}

}  // namespace
