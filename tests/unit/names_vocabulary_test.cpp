// names_vocabulary_test.cpp - the dictionary vocabulary of the shipped "alias.ini".
//
// Loads data/alias.ini as the program does and checks what its generated layers give:
// no Japanese character survives, a few names of each layer, and the measurement on the
// held-out half of tests/data/names (names written before the rules were tuned, never
// looked at while tuning) against its targets.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "names/namelist.h"
#include "names/rules.h"
#include "tests/support/capture.h"
#include "text/sjis.h"

namespace {

const char* const kAliasPath = NW_SOURCE_DIR "/data/alias.ini";
const char* const kHeldOut = NW_SOURCE_DIR "/tests/data/names/heldout.txt";
const char* const kExtraWords = NW_SOURCE_DIR "/tests/data/names/words.txt";
const char* const kWordList = "/usr/share/dict/american-english";  // Debian: wamerican

std::string sjisof(const std::string& utf8) {
  char buf[1024] = {};
  utf82sjisc(buf, utf8.c_str());
  return buf;
}

std::string utf8of(const std::string& sjis) {
  char buf[2048] = {};
  sjis2utf8c(buf, sjis.c_str());
  return buf;
}

// The generated name of a bone (brep) or of a morph or frame (mrep), in Shift-JIS.
std::string rendered(bool bone, const std::string& sjis) {
  char out[REP_BUFSIZE] = {};
  (bone ? brep : mrep)(out, sjis.c_str());
  return out;
}

bool asciionly(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

// Letter runs split at capitals as CamelCase is read: "IKParent_L" is IK, Parent, L.
std::vector<std::string> letterruns(const std::string& s) {
  std::vector<std::string> runs;
  size_t i = 0;
  const size_t n = s.size();
  auto up = [&](size_t k) { return k < n && std::isupper(static_cast<unsigned char>(s[k])); };
  auto low = [&](size_t k) { return k < n && std::islower(static_cast<unsigned char>(s[k])); };
  while (i < n) {
    if (up(i)) {
      size_t j = i;
      while (up(j)) j++;
      if (low(j)) {
        if (j - i > 1) runs.push_back(s.substr(i, j - 1 - i));
        i = j - 1;
        j = i + 1;
        while (low(j)) j++;
      }
      runs.push_back(s.substr(i, j - i));
      i = j;
    } else if (low(i)) {
      size_t j = i;
      while (low(j)) j++;
      runs.push_back(s.substr(i, j - i));
      i = j;
    } else {
      i++;
    }
  }
  return runs;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

class Vocabulary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    nlinit();
    ConsoleCapture cap;
    loaded = aliasread(kAliasPath);
  }
  static int loaded;
};
int Vocabulary::loaded = -1;

TEST_F(Vocabulary, SectionsStayWithinTheReaderLimits) {
  ASSERT_EQ(loaded, 0);
  for (int kind : {RK_BONE, RK_MORPH}) {
    const int n = nlcount(ruleList[kind]);
    EXPECT_LE(n, RULE_SLOTS - 1);
    EXPECT_GT(n, 6000) << "the generated layers are missing";
  }
}

// Every character the program can meet in a name, alone and between ASCII letters.
TEST_F(Vocabulary, NoJapaneseCharacterReachesAnEnglishName) {
  ASSERT_EQ(loaded, 0);
  std::vector<std::string> chars;
  for (int b = 0xA1; b <= 0xDF; b++) chars.push_back(std::string(1, static_cast<char>(b)));
  for (int lead = 0x81; lead <= 0xFC; lead++) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; trail++) {
      if (trail == 0x7F) continue;
      chars.push_back(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  int bad = 0;
  for (const std::string& c : chars) {
    for (bool bone : {true, false}) {
      for (const std::string& name : {c, "a" + c + "b", c + c}) {
        const std::string got = rendered(bone, name);
        if (!asciionly(got)) {
          if (++bad <= 10) ADD_FAILURE() << utf8of(name) << " -> " << utf8of(got);
        }
      }
    }
  }
  EXPECT_EQ(bad, 0);
}

struct Sample {
  bool bone;
  const char* jp;
  const char* en;
};

// One or more names from each layer.
TEST_F(Vocabulary, EachLayerGivesEnglish) {
  ASSERT_EQ(loaded, 0);
  const Sample samples[] = {
      // Loanwords by the word they come from.
      {true, "ヘッドセット", "Headset"},
      {true, "ゴーグル", "Goggles"},
      {true, "ケーブル1", "Cable1"},
      // A rarer loanword for a thing worn; a katakana word that is Japanese.
      {true, "ヘッドセット", "Headset"},
      {true, "カバン", "Bag"},
      // Verbs and adjectives with their kana endings, as whole words, also in the past
      // form and the -me form the names of expressions use.
      {false, "驚く", "Surprised"},
      {false, "驚いた", "Surprised"},
      {false, "伸び", "Stretch"},
      {false, "太く", "Fat"},
      {false, "太め", "Fat"},
      // A longer dictionary word wins over the hand-written word it begins with.
      {false, "閉じる", "Close"},
      // Words usually written in kana; a hand-written word of kanji in kana.
      {false, "まぶた", "Eyelid"},
      {false, "わらい", "Smile"},
      // Lone kanji by their meaning, also outside the hand-written ones; a kanji that is
      // a common word by itself by that word; a rare kanji of the body.
      {true, "鈴", "Bell"},
      {true, "鞘", "Sheath"},
      {true, "身", "Body"},
      {true, "瞼左", "Eyelid_L"},
      // Half-width katakana, of a hand-written word and of a dictionary word; a
      // hand-written word of hiragana in katakana.
      {true, "ﾎﾞｰﾝ1", "Bone1"},
      {true, "ｹｰﾌﾞﾙ", "Cable"},
      {false, "ビックリ", "Surprise"},
      // A small tsu doubles the consonant of a kana pair.
      {true, "ッシャ", "ssha"},
      // The editor's words.
      {true, "新規ボーン1", "NewBone1"},
      {true, "調整ボーン", "AdjustBone"},
      // A kanji outside every layer meets the catch-all.
      {true, "a黌b", "a_b"},
      // Frames named like standard bones get the bone's name; standard frames win.
      {false, "全ての親", "master"},
      {false, "左腕", "arm_L"},
      {false, "両目", "eyes"},
      {false, "センター", "Center"},
      // Hand-written words still win over the dictionary.
      {true, "前髪1", "Bangs1"},
      {false, "てへぺろ", "tehepero"},
  };
  for (const Sample& s : samples) {
    EXPECT_EQ(rendered(s.bone, sjisof(s.jp)), s.en) << s.jp;
  }
}

// The held-out half: every generated name ASCII, and most of them English words
// throughout. The targets are those of the vocabulary's design; this fails below them.
TEST_F(Vocabulary, HeldOutNamesMeetTheTargets) {
  ASSERT_EQ(loaded, 0);
  std::unordered_set<std::string> words;
  std::ifstream dict(kWordList);
  ASSERT_TRUE(dict) << kWordList << " is missing: install Debian's wamerican";
  for (std::string w; std::getline(dict, w);) words.insert(lower(w));
  std::ifstream extra(kExtraWords);
  ASSERT_TRUE(extra) << kExtraWords;
  for (std::string w; std::getline(extra, w);) {
    if (!w.empty() && w[0] != '#') words.insert(lower(w));
  }

  std::ifstream in(kHeldOut);
  ASSERT_TRUE(in) << kHeldOut;
  struct Tally {
    const char* kind;
    double target;
    int total, ascii, english;
  };
  Tally tally[] = {{"bone", 90.0, 0, 0, 0}, {"morph", 80.0, 0, 0, 0}, {"frame", 85.0, 0, 0, 0}};
  std::string misses;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    const std::string kind = line.substr(0, tab), jp = line.substr(tab + 1);
    Tally* t = nullptr;
    for (Tally& k : tally)
      if (kind == k.kind) t = &k;
    ASSERT_NE(t, nullptr) << line;
    const std::string got = rendered(kind == "bone", sjisof(jp));
    bool english = asciionly(got) && !got.empty();
    t->total++;
    t->ascii += english;
    for (const std::string& run : letterruns(got))
      if (words.count(lower(run)) == 0) english = false;
    t->english += english;
    if (!english) misses += "  " + kind + " " + jp + " -> " + utf8of(got) + "\n";
  }
  for (const Tally& t : tally) {
    ASSERT_GT(t.total, 0) << t.kind;
    const double ascii = 100.0 * t.ascii / t.total, english = 100.0 * t.english / t.total;
    std::printf("held-out %-5s %3d names: ASCII %.1f%%, English %.1f%% (target %.0f%%)\n", t.kind,
                t.total, ascii, english, t.target);
    EXPECT_EQ(t.ascii, t.total) << t.kind;
    EXPECT_GE(english, t.target) << t.kind;
  }
  std::printf("not all English:\n%s", misses.c_str());
}

TEST(LetterRuns, SplitAsCamelCaseIsRead) {
  EXPECT_EQ(letterruns("IKParent_L"), (std::vector<std::string>{"IK", "Parent", "L"}));
  EXPECT_EQ(letterruns("BackHair_1_2"), (std::vector<std::string>{"Back", "Hair"}));
  EXPECT_EQ(letterruns("arm twist1_R"), (std::vector<std::string>{"arm", "twist", "R"}));
  EXPECT_EQ(letterruns("omegaOFF"), (std::vector<std::string>{"omega", "OFF"}));
  EXPECT_TRUE(letterruns("_1-2").empty());
}

}  // namespace
