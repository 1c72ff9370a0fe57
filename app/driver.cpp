// driver.cpp - the run, the per-model pipeline and the pipeline of a names table.
#include "app/driver.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "app/args.h"
#include "app/dialogue.h"
#include "app/folders.h"
#include "app/startup.h"
#include "io/binfile.h"
#include "io/savefile.h"
#include "names/dict.h"
#include "names/nametable.h"
#include "names/rules.h"
#include "platform/platform.h"
#include "pmd/pmd.h"
#include "pmd/pmdmodel.h"
#include "pmx/pmx.h"
#include "pmx/pmxmodel.h"
#include "setup/settings.h"
#include "table/table.h"
#include "text/console.h"
#include "text/sjis.h"
#include "ui/filedlg.h"
#include "ui/outname.h"
#include "ui/paths.h"

namespace {

// Per-model state, reset for every model.
struct ModelPaths {
  char pathA[OS_MAXPATH];
  char16_t pathW[OS_MAXPATH];
  bool ansiMissing;
  bool wideMissing;
  char dirA[OS_MAXPATH];
  char16_t dirW[OS_MAXPATH];
  char outA[OS_MAXPATH];
  char16_t outW[OS_MAXPATH];
  char tableA[OS_MAXPATH];  // the names table written beside the copy
  char16_t tableW[OS_MAXPATH];

  bool pmd;  // the model is a PMD (its first bytes are "Pmd"), else PMX

  // UTF-16 mode: only the UTF-16 name reaches the file.
  bool utf16mode() const { return ansiMissing && !wideMissing; }
};

ModelPaths model;

// Scratch for one argument converted at the OS boundary.
char argbufA[ARG_STORESIZE + 1];
char16_t argbufW[ARG_STORESIZE + 1];

// An ANSI name is used only when it converts back to exactly its UTF-16 name: the
// system's best-fit forms (U+301C as 0x8160, which reads back as U+FF5E) would name
// another file. Otherwise the exact form, '?' where a character does not round-trip.
void exactansi(char* ansi, size_t cap, const char16_t* wide) {
  if (osansi2wide(ansi, argbufW, ARG_STORESIZE + 1) == 0 && unistrcmp(argbufW, wide) == 0) return;
  if (oswide2ansi(wide, ansi, cap) != 0) ansi[0] = '?', ansi[1] = 0;
}

void buildargs(int argc, char** argv) {
  argclear();
  if (const char16_t* cmdline = oscommandlineW()) {
    argsplitW(cmdline);
  } else {
    for (int i = 0; i < argc && i < ARG_MAXENTRIES; i++) {
      int r = osargW(argv[i], argbufW, ARG_STORESIZE + 1);
      if (r == -2) argmarkbad(i);
      if (r != 0) argbufW[0] = u'?', argbufW[1] = 0;
      argaddW(argbufW);
    }
  }
  for (int i = 0; i < argc; i++) {
    if (i >= ARG_MAXENTRIES) {
      argtoomany();
      break;
    }
    if (argisbad(i)) {
      osargshown(argv[i], argbufA, sizeof argbufA);
    } else {
      if (osargA(argv[i], argbufA, sizeof argbufA) != 0) argbufA[0] = '?', argbufA[1] = 0;
      if (i < argListW.count) exactansi(argbufA, sizeof argbufA, arggetW(i));
    }
    argadd(argbufA);
  }
}

// No model named: ask for one. true when a readable file was picked and added.
bool pickmodel() {
  dlgnomodel();
  char16_t pickedW[OS_MAXPATH];
  char pickedA[OS_MAXPATH * 2];
  bool picked;
  if (argListW.count >= argList.count) {
    picked = fileopendlgW(pickedW, progDirW) == 0;
    if (picked) {
      argaddW(pickedW);
      if (oswide2ansi(pickedW, pickedA, sizeof pickedA) != 0) pickedA[0] = '?', pickedA[1] = 0;
      argadd(pickedA);
      picked = rftryopenW(pickedW) == 0;
    }
  } else {
    picked = fileopendlg(pickedA, progDir) == 0;
    if (picked) {
      argadd(pickedA);
      if (osansi2wide(pickedA, pickedW, OS_MAXPATH) != 0) pickedW[0] = u'?', pickedW[1] = 0;
      argaddW(pickedW);
      picked = rftryopen(pickedA) == 0;
    }
  }
  if (!picked) return false;
  rfclose();
  Info.displayLevel = 0;
  return true;
}

// -h or --help anywhere, or /? where '/' starts options: the usage and nothing else.
bool helpasked() {
  for (int j = 1; j < argList.count; j++) {
    const char* a = argget(j);
    if (strcmp(a, "-h") == 0 || strcmp(a, "--help") == 0 || (osoptionchar('/') && strcmp(a, "/?") == 0)) {
      return true;
    }
  }
  return false;
}

// A form too long for the path buffers counts as missing: it is neither probed nor used.
bool fitsA(const char* a) { return a[0] != 0 && strlen(a) < OS_MAXPATH; }
bool fitsW(const char16_t* w) { return w[0] != 0 && unistrlen(w) < OS_MAXPATH; }

void badnameline(const char* shownname) {
  conprintf("The name is not valid UTF-8, so no path can name it: %s \n", shownname);
}

void probe(const char* a, const char16_t* w) {
  if (fitsA(a) && rftryopen(a) == 0) {
    conputs(" -- correctly opened in ANSI or UTF-8. \n");
    rfclose();
    return;
  }
  conputs(" -- could not open in ANSI or UTF-8. \n");
  if (fitsW(w) && rftryopenW(w) == 0) {
    conputs(" -- correctly opened in UTF-16. \n");
    rfclose();
  } else {
    conputs(" -- could not open in UTF-16. (***) \n");
  }
}

// Copies a model's paths into the model paths; a form that is empty or does not fit the
// path buffers counts as missing. false when neither form can be used.
bool takepaths(const char* a, const char16_t* w) {
  model.ansiMissing = !fitsA(a);
  model.wideMissing = !fitsW(w);
  if (model.ansiMissing) {
    model.pathA[0] = 0;
  } else {
    memcpy(model.pathA, a, strlen(a) + 1);
  }
  if (model.wideMissing) {
    model.pathW[0] = 0;
  } else {
    unistrcpy(model.pathW, w);
  }
  getdir(model.dirA, model.pathA);
  getdirW(model.dirW, model.pathW);
  if (!model.ansiMissing || !model.wideMissing) return true;
  conprintf("Path too long (%d characters at most): %s \n", OS_MAXPATH - 1, a);
  return false;
}

// The name of a file as stored on disk, in both forms. Where the ANSI path is missing
// (too long), the ANSI name is the exact form of the UTF-16 one.
void realnames(const char* pathA, const char16_t* pathW, char* realA, char16_t* realW) {
  findrealname(realA, pathA);
  findrealnameW(realW, pathW);
  if (realA[0] == 0 && realW[0] != 0 && oswide2ansi(realW, realA, OS_MAXPATH) != 0) realA[0] = 0;
}

bool extensionok() {
  char realA[OS_MAXPATH];
  char16_t realW[OS_MAXPATH];
  char extA[OS_MAXPATH];
  char16_t extW[OS_MAXPATH];
  realnames(model.pathA, model.pathW, realA, realW);
  bool wideExt = getextW(extW, realW) != 0;
  getext(extA, realA);
  if (wideExt && (headcmpi(extA, ".PMX") == 0 || headcmpi(extA, ".PMD") == 0)) return true;
  if (Cancel.displaying.dialogue >= 2) return true;
  return dlgaskextension(realA, realW, model.utf16mode()) == 1;
}

// The format by the file's first bytes, whatever its name: "Pmd" is a PMD model; the
// PMX reader takes everything else, and says what is wrong with it.
bool ispmd(const char* pathA, const char16_t* pathW) {
  if ((pathW != nullptr ? rftryopenW(pathW) : rftryopen(pathA)) != 0) return false;
  char magic[3];
  bool pmd = rfread(magic, 3) == 3 && memcmp(magic, "Pmd", 3) == 0;
  rfclose();
  return pmd;
}

int readas(const char* pathA, const char16_t* pathW) {
  model.pmd = ispmd(pathA, pathW);
  int r;
  if (model.pmd) {
    // A PMD has one name of the other kinds: the model's.
    pmdsetfillmodelname(Fill.everyKind != 0);
    r = pathW != nullptr ? pmdreadW(pathW) : pmdreadA(pathA);
    pmxModel.nameChangeCount = pmdModel.nameChangeCount;
    pmxModel.kindChangeCount = pmdModel.kindChangeCount;
  } else {
    r = pathW != nullptr ? pmdinforeadW(pathW) : pmdinforeadA(pathA);
  }
  return r;
}

// Both reads of the model: ANSI path first, then UTF-16. The reader's result.
int readmodel() {
  pmxModel.nameChangeCount = 0;
  int r;
  if (model.ansiMissing) {
    conputs("The ANSI path is too long: reading in UTF-16. \n");
  } else {
    r = readas(model.pathA, nullptr);
    if (r == 0) return 0;
    model.ansiMissing = true;
    conputs("Re-opening in UTF-16. \n");
  }
  r = readas(nullptr, model.pathW);
  if (r == 0) return 0;
  model.wideMissing = true;
  conprintf("pmdinforead err %d. \n", r);
  return r;
}

void report(const char* nameA, const char16_t* nameW, bool saved, bool boxed,
            TableNote table = TABLE_NONE) {
  char realA[OS_MAXPATH], tableA[OS_MAXPATH];
  char16_t realW[OS_MAXPATH], tableW[OS_MAXPATH];
  realnames(nameA, nameW, realA, realW);
  if (saved) {
    realnames(model.tableA, model.tableW, tableA, tableW);
    dlgsaved(realA, realW, model.utf16mode(), wfsavemarks(SG_NAMES), wfsavemarks(SG_KINDS), boxed,
             table, tableA, tableW);
  } else {
    dlgunchanged(realA, realW, model.utf16mode(), boxed);
  }
}

int firstfailure(int runcode, int code) { return runcode == RUN_OK ? code : runcode; }

void endofrun(int runcode) {
  if (runcode == RUN_OK) return;
  conprintf("Error code %d. \n", runcode);
  switch (runcode) {
    case RUN_CANNOTOPEN: conputs(": cannot open file. \n"); break;
    case RUN_NOTSAVED: conputs(": new model not saved. \n"); break;
    case RUN_FORMAT: conputs(": file format. \n"); break;
    case RUN_ENDEARLY: conputs(": file end before closing. \n"); break;
    default: break;
  }
}

// What became of one model.
enum Outcome { MODEL_SAVED, MODEL_UNCHANGED, MODEL_FAILED, MODEL_DECLINED, MODEL_SEEN };

// The files processed in this run, by identity, so that a model named several ways
// (alone, in its folder, through another path) is processed once. An open-addressed
// table; once it is half full, later models are no longer checked.
constexpr int kSeenSlots = 1 << 17;
constexpr int kSeenMax = kSeenSlots / 2;
OsFileId seen[kSeenSlots];
bool seenused[kSeenSlots];
int seencount;

// true when the file was processed before in this run; remembers it otherwise.
bool seenbefore(const OsFileId& id) {
  uint64_t h = (id.volume * 0x9E3779B97F4A7C15ull) ^ (id.file * 0xC2B2AE3D27D4EB4Full);
  for (uint32_t i = static_cast<uint32_t>(h >> 40) & (kSeenSlots - 1);; i = (i + 1) & (kSeenSlots - 1)) {
    if (!seenused[i]) {
      if (seencount >= kSeenMax) return false;
      seenused[i] = true;
      seen[i] = id;
      seencount++;
      return false;
    }
    if (seen[i].volume == id.volume && seen[i].file == id.file) return true;
  }
}

// Names tables written for models from folders, and tables applied in the run.
int folderTables;
int appliedTables;

NtEncoding modelencoding() {
  if (model.pmd) return NtEncoding::sjis;
  return pmxModel.encoding == 0 ? NtEncoding::utf16le : NtEncoding::utf8;
}

// The model of the model paths read and reported: its rules, the reading pass, its
// counts. false when it could not be read or its data is broken (*runcode records it).
bool readstep(int* runcode) {
  aliasload(dataDir, dataDirW);
  int r = readmodel();
  if (r != 0) {
    conputs("The model was not read: nothing was written. \n\n");
    *runcode = firstfailure(*runcode, r == 2 ? RUN_FORMAT : RUN_CANNOTOPEN);
    return false;
  }
  conprintf("pmx dir: %s \n", model.dirA);
  int status = model.pmd ? pmdreadstatus() : pmdinforeadstatus();
  if (status != 0) {
    conputs("The model's data is broken: nothing was written. \n\n");
    *runcode = firstfailure(*runcode, status == 3 ? RUN_ENDEARLY : RUN_FORMAT);
    return false;
  }
  dlgvacantcount(pmxModel.nameChangeCount);
  // A PMD given its English section gets the model's name with it, also without -O.
  if (Fill.everyKind != 0 || pmxModel.kindChangeCount > 0) dlgkindcount(pmxModel.kindChangeCount);
  conputs("\n");
  return true;
}

// The copy of the model under the next free "-new" name: 0 saved, 1 not written because
// it would change nothing, -1 failed (*runcode records it).
int savestep(int* runcode) {
  int named = outputname(model.pathA, model.pathW, model.outA, model.outW);
  if (named != 0) {
    conputs(named == -2 ? "The output name is too long: nothing was written. \n"
                        : "No free output name (-new to -new(99) are taken): nothing was written. \n");
    conputs("New PMX save failed. \n");
    *runcode = firstfailure(*runcode, RUN_NOTSAVED);
    return -1;
  }
  int saved;
  if (model.utf16mode()) {
    conputs("Saving in UTF-16 mode. \n");
    saved = (model.pmd ? pmdrewrite : pmxrewrite)(model.outA, model.outW, model.pathA, model.pathW, 1);
  } else {
    conputs("Saving in ANSI/UTF-8 mode. \n");
    saved = (model.pmd ? pmdrewrite : pmxrewrite)(model.outA, model.outW, model.pathA, model.pathW, 0);
  }
  if (saved == 1) return 1;
  if (saved != 0) {
    conputs("New PMX save failed. \n");
    *runcode = firstfailure(*runcode, RUN_NOTSAVED);
    return -1;
  }
  return 0;
}

// The names table of the copy just saved, beside the model. A table that cannot be
// written is a failure of the run, though the copy stays.
TableNote writetable(int* runcode) {
  int named = tablename(model.pathA, model.pathW, model.tableA, model.tableW);
  const int useW = model.utf16mode() ? 1 : 0;
  if (named == 0 && (useW ? model.tableW[0] : model.tableA[0]) != 0 &&
      tbwrite(model.tableA, model.tableW, model.pathA, model.pathW, useW) == 0) {
    char realA[OS_MAXPATH];
    char16_t realW[OS_MAXPATH];
    realnames(model.tableA, model.tableW, realA, realW);
    dlgtablewritten(realA);
    return TABLE_WRITTEN;
  }
  if (named == -1) conputs("No free name for the names table (.names to .names(99) are taken). \n");
  if (named == -2) conputs("The names table's name is too long. \n");
  dlgtablefailed();
  *runcode = firstfailure(*runcode, RUN_NOTSAVED);
  return TABLE_FAILED;
}

// One model through the pipeline. *runcode keeps the first failure of the run, and
// takes the declined question on top.
int runmodel(const char* a, const char16_t* w, bool fromfolder, bool last, bool anysaved,
             int* runcode) {
  model.ansiMissing = model.wideMissing = false;
  if (!takepaths(a, w)) {
    conputs("The model was not read: nothing was written. \n\n");
    *runcode = firstfailure(*runcode, RUN_CANNOTOPEN);
    return MODEL_FAILED;
  }
  OsFileId id;
  bool known = model.ansiMissing ? osfileidW(model.pathW, &id) == 0
                                 : osfileid(model.pathA, &id) == 0 ||
                                       (!model.wideMissing && osfileidW(model.pathW, &id) == 0);
  if (known && seenbefore(id)) {
    conprintf("Already processed in this run: %s \n\n", a);
    return MODEL_SEEN;
  }
  conputs("\n");

  if (!extensionok()) {
    dlgskipnotice(last && !anysaved);
    conflush();
    ossleep(700);
    *runcode |= RUN_DECLINED;
    return MODEL_DECLINED;
  }

  if (!readstep(runcode)) return MODEL_FAILED;
  bool boxed = !fromfolder;
  if (pmxModel.nameChangeCount + pmxModel.kindChangeCount < 1) {
    report(model.pathA, model.pathW, false, boxed);
    return MODEL_UNCHANGED;
  }
  ntbegin(modelencoding(), Table.write != 0);
  const int saved = savestep(runcode);
  if (saved < 0) return MODEL_FAILED;
  // A copy that would change nothing is not written, and so has no table either.
  if (saved == 1) {
    report(model.pathA, model.pathW, false, boxed);
    return MODEL_UNCHANGED;
  }
  conputs("Save OK. \n\n");
  TableNote table = TABLE_NONE;
  if (Table.write != 0) {
    table = writetable(runcode);
    if (table == TABLE_WRITTEN && fromfolder) folderTables++;
    conputs("\n");
  }
  report(model.outA, model.outW, true, boxed, table);
  return MODEL_SAVED;
}

// ---- Names tables -----------------------------------------------------------------

// The table being applied: its paths in both forms, the one to read it by.
struct TablePaths {
  char pathA[OS_MAXPATH];
  char16_t pathW[OS_MAXPATH];
  int useW;
};
TablePaths table;

// Whether an argument names a names table rather than a model.
bool istable(const char* a, const char16_t* w) {
  char nameA[OS_MAXPATH];
  char16_t nameW[OS_MAXPATH];
  int stem;
  if (fitsA(a)) {
    getfname(nameA, a);
    return tbisname(nameA, &stem);
  }
  if (!fitsW(w)) return false;
  getfnameW(nameW, w);
  return tbisnameW(nameW, &stem);
}

void fname(char* out, const char* path) { getfname(out, path); }
void fname(char16_t* out, const char16_t* path) { getfnameW(out, path); }
bool tablefile(const char* name, int* stem) { return tbisname(name, stem); }
bool tablefile(const char16_t* name, int* stem) { return tbisnameW(name, stem); }

// s and t have the same n characters, ASCII letters in any case.
template <typename Ch, typename Ct>
bool sameletters(const Ch* s, const Ct* t, int n) {
  auto lower = [](char32_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  for (int i = 0; i < n; i++) {
    if (lower(static_cast<char32_t>(s[i])) != lower(static_cast<char32_t>(t[i]))) return false;
  }
  return true;
}

// The models beside a table, "<stem>.pmx" or "<stem>.pmd" in any letter case, looked
// up through one path form: how many there are; the extension of the first in ext.
template <typename Ch, typename First, typename Next>
int modelsbeside(const Ch* path, char* ext, First first, Next next) {
  Ch name[OS_MAXPATH], pattern[OS_MAXPATH + 4], found[OS_MAXPATH];
  int stem;
  fname(name, path);
  if (!tablefile(name, &stem)) return 0;
  int n = 0;
  while (path[n] != 0) n++;
  for (int i = 0; name[i] != 0; i++) n--;  // the folder's length
  n += stem;
  for (int i = 0; i < n; i++) pattern[i] = path[i];
  pattern[n] = '.';
  pattern[n + 1] = '*';
  pattern[n + 2] = 0;
  int count = 0;
  bool isdir;
  for (int r = first(pattern, found, OS_MAXPATH, &isdir); r == 0; r = next(found, OS_MAXPATH, &isdir)) {
    int len = 0;
    while (found[len] != 0) len++;
    if (isdir || len != stem + 4 || !sameletters(found, name, stem) ||
        !(sameletters(found + stem, ".pmx", 4) || sameletters(found + stem, ".pmd", 4)))
      continue;
    if (count++ == 0) {
      for (int i = 0; i < 4; i++) ext[i] = static_cast<char>(found[stem + i]);
      ext[4] = 0;
    }
  }
  osfindclose();
  return count;
}

// The model a table belongs to: "<stem>.pmx" or "<stem>.pmd" in the table's folder.
// The number found; when it is one, its paths are the model paths. The ANSI form is
// searched unless a character of the name has none ('?' stands there, which would
// match other names).
int findmodel(const char* a, const char16_t* w) {
  char ext[8] = "";
  const bool useA = fitsA(a) && strchr(a, '?') == nullptr;
  int count = 0;
  if (useA) {
    count = modelsbeside(a, ext, osfindfirst, osfindnext);
  } else if (fitsW(w)) {
    count = modelsbeside(w, ext, osfindfirstW, osfindnextW);
  }
  if (count != 1) return count;
  // Both forms of the model's path: the table's folder and stem, the extension found.
  char pathA[OS_MAXPATH] = "";
  char16_t pathW[OS_MAXPATH] = {0};
  char nameA[OS_MAXPATH];
  char16_t nameW[OS_MAXPATH];
  int stem;
  if (useA) getfname(nameA, a);
  if (useA && tbisname(nameA, &stem)) {
    const size_t keep = strlen(a) - strlen(nameA) + static_cast<size_t>(stem);
    if (keep + 5 <= OS_MAXPATH) {
      memcpy(pathA, a, keep);
      memcpy(pathA + keep, ext, 5);
    }
  }
  if (fitsW(w)) getfnameW(nameW, w);
  if (fitsW(w) && tbisnameW(nameW, &stem)) {
    const int keep = unistrlen(w) - unistrlen(nameW) + stem;
    if (keep + 5 <= OS_MAXPATH) {
      for (int i = 0; i < keep; i++) pathW[i] = w[i];
      for (int i = 0; i < 5; i++) pathW[keep + i] = static_cast<char16_t>(ext[i]);
    }
  }
  model.ansiMissing = model.wideMissing = false;
  return takepaths(pathA, pathW) ? 1 : 0;
}

void tablerefused(TableRefusal why, int* runcode) {
  char realA[OS_MAXPATH];
  char16_t realW[OS_MAXPATH];
  realnames(table.pathA, table.pathW, realA, realW);
  dlgrefused(realA, realW, table.useW != 0, why);
  *runcode = firstfailure(*runcode, why == TABLE_NOMODEL ? RUN_CANNOTOPEN : RUN_NOTSAVED);
}

// A names table through its own pipeline: its model found and read, the table read and
// checked against it, then a copy of the model with the table's English names.
int runtable(const char* a, const char16_t* w, int* runcode) {
  conputs("\n");
  table.pathA[0] = 0;
  table.pathW[0] = 0;
  if (fitsA(a)) memcpy(table.pathA, a, strlen(a) + 1);
  if (fitsW(w)) unistrcpy(table.pathW, w);
  table.useW = table.pathA[0] != 0 && rftryopen(table.pathA) == 0 ? 0 : 1;
  rfclose();
  int models = findmodel(a, w);
  if (models != 1) {
    tablerefused(models == 0 ? TABLE_NOMODEL : TABLE_TWOMODELS, runcode);
    return MODEL_FAILED;
  }
  char shownTable[OS_MAXPATH * 2], shownModel[OS_MAXPATH * 2];
  if (table.useW != 0) {
    unistr2sjis(shownTable, table.pathW);
  } else {
    snprintf(shownTable, sizeof shownTable, "%s", table.pathA);
  }
  if (model.ansiMissing) {
    unistr2sjis(shownModel, model.pathW);
  } else {
    snprintf(shownModel, sizeof shownModel, "%s", model.pathA);
  }
  dlgtableapply(shownTable, shownModel);
  if (!readstep(runcode)) return MODEL_FAILED;

  ntbegin(modelencoding(), false);
  const int useW = model.ansiMissing ? 1 : 0;
  int listed = model.pmd ? pmdreadnames(model.pathA, model.pathW, useW)
                         : pmxreadnames(model.pathA, model.pathW, useW);
  int faults = listed == 0 ? tbread(table.pathA, table.pathW, table.useW) : -1;
  if (faults != 0) {
    tablerefused(TABLE_MISFIT, runcode);
    return MODEL_FAILED;
  }
  // The vacant names do not decide here: the table may change names the model has.
  const int saved = savestep(runcode);
  if (saved < 0) return MODEL_FAILED;
  // The table leaves every name as the model has it: a run that writes no copy writes
  // nothing else either, so no correction is remembered.
  if (saved == 1) {
    report(model.pathA, model.pathW, false, true);
    return MODEL_UNCHANGED;
  }
  dlgtablechanged(ntchanged());
  conputs("Save OK. \n\n");
  if (Table.remember != 0) {
    int already = 0;
    // The word list lives with the other data files, where the dictionary reads it.
    int added = tbremember(dataDir, dataDirW, &already);
    if (added >= 0) {
      char list[OS_MAXPATH + 32];
      snprintf(list, sizeof list, "%s%s", dataDir, TB_WORDLIST);
      dlgremembered(list, added, already);
    } else {
      *runcode = firstfailure(*runcode, RUN_NOTSAVED);
    }
    conputs("\n");
  }
  char realA[OS_MAXPATH], tableA[OS_MAXPATH];
  char16_t realW[OS_MAXPATH], tableW[OS_MAXPATH];
  realnames(model.outA, model.outW, realA, realW);
  realnames(table.pathA, table.pathW, tableA, tableW);
  dlgapplied(realA, realW, model.utf16mode(), tableA, tableW, ntchanged());
  appliedTables++;
  return MODEL_SAVED;
}

// Every model of a folder argument through the pipeline; entries of the folder that
// were left out count as models that could not be opened.
int runfolder(int j, bool* anysaved, int* runcode, int* tally) {
  const char* a;
  const char16_t* w;
  folderfirst(j, false);
  int outcome = MODEL_UNCHANGED;
  while (foldernext(&a, &w)) {
    conflush();
    outcome = runmodel(a, w, true, false, *anysaved, runcode);
    if (outcome == MODEL_DECLINED) return outcome;
    if (outcome == MODEL_SAVED) *anysaved = true;
    if (outcome <= MODEL_FAILED) tally[outcome]++;
  }
  if (folderfailures() > 0) {
    tally[MODEL_FAILED] += folderfailures();
    *runcode = firstfailure(*runcode, RUN_CANNOTOPEN);
    conputs("\n");
  }
  return outcome;
}

}  // namespace

int nwmain(int argc, char** argv) {
  osconsoleinit();
  dlginit();
  startbanner();
  buildargs(argc, argv);
  if (helpasked()) {
    dlgusage();
    conflush();
    return 0;
  }
  bool troubled = false;
  int foldermodels = folderscan(&troubled);
  progdirset();
  datadirset();
  settingsdefaults();
  setupread();
  // A model named from half a dictionary would differ from the one the user expects.
  if (dictload(dataDir, dataDirW) != 0) {
    conputs("The dictionary could not be read whole: no model is saved. \n");
    conflush();
    return RUN_NOTSAVED;
  }

  // Options name no model, and folders without models stand for nothing: without
  // anything else the run is one started without a model.
  int named = foldermodels;
  for (int j = 1; j < argList.count; j++) {
    named += argisfolder(j) || osoptionchar(argget(j)[0]) ? 0 : 1;
  }
  if (named == 0 && !troubled && !pickmodel()) {
    dlgusage();
    conflush();
    return 0;
  }

  for (int i = 1; i < argList.count; i++) {
    if (osoptionchar(argget(i)[0])) {
      optiongroup(argget(i), true);
    } else if (argisbad(i)) {
      badnameline(argget(i));
    } else if (argisfolder(i)) {
      const char* a;
      const char16_t* w;
      folderfirst(i, true);
      while (foldernext(&a, &w)) probe(a, w);
    } else {
      probe(argget(i), arggetW(i));
    }
  }

  int runcode = RUN_OK;
  bool anysaved = false;
  int tally[MODEL_FAILED + 1] = {0, 0, 0};  // models from folders, by outcome
  for (int j = 1; j < argList.count; j++) {
    conflush();  // what the previous model printed, before this one starts
    int outcome;
    if (osoptionchar(argget(j)[0])) {
      optiongroup(argget(j), false);
      continue;
    }
    if (argisbad(j)) {
      badnameline(argget(j));
      conputs("The model was not read: nothing was written. \n\n");
      runcode = firstfailure(runcode, RUN_CANNOTOPEN);
      continue;
    }
    if (argisfolder(j)) {
      outcome = runfolder(j, &anysaved, &runcode, tally);
    } else if (istable(argget(j), arggetW(j))) {
      outcome = runtable(argget(j), arggetW(j), &runcode);
    } else {
      outcome = runmodel(argget(j), arggetW(j), false, j == argList.count - 1, anysaved, &runcode);
    }
    if (outcome == MODEL_DECLINED) break;
    if (outcome == MODEL_SAVED) anysaved = true;
  }
  if (tally[MODEL_SAVED] + tally[MODEL_UNCHANGED] + tally[MODEL_FAILED] > 0) {
    dlgfolders(tally[MODEL_SAVED], tally[MODEL_UNCHANGED], tally[MODEL_FAILED],
               Table.write != 0 ? folderTables : -1, appliedTables);
  }

  endofrun(runcode);
  conflush();
  return runcode;
}
