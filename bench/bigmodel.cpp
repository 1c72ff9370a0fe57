// bigmodel.cpp - the large model measured by the benchmark and the memory check.
#include "bench/bigmodel.h"

#include <array>
#include <string>

namespace bench {

namespace {

using pmxb::Builder;

constexpr uint16_t STD = 0x001E;  // rotate, move, visible, enabled

// Names as modellers write them; the default rules know most of them whole or by parts.
constexpr std::array boneNames = {
    "全ての親", "センター", "グルーブ", "腰", "上半身", "上半身2", "下半身", "首", "頭",
    "両目", "左目", "右目", "左肩", "左腕", "左腕捩", "左ひじ", "左手捩", "左手首",
    "左親指１", "左人指２", "左中指３", "左薬指１", "左小指２", "右肩", "右腕", "右腕捩",
    "右ひじ", "右手捩", "右手首", "右親指１", "右人指２", "右中指３", "左足", "左ひざ",
    "左足首", "左足ＩＫ", "左つま先ＩＫ", "右足", "右ひざ", "右足首", "右足ＩＫ",
    "前髪", "横髪左", "後ろ髪", "アホ毛", "ツインテール右", "スカート前", "スカート後",
    "胸上", "左胸", "リボン", "袖右", "ネクタイ", "帽子", "尻尾"};
constexpr std::array morphNames = {
    "まばたき", "笑い", "ウィンク", "ウィンク右", "ウィンク２", "はぅ", "なごみ",
    "びっくり", "じと目", "キリッ", "星目", "はぁと", "瞳小", "あ", "い", "う", "え",
    "お", "ワ", "ω", "はんっ", "えー", "にやり", "真面目", "困る", "にこり", "怒り",
    "上", "下", "照れ", "涙", "青ざめ", "口角上げ", "眉上", "ハイライト消"};
constexpr std::array frameNames = {"表情", "目", "口", "眉", "その他", "髪", "腕",
                                   "指", "足", "スカート", "体(上)", "物理"};
// Full-width digits, the way many models number their parts.
constexpr std::array digits = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

std::string numbered(const char* base, size_t round) {
  std::string s = base;
  if (round == 0) return s;
  std::string n;
  for (size_t r = round; r > 0; r /= 10) n.insert(0, digits[r % 10]);
  return s + n;
}

template <size_t N>
std::string pick(const std::array<const char*, N>& list, int i) {
  return numbered(list[static_cast<size_t>(i) % N], static_cast<size_t>(i) / N);
}

}  // namespace

pmxb::Bytes bigmodel(int vertices, bool utf8) {
  Builder b;
  b.utf8 = utf8;
  b.vertexIndexSize = 4;
  b.boneIndexSize = 2;
  b.morphIndexSize = 2;
  b.materialIndexSize = 1;
  b.textureIndexSize = 1;
  b.rigidIndexSize = 2;
  b.modelName = "ベンチマーク用モデル";
  b.modelNameEn = "Benchmark model";
  b.comment = "大きなモデルの読み込みと書き出しの速さを測ります。";

  // Mostly two-bone weights, some one-bone, four-bone and SDEF.
  constexpr int weightCycle[8] = {0, 1, 1, 1, 2, 1, 3, 1};
  for (int i = 0; i < vertices; i++) b.addVertex(weightCycle[i % 8]);
  for (int i = 0; i + 2 < vertices; i++) {
    b.addFace(i, i + 1, i + 2);
    b.addFace(i + 2, i + 1, i);
  }
  for (int i = 0; i < 16; i++) b.addTexture("tex\\part" + std::to_string(i) + ".png");
  for (int i = 0; i < 40; i++) b.addMaterial("材質" + std::to_string(i), "", i % 2, 3);

  for (int i = 0; i < 5000; i++) {
    std::string name = pick(boneNames, i);
    std::string en = i % 3 == 0 ? "bone" + std::to_string(i) : "";
    uint16_t flags = STD | (i % 4 == 0 ? pmxb::BF_TAILBONE : 0);
    if (name.find("捩") != std::string::npos) flags |= pmxb::BF_FIXEDAXIS;
    if (name.find("ＩＫ") != std::string::npos) {
      b.addBone(name, en, flags | pmxb::BF_IK, {{i - 1, true}, {i - 2, false}});
    } else {
      b.addBone(name, en, flags);
    }
  }
  for (int i = 0; i < 9000; i++) {
    // A few English names with arrow symbols, which the writer spells out.
    std::string en = i % 3 != 0 ? "" : i % 300 == 0 ? "eye⇔" : "morph" + std::to_string(i);
    if (i % 10 == 9) {
      b.addMorph(pick(morphNames, i), en, 0, 4);  // group
    } else {
      b.addMorph(pick(morphNames, i), en, 1, 80);  // vertex
    }
  }
  for (int i = 0; i < 1100; i++) {
    b.addFrame(pick(frameNames, i), i % 3 == 0 ? "frame" + std::to_string(i) : "",
               {{0, i % 5000}, {1, i % 9000}}, i < 2);
  }
  for (int i = 0; i < 300; i++) b.addRigidBody(pick(boneNames, i), "");
  for (int i = 0; i < 250; i++) b.addJoint(pick(boneNames, i), "", 0);
  return b.build();
}

}  // namespace bench
