// pmdread.cpp - the checking pass over a PMD model: counts, Japanese names, the English
// section's place, names to fill.
//
// File layout, all little-endian; texts are Shift-JIS, zero-terminated in their field:
//   "Pmd" | version f32 | name 20 | comment 256
//   | vertices u32 x 38 | face indices u32 x 2 | materials u32 x 70
//   | bones u16 x 39 (name 20 first) | IK chains u16 x (11 + 2 x links)
//   | morphs u16 x (name 20, vertex count u32, panel u8, vertices x 16)
//   | morph display u8 x 2 | bone frame names u8 x 50 | bone display u32 x 3
// and then, each of them optional at the end of the file:
//   | English section: flag u8; when 1: name 20, comment 256, 20 per bone, 20 per morph
//     after the base morph, 50 per bone frame
//   | toon texture names 10 x 100 | rigid bodies u32 x 83 | joints u32 x 124
// Anything after the joints is kept as it is.
#include <cstring>

#include "io/binfile.h"
#include "io/rfcheck.h"
#include "names/dict.h"
#include "names/fillname.h"
#include "names/namegen.h"
#include "names/rules.h"
#include "pmd/pmd.h"
#include "pmd/pmdmodel.h"
#include "setup/settings.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

char repbuf[REP_BUFSIZE];
uint8_t field[PMD_COMMENTLEN];
char text[PMD_COMMENTLEN + 1];

// Consumes n bytes of the element being read; -1 (reported) when the file ends first.
int skip(int64_t n) {
  while (n > 0) {
    int32_t chunk = n < INT32_MAX ? static_cast<int32_t>(n) : INT32_MAX;
    if (rfskip(chunk) != chunk) return rcended();
    n -= chunk;
  }
  return 0;
}

// Reads a text field of width bytes into field and its text into text.
int getfield(int width) {
  if (rfread(field, width) != width) return rcended();
  pmdfieldtext(text, field, width);
  return 0;
}

// An unsigned count of size bytes before a block (the PMX reader's are all signed i32);
// -1 (reported) when the file ends in it.
int getcount(int64_t* n, int size, const char* kind) {
  rcat(kind, -1);
  *n = 0;
  for (int k = 0; k < size; k++) {
    int c = rfgetc();
    if (c < 0) return rccountended(kind);
    *n |= static_cast<int64_t>(c) << (8 * k);
  }
  return 0;
}

// A block of elements of one size, checked one at a time: a count larger than the
// file ends at the element where the bytes run out.
int fixedblock(const char* kind, int64_t n, int size) {
  for (int64_t i = 0; i < n; i++) {
    rcat(kind, static_cast<int>(i));
    if (rcendcheck() != 0 || skip(size) != 0) return -1;
  }
  return 0;
}

// An English name the element keeps, so that the names generated for others differ
// from it (with a dictionary, unless every English name is to be replaced).
void keepname(NameKind kind, const char* en, const char* jp) {
  if (dicthas() && Force.display == 0 && en[0] != 0) nametaken(kind, en, jp);
}

// With a dictionary, a Japanese name tells the model's language, and a name that will
// be generated and never moves (a standard one, one the user's rules give) is taken
// before the writer generates the others, as its field will hold it.
void notejapanese(NameKind kind, const char* jp, bool vacant) {
  if (!dicthas()) return;
  namenote(jp, nullptr);
  if (vacant || Force.display != 0)
    namereserve(kind, jp, nullptr, kind == NameKind::frame ? PMD_FRAMELEN : PMD_NAMELEN);
}

// Every English name found in the file passes here, and only here: a vacant one, or
// one the English-name rules change, is counted; the others are kept. The model's own
// name is counted apart from those of bones, morphs and frames, and kept as it is when
// its text is not Shift-JIS the rules could give back.
void countenglish(NameKind kind, const char* en, const char* jp) {
  int32_t& counter = isbasekind(kind) ? pmdModel.nameChangeCount : pmdModel.kindChangeCount;
  notejapanese(kind, jp, en[0] == 0);
  if (en[0] == 0) {
    counter++;
    return;
  }
  if (kind == NameKind::frame || (!isbasekind(kind) && !pmdtextexact(en))) {
    keepname(kind, en, jp);
    return;
  }
  repbuf[0] = 0;
  if (kind == NameKind::morph) {
    menrep(repbuf, en);
  } else {
    benrep(repbuf, en);
  }
  if (ruleschanged(kind, en, repbuf)) counter++;
  keepname(kind, repbuf, jp);
}

int header() {
  rcat("header", -1);
  static constexpr char magic[3] = {'P', 'm', 'd'};
  if (rcmagic(magic) != 0) return 2;
  float version = rfgetfloat();
  if (rfeof()) return rcended();
  conprintf("PMD Ver %4.2f \n", static_cast<double>(version));
  if (getfield(PMD_NAMELEN) != 0) return -1;
  memcpy(pmdModel.modelName, text, sizeof pmdModel.modelName);
  if (langjapanese() && text[0] != 0) conprintf("Model: %s \n", text);
  return skip(PMD_COMMENTLEN);
}

int vertices() {
  int64_t n;
  if (getcount(&n, 4, "vertex") != 0) return -1;
  conprintf("%lld Vertices.\n", static_cast<long long>(n));
  return fixedblock("vertex", n, 38);
}

int faces() {
  int64_t n;
  if (getcount(&n, 4, "surface") != 0) return -1;
  conprintf("%lld Surfaces.\n", static_cast<long long>(n / 3));
  if (n % 3 != 0) {
    conprintf("Err: num of surface data (=%lld) is not multiples of 3. \n", static_cast<long long>(n));
    return rcbroken();
  }
  return fixedblock("surface", n / 3, 6);
}

int materials() {
  int64_t n;
  if (getcount(&n, 4, "material") != 0) return -1;
  conprintf("%lld Materials.\n", static_cast<long long>(n));
  for (int64_t i = 0; i < n; i++) {
    rcat("material", static_cast<int>(i));
    // colours, toon number, edge flag; the face vertex count; the texture name
    if (rcendcheck() != 0 || skip(46) != 0) return -1;
    int32_t faceVertices = rfgetlong();
    if (rfeof()) return rcended();
    if (static_cast<uint32_t>(faceVertices) % 3 != 0) {
      conprintf("Err: illegal material-related vertex number at matrial %d. \n", rcindex());
      return rcbroken();
    }
    if (skip(20) != 0) return -1;
  }
  return 0;
}

int bones() {
  int64_t n;
  if (getcount(&n, 2, "bone") != 0) return -1;
  pmdModel.boneCount = static_cast<int32_t>(n);
  conprintf("%d Bones.\n", pmdModel.boneCount);
  pmdModel.bonesAt = rftell();
  for (int i = 0; i < pmdModel.boneCount; i++) {
    rcat("bone", i);
    if (rcendcheck() != 0 || getfield(PMD_NAMELEN) != 0) return -1;
    memcpy(pmdModel.boneName[i], text, PMD_NAMELEN + 1);
    // parent, tail, type, IK parent, position
    if (skip(19) != 0) return -1;
  }
  return 0;
}

int ikchains() {
  int64_t n;
  if (getcount(&n, 2, "IK chain") != 0) return -1;
  conprintf("%lld IK-chains.\n", static_cast<long long>(n));
  for (int i = 0; i < n; i++) {
    rcat("IK chain", i);
    if (rcendcheck() != 0 || skip(4) != 0) return -1;  // bone, target
    int links = rfgetc();
    if (links < 0) return rcended();
    if (skip(6 + 2 * links) != 0) return -1;  // loops, limit, links
  }
  return 0;
}

int morphs() {
  int64_t n;
  if (getcount(&n, 2, "morph") != 0) return -1;
  pmdModel.morphCount = static_cast<int32_t>(n);
  conprintf("%d Morphs.\n", pmdModel.morphCount);
  for (int i = 0; i < pmdModel.morphCount; i++) {
    rcat("morph", i);
    pmdModel.morphAt[i] = rftell();
    if (rcendcheck() != 0 || getfield(PMD_NAMELEN) != 0) return -1;
    memcpy(pmdModel.morphName[i], text, PMD_NAMELEN + 1);
    int64_t offsets = static_cast<uint32_t>(rfgetlong());
    if (rfeof()) return rcended();
    if (skip(1 + 16 * offsets) != 0) return -1;  // panel, vertices
  }
  return 0;
}

int frames() {
  int64_t n;
  if (getcount(&n, 1, "morph display") != 0 || fixedblock("morph display", n, 2) != 0) return -1;
  if (getcount(&n, 1, "bone frame") != 0) return -1;
  pmdModel.frameCount = static_cast<int32_t>(n);
  conprintf("%d Frames.\n", pmdModel.frameCount);
  pmdModel.framesAt = rftell();
  for (int i = 0; i < pmdModel.frameCount; i++) {
    rcat("bone frame", i);
    if (rcendcheck() != 0 || getfield(PMD_FRAMELEN) != 0) return -1;
    pmdframename(pmdModel.frameName[i], field);
  }
  if (getcount(&n, 4, "bone display") != 0) return -1;
  return fixedblock("bone display", n, 3);
}

// English names: one field of width bytes per element from first to count - 1.
int englishnames(const char* kind, NameKind nk, int first, int count, int width) {
  for (int i = first; i < count; i++) {
    rcat(kind, i);
    if (rcendcheck() != 0 || getfield(width) != 0) return -1;
    const char* jp = nk == NameKind::bone    ? pmdModel.boneName[i]
                     : nk == NameKind::morph ? pmdModel.morphName[i]
                                             : pmdModel.frameName[i];
    countenglish(nk, text, jp);
  }
  return 0;
}

// The English section. 1 when the file ends before it (nothing more to read).
int english() {
  pmdModel.englishAt = rftell();
  rcat("English section", -1);
  int flag = rfgetc();
  pmdModel.englishFlag = static_cast<int8_t>(flag < 0 ? -1 : flag);
  if (flag == 1) {
    conputs("English names found. \n");
  } else if (flag > 1) {
    conprintf("Err: illegal English-name flag %d. \n", flag);
    return rcbroken();
  } else {
    // Every name of the section to be added counts, the model's with the other kinds.
    pmdModel.nameChangeCount += pmdModel.boneCount + pmdModel.frameCount +
                                (pmdModel.morphCount > 0 ? pmdModel.morphCount - 1 : 0);
    pmdModel.kindChangeCount++;
    if (pmdFillModelName) notejapanese(NameKind::model, pmdModel.modelName, true);
    for (int i = 0; i < pmdModel.boneCount; i++) notejapanese(NameKind::bone, pmdModel.boneName[i], true);
    for (int i = 1; i < pmdModel.morphCount; i++) notejapanese(NameKind::morph, pmdModel.morphName[i], true);
    for (int i = 0; i < pmdModel.frameCount; i++) notejapanese(NameKind::frame, pmdModel.frameName[i], true);
    conputs("No English names: they will be added. \n");
    return flag < 0 ? 1 : 0;
  }
  pmdModel.enModelAt = rftell();
  if (getfield(PMD_NAMELEN) != 0) return -1;
  if (!langjapanese() && text[0] != 0) conprintf("Model: %s \n", text);
  if (pmdFillModelName) countenglish(NameKind::model, text, pmdModel.modelName);
  if (skip(PMD_COMMENTLEN) != 0) return -1;
  pmdModel.enBonesAt = rftell();
  if (englishnames("English bone name", NameKind::bone, 0, pmdModel.boneCount, PMD_NAMELEN) != 0) {
    return -1;
  }
  pmdModel.enMorphsAt = rftell();
  if (englishnames("English morph name", NameKind::morph, 1, pmdModel.morphCount, PMD_NAMELEN) != 0) {
    return -1;
  }
  pmdModel.enFramesAt = rftell();
  return englishnames("English frame name", NameKind::frame, 0, pmdModel.frameCount, PMD_FRAMELEN);
}

// The blocks after the English section. 1 when the file ends before one of them.
int tail() {
  rcat("toon texture names", -1);
  if (rfgetc() < 0) return 1;
  if (skip(10 * 100 - 1) != 0) return -1;
  static constexpr struct {
    const char* kind;
    const char* line;
    int size;
  } blocks[2] = {{"rigid body", "%lld Rigid-bodies.\n", 83}, {"joint", "%lld Joints.\n", 124}};
  for (const auto& b : blocks) {
    int c = rfgetc();
    if (c < 0) return 1;
    int64_t n;
    if (getcount(&n, 3, b.kind) != 0) return -1;
    n = n << 8 | c;
    conprintf(b.line, static_cast<long long>(n));
    if (fixedblock(b.kind, n, b.size) != 0) return -1;
  }
  return 0;
}

// Whatever follows the joints is copied as it is; it is only counted here.
void trailing() {
  long count = 0;
  uint8_t chunk[1024];
  int32_t got;
  while (!rfeof() && (got = rfread(chunk, sizeof chunk)) > 0) count += got;
  if (count > 0) conprintf("Unrecognized data after the joints: %ld bytes, kept. \n", count);
}

void resetmodel() {
  pmdModel.boneCount = pmdModel.morphCount = pmdModel.frameCount = 0;
  pmdModel.englishAt = -1;
  pmdModel.englishFlag = -1;
  pmdModel.enModelAt = pmdModel.enBonesAt = pmdModel.enMorphsAt = pmdModel.enFramesAt = -1;
  pmdModel.bonesAt = pmdModel.framesAt = -1;
  pmdModel.nameChangeCount = pmdModel.kindChangeCount = 0;
  pmdModel.modelName[0] = 0;
}

}  // namespace

int pmdread(const char* pathA, const char16_t* pathW, int useW) {
  resetmodel();
  namesreset();
  if (rcopen(pathA, pathW, useW) != 0) return -1;
  int r = header();
  if (r == 2) {
    rcbroken();
    rfclose();
    return 2;
  }
  if (r == 0 && vertices() == 0 && faces() == 0 && materials() == 0 && bones() == 0 &&
      ikchains() == 0 && morphs() == 0 && frames() == 0) {
    r = english();
    if (r == 0) r = tail();
    if (r == 0) trailing();
    if (r >= 0) {
      rcwhole();
      conputs("OK. \n");
      conputs("PMD 1.0: correctly read-in: OK. \n");
      conputs("done. \n");
    }
  }
  rfclose();
  conputs("\n");
  return 0;
}

int pmdreadA(const char* path) { return pmdread(path, nullptr, 0); }
int pmdreadW(const char16_t* path) { return pmdread(nullptr, path, 1); }
int pmdreadstatus() { return rcstatus(); }
