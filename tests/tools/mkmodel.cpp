// mkmodel.cpp - nwmkmodel: writes generated PMX models for tests and the example run.
//
//   nwmkmodel <kind> <output.pmx> [<names table>]
// The pmd kinds print where the English section starts (or would start). With a names
// table (read by the tests' own CSV reader), the model is written as a copy with the
// table's English names should be: each listed element's English name replaced, every
// other byte as generated; a PMD field keeps its bytes where the name reads the same.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/csvread.h"
#include "tests/support/pmdbuild.h"
#include "tests/support/pmxbuild.h"

namespace {

using pmxb::Builder;
using pmxb::Bytes;

constexpr uint16_t STD = 0x001E;  // rotate, move, visible, enabled

// The rows of a names table: kind, index and English name of each.
struct TableRow {
  std::string kind;
  size_t index;
  std::string english;
};

bool readtable(const char* path, std::vector<TableRow>* rows) {
  const pmxb::Bytes bytes = pmxb::readfile(path);
  csvt::Table t = csvt::parse(std::string(bytes.begin(), bytes.end()));
  if (!t.error.empty() || t.rows.empty()) return false;
  int col[3] = {-1, -1, -1};
  const char* names[3] = {"kind", "index", "english"};
  for (size_t i = 0; i < t.rows[0].size(); i++) {
    for (int c = 0; c < 3; c++) {
      if (t.rows[0][i] == names[c]) col[c] = static_cast<int>(i);
    }
  }
  if (col[0] < 0 || col[1] < 0 || col[2] < 0) return false;
  for (size_t r = 1; r < t.rows.size(); r++) {
    const auto& row = t.rows[r];
    if (row.size() <= static_cast<size_t>(col[2])) continue;
    rows->push_back({row[col[0]], std::stoul(row[col[1]]), row[col[2]]});
  }
  return true;
}

// The PMX file with the table's English names.
bool pmxwithtable(const Builder& b, Bytes* file, const char* table) {
  std::vector<TableRow> rows;
  if (!readtable(table, &rows)) return false;
  std::vector<pmxb::NameEdit> edits;
  for (const TableRow& r : rows) {
    const std::vector<pmxb::NameRec>* recs = r.kind == "bone"         ? &b.bones
                                           : r.kind == "morph"        ? &b.morphs
                                           : r.kind == "frame"        ? &b.frames
                                           : r.kind == "material"     ? &b.materials
                                           : r.kind == "rigid body"   ? &b.bodies
                                           : r.kind == "joint"        ? &b.joints
                                           : r.kind == "soft body"    ? &b.softBodies
                                                                      : nullptr;
    const pmxb::NameRec* rec = r.kind == "model" ? &b.model : nullptr;
    if (recs != nullptr && r.index < recs->size()) rec = &(*recs)[r.index];
    if (rec == nullptr) return false;
    edits.push_back({*rec, rec->jp, b.encode(r.english)});
  }
  std::sort(edits.begin(), edits.end(),
            [](const pmxb::NameEdit& x, const pmxb::NameEdit& y) { return x.at.offset < y.at.offset; });
  *file = pmxb::withNames(*file, edits);
  return true;
}

// The PMD file with the table's English names (the model must have its English section).
bool pmdwithtable(const pmdb::Builder& b, pmdb::Bytes* file, const char* table) {
  std::vector<TableRow> rows;
  if (!readtable(table, &rows)) return false;
  for (const TableRow& r : rows) {
    size_t at = 0, width = 20;
    if (r.kind == "model") {
      at = b.enModelAt;
    } else if (r.kind == "bone" && r.index < b.enBoneAt.size()) {
      at = b.enBoneAt[r.index];
    } else if (r.kind == "morph" && r.index > 0 && r.index < b.enMorphAt.size()) {
      at = b.enMorphAt[r.index];
    } else if (r.kind == "frame" && r.index < b.enFrameAt.size()) {
      at = b.enFrameAt[r.index];
      width = 50;
    } else {
      return false;
    }
    std::string now(file->begin() + static_cast<long>(at), file->begin() + static_cast<long>(at + width));
    now.resize(now.find('\0') == std::string::npos ? width : now.find('\0'));
    const std::string name = pmdb::sj(r.english);
    if (name == now) continue;
    if (name.size() >= width) return false;
    for (size_t i = 0; i < width; i++) (*file)[at + i] = i < name.size() ? static_cast<uint8_t>(name[i]) : 0;
  }
  return true;
}

// A small but realistic model: the standard skeleton, some bones of its own, the usual
// face morphs and display frames; some English names vacant, some filled.
void example(Builder& b, bool filled) {
  auto en = [&](const char* name) { return filled ? std::string(name) : std::string(); };
  b.modelName = "サンプルモデル";
  b.modelNameEn = "Sample model";
  b.comment = "テスト用のモデルです。";
  b.commentEn = "A model for tests.";

  for (int w = 0; w < 5; w++) b.addVertex(w);
  b.addVertex(0);
  b.addFace(0, 1, 2);
  b.addFace(3, 4, 5);
  b.addTexture("tex\\body.png");
  b.addTexture("toon01.bmp");
  b.addMaterial("体", "body", 0, 3);
  b.addMaterial("髪", "", 1, 3);

  b.addBone("全ての親", "master", STD);
  b.addBone("センター", en("center"), STD | pmxb::BF_TAILBONE);
  b.addBone("上半身", "upper body", STD);
  b.addBone("下半身", en("lower body"), STD);
  b.addBone("首", en("neck"), STD);
  b.addBone("頭", "head", STD | pmxb::BF_LOCALAXES);
  b.addBone("左肩", en("shoulder_L"), STD);
  b.addBone("左腕", en("arm_L"), STD);
  b.addBone("左腕捩", "arm twist_L", STD | pmxb::BF_FIXEDAXIS);
  b.addBone("左ひじ", en("elbow_L"), STD);
  b.addBone("左手捩", en("wrist twist_L"), STD | pmxb::BF_FIXEDAXIS);
  b.addBone("左手首", "wrist_L", STD);
  b.addBone("右肩", en("shoulder_R"), STD);
  b.addBone("右腕", en("arm_R"), STD);
  b.addBone("右腕捩", en("arm twist_R"), STD | pmxb::BF_FIXEDAXIS);
  b.addBone("右ひじ", en("elbow_R"), STD);
  b.addBone("右手首", "wrist_R", STD | pmxb::BF_GRANTROT);
  b.addBone("左足", en("leg_L"), STD);
  b.addBone("左ひざ", en("knee_L"), STD);
  b.addBone("左足首", en("ankle_L"), STD);
  b.addBone("左足ＩＫ", "leg IK_L", STD | pmxb::BF_IK,
            {{18, true}, {17, false}});
  b.addBone("髪", en("hair"), STD | pmxb::BF_EXTPARENT);
  b.addBone("スカート", en("skirt"), STD | pmxb::BF_GRANTMOVE);

  b.addMorph("まばたき", en("blink"), 1, 2);
  b.addMorph("あ", "a", 1, 1);
  b.addMorph("い", en("i"), 1, 1);
  b.addMorph("う", en("u"), 3, 1);
  b.addMorph("笑い", en("smile"), 0, 2);
  b.addMorph("照れ", "blush", 8, 1);
  b.addMorph("ウィンク", en("wink"), 2, 1);

  b.addFrame("Root", "Root", {{0, 0}}, true);
  b.addFrame("表情", "Exp", {{1, 0}, {1, 1}, {1, 4}}, true);
  b.addFrame("体(上)", en("upper body"), {{0, 2}, {0, 4}, {0, 5}});
  b.addFrame("腕", en("arms"), {{0, 7}, {0, 13}});
  b.addFrame("髪", en("hair"), {{0, 21}});

  b.addRigidBody("頭", "head");
  b.addRigidBody("髪", "");
  b.addJoint("髪", "", 0);
}

// Names of every kind, PMX 2.1 with soft bodies. With vacant, every English name is
// empty but the comment's; otherwise only the materials' are.
void kinds(Builder& b, bool vacant) {
  auto en = [&](const char* name) { return vacant ? std::string() : std::string(name); };
  b.version = 2.1f;
  b.modelName = "髪モデル";
  b.modelNameEn = en("Hair model");
  b.comment = "コメント";
  b.commentEn = "A comment.";
  b.addVertex(0);
  b.addVertex(2);
  b.addFace(0, 1, 0);
  b.addTexture("t.png");
  b.addMaterial("髪", "", 0, 3);
  b.addMaterial("スカート", "", 1, 0);
  b.addBone("頭", en("head"), STD);
  b.addMorph("笑い", en("smile"), 1, 1);
  b.addFrame("表情", en("Exp"), {{1, 0}});
  b.addRigidBody("頭", en("head"));
  b.addRigidBody("髪", en("hair"));
  b.addJoint("髪", en("hair"), 0);
  b.addSoftBody("スカート", en("skirt"), 2, 3);
  b.addSoftBody("髪", en("hair"), 0, 0);
  b.trailing = {0x5A, 0xA5};  // bytes nobody knows, after the soft bodies
}

// English names a Japanese user may meet in a model from elsewhere: Chinese, Korean
// and an emoji, none with a Shift-JIS form; some vacant. In UTF-8 also bytes that are
// not UTF-8 at all, more of them than a name shown in UTF-8 could hold.
void foreign(Builder& b) {
  b.modelName = "外国語";
  b.modelNameEn = "外国语模型";
  b.addVertex(0);
  b.addTexture("t.png");
  b.addMaterial("体", "", 0, 0);
  b.addBone("頭", "头", STD);
  b.addBone("髪", "", STD);
  b.addMorph("笑い", "웃음", 1, 1);
  b.addMorph("泣き", "", 1, 1);
  b.addFrame("表情", "表情🙂", {{1, 0}});
  if (b.utf8) b.addBone("尾", std::string(200, '\xFF'), STD);
}

void big(Builder& b) {
  b.modelName = "大きなモデル";
  b.addVertex(0);
  b.addTexture("a.png");
  b.addMaterial("材質", "", 0, 0);
  for (int i = 0; i < 5000; i++) {
    b.addBone("骨" + std::to_string(i), i % 2 ? "bone" + std::to_string(i) : "", STD);
  }
  for (int i = 0; i < 9000; i++) {
    b.addMorph("表情" + std::to_string(i), i % 3 ? "" : "m" + std::to_string(i), 1, 1);
  }
  for (int i = 0; i < 1100; i++) b.addFrame("枠" + std::to_string(i), "", {{0, i}});
  b.addRigidBody("体", "body");
  b.addJoint("関節", "joint", 1);
}

// English names an author wrote in Chinese, which Shift-JIS cannot hold, on the model,
// a material, a rigid body and a joint, and one with a '?'; one material name vacant. Also writes <output>.want: the copy the shipped
// settings make, only the vacant name filled.
int author(const char* out) {
  const std::string name = "星穹铁道—千冶·刃";
  Builder b;
  b.modelName = "刃";
  b.modelNameEn = name;
  b.addVertex(0);
  b.addTexture("t.png");
  b.addMaterial("服", "Skirt铁", 0, 0);
  b.addMaterial("髪", "", 0, 0);
  b.addBone("頭", "head", STD);
  b.addRigidBody("体", name);
  b.addJoint("J", "Skirt铁", 0);
  b.addJoint("K", "Joint?", 0);  // a '?' of the author's stays too
  Bytes file = b.build();
  const pmxb::NameRec& hair = b.materials[1];
  Bytes want = pmxb::withNames(file, {{hair, hair.jp, b.encode("Hair")}});
  if (!pmxb::writefile(out, file) || !pmxb::writefile(std::string(out) + ".want", want)) {
    fprintf(stderr, "nwmkmodel: cannot write %s\n", out);
    return 1;
  }
  printf("%s: %zu bytes\n", out, file.size());
  return 0;
}

// A filled model but for a bone without a Japanese name (emptyjp) and one, 頭, whose
// generated name a rule may make empty (emptyrule, and emptyjp too).
void emptyjp(Builder& b, bool nameless) {
  example(b, true);
  if (nameless) b.addBone("", "", STD);
  b.addBone("頭", "", STD);
}

// The same kind of model as a PMD: the standard skeleton, face morphs, bone frames;
// some English names vacant. Kinds: pmd, pmdnoenglish (the file ends before the
// section), pmdtruncated (ends inside a morph), pmdnoname (the English model name vacant),
// pmdodd (two more bones: an English name filling its field without a terminator, and
// one of bytes that are no Shift-JIS text).
int pmd(const std::string& kind, const char* out, const char* table) {
  using pmdb::sj;
  pmdb::Builder b;
  b.name = sj("サンプルモデル");
  b.enName = kind == "pmdnoname" ? "" : "Sample model";
  if (kind == "pmdnoenglish") b.englishFlag = -1;
  for (int i = 0; i < 6; i++) b.addVertex();
  b.addFace(0, 1, 2);
  b.addFace(3, 4, 5);
  b.addMaterial(3);
  b.addMaterial(3);
  b.addBone(sj("センター"), "center");
  b.addBone(sj("上半身"), "");
  b.addBone(sj("頭"), pmdb::field("head", 20, '\xFD'));
  b.addBone(sj("左腕"), "");
  b.addBone(sj("右腕"), "");
  b.addBone(sj("左足ＩＫ"), "leg IK_L");
  b.addBone(sj("髪飾り"), "");
  if (kind == "pmdodd") {
    b.addBone(sj("尻尾"), std::string(20, 'T'));
    b.addBone(sj("角"), "\x88\x0A\xFD\x81");
  }
  b.addIk(5, 3, 2);
  b.addMorph("base", "");
  b.addMorph(sj("まばたき"), "", 2);
  b.addMorph(sj("あ"), "a");
  b.addMorph(sj("笑い"), "");
  b.addMorphDisplay(1);
  b.addMorphDisplay(2);
  b.addFrame(sj("センター") + "\n", "");
  b.addFrame(sj("体(上)") + "\n", "upper body\n");
  b.addFrame(sj("髪") + "\n", "");
  b.addBoneDisplay(1, 1);
  b.addBoneDisplay(6, 2);
  b.addRigidBody();
  b.addJoint();
  pmdb::Bytes file = b.build();
  if (kind == "pmdtruncated") file.resize(b.elementAt[pmdb::Builder::MORPH][1] + 10);
  if (table != nullptr && (b.englishFlag != 1 || !pmdwithtable(b, &file, table))) {
    fprintf(stderr, "nwmkmodel: the table %s does not fit the model\n", table);
    return 1;
  }
  if (!pmxb::writefile(out, file)) {
    fprintf(stderr, "nwmkmodel: cannot write %s\n", out);
    return 1;
  }
  printf("%s: %zu bytes, English section at %zu\n", out, file.size(),
         b.blockAt[pmdb::Builder::ENGLISH]);
  return 0;
}

int usage() {
  fputs("usage: nwmkmodel example|utf8|filled|bones5000|pmx21|badmagic|truncated|hostile|"
        "pmd|pmdnoenglish|pmdtruncated|pmdnoname|pmdodd|kinds|kinds8|materials|author|emptyjp|"
        "emptyrule|foreign|foreign8 <output> [<names table>]\n",
        stderr);
  return 2;
}

void putlong(Bytes& f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; i++) f[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) return usage();
  const char* table = argc == 4 ? argv[3] : nullptr;
  std::string kind = argv[1];
  if (kind.rfind("pmd", 0) == 0) {
    if (kind != "pmd" && kind != "pmdnoenglish" && kind != "pmdtruncated" && kind != "pmdnoname" &&
        kind != "pmdodd") {
      return usage();
    }
    return pmd(kind, argv[2], table);
  }
  Builder b;
  Bytes file;
  if (kind == "example" || kind == "utf8" || kind == "filled" || kind == "pmx21" ||
      kind == "badmagic" || kind == "truncated" || kind == "hostile") {
    b.utf8 = kind == "utf8";
    if (kind == "pmx21") {
      b.version = 2.1f;
      for (int i = 0; i < 100; i++) b.trailing.push_back(static_cast<uint8_t>(i * 7));
    }
    example(b, kind == "filled");
    file = b.build();
    if (kind == "badmagic") file[2] = 'Y';
    if (kind == "truncated") file.resize(b.bones[3].offset + 5);
    // A bone whose name claims nearly 2 GiB.
    if (kind == "hostile") putlong(file, b.bones[2].offset, 0x7FFFFFF0u);
  } else if (kind == "kinds" || kind == "kinds8" || kind == "materials") {
    b.utf8 = kind == "kinds8";
    kinds(b, kind != "materials");
    file = b.build();
  } else if (kind == "author") {
    return author(argv[2]);
  } else if (kind == "emptyjp" || kind == "emptyrule") {
    emptyjp(b, kind == "emptyjp");
    file = b.build();
  } else if (kind == "foreign" || kind == "foreign8") {
    b.utf8 = kind == "foreign8";
    foreign(b);
    file = b.build();
  } else if (kind == "bones5000") {
    big(b);
    file = b.build();
  } else {
    return usage();
  }
  if (table != nullptr && !pmxwithtable(b, &file, table)) {
    fprintf(stderr, "nwmkmodel: the table %s does not fit the model\n", table);
    return 1;
  }
  if (!pmxb::writefile(argv[2], file)) {
    fprintf(stderr, "nwmkmodel: cannot write %s\n", argv[2]);
    return 1;
  }
  printf("%s: %zu bytes\n", argv[2], file.size());
  return 0;
}
