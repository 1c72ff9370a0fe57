// names_dictbin_test.cpp - the compiled dictionary and the files a run uses: compiled and
// read back, damaged files refused in one line, the user's words winning, the reading
// language, and the limits of a line and of a Japanese text.
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "names/dict.h"
#include "names/dictbin.h"
#include "names/dictentry.h"
#include "names/namegen.h"
#include "names_util.h"

namespace {

const std::string kSmall =
    "namewright-dictionary 1\n"
    "bmf\tS\t左\tL\n"
    "b\tN\t左腕\tarm_L\n"
    "bmf\tW\t髪\thair | tress\n"
    "bmf\tW\t先\ttip\n"
    "bmf\tK\t体\tbody\n"
    "mf\tW\t笑い\tsmile | laugh\n"
    "bmf\tW\tスカート\tskirt\n";

std::string readfile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void writefile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << bytes;
}

// The checksum made right again after a change, as a hostile file would be.
void resum(std::string& bin) {
  auto* p = reinterpret_cast<unsigned char*>(bin.data());
  dict::DictSum sum;
  dict::dictsumstart(&sum);
  dict::dictsumadd(&sum, p, bin.size());
  dict::put32(p + dict::kBinChecksumAt, dict::dictsumend(&sum));
}

class DictBin : public NamesTest {
 protected:
  void SetUp() override {
    NamesTest::SetUp();
    dictclear();
    dictsetlang(DL_JA);
    namesreset();
    dir_ = ::testing::TempDir() + std::to_string(getpid()) + "_dictbin/";
    ASSERT_EQ(system(("rm -rf " + dir_ + " && mkdir -p " + dir_).c_str()), 0);
  }
  void TearDown() override {
    dictclear();
    dictsetlang(DL_JA);
    namesreset();
    ASSERT_EQ(system(("rm -rf " + dir_).c_str()), 0);
    NamesTest::TearDown();
  }
  // The compiled image of a dictionary text.
  std::string compile(const std::string& text) {
    TempFile f(text, "namedict.txt");
    ConsoleCapture cap;
    EXPECT_EQ(dictread(f.path(), nullptr, "T"), 0) << cap.take();
    const unsigned char* image = nullptr;
    uint64_t size = 0;
    EXPECT_EQ(dict::bincompile(text.size(), &image, &size), 0);
    dictclear();
    return image != nullptr ? std::string(reinterpret_cast<const char*>(image), size) : "";
  }
  // Reads a compiled file of these bytes; what was printed.
  std::string loadbin(const std::string& bytes, int want) {
    TempFile f(bytes, "namedict.bin");
    ConsoleCapture cap;
    EXPECT_EQ(dictreadbin(f.path(), nullptr, "D"), want);
    return cap.take();
  }
  std::string gen(NameKind kind, const std::string& utf8) {
    char out[REP_BUFSIZE];
    EXPECT_EQ(genname(kind, sj(utf8).c_str(), out), 0);
    return out;
  }
  // The name of a UTF-8 stretch, as a Chinese reading will ask for it.
  std::string genutf8(uint8_t kind, const std::string& utf8) {
    char out[REP_BUFSIZE];
    dictbegin();
    dictstretchutf8(kind, utf8.data(), static_cast<int>(utf8.size()), true);
    dictcompose(out, REP_BUFSIZE, 0, 0, nullptr);
    return out;
  }
  // dictload on the test folder; what it printed, the folder shown as DIR/.
  std::string loadfolder(int want = 0) {
    std::u16string w(dir_.begin(), dir_.end());
    ConsoleCapture cap;
    EXPECT_EQ(dictload(dir_.c_str(), w.c_str()), want);
    std::string out = cap.take();
    for (size_t at; (at = out.find(dir_)) != std::string::npos;) out.replace(at, dir_.size(), "DIR/");
    return out;
  }
  std::string dir_;
};

TEST_F(DictBin, TheShippedDictionaryCompilesToTheSameEntriesAndNames) {
  const std::string text = readfile(std::string(NW_SOURCE_DIR) + "/data/namedict.txt");
  if (text.empty()) GTEST_SKIP() << "no data/namedict.txt";
  // Every text's entries, newest first, as the text tables hold them.
  TempFile t(text, "namedict.txt");
  ASSERT_EQ(dictread(t.path(), nullptr, "T"), 0);
  const int count = dictcount();
  std::map<std::string, std::vector<std::string>> chains;
  for (int32_t e = 0; e < count; e++) {
    dict::Entry x;
    ASSERT_TRUE(dict::textentry(e, &x));
    std::string jp(x.jp, static_cast<size_t>(x.jplen));
    if (chains.count(jp) != 0) continue;
    const dict::Hits hits = dict::find(x.jp, x.jplen, dict::hashof(x.jp, x.jplen));
    for (int32_t h = dict::first(hits); h >= 0; h = dict::next(hits, h)) {
      dict::Entry y;
      ASSERT_TRUE(dict::entry(h, &y));
      chains[jp].push_back(std::string(y.en, static_cast<size_t>(y.enlen)) + "/" +
                           std::to_string(y.kinds) + std::to_string(y.lang) + std::to_string(y.cls));
    }
  }
  // The reference names, through the shipped rules and the text.
  loadrules(readfile(std::string(NW_SOURCE_DIR) + "/data/alias.ini"));
  std::vector<std::pair<NameKind, std::string>> names;
  std::istringstream refs(readfile(std::string(NW_SOURCE_DIR) + "/tests/data/names/all.txt"));
  for (std::string line; std::getline(refs, line);) {
    const size_t tab = line.find('\t');
    if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
    const std::string kind = line.substr(0, tab);
    const std::string jp = line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1);
    names.emplace_back(kind == "morph" ? NameKind::morph : kind == "frame" ? NameKind::frame : NameKind::bone, jp);
  }
  ASSERT_GT(names.size(), 1000u);
  std::vector<std::string> fromText;
  for (const auto& [kind, jp] : names) fromText.push_back(gen(kind, jp));

  const unsigned char* image = nullptr;
  uint64_t size = 0;
  ASSERT_EQ(dict::bincompile(text.size(), &image, &size), 0);
  TempFile b(std::string(reinterpret_cast<const char*>(image), size), "namedict.bin");
  ASSERT_EQ(dictreadbin(b.path(), nullptr, "B"), 0);
  EXPECT_EQ(dictcount(), count);
  size_t same = 0;
  for (const auto& [jp, chain] : chains) {
    const dict::Hits hits = dict::find(jp.data(), static_cast<int>(jp.size()), dict::hashof(jp.data(), static_cast<int>(jp.size())));
    std::vector<std::string> got;
    for (int32_t h = dict::first(hits); h >= 0; h = dict::next(hits, h)) {
      dict::Entry y;
      ASSERT_TRUE(dict::entry(h, &y));
      got.push_back(std::string(y.en, static_cast<size_t>(y.enlen)) + "/" + std::to_string(y.kinds) +
                    std::to_string(y.lang) + std::to_string(y.cls));
    }
    same += got == chain ? 1 : 0;
  }
  EXPECT_EQ(same, chains.size()) << "texts whose entries differ in the compiled form";
  for (size_t i = 0; i < names.size(); i++)
    EXPECT_EQ(gen(names[i].first, names[i].second), fromText[i]) << names[i].second;
}

TEST_F(DictBin, DamagedFilesAreRefusedInOneLine) {
  const std::string good = compile(kSmall);
  ASSERT_GT(good.size(), 64u);
  EXPECT_EQ(loadbin(good, 0), "");
  EXPECT_EQ(dictcount(), 7);
  EXPECT_EQ(gen(NameKind::bone, "左髪先"), "HairTip_L");

  const auto* p = reinterpret_cast<const unsigned char*>(good.data());
  const dict::BinLayout l = dict::binlayout(dict::le32(p + 36), dict::le32(p + 40), dict::le32(p + 48));
  ASSERT_EQ(l.end, good.size());
  struct Case {
    std::string bytes;
    std::string what;
  };
  std::vector<Case> cases;
  // Cut at the start, inside the magic and the header, and at and just after every section.
  for (uint64_t at : {uint64_t{0}, uint64_t{5}, uint64_t{8}, uint64_t{63}}) cases.push_back({good.substr(0, at), "cut short"});
  for (uint64_t at : {uint64_t{64}, l.heads + 1, l.heads + 13, l.entries, l.entries + 7, l.text, l.text + 1, l.end - 1}) {
    cases.push_back({good.substr(0, at), "cut short (" + std::to_string(at) + " bytes, its header says " +
                                             std::to_string(l.end) + ")"});
  }
  cases.push_back({good + "x", "longer than it should be (" + std::to_string(l.end + 1) +
                                   " bytes, its header says " + std::to_string(l.end) + ")"});
  std::string bad = good;
  bad[0] = 'M';
  cases.push_back({bad, "not a compiled Namewright dictionary (wrong magic)"});
  bad = good;
  bad[8] = 1;  // the version before the kind n
  cases.push_back({bad, "made by another version of Namewright (format 1; this one reads 2)"});
  bad = good;
  bad[static_cast<size_t>(l.text + 2)] ^= 0x20;
  cases.push_back({bad, "a wrong checksum (the file is damaged)"});
  bad = good;
  bad[60] ^= 0x01;  // the header's zero bytes count too
  cases.push_back({bad, "a wrong checksum (the file is damaged)"});
  bad = good;
  bad[40] = 3;  // heads no power of two
  resum(bad);
  cases.push_back({bad, "sections that do not add up to its size"});
  // An English text past the end of the text section, the checksum made right.
  bad = good;
  dict::put32(reinterpret_cast<unsigned char*>(bad.data()) + l.entries + 4, dict::le32(p + 48));
  resum(bad);
  cases.push_back({bad, "an offset out of range (an entry past the text)"});
  bad = good;
  for (uint64_t h = l.heads; h < l.entries; h += dict::kBinHead) {
    if (dict::le32(p + h) != 0) {
      dict::put32(reinterpret_cast<unsigned char*>(bad.data()) + h + 8, dict::le32(p + 36) + 1);
      break;
    }
  }
  resum(bad);
  cases.push_back({bad, "an offset out of range (a character's entries past the entries)"});
  for (const Case& c : cases) {
    EXPECT_EQ(loadbin(c.bytes, -2), "Dictionary D: " + c.what + " \n") << c.bytes.size();
    EXPECT_FALSE(dicthas());
    EXPECT_EQ(dictcount(), 0);
    EXPECT_EQ(gen(NameKind::bone, "左髪先"), sj("左髪先"));  // as without a dictionary
  }
}

TEST_F(DictBin, TheFolderDecidesWhichFileIsRead) {
  // The compiled form of one text beside a text of the same size that reads otherwise:
  // the compiled one is used.
  const std::string text = kSmall;
  std::string other = kSmall;
  other.replace(other.find("hair | tress"), 12, "mane | tress");
  writefile(dir_ + "namedict.bin", compile(text));
  writefile(dir_ + "namedict.txt", other);
  EXPECT_EQ(loadfolder(), "Dictionary: DIR/namedict.bin (7 entries) \n");
  EXPECT_EQ(gen(NameKind::bone, "髪"), "Hair");
  // No text at all: the compiled one alone.
  remove((dir_ + "namedict.txt").c_str());
  EXPECT_EQ(loadfolder(), "Dictionary: DIR/namedict.bin (7 entries) \n");
  // A text edited since (another size): the text, and why.
  other += "bmf\tW\t顔\tface\n";
  writefile(dir_ + "namedict.txt", other);
  EXPECT_EQ(loadfolder(), "Dictionary DIR/namedict.bin: compiled from a namedict.txt of " +
                              std::to_string(text.size()) + " bytes, not the one beside it of " +
                              std::to_string(other.size()) +
                              "; namedict.txt is read instead. \n"
                              "Dictionary: DIR/namedict.txt (8 entries) \n");
  EXPECT_EQ(gen(NameKind::bone, "髪顔"), "ManeFace");
  // A damaged compiled file: the text.
  std::string bin = compile(other);
  bin[bin.size() - 3] ^= 1;
  writefile(dir_ + "namedict.bin", bin);
  EXPECT_EQ(loadfolder(),
            "Dictionary DIR/namedict.bin: a wrong checksum (the file is damaged); namedict.txt is "
            "read instead. \nDictionary: DIR/namedict.txt (8 entries) \n");
  EXPECT_EQ(gen(NameKind::bone, "髪顔"), "ManeFace");
  // A compiled file that cannot be opened is not the same as none.
  remove((dir_ + "namedict.bin").c_str());
  ASSERT_EQ(mkdir((dir_ + "namedict.bin").c_str(), 0755), 0);
  EXPECT_EQ(loadfolder(),
            "Dictionary DIR/namedict.bin: the file cannot be opened (access denied); namedict.txt "
            "is read instead. \nDictionary: DIR/namedict.txt (8 entries) \n");
  rmdir((dir_ + "namedict.bin").c_str());
  writefile(dir_ + "namedict.bin", bin);
  // Neither sound: the run stops before any model.
  remove((dir_ + "namedict.txt").c_str());
  EXPECT_EQ(loadfolder(-1),
            "Dictionary DIR/namedict.bin: a wrong checksum (the file is damaged); there is no "
            "namedict.txt to read instead. \n");
  EXPECT_FALSE(dicthas());
}

TEST_F(DictBin, TheUsersWordsWinOverEitherForm) {
  writefile(dir_ + "namedict.bin", compile(kSmall));
  // No magic line needed; a later line of the same text wins.
  writefile(dir_ + "namedict-user.txt", "# mine\nbmf\tW\t髪\tmane\nbmf\tW\t髪\tlocks\nb\tW\t顔\tface\n");
  EXPECT_EQ(loadfolder(),
            "Dictionary: DIR/namedict.bin (7 entries) \nDictionary: DIR/namedict-user.txt (3 entries) \n");
  EXPECT_EQ(dictcount(), 10);
  EXPECT_EQ(gen(NameKind::bone, "左髪先顔"), "LocksTipFace_L");
  EXPECT_EQ(gen(NameKind::morph, "笑い"), "Smile");  // the compiled words beneath
  // Over the text form too.
  remove((dir_ + "namedict.bin").c_str());
  writefile(dir_ + "namedict.txt", kSmall);
  EXPECT_EQ(loadfolder(),
            "Dictionary: DIR/namedict.txt (7 entries) \nDictionary: DIR/namedict-user.txt (3 entries) \n");
  EXPECT_EQ(gen(NameKind::bone, "左髪先顔"), "LocksTipFace_L");
  // A broken line in them stops the run as a broken dictionary does.
  writefile(dir_ + "namedict-user.txt", "bmf\tW\t髪\tmane\nb\tQ\t顔\tface\n");
  EXPECT_EQ(loadfolder(-1),
            "Dictionary: DIR/namedict.txt (7 entries) \n"
            "Dictionary DIR/namedict-user.txt, line 2: a class that is not N, W, K or S \n");
  EXPECT_FALSE(dicthas());
  // Without a dictionary beneath them they are not read, and nothing else is.
  remove((dir_ + "namedict.txt").c_str());
  writefile(dir_ + "namedict-user.txt", "bmf\tW\t髪\tmane\n");
  EXPECT_EQ(loadfolder(),
            "Dictionary: DIR/namedict-user.txt is not read: there is no namedict.txt or namedict.bin \n");
  EXPECT_FALSE(dicthas());
  EXPECT_EQ(gen(NameKind::bone, "髪"), sj("髪"));
  remove((dir_ + "namedict-user.txt").c_str());
  EXPECT_EQ(loadfolder(), "");
}

// The same text read as text and compiled gives the same readings.
class DictForms : public DictBin, public ::testing::WithParamInterface<bool> {
 protected:
  void use(const std::string& text) {
    if (GetParam()) {
      EXPECT_EQ(loadbin(compile(text), 0), "");
    } else {
      TempFile f(text, "namedict.txt");
      ConsoleCapture cap;
      EXPECT_EQ(dictread(f.path(), nullptr, "T"), 0) << cap.take();
    }
  }
};

TEST_P(DictForms, TheReadingLanguageChoosesItsEntries) {
  use("namewright-dictionary 2\n"
      "b\tW\t手\thand\n"
      "bc\tW\t手\tshou\n"   // newer, but Chinese only
      "bj\tW\t足\tfoot\n"
      "b\tW\t足\tleg\n"     // newer and shared
      "bc\tW\t们\tthey\n");
  EXPECT_EQ(genutf8(DK_BONE, "手足"), "HandFoot");
  EXPECT_EQ(genutf8(DK_BONE, "们"), "_");  // no entry for a Japanese reading
  dictsetlang(DL_ZH);
  EXPECT_EQ(genutf8(DK_BONE, "手足"), "ShouLeg");
  EXPECT_EQ(genutf8(DK_BONE, "们手"), "TheyShou");
  dictsetlang(DL_JA);
}

TEST_P(DictForms, TextsAreUnicodeInOneForm) {
  std::string k32;
  for (int i = 0; i < 32; i++) k32 += i % 2 == 0 ? "機" : "動";
  use("namewright-dictionary 2\n"
      "b\tW\tｽｶｰﾄ\tskirt\n"   // written half-width, read full-width
      "b\tW\t髪\thair\n"
      "b\tW\t先\ttip\n"
      "b\tW\t😀\tsmile\n"      // no Shift-JIS code: as it is
      "b\tW\t" + k32 + "\tdrive\n");
  EXPECT_EQ(gen(NameKind::bone, "スカート"), "Skirt");
  EXPECT_EQ(gen(NameKind::bone, "ｽｶｰﾄ先"), "SkirtTip");
  EXPECT_EQ(genutf8(DK_BONE, "ｽｶｰﾄ😀"), "SkirtSmile");
  // A Japanese text of the limit, 32 characters, inside a longer name.
  EXPECT_EQ(gen(NameKind::bone, "髪" + k32 + "先"), "HairDriveTip");
}

// The names table tells a name that is one whole-name entry ("standard").
TEST_P(DictForms, AWholeNameEntryIsTold) {
  use("namewright-dictionary 2\n"
      "b\tN\tセンター\tcenter\n"
      "b\tW\t髪\thair\n");
  EXPECT_EQ(gen(NameKind::bone, "センター"), "center");
  EXPECT_TRUE(dictwhole());
  EXPECT_EQ(gensource(), NameSource::standard);
  EXPECT_EQ(gen(NameKind::bone, "髪"), "Hair");
  EXPECT_FALSE(dictwhole());
  EXPECT_EQ(gensource(), NameSource::dictionary);
  gen(NameKind::bone, "センター髪");  // a whole name is no part of a longer one
  EXPECT_FALSE(dictwhole());
}

INSTANTIATE_TEST_SUITE_P(TextAndCompiled, DictForms, ::testing::Bool());

TEST_F(DictBin, ARuleTextEndingInADoubleByteCharacterIsNotTakenForAnUnderscore) {
  // ダ is 0x83 0x5F in Shift-JIS: its second byte is no '_' of the name's own.
  EXPECT_EQ(loadbin(compile(kSmall), 0), "");
  loadrules("-Bone\n\"髪\" \"ダ\"\n");
  EXPECT_EQ(gen(NameKind::bone, "髪左"), sj("ダ") + "_L");
  EXPECT_EQ(gen(NameKind::bone, "髪ー"), sj("ダ") + "_");
}

TEST_F(DictBin, ALineOfTheLimitAndOneByteMore) {
  const std::string head = "namewright-dictionary 1\n";
  const std::string start = "b\tW\t髪\t";
  const std::string at = start + std::string(DICT_LINEMAX - start.size(), 'a');
  ASSERT_EQ(at.size(), static_cast<size_t>(DICT_LINEMAX));
  TempFile ok(head + at + "\r\n" + at + "\n", "namedict.txt");
  {
    ConsoleCapture cap;
    EXPECT_EQ(dictread(ok.path(), nullptr, "D"), 0);
    EXPECT_EQ(cap.take(), "");
  }
  TempFile over(head + at + "a\n", "namedict.txt");
  ConsoleCapture cap;
  EXPECT_EQ(dictread(over.path(), nullptr, "D"), -2);
  EXPECT_EQ(cap.take(), "Dictionary D, line 2: a line over 1024 bytes \n");
}

}  // namespace
