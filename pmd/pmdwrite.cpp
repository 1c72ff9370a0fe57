// pmdwrite.cpp - writes the "-new" copy of a PMD model with its English names filled.
//
// Only the English section changes: the source is copied as it is up to it, each
// English name field is read and written again (the source's bytes when the name
// stays, the new name otherwise), and everything after the section is copied. A model
// without the section gets one in its place, its flag set to 1. On the way the copy
// checks that the Japanese names and the flag are those the reading pass saw: the
// English names are made from them.
#include <cstring>

#include "io/binfile.h"
#include "io/savefile.h"
#include "names/fillname.h"
#include "names/namegen.h"
#include "names/nametable.h"
#include "names/rules.h"
#include "pmd/pmd.h"
#include "pmd/pmdmodel.h"
#include "text/console.h"

namespace {

char gen[REP_BUFSIZE];
char newname[REP_BUFSIZE];
char en[PMD_FRAMELEN + 1];
char jp[PMD_FRAMELEN + 1];
char orig[PMD_FRAMELEN + 1];  // the English name as read, for the names table
uint8_t field[PMD_COMMENTLEN];
uint8_t origField[PMD_COMMENTLEN];  // its field as read

// Fields go through the writer's buffer: a failed write closes the writer.
int put(const uint8_t* bytes, int32_t n) {
  for (int32_t k = 0; k < n; k++) wfputc(bytes[k]);
  return wfsavewritten();
}

// Copies the source up to a Japanese name field at offset and the field itself, which
// must hold the name the reading pass saw.
int japanese(int32_t offset, int width, const char* seen) {
  if (wfsavecopyto(offset) != 0) return -1;
  if (rfread(field, width) != width) return wfsavesrcchanged();
  if (width == PMD_FRAMELEN) {
    pmdframename(jp, field);
  } else {
    pmdfieldtext(jp, field, width);
  }
  if (strcmp(jp, seen) != 0) return wfsavesrcchanged();
  return put(field, width);
}

// Copies the source up to its English section, through every Japanese name.
int japanesenames() {
  if (japanese(PMD_NAMEAT, PMD_NAMELEN, pmdModel.modelName) != 0) return -1;
  for (int i = 0; i < pmdModel.boneCount; i++) {
    if (japanese(pmdModel.bonesAt + i * PMD_BONESIZE, PMD_NAMELEN, pmdModel.boneName[i]) != 0) {
      return -1;
    }
  }
  for (int i = 0; i < pmdModel.morphCount; i++) {
    if (japanese(pmdModel.morphAt[i], PMD_NAMELEN, pmdModel.morphName[i]) != 0) return -1;
  }
  for (int i = 0; i < pmdModel.frameCount; i++) {
    if (japanese(pmdModel.framesAt + i * PMD_FRAMELEN, PMD_FRAMELEN, pmdModel.frameName[i]) != 0) {
      return -1;
    }
  }
  return wfsavecopyto(pmdModel.englishAt);
}

// The English section's flag byte, which must be the one the reading pass saw (a file
// that ended before it is checked by its size when the save ends).
int flag() {
  if (pmdModel.englishFlag < 0) return 0;
  return rfgetc() == pmdModel.englishFlag ? 0 : wfsavesrcchanged();
}

struct FieldKind {
  NameKind kind;
  const char* line;
  int width;
};

constexpr FieldKind modelKind = {NameKind::model, "(model %d) (jp) %s ", PMD_NAMELEN};
constexpr FieldKind boneKind = {NameKind::bone, "(bone %d) (jp) %s ", PMD_NAMELEN};
constexpr FieldKind morphKind = {NameKind::morph, "(morph %d) (jp) %s ", PMD_NAMELEN};
constexpr FieldKind frameKind = {NameKind::frame, "(frame %d) (jp) %s ", PMD_FRAMELEN};

// One English field: the source's (fromSource) or a vacant one, decided and written. A
// new name is cut at a whole character to leave room for its terminator; the rest of
// the field is zero. A name that stays keeps every byte of its field.
int record(const FieldKind& fk, int i, const char* name, bool fromSource) {
  const int w = fk.width;
  if (fromSource) {
    if (rfread(field, w) != w) return wfsavesrcchanged();
  } else {
    memset(field, 0, static_cast<size_t>(w));
  }
  pmdfieldtext(en, field, w);
  memcpy(orig, en, sizeof orig);
  memcpy(origField, field, static_cast<size_t>(w));
  genname(fk.kind, name, gen, nullptr, w);  // cut as the field holds it, kept apart after
  conprintf(fk.line, i, name);
  conprintf("  (en) %s ", en);
  NameSource source = NameSource::kept;
  if (fillenglish(fk.kind, en, gen, newname, isbasekind(fk.kind) || pmdtextexact(en)) != 0) {
    memset(field, 0, static_cast<size_t>(w));
    memcpy(field, newname, static_cast<size_t>(pmdcut(newname, w - 1)));
    source = fillsource();
  }
  pmdfieldtext(en, field, w);
  const auto* written = reinterpret_cast<const uint8_t*>(en);
  int len = static_cast<int>(strlen(en));
  ntwrite(fk.kind, i, reinterpret_cast<const uint8_t*>(name), static_cast<int>(strlen(name)), &written,
          &len, reinterpret_cast<const uint8_t*>(orig), static_cast<int>(strlen(orig)), source);
  if (written != reinterpret_cast<const uint8_t*>(en)) {
    if (len == static_cast<int>(strlen(orig)) && memcmp(written, orig, static_cast<size_t>(len)) == 0) {
      memcpy(field, origField, static_cast<size_t>(w));  // the name as read keeps its field
    } else {
      // A new name, which the table was checked to leave room for the terminator.
      if (len >= w) return wfsavewritefailed();
      memset(field, 0, static_cast<size_t>(w));
      memcpy(field, written, static_cast<size_t>(len));
    }
  }
  conputs("\n");
  if (memcmp(origField, field, static_cast<size_t>(w)) != 0) {
    wfsavemark(isbasekind(fk.kind) ? SG_NAMES : SG_KINDS);
  }
  return put(field, w);
}

// The English names of every bone, morph after the base morph and bone frame.
int elements(bool fromSource) {
  for (int i = 0; i < pmdModel.boneCount; i++) {
    if (record(boneKind, i, pmdModel.boneName[i], fromSource) != 0) return -1;
  }
  for (int i = 1; i < pmdModel.morphCount; i++) {
    if (record(morphKind, i, pmdModel.morphName[i], fromSource) != 0) return -1;
  }
  for (int i = 0; i < pmdModel.frameCount; i++) {
    if (record(frameKind, i, pmdModel.frameName[i], fromSource) != 0) return -1;
  }
  return 0;
}

int rewritesection() {
  static constexpr uint8_t one = 1;
  if (put(&one, 1) != 0) return -1;
  if (pmdFillModelName) {
    if (wfsavecopyto(pmdModel.enModelAt) != 0 ||
        record(modelKind, 0, pmdModel.modelName, true) != 0) {
      return -1;
    }
  }
  if (wfsavecopyto(pmdModel.enBonesAt) != 0) return -1;
  return elements(true);
}

// The section the model lacks, in its place: a flag byte 0 is replaced, and a file
// that ended before the flag gets the section at its end.
int addsection() {
  static constexpr uint8_t one = 1;
  if (put(&one, 1) != 0 || record(modelKind, 0, pmdModel.modelName, false) != 0) return -1;
  memset(field, 0, sizeof field);
  if (put(field, PMD_COMMENTLEN) != 0) return -1;
  return elements(false);
}

}  // namespace

int pmdrewrite(char* outA, char16_t* outW, const char* srcA, const char16_t* srcW, int useW) {
  if (!wfsavebegin(outA, outW, srcA, srcW, useW)) return -1;
  if (japanesenames() == 0 && flag() == 0) {
    if (pmdModel.englishFlag == 1) {
      rewritesection();
    } else {
      addsection();
    }
  }
  return wfsaveend(outA, outW, srcA, srcW, useW);
}

int pmdreadnames(const char* srcA, const char16_t* srcW, int useW) {
  const bool section = pmdModel.englishFlag == 1;
  if (section && (useW ? rfopenW(srcW) : rfopen(srcA)) != 0) return -1;
  bool ok = true;
  // One element with its English field at offset, empty where the model has no section.
  auto add = [&](NameKind kind, int i, const char* jp, int32_t at, int width) {
    en[0] = 0;
    if (ok && section) {
      const int32_t skip = at - rftell();
      ok = skip >= 0 && rfskip(skip) == skip && rfread(field, width) == width;
      if (ok) pmdfieldtext(en, field, width);
    }
    ok = ok && ntadd(kind, i, reinterpret_cast<const uint8_t*>(jp), static_cast<int>(strlen(jp)),
                     reinterpret_cast<const uint8_t*>(en), static_cast<int>(strlen(en)), width - 1) == 0;
  };
  // The writer's order: the model's name where it is written, then every element.
  if (!section || pmdFillModelName) add(NameKind::model, 0, pmdModel.modelName, pmdModel.enModelAt, PMD_NAMELEN);
  for (int i = 0; i < pmdModel.boneCount; i++) {
    add(NameKind::bone, i, pmdModel.boneName[i], pmdModel.enBonesAt + PMD_NAMELEN * i, PMD_NAMELEN);
  }
  for (int i = 1; i < pmdModel.morphCount; i++) {
    add(NameKind::morph, i, pmdModel.morphName[i], pmdModel.enMorphsAt + PMD_NAMELEN * (i - 1),
        PMD_NAMELEN);
  }
  for (int i = 0; i < pmdModel.frameCount; i++) {
    add(NameKind::frame, i, pmdModel.frameName[i], pmdModel.enFramesAt + PMD_FRAMELEN * i, PMD_FRAMELEN);
  }
  if (section) rfclose();
  if (!ok) conputs("Err: the source file changed after it was read. \n");
  return ok ? 0 : -1;
}

int pmdrewriteA(const char* out, const char* src) {
  wfgiven(out, nullptr);
  return pmdrewrite(wfgivenA, wfgivenW, src, nullptr, 0);
}

int pmdrewriteW(const char16_t* out, const char16_t* src) {
  wfgiven(nullptr, out);
  return pmdrewrite(wfgivenA, wfgivenW, nullptr, src, 1);
}
