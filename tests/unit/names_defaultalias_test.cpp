// names_defaultalias_test.cpp - measures the shipped "alias.ini" and "modsetup.ini".
//
// Loads the default rules as the program does and runs real-world names through them:
// the standard skeleton, morphs and frames must get their conventional English names
// exactly, and typical model-specific names must come out as plain ASCII.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "names/namelist.h"
#include "names/rules.h"
#include "setup/settings.h"
#include "setup/setupfile.h"
#include "tests/support/capture.h"
#include "text/sjis.h"

namespace {

const char* const kAliasPath = NW_SOURCE_DIR "/data/alias.ini";
const char* const kSetupPath = NW_SOURCE_DIR "/data/modsetup.ini";

enum Kind { BONE, MORPH };  // frames go through the morph rules

struct Expect {
  Kind kind;
  const char* jp;
  const char* en;
};

// The standard skeleton, morphs and frames with their conventional English names.
// Both sides, full- and half-width digits and both spellings of IK are listed.
std::vector<Expect> standardnames() {
  std::vector<Expect> t = {
      {BONE, "全ての親", "master"},      {BONE, "センター", "center"},
      {BONE, "グルーブ", "groove"},      {BONE, "腰", "waist"},
      {BONE, "上半身", "upper body"},    {BONE, "上半身2", "upper body2"},
      {BONE, "上半身２", "upper body2"}, {BONE, "下半身", "lower body"},
      {BONE, "首", "neck"},              {BONE, "頭", "head"},
      {BONE, "両目", "eyes"},            {BONE, "操作中心", "view cnt"},
      {BONE, "頭先", "head tip"},
  };
  struct Side {
    const char* jp;
    const char* en;
  };
  // Per side: Japanese stem, English stem; "#" stands for the side's letter.
  const Side stems[] = {
      {"目", "eye_#"},
      {"肩", "shoulder_#"},
      {"肩P", "shoulderP_#"},
      {"肩Ｐ", "shoulderP_#"},
      {"肩C", "shoulderC_#"},
      {"腕", "arm_#"},
      {"腕捩", "arm twist_#"},
      {"ひじ", "elbow_#"},
      {"手捩", "wrist twist_#"},
      {"手首", "wrist_#"},
      {"ダミー", "dummy_#"},
      {"手先", "hand tip_#"},
      {"足", "leg_#"},
      {"ひざ", "knee_#"},
      {"足首", "ankle_#"},
      {"つま先", "toe_#"},
      {"足ＩＫ", "leg IK_#"},
      {"足IK", "leg IK_#"},
      {"つま先ＩＫ", "toe IK_#"},
      {"つま先IK", "toe IK_#"},
      {"足IK親", "leg IKP_#"},
      {"足ＩＫ親", "leg IKP_#"},
      {"足D", "legD_#"},
      {"ひざD", "kneeD_#"},
      {"足首D", "ankleD_#"},
      {"足先EX", "toeEX_#"},
      {"親指先", "thumb tip_#"},
      {"人指先", "fore tip_#"},
      {"中指先", "middle tip_#"},
      {"薬指先", "third tip_#"},
      {"小指先", "little tip_#"},
  };
  // Numbered stems, with the digits they take.
  struct Numbered {
    const char* jp;
    const char* en;
    int first, last;
  };
  const Numbered numbered[] = {
      {"腕捩", "arm twist", 1, 3}, {"手捩", "wrist twist", 1, 3}, {"親指", "thumb", 0, 2},
      {"人指", "fore", 1, 3},      {"中指", "middle", 1, 3},      {"薬指", "third", 1, 3},
      {"小指", "little", 1, 3},
  };
  static std::deque<std::string> store;  // keeps the built texts alive and in place
  auto keep = [](std::string s) {
    store.push_back(std::move(s));
    return store.back().c_str();
  };
  const char* const fulldigit[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  for (const char* side : {"L", "R"}) {
    const std::string jpside = side[0] == 'L' ? "左" : "右";
    for (const Side& s : stems) {
      std::string en = s.en;
      en.replace(en.find('#'), 1, side);
      t.push_back({BONE, keep(jpside + s.jp), keep(en)});
    }
    for (const Numbered& n : numbered) {
      for (int d = n.first; d <= n.last; d++) {
        const std::string en = std::string(n.en) + std::to_string(d) + "_" + side;
        t.push_back({BONE, keep(jpside + n.jp + std::to_string(d)), keep(en)});
        t.push_back({BONE, keep(jpside + n.jp + fulldigit[d]), keep(en)});
      }
    }
    t.push_back({BONE, keep("腰キャンセル" + jpside), keep(std::string("waist cancel_") + side)});
  }
  const Expect morphs[] = {
      {MORPH, "まばたき", "blink"},    {MORPH, "笑い", "smile"},
      {MORPH, "ウィンク", "wink"},     {MORPH, "ウィンク右", "wink_R"},
      {MORPH, "ウィンク２", "wink2"},  {MORPH, "ウィンク２右", "wink2_R"},
      {MORPH, "ウィンク2", "wink2"},   {MORPH, "ウィンク2右", "wink2_R"},
      {MORPH, "はぅ", "close><"},      {MORPH, "なごみ", "calm"},
      {MORPH, "びっくり", "surprise"}, {MORPH, "じと目", "doubt"},
      {MORPH, "あ", "a"},              {MORPH, "い", "i"},
      {MORPH, "う", "u"},              {MORPH, "え", "e"},
      {MORPH, "お", "o"},              {MORPH, "▲", "triangle"},
      {MORPH, "∧", "regret"},          {MORPH, "ω", "omega"},
      {MORPH, "ω□", "omega box"},      {MORPH, "にやり", "grin"},
      {MORPH, "ぺろっ", "tongue"},     {MORPH, "真面目", "serious"},
      {MORPH, "困る", "sadness"},      {MORPH, "にこり", "cheerful"},
      {MORPH, "怒り", "anger"},        {MORPH, "上", "up"},
      {MORPH, "下", "down"},           {MORPH, "瞳小", "pupil"},
      {MORPH, "はんっ！", "hmm"},      {MORPH, "えー", "ehh"},
      {MORPH, "ワ", "wa"},             {MORPH, "照れ", "blush"},
      // Display frames.
      {MORPH, "センター", "Center"},   {MORPH, "ＩＫ", "IK"},
      {MORPH, "IK", "IK"},             {MORPH, "体(上)", "Body[u]"},
      {MORPH, "体(下)", "Body[l]"},    {MORPH, "体（上）", "Body[u]"},
      {MORPH, "体（下）", "Body[l]"},  {MORPH, "髪", "Hair"},
      {MORPH, "腕", "Arms"},           {MORPH, "指", "Fingers"},
      {MORPH, "足", "Legs"},           {MORPH, "表情", "Exp"},
  };
  t.insert(t.end(), std::begin(morphs), std::end(morphs));
  return t;
}

// Typical model-specific names, collected from how MMD models name their parts
// before any rule was written: hair, clothes, accessories, physics helpers, expressions.
const char* const kOtherBones[] = {
    "前髪1", "前髪2", "前髪3", "前髪1_1", "前髪1_2", "前髪2_1", "前髪先", "前髪左", "前髪右",
    "前髪中", "後ろ髪1", "後ろ髪2", "後ろ髪_1_2", "後ろ髪_0_0", "後髪1", "後髪2_3", "後髪左1",
    "横髪左1", "横髪右1", "横髪左2", "左横髪1", "右横髪2", "サイド髪左1", "髪1", "髪_0_1",
    "髪先", "アホ毛", "アホ毛1", "アホ毛2", "ｱﾎ毛", "ツインテ左1", "ツインテ右1", "ツインテ左2",
    "左ツインテ1", "ﾂｲﾝﾃ左1", "ポニテ1", "ポニーテール1", "もみあげ左", "もみあげ右1",
    "髪飾り", "髪飾り左", "髪留め", "ヘアピン", "カチューシャ", "リボン", "リボン左", "左リボン1",
    "頭リボン", "胸リボン", "リボン_1", "ﾘﾎﾞﾝ1", "スカート前1", "スカート前2", "スカート後1",
    "スカート後ろ1", "スカート左1", "スカート右1", "スカート_0_1", "スカート_1_0", "スカート左前1",
    "スカート右後2", "スカート親", "ｽｶｰﾄ前", "ｽｶｰﾄ_0_0", "ｽｶｰﾄ右後1", "袖", "左袖", "右袖1",
    "袖左", "袖右1", "左袖先", "ネクタイ", "ネクタイ1", "ネクタイ先", "ﾈｸﾀｲ1", "胸", "左胸",
    "右胸", "胸左", "胸右", "乳", "左乳", "右乳1", "乳左", "胸揺れ", "乳揺れ左", "揺れ", "揺れ1",
    "目線", "目線操作", "左目戻", "舌1", "舌2", "舌3", "舌先", "口", "口角左", "あご", "顎",
    "眉", "左眉", "右眉1", "頬", "左頬", "涙", "ハイライト", "瞳", "左瞳", "帽子", "帽子1",
    "ピアス", "ピアス左", "イヤリング右", "ネックレス", "首飾り", "マント1", "マフラー", "ﾏﾌﾗｰ",
    "上着", "上着裾左1", "裾1", "襟", "左襟", "フード", "尻尾1", "しっぽ1", "尻尾2", "耳左",
    "左耳", "ウサ耳左1", "猫耳右", "羽左1", "右翼1", "翼1", "左腕IK", "右腕IK", "左手IK",
    "腰飾り", "腰飾り左1", "胸親", "胸上", "胸上2", "首1", "左ひじ補助", "右ひじ補助",
    "左腕補助", "左手首補助", "左足捩", "右太もも", "左もも", "左尻", "右尻", "お腹", "上半身3",
    "左目光", "右ハイライト", "左つま先EX", "髪_L_1", "手袋左", "左手袋", "ブーツ左", "靴紐",
    "紐1", "ベルト", "ベルト1", "腰紐", "帯", "帯1", "剣", "刀", "鞘", "マイク", "眼鏡",
    "メガネ", "花飾り", "左足先", "右肩2", "左腕捩4", "首2", "左人指0", "スカート_L_2",
    "後ろ髪右_2", "左ひざ補助", "腕捩左", "胸_揺れ", "前髪_1_0", "髪飾り右2", "左袖口",
    "肩紐左",
};
const char* const kOtherMorphs[] = {
    "ウィンク２右", "ｳｨﾝｸ", "笑い目", "キリッ", "照れ顔", "青ざめ", "瞳大", "ハイライト消",
    "ハイライト消し", "白目", "星目", "はぁと", "ハート目", "はちゅ目", "はちゅ目縦潰れ",
    "はちゅ目横潰れ", "涙", "涙目", "頬染め", "ほほ染め", "照れ2", "汗", "がーん", "口角上げ",
    "口角下げ", "口横広げ", "口横縮め", "口開け", "口閉じ", "ん", "□", "歯無し上", "歯無し下",
    "舌出し", "てへぺろ", "にっこり", "にやり２", "あ２", "い２", "う２", "お２", "眉上", "眉下",
    "眉寄せ", "眉怒り", "眉困る", "恐ろしい子！", "上目", "下目", "目線上", "目線下", "目線左",
    "目線右", "瞳縦潰れ", "カメラ目", "目尻下げ", "怒り目", "悲しい", "泣き", "驚き", "笑顔",
    "微笑み", "ジト目", "じと目２", "なごみ２", "ぐるぐる", "頬赤", "赤面", "縦線", "影",
    "髪隠し", "メガネ非表示", "帽子消し", "涙1", "汗1", "舌上", "舌伸ばし", "あ小", "口笑い",
    "ぽかん", "ぷくー", "ウインク", "ウインク右", "左目閉じ", "右目閉じ", "まばたき2", "眉上げ",
    "眉下げ", "目細め", "瞳上", "瞳右", "頬膨らみ", "ちっ", "へ", "ウィンク左", "ｳｨﾝｸ右",
    "ハイライト大", "瞳孔", "目光", "目閉じ", "口すぼめ", "ぺろっ２", "眉真面目", "眉にこり",
    "ハの字", "ｷﾘｯ", "しいたけ", "ハート", "キラキラ",
    // Display frames.
    "スカート", "物理", "その他", "髪飾り", "胸", "アクセサリー", "服", "尻尾", "耳", "武器",
    "目", "口", "眉", "リボン", "袖", "前髪", "後ろ髪", "手", "羽", "装飾",
};

std::string toSjis(const char* utf8) {
  char buf[1024] = {};
  utf82sjisc(buf, utf8);
  return buf;
}

std::string toUtf8(const std::string& sjis) {
  char buf[2048] = {};
  sjis2utf8c(buf, sjis.c_str());
  return buf;
}

// The generated name of a record, in UTF-8.
std::string generate(Kind kind, const char* jp) {
  char out[REP_BUFSIZE] = {};
  const std::string sj = toSjis(jp);
  if (kind == BONE)
    brep(out, sj.c_str());
  else
    mrep(out, sj.c_str());
  return toUtf8(out);
}

bool isascii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

class DefaultAlias : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    nlinit();
    ConsoleCapture cap;
    result = aliasread(kAliasPath);
    log = cap.take();
  }
  static int result;
  static std::string log;
};
int DefaultAlias::result = -1;
std::string DefaultAlias::log;

TEST_F(DefaultAlias, LoadsCleanly) {
  ASSERT_EQ(result, 0) << kAliasPath;
  EXPECT_NE(log.find("Reading (UTF-8): "), std::string::npos) << log.substr(0, 200);
  for (const char* bad : {"Err: ", "Syntax: ", "(cannot set)", " => 0 \n", "bEN-rep", "mEN-rep"})
    EXPECT_EQ(log.find(bad), std::string::npos) << "the reader printed " << bad;
  EXPECT_GT(nlcount(ruleList[RK_BONE]), 0);
  EXPECT_GT(nlcount(ruleList[RK_MORPH]), 0);
  EXPECT_LT(nlcount(ruleList[RK_BONE]), RULE_SLOTS);
  EXPECT_LT(nlcount(ruleList[RK_MORPH]), RULE_SLOTS);
  EXPECT_EQ(nlcount(ruleList[RK_BONEEN]), 0);
  EXPECT_EQ(nlcount(ruleList[RK_MORPHEN]), 0);
}

// The reader keeps 253 bytes of a line, 15 of a replacement and 63 of a source, and a
// '?' or a full-width question mark in a source matches any character: a rule that
// breaks one of these would silently do something else than it says.
TEST_F(DefaultAlias, EveryRuleFitsTheReader) {
  std::ifstream in(kAliasPath, std::ios::binary);
  ASSERT_TRUE(in) << kAliasPath;
  std::string line;
  int lineno = 0, rules = 0;
  bool firstOfSection = true;
  while (std::getline(in, line)) {
    lineno++;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    EXPECT_LE(line.size(), 250u) << "line " << lineno << " is cut by the reader";
    const size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, 2, "//") == 0) continue;
    if (line[at] == '-') {
      firstOfSection = true;
      continue;
    }
    ASSERT_EQ(line[at], '"') << "line " << lineno << ": rules are written quoted: " << line;
    const size_t srcend = line.find('"', at + 1);
    ASSERT_NE(srcend, std::string::npos) << "line " << lineno;
    const std::string src = line.substr(at + 1, srcend - at - 1);
    const size_t repat = line.find('"', srcend + 1);
    ASSERT_NE(repat, std::string::npos) << "line " << lineno << ": no replacement";
    const size_t repend = line.find('"', repat + 1);
    ASSERT_NE(repend, std::string::npos) << "line " << lineno;
    const std::string rep = line.substr(repat + 1, repend - repat - 1);
    const std::string letters = line.substr(srcend + 1, repat - srcend - 1);
    EXPECT_TRUE(letters.find_first_not_of("FL \t") == std::string::npos)
        << "line " << lineno << ": stray text between the texts: " << line;
    const std::string sj = toSjis(src.c_str());
    EXPECT_FALSE(sj.empty()) << "line " << lineno;
    EXPECT_LE(sj.size(), 63u) << "line " << lineno;
    EXPECT_EQ(toUtf8(sj), src) << "line " << lineno << ": source has no Shift-JIS form";
    EXPECT_EQ(src.find('?'), std::string::npos) << "line " << lineno << ": wildcard in " << src;
    // The one deliberate wildcard: the oldest rule of a section turns a character that
    // no other rule knows into '_'.
    const bool catchall = firstOfSection && src == "？" && rep == "_";
    firstOfSection = false;
    if (!catchall) {
      EXPECT_EQ(src.find("？"), std::string::npos) << "line " << lineno << ": wildcard in " << src;
    }
    const size_t star = src.find('*');
    EXPECT_TRUE(star == std::string::npos || star == src.size() - 1) << "line " << lineno;
    EXPECT_TRUE(isascii(rep)) << "line " << lineno << ": " << rep;
    EXPECT_LE(rep.size(), static_cast<size_t>(RULE_TEXTMAX)) << "line " << lineno << ": " << rep;
    rules++;
  }
  EXPECT_EQ(rules, nlcount(ruleList[RK_BONE]) + nlcount(ruleList[RK_MORPH]));
}

// A rule that a newer rule always beats at its own place is dead: it means the file's
// order is wrong (a word placed before a shorter word it begins with, a whole-name rule
// before a part rule that matches the name's start). A newer part rule beats an older
// one whose source begins with its own (a starred one only when the older source is
// longer); a newer rule of the same other form beats an older one with the same source.
// The newest rule of each source and form is indexed, so every prefix of a source is
// looked up instead of compared with every newer rule.
TEST_F(DefaultAlias, NoRuleIsShadowed) {
  ASSERT_EQ(result, 0);
  for (int kind : {RK_BONE, RK_MORPH}) {
    const int list = ruleList[kind];
    const int n = nlcount(list);
    std::vector<std::string> src(n + 1);
    std::map<std::string, int> newestpart, neweststar, newestwhole, newesttail;
    for (int i = 1; i <= n; i++) {
      char buf[NL_SLOT] = {};
      ASSERT_EQ(nlget(list, buf, i), 0);
      src[i] = buf;
      const std::string& s = src[i];
      switch (ruleForm[kind][i]) {
        case RF_PART:
          if (!s.empty() && s.back() == '*')
            neweststar[s.substr(0, s.size() - 1)] = i;
          else
            newestpart[s] = i;
          break;
        case RF_WHOLE: newestwhole[s] = i; break;
        default: newesttail[s] = i; break;
      }
    }
    auto newer = [](const std::map<std::string, int>& m, const std::string& s, int i) {
      const auto it = m.find(s);
      return it != m.end() && it->second > i ? it->second : 0;
    };
    for (int i = 1; i <= n; i++) {
      const std::string& a = src[i];
      int by = 0;
      for (size_t len = 0; len <= a.size() && by == 0; len++) {
        const std::string head = a.substr(0, len);
        by = newer(newestpart, head, i);
        if (by == 0 && len < a.size()) by = newer(neweststar, head, i);
      }
      if (by == 0 && ruleForm[kind][i] == RF_WHOLE) by = newer(newestwhole, a, i);
      if (by == 0 && ruleForm[kind][i] == RF_TAIL) by = newer(newesttail, a, i);
      EXPECT_EQ(by, 0) << (kind == RK_BONE ? "-Bone" : "-Morph") << " rule " << i << " \""
                       << toUtf8(a) << "\" is beaten by rule " << by << " \""
                       << toUtf8(by ? src[by] : std::string()) << "\"";
    }
  }
}

TEST_F(DefaultAlias, StandardNamesGetTheirConventionalNames) {
  ASSERT_EQ(result, 0);
  const std::vector<Expect> table = standardnames();
  int exact = 0;
  for (const Expect& e : table) {
    const std::string got = generate(e.kind, e.jp);
    EXPECT_EQ(got, e.en) << (e.kind == BONE ? "bone " : "morph/frame ") << e.jp;
    if (got == e.en) exact++;
  }
  std::printf("standard exact %d/%zu\n", exact, table.size());
}

TEST_F(DefaultAlias, OtherNamesComeOutAscii) {
  ASSERT_EQ(result, 0);
  int total = 0, ascii = 0;
  std::string misses;
  auto run = [&](Kind kind, const char* jp) {
    const std::string got = generate(kind, jp);
    total++;
    if (isascii(got) && !got.empty())
      ascii++;
    else
      misses += std::string("  ") + jp + " -> " + got + "\n";
  };
  for (const char* jp : kOtherBones) run(BONE, jp);
  for (const char* jp : kOtherMorphs) run(MORPH, jp);
  const double pct = 100.0 * ascii / total;
  std::printf("non-standard ASCII %d/%d = %.1f%%\n%s", ascii, total, pct, misses.c_str());
  EXPECT_GE(total, 200);
  EXPECT_GE(pct, 90.0);
}

// What typical names turn into, so that a change of the rules that garbles them shows.
TEST_F(DefaultAlias, SampleRenderings) {
  ASSERT_EQ(result, 0);
  const Expect samples[] = {
      {BONE, "前髪1", "Bangs1"},
      {BONE, "後ろ髪_1_2", "BackHair_1_2"},
      {BONE, "ツインテ左1", "Twintail1_L"},
      {BONE, "スカート_0_1", "Skirt_0_1"},
      {BONE, "ｽｶｰﾄ前", "SkirtFront"},
      {BONE, "左袖", "L_Sleeve"},
      {BONE, "袖右1", "Sleeve1_R"},
      {BONE, "左腕捩4", "L_ArmTwist4"},
      {BONE, "髪_?1", "Hair__1"},
      {MORPH, "照れ", "blush"},
      {MORPH, "ハイライト消", "HighlightOff"},
      {MORPH, "ぷくー", "puku"},
  };
  for (const Expect& e : samples)
    EXPECT_EQ(generate(e.kind, e.jp), e.en) << e.jp;
}

// The shipped setup file only shows the options, but for the one that fills every kind
// of name: as shipped it changes no other setting.
TEST(DefaultSetup, TurnsOnEveryKindAndNothingElse) {
  settingsdefaults();
  const InfoSettings info = Info;
  const ForceSettings force = Force;
  const CancelSettings cancel = Cancel;
  const ConvSettings conv = Conv;
  std::string out;
  int r;
  {
    ConsoleCapture cap;
    r = readsetup(kSetupPath);
    out = cap.take();
  }
  EXPECT_EQ(r, 0);
  EXPECT_EQ(out, " -- (UTF-8 setup reading ...) \nFill.everyKind = ON \n");
  EXPECT_EQ(Fill.everyKind, FLAG_ON);
  EXPECT_EQ(Info.displayLevel, info.displayLevel);
  EXPECT_EQ(Force.display, force.display);
  EXPECT_EQ(Cancel.displaying.dialogue, cancel.displaying.dialogue);
  EXPECT_EQ(Conv.mode, conv.mode);
}

// Each commented option, once uncommented, is understood as its comment says.
TEST(DefaultSetup, CommentedOptionsWorkWhenEnabled) {
  std::ifstream in(kSetupPath, std::ios::binary);
  ASSERT_TRUE(in);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const char* opt : {"# -D 1", "# -F 1", "# -ND2"})
    ASSERT_NE(text.find(std::string("\n") + opt + "\n"), std::string::npos) << opt;
  std::string enabled;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    EXPECT_LT(line.size(), 200u) << line;  // a comment is skipped only so far
    if (line == "# -D 1" || line == "# -F 1" || line == "# -ND2") line = line.substr(2);
    enabled += line + "\n";
    pos = end + 1;
  }
  const std::string path = ::testing::TempDir() + "modsetup_enabled.ini";
  {
    std::ofstream outf(path, std::ios::binary);
    outf << enabled;
  }
  settingsdefaults();
  std::string out;
  {
    ConsoleCapture cap;
    EXPECT_EQ(readsetup(path.c_str()), 0);
    out = cap.take();
  }
  std::remove(path.c_str());
  EXPECT_EQ(out,
            " -- (UTF-8 setup reading ...) \n"
            "Fill.everyKind = ON \n"
            "Info.displayLevel = 1. \n"
            "Force.display = 1. \n"
            "Displaying.dialogue = partially OFF (Level 2). \n");
  EXPECT_EQ(Info.displayLevel, 1);
  EXPECT_EQ(Force.display, 1);
  EXPECT_EQ(Cancel.displaying.dialogue, 2);
  settingsdefaults();
}

}  // namespace
