// pmxwrite.cpp - writes the "-new" copy of a model with its English names filled.
//
// The source is copied as it is between the name fields recorded by the reader; at each
// bone, morph and display frame (and, when the reader recorded them, the model's name,
// materials, rigid bodies, joints and soft bodies) the two name fields are read, the
// English name decided and both written again in the source's encoding.
#include <array>
#include <cstring>
#include <iterator>

#include "io/binfile.h"
#include "io/savefile.h"
#include "names/dict.h"
#include "names/fillname.h"
#include "names/namegen.h"
#include "names/namelist.h"
#include "names/nametable.h"
#include "names/rules.h"
#include "pmx/pmx.h"
#include "pmx/pmxmodel.h"
#include "pmx/pmxname.h"
#include "setup/settings.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

// Arrow symbols in English morph names, spelled with plain arrows: one row per code
// point from U+2194 to U+21F3, up to four characters out (0 ends a row early).
constexpr char16_t L = u'\u2190', U = u'\u2191', R = u'\u2192', D = u'\u2193';
constexpr char16_t W = u'\u301C', LT = u'\uFF1C', GT = u'\uFF1E';
constexpr char16_t ARROW_FIRST = 0x2194, ARROW_LAST = 0x21F3;
constexpr std::array<std::array<char16_t, 4>, 96> arrows = {{
    {{L, R}},  // ↔ U+2194 ←→
    {{U, D}},  // ↕ U+2195 ↑↓
    {{L, U}},  // ↖ U+2196 ←↑
    {{U, R}},  // ↗ U+2197 ↑→
    {{D, R}},  // ↘ U+2198 ↓→
    {{L, D}},  // ↙ U+2199 ←↓
    {{L}},  // ↚ U+219A ←
    {{R}},  // ↛ U+219B →
    {{L, W}},  // ↜ U+219C ←〜
    {{W, R}},  // ↝ U+219D 〜→
    {{L, L}},  // ↞ U+219E ←←
    {{U, U}},  // ↟ U+219F ↑↑
    {{R, R}},  // ↠ U+21A0 →→
    {{D, D}},  // ↡ U+21A1 ↓↓
    {{L, LT}},  // ↢ U+21A2 ←＜
    {{GT, R}},  // ↣ U+21A3 ＞→
    {{L, '|'}},  // ↤ U+21A4 ←|
    {{U}},  // ↥ U+21A5 ↑
    {{'|', R}},  // ↦ U+21A6 |→
    {{D}},  // ↧ U+21A7 ↓
    {{U, D}},  // ↨ U+21A8 ↑↓
    {{L, D}},  // ↩ U+21A9 ←↓
    {{D, R}},  // ↪ U+21AA ↓→
    {{L}},  // ↫ U+21AB ←
    {{R}},  // ↬ U+21AC →
    {{L, R}},  // ↭ U+21AD ←→
    {{L, R}},  // ↮ U+21AE ←→
    {{D, U, D}},  // ↯ U+21AF ↓↑↓
    {{L, U}},  // ↰ U+21B0 ←↑
    {{U, R}},  // ↱ U+21B1 ↑→
    {{L, D}},  // ↲ U+21B2 ←↓
    {{D, R}},  // ↳ U+21B3 ↓→
    {{R, D}},  // ↴ U+21B4 →↓
    {{L, D}},  // ↵ U+21B5 ←↓
    {{D, ')'}},  // ↶ U+21B6 ↓)
    {{'(', D}},  // ↷ U+21B7 (↓
    {{L, U}},  // ↸ U+21B8 ←↑
    {{'|', L, R, '|'}},  // ↹ U+21B9 |←→|
    {{'(', U}},  // ↺ U+21BA (↑
    {{U, ')'}},  // ↻ U+21BB ↑)
    {{L}},  // ↼ U+21BC ←
    {{L}},  // ↽ U+21BD ←
    {{U}},  // ↾ U+21BE ↑
    {{U}},  // ↿ U+21BF ↑
    {{R}},  // ⇀ U+21C0 →
    {{R}},  // ⇁ U+21C1 →
    {{D}},  // ⇂ U+21C2 ↓
    {{D}},  // ⇃ U+21C3 ↓
    {{L, R}},  // ⇄ U+21C4 ←→
    {{U, D}},  // ⇅ U+21C5 ↑↓
    {{L, R}},  // ⇆ U+21C6 ←→
    {{L, L}},  // ⇇ U+21C7 ←←
    {{U, U}},  // ⇈ U+21C8 ↑↑
    {{R, R}},  // ⇉ U+21C9 →→
    {{D, D}},  // ⇊ U+21CA ↓↓
    {{L, R}},  // ⇋ U+21CB ←→
    {{L, R}},  // ⇌ U+21CC ←→
    {{L}},  // ⇍ U+21CD ←
    {{L, R}},  // ⇎ U+21CE ←→
    {{L, R}},  // ⇏ U+21CF ←→
    {{L}},  // ⇐ U+21D0 ←
    {{U}},  // ⇑ U+21D1 ↑
    {{R}},  // ⇒ U+21D2 →
    {{D}},  // ⇓ U+21D3 ↓
    {{L, R}},  // ⇔ U+21D4 ←→
    {{U, D}},  // ⇕ U+21D5 ↑↓
    {{L, U}},  // ⇖ U+21D6 ←↑
    {{U, R}},  // ⇗ U+21D7 ↑→
    {{D, R}},  // ⇘ U+21D8 ↓→
    {{L, D}},  // ⇙ U+21D9 ←↓
    {{L}},  // ⇚ U+21DA ←
    {{R}},  // ⇛ U+21DB →
    {{L}},  // ⇜ U+21DC ←
    {{R}},  // ⇝ U+21DD →
    {{U}},  // ⇞ U+21DE ↑
    {{D}},  // ⇟ U+21DF ↓
    {{L}},  // ⇠ U+21E0 ←
    {{U}},  // ⇡ U+21E1 ↑
    {{R}},  // ⇢ U+21E2 →
    {{D}},  // ⇣ U+21E3 ↓
    {{'|', L}},  // ⇤ U+21E4 |←
    {{R, '|'}},  // ⇥ U+21E5 →|
    {{L}},  // ⇦ U+21E6 ←
    {{U}},  // ⇧ U+21E7 ↑
    {{R}},  // ⇨ U+21E8 →
    {{D}},  // ⇩ U+21E9 ↓
    {{U}},  // ⇪ U+21EA ↑
    {{U}},  // ⇫ U+21EB ↑
    {{U}},  // ⇬ U+21EC ↑
    {{U}},  // ⇭ U+21ED ↑
    {{U}},  // ⇮ U+21EE ↑
    {{U}},  // ⇯ U+21EF ↑
    {{R}},  // ⇰ U+21F0 →
    {{L, U}},  // ⇱ U+21F1 ←↑
    {{D, R}},  // ⇲ U+21F2 ↓→
    {{U, D}},  // ⇳ U+21F3 ↑↓
}};
static_assert(arrows.size() == ARROW_LAST - ARROW_FIRST + 1, "one row per arrow code point");

PmxName nameJ, nameE;
char srcbuf[PMX_UTF8MAX];  // the Japanese name as the file spells it
// The English name as read: the names table's original, and whether the copy changes it.
uint8_t origE[PMX_NAMEMAX + 4];
int origLen;
char gen[REP_BUFSIZE];
char newname[REP_BUFSIZE];
// A new name in the file's encoding, before it is cut to PMX_NAMEMAX bytes.
char16_t convW[2 * REP_BUFSIZE + 4];
uint8_t conv[4 * REP_BUFSIZE + 4];
// A repaired name before the cut.
uint8_t fixbuf[4 * PMX_NAMEMAX + 16];
// A PMX text is its byte length and its bytes (a PMD field has a fixed width instead).
void putname(const uint8_t* bytes, int32_t len) {
  wfputlong(len);
  for (int32_t k = 0; k < len; k++) wfputc(bytes[k]);
}

// ---- The check of English morph names ---------------------------------------------

bool plainascii(const char* s) {
  for (; *s != 0; s++) {
    unsigned char c = static_cast<unsigned char>(*s);
    if (c < 0x20 || c > 0x7F) return false;
  }
  return true;
}

void dumpsjis(const char* s) {
  conputs("SJIS(");
  for (size_t i = 0; s[i] != 0; i++) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (names::isleadbyte(c) && s[i + 1] != 0) {
      conprintf("[%02X ", c);
      conprintf("%02X]", static_cast<unsigned char>(s[++i]));
    } else if (c >= 0x20 && c <= 0x7D) {
      conprintf("%c", c);
    } else {
      conprintf("[%02X]", c);
    }
  }
  conputs(") ");
}

void dumpraw(const char* prefix) {
  conputs(prefix);
  if (pmxModel.encoding == 0) {
    conputs("UTF16(");
    for (const char16_t* u = nameE.units; *u != 0; u++) {
      if (*u >= 0x20 && *u <= 0x7D) {
        conprintf("%c", static_cast<char>(*u));
      } else {
        conprintf("[%04X]", static_cast<unsigned>(*u));
      }
    }
  } else {
    conputs("UTF8(");
    for (const uint8_t* b = nameE.raw; *b != 0; b++) {
      if (*b >= 0x20 && *b <= 0x7D) {
        conprintf("%c", *b);
      } else {
        conprintf("[%02X]", *b);
      }
    }
  }
  conputs(") ");
}

// One character of the repaired text: its replacement units (n of them) in out.
int mapchar(uint32_t cp, char16_t* out) {
  if (cp < ARROW_FIRST || cp > ARROW_LAST) return 0;
  const auto& row = arrows[cp - ARROW_FIRST];
  int n = 0;
  while (n < 4 && row[static_cast<size_t>(n)] != 0) {
    out[n] = row[static_cast<size_t>(n)];
    n++;
  }
  return n;
}

int put8(uint8_t* at, char16_t u) {
  if (u < 0x80) {
    at[0] = static_cast<uint8_t>(u);
    return 1;
  }
  if (u < 0x800) {
    at[0] = static_cast<uint8_t>(0xC0 | (u >> 6));
    at[1] = static_cast<uint8_t>(0x80 | (u & 0x3F));
    return 2;
  }
  at[0] = static_cast<uint8_t>(0xE0 | (u >> 12));
  at[1] = static_cast<uint8_t>(0x80 | ((u >> 6) & 0x3F));
  at[2] = static_cast<uint8_t>(0x80 | (u & 0x3F));
  return 3;
}

// Replaces the raw English name by its repaired form, cut to whole characters: where
// an arrow's spelling crosses the limit, as many of its characters as fit are kept.
void repairutf16() {
  int n = 0;  // units out
  bool full = false;
  for (const char16_t* u = nameE.units; *u != 0 && !full;) {
    char16_t rep[4];
    int m = mapchar(*u, rep);
    int take = 1, whole = 1;  // units read; units that stand or fall together
    if (m == 0) {
      rep[0] = *u;
      m = 1;
      if (*u >= 0xD800 && *u <= 0xDBFF && u[1] >= 0xDC00 && u[1] <= 0xDFFF) {
        rep[1] = u[1];
        m = take = whole = 2;
      }
    }
    for (int k = 0; k < m && !full; k += whole) {
      full = n + whole > PMX_NAMEMAX / 2;
      for (int j = 0; j < whole && !full; j++, n++) {
        fixbuf[2 * n] = static_cast<uint8_t>(rep[k + j] & 0xFF);
        fixbuf[2 * n + 1] = static_cast<uint8_t>(rep[k + j] >> 8);
      }
    }
    u += take;
  }
  memcpy(nameE.raw, fixbuf, static_cast<size_t>(2 * n));
  nameE.len = 2 * n;
  memset(nameE.raw + nameE.len, 0, sizeof nameE.raw - static_cast<size_t>(nameE.len));
  pmxnameunits(&nameE);
}

void repairutf8() {
  int n = 0;  // bytes out
  bool full = false;
  // Appends one whole character (len bytes) if it fits.
  auto put = [&](const uint8_t* ch, int len) {
    full = full || n + len > PMX_NAMEMAX;
    if (full) return;
    memcpy(fixbuf + n, ch, static_cast<size_t>(len));
    n += len;
  };
  const uint8_t* s = nameE.raw;
  for (int i = 0; s[i] != 0 && !full;) {
    char16_t rep[4];
    int r = 0;
    // An arrow is always the three bytes E2 86 xx or E2 87 xx.
    if (s[i] == 0xE2 && (s[i + 1] == 0x86 || s[i + 1] == 0x87) && (s[i + 2] & 0xC0) == 0x80) {
      r = mapchar(static_cast<char16_t>(0x2000 | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F)), rep);
    }
    if (r > 0) {
      for (int k = 0; k < r; k++) {
        uint8_t ch[3];
        put(ch, put8(ch, rep[k]));
      }
      i += 3;
      continue;
    }
    // Anything else is kept as it is, a whole sequence at a time.
    int take = s[i] >= 0xF0 ? 4 : s[i] >= 0xE0 ? 3 : s[i] >= 0xC0 ? 2 : 1;
    int k = 1;
    while (k < take && (s[i + k] & 0xC0) == 0x80) k++;
    put(s + i, k);
    i += k;
  }
  memcpy(nameE.raw, fixbuf, static_cast<size_t>(n));
  nameE.len = n;
  memset(nameE.raw + n, 0, sizeof nameE.raw - static_cast<size_t>(n));
}

void checkmorphname() {
  if (Force.display != 0 && gen[0] != 0) return;
  if (plainascii(nameE.sjis)) return;
  dumpsjis(nameE.sjis);
  dumpraw("");
  if (pmxModel.encoding == 0) {
    repairutf16();
  } else {
    repairutf8();
  }
  pmxnamesjis(&nameE, pmxModel.encoding);
  dumpraw("=> ");
}

// ---- One record ---------------------------------------------------------------------

// Puts the new Shift-JIS English name into nameE in the file's encoding, cut at a
// whole character when it does not fit.
void encodename(const char* sjis) {
  if (pmxModel.encoding == 0) {
    sjis2unistrc(convW, sjis);
    int n = 0;
    while (convW[n] != 0 && n < PMX_NAMEMAX / 2 + 1) {
      conv[2 * n] = static_cast<uint8_t>(convW[n] & 0xFF);
      conv[2 * n + 1] = static_cast<uint8_t>(convW[n] >> 8);
      n++;
    }
    if (n > PMX_NAMEMAX / 2) n = utf16cut(conv, PMX_NAMEMAX / 2);
    nameE.len = 2 * n;
  } else {
    sjis2utf8c(reinterpret_cast<char*>(conv), sjis);
    int n = static_cast<int>(strlen(reinterpret_cast<const char*>(conv)));
    nameE.len = n > PMX_NAMEMAX ? utf8cut(conv, PMX_NAMEMAX) : n;
  }
  memcpy(nameE.raw, conv, static_cast<size_t>(nameE.len));
}

struct RecordKind {
  NameKind kind;
  const char* label;  // the record's console line begins "(<label> <index>) (jp) "
};

constexpr RecordKind modelKind = {NameKind::model, "model"};  // one record, no index shown
constexpr RecordKind materialKind = {NameKind::material, "material"};
constexpr RecordKind boneKind = {NameKind::bone, "bone"};
constexpr RecordKind morphKind = {NameKind::morph, "morph"};
constexpr RecordKind frameKind = {NameKind::frame, "frame"};
constexpr RecordKind bodyKind = {NameKind::body, "rigid body"};
constexpr RecordKind jointKind = {NameKind::joint, "joint"};
constexpr RecordKind softBodyKind = {NameKind::softbody, "soft body"};

// Rewrites the names of one element; -1 ends the loop.
int record(const RecordKind& rk, int i, int32_t offset) {
  const int enc = pmxModel.encoding;
  if (wfsavecopyto(offset) != 0) return -1;
  if (pmxgetname(&nameJ, enc) != PN_OK) return wfsavesrcchanged();
  pmxnamesjis(&nameJ, enc);
  genname(rk.kind, nameJ.sjis, gen, dicthas() ? pmxnameutf8(&nameJ, enc, srcbuf) : nullptr);
  if (rk.kind == NameKind::model) {
    conprintf("(%s) (jp) %s ", rk.label, nameJ.sjis);
  } else {
    conprintf("(%s %d) (jp) %s ", rk.label, i, nameJ.sjis);
  }
  putname(nameJ.raw, nameJ.len);
  if (wfsavewritten() != 0) return -1;
  if (pmxgetname(&nameE, enc) != PN_OK) return wfsavesrcchanged();
  origLen = nameE.len;
  memcpy(origE, nameE.raw, static_cast<size_t>(origLen));
  pmxnamesjis(&nameE, enc);
  conprintf("  (en) %s ", nameE.sjis);
  NameSource source = NameSource::kept;
  if (rk.kind == NameKind::morph) {
    checkmorphname();
    if (nameE.len != origLen || memcmp(nameE.raw, origE, static_cast<size_t>(origLen)) != 0)
      source = NameSource::repaired;
  }
  const bool exact = isbasekind(rk.kind) || pmxnameexact(&nameE, enc);
  if (fillenglish(rk.kind, nameE.sjis, gen, newname, exact) != 0) {
    encodename(newname);
    source = fillsource();
  }
  const uint8_t* en = nameE.raw;
  int enlen = nameE.len;
  ntwrite(rk.kind, i, nameJ.raw, nameJ.len, &en, &enlen, origE, origLen, source);
  conputs("\n");
  if (enlen != origLen || memcmp(en, origE, static_cast<size_t>(origLen)) != 0) {
    wfsavemark(isbasekind(rk.kind) ? SG_NAMES : SG_KINDS);
  }
  putname(en, enlen);
  return wfsavewritten();
}

void records(const RecordKind& rk, int count, int stored, const int32_t* offsets) {
  for (int i = 0; !wfsavefailed() && i < count && i < stored; i++) {
    if (record(rk, i, offsets[i]) != 0) return;
  }
}

// Every block of handled names, in file order: the offsets grow from one record to the
// next. f(kind, count, stored, offsets).
template <typename F>
void eachblock(F f) {
  const PmxModel& m = pmxModel;
  f(modelKind, 1, m.storedModelName, &m.modelNameOffset);
  f(materialKind, m.materialCount, m.storedMaterialCount, m.materialNameOffset);
  f(boneKind, m.boneCount, m.storedBoneCount, m.boneNameOffset);
  f(morphKind, m.morphCount, m.storedMorphCount, m.morphNameOffset);
  f(frameKind, m.frameCount, m.storedFrameCount, m.frameNameOffset);
  f(bodyKind, m.bodyCount, m.storedBodyCount, m.bodyNameOffset);
  f(jointKind, m.jointCount, m.storedJointCount, m.jointNameOffset);
  f(softBodyKind, m.softBodyCount, m.storedSoftBodyCount, m.softBodyNameOffset);
}

static_assert(PMX_NAMEMAX == NT_TEXTMAX, "a names table holds whole names");

}  // namespace

int pmxrewrite(char* outA, char16_t* outW, const char* srcA, const char16_t* srcW, int useW) {
  if (!wfsavebegin(outA, outW, srcA, srcW, useW)) return -1;
  eachblock(records);
  return wfsaveend(outA, outW, srcA, srcW, useW);
}

int pmxreadnames(const char* srcA, const char16_t* srcW, int useW) {
  if ((useW ? rfopenW(srcW) : rfopen(srcA)) != 0) return -1;
  const int enc = pmxModel.encoding;
  bool ok = true;
  eachblock([&](const RecordKind& rk, int count, int stored, const int32_t* offsets) {
    for (int i = 0; ok && i < count && i < stored; i++) {
      int32_t skip = offsets[i] - rftell();
      ok = skip >= 0 && rfskip(skip) == skip && pmxgetname(&nameJ, enc) == PN_OK &&
           pmxgetname(&nameE, enc) == PN_OK &&
           ntadd(rk.kind, i, nameJ.raw, nameJ.len, nameE.raw, nameE.len, PMX_NAMEMAX) == 0;
    }
  });
  rfclose();
  if (!ok) conputs("Err: the source file changed after it was read. \n");
  return ok ? 0 : -1;
}

int pmxrewriteA(const char* out, const char* src) {
  wfgiven(out, nullptr);
  return pmxrewrite(wfgivenA, wfgivenW, src, nullptr, 0);
}

int pmxrewriteW(const char16_t* out, const char16_t* src) {
  wfgiven(nullptr, out);
  return pmxrewrite(wfgivenA, wfgivenW, nullptr, src, 1);
}
