// driver.cpp - the run and the per-model pipeline.
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
#include "names/dict.h"
#include "names/rules.h"
#include "platform/platform.h"
#include "pmx/pmx.h"
#include "pmx/pmxmodel.h"
#include "setup/settings.h"
#include "text/console.h"
#include "text/sjis.h"
#include "ui/filedlg.h"
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
      if (osargW(argv[i], argbufW, ARG_STORESIZE + 1) != 0) argbufW[0] = u'?', argbufW[1] = 0;
      argaddW(argbufW);
    }
  }
  for (int i = 0; i < argc; i++) {
    if (i >= ARG_MAXENTRIES) {
      argtoomany();
      break;
    }
    if (osargA(argv[i], argbufA, sizeof argbufA) != 0) argbufA[0] = '?', argbufA[1] = 0;
    if (i < argListW.count) exactansi(argbufA, sizeof argbufA, arggetW(i));
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

// A form too long for the path buffers counts as missing: it is neither probed nor used.
bool fitsA(const char* a) { return a[0] != 0 && strlen(a) < OS_MAXPATH; }
bool fitsW(const char16_t* w) { return w[0] != 0 && unistrlen(w) < OS_MAXPATH; }

void probe(int i) {
  if (fitsA(argget(i)) && rftryopen(argget(i)) == 0) {
    conputs(" -- correctly opened in ANSI or UTF-8. \n");
    rfclose();
    return;
  }
  conputs(" -- could not open in ANSI or UTF-8. \n");
  if (fitsW(arggetW(i)) && rftryopenW(arggetW(i)) == 0) {
    conputs(" -- correctly opened in UTF-16. \n");
    rfclose();
  } else {
    conputs(" -- could not open in UTF-16. (***) \n");
  }
}

// Copies argument j into the model paths; a form that is empty or does not fit the
// path buffers counts as missing. false when neither form can be used.
bool takepaths(int j) {
  const char* a = argget(j);
  const char16_t* w = arggetW(j);
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
  if (wideExt && headcmpi(extA, ".PMX") == 0) return true;
  if (Cancel.displaying.dialogue >= 2) return true;
  return dlgaskextension(realA, realW, model.utf16mode()) == 1;
}

// Both reads of the model: ANSI path first, then UTF-16. The reader's result.
int readmodel() {
  pmxModel.nameChangeCount = 0;
  int r;
  if (model.ansiMissing) {
    conputs("The ANSI path is too long: reading in UTF-16. \n");
  } else {
    r = pmdinforeadA(model.pathA);
    if (r == 0) return 0;
    model.ansiMissing = true;
    conputs("Re-opening in UTF-16. \n");
  }
  r = pmdinforeadW(model.pathW);
  if (r == 0) return 0;
  model.wideMissing = true;
  conprintf("pmdinforead err %d. \n", r);
  return r;
}

// The folder as far as the file-name part. A slash ends the file name on Windows, so
// the folder must end there too for the copy to land beside the model.
template <typename Ch>
void folderpart(Ch* dir, const Ch* path, const Ch* name) {
  size_t n = std::char_traits<Ch>::length(path) - std::char_traits<Ch>::length(name);
  memcpy(dir, path, n * sizeof(Ch));
  dir[n] = 0;
}

// dst = parts joined; false when the result does not fit a path buffer.
template <typename Ch>
bool join(Ch* dst, std::initializer_list<const Ch*> parts) {
  size_t n = 0;
  for (const Ch* part : parts) {
    size_t len = std::char_traits<Ch>::length(part);
    if (n + len >= OS_MAXPATH) return false;
    memcpy(dst + n, part, len * sizeof(Ch));
    n += len;
  }
  dst[n] = 0;
  return true;
}

void report(const char* nameA, const char16_t* nameW, bool saved, bool boxed) {
  char realA[OS_MAXPATH];
  char16_t realW[OS_MAXPATH];
  realnames(nameA, nameW, realA, realW);
  if (saved) {
    dlgsaved(realA, realW, model.utf16mode(), pmxModel.nameChangeCount, boxed);
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

// What became of one argument.
enum Outcome { MODEL_SAVED, MODEL_UNCHANGED, MODEL_FAILED, MODEL_OPTION, MODEL_DECLINED };

// Argument j through the pipeline. *runcode keeps the first failure of the run, and
// takes the declined question on top.
int runmodel(int j, bool anysaved, int* runcode) {
  model.ansiMissing = model.wideMissing = false;
  if (osoptionchar(argget(j)[0])) {
    optiongroup(argget(j), false);
    return MODEL_OPTION;
  }
  if (!takepaths(j)) {
    conputs("The model was not read: nothing was written. \n\n");
    *runcode = firstfailure(*runcode, RUN_CANNOTOPEN);
    return MODEL_FAILED;
  }
  conputs("\n");

  if (!extensionok()) {
    dlgskipnotice(j == argList.count - 1 && !anysaved);
    conflush();
    ossleep(700);
    *runcode |= RUN_DECLINED;
    return MODEL_DECLINED;
  }

  aliasload(progDir, progDirW);

  int r = readmodel();
  if (r != 0) {
    conputs("The model was not read: nothing was written. \n\n");
    *runcode = firstfailure(*runcode, r == 2 ? RUN_FORMAT : RUN_CANNOTOPEN);
    return MODEL_FAILED;
  }
  conprintf("pmx dir: %s \n", model.dirA);
  int status = pmdinforeadstatus();
  if (status != 0) {
    conputs("The model's data is broken: nothing was written. \n\n");
    *runcode = firstfailure(*runcode, status == 3 ? RUN_ENDEARLY : RUN_FORMAT);
    return MODEL_FAILED;
  }
  dlgvacantcount(pmxModel.nameChangeCount);
  conputs("\n");

  bool boxed = !argfromfolder(j);
  if (pmxModel.nameChangeCount < 1) {
    report(model.pathA, model.pathW, false, boxed);
    return MODEL_UNCHANGED;
  }
  int named = outputname(model.pathA, model.pathW, model.outA, model.outW);
  if (named != 0) {
    conputs(named == -2 ? "The output name is too long: nothing was written. \n"
                        : "No free output name (-new to -new(99) are taken): nothing was written. \n");
    conputs("New PMX save failed. \n");
    *runcode = firstfailure(*runcode, RUN_NOTSAVED);
    return MODEL_FAILED;
  }
  int saved;
  if (model.utf16mode()) {
    conputs("Saving in UTF-16 mode. \n");
    saved = pmxrewriteW(model.outW, model.pathW);
  } else {
    conputs("Saving in ANSI/UTF-8 mode. \n");
    saved = pmxrewriteA(model.outA, model.pathA);
  }
  if (saved != 0) {
    conputs("New PMX save failed. \n");
    *runcode = firstfailure(*runcode, RUN_NOTSAVED);
    return MODEL_FAILED;
  }
  conputs("Save OK. \n\n");
  report(model.outA, model.outW, true, boxed);
  return MODEL_SAVED;
}

}  // namespace

int outputname(const char* modelA, const char16_t* modelW, char* outA, char16_t* outW) {
  char dirA[OS_MAXPATH], nameA[OS_MAXPATH], stemA[OS_MAXPATH], extA[OS_MAXPATH];
  char16_t dirW[OS_MAXPATH], nameW[OS_MAXPATH], stemW[OS_MAXPATH], extW[OS_MAXPATH];
  getfname(nameA, modelA);
  folderpart(dirA, modelA, nameA);
  getext(extA, nameA);
  cutext(stemA, nameA);
  getfnameW(nameW, modelW);
  folderpart(dirW, modelW, nameW);
  getextW(extW, nameW);
  cutextW(stemW, nameW);
  // Candidate 100 would repeat candidate 0, so 0..99 cover every name there is.
  // A missing form is no path: probing it would look at "-new" in the working folder.
  const bool hasA = modelA[0] != 0, hasW = modelW[0] != 0;
  for (int k = 0; k < 100; k++) {
    char suffixA[8] = "";
    char16_t suffixW[8] = {0};
    if (k > 0) snprintf(suffixA, sizeof suffixA, "(%d)", k);
    for (int i = 0; i < 8; i++) suffixW[i] = static_cast<char16_t>(suffixA[i]);
    bool okA = hasA && join<char>(outA, {dirA, stemA, "-new", suffixA, extA});
    bool okW = hasW && join<char16_t>(outW, {dirW, stemW, u"-new", suffixW, extW});
    if (!okA) outA[0] = 0;
    if (!okW) outW[0] = 0;
    if (!okA && !okW) return -2;
    if (okA && rftryopen(outA) == 0) {
      rfclose();
      continue;
    }
    if (okW && rftryopenW(outW) == 0) {
      rfclose();
      continue;
    }
    return 0;
  }
  return -1;
}

int nwmain(int argc, char** argv) {
  osconsoleinit();
  dlginit();
  startbanner();
  buildargs(argc, argv);
  argexpandfolders();
  progdirset();
  settingsdefaults();
  setupread();
  // A model named from half a dictionary would differ from the one the user expects.
  if (dictload(progDir, progDirW) != 0) {
    conputs("The dictionary could not be read whole: no model is saved. \n");
    conflush();
    return RUN_NOTSAVED;
  }

  if (argList.count <= 1 && !pickmodel()) {
    conputs("Usage \n");
    conputs("   Namewright <pmxFileName>.pmx \n");
    conflush();
    return 0;
  }

  for (int i = 1; i < argList.count; i++) {
    if (osoptionchar(argget(i)[0])) {
      optiongroup(argget(i), true);
    } else {
      probe(i);
    }
  }

  int runcode = RUN_OK;
  bool anysaved = false;
  int tally[MODEL_FAILED + 1] = {0, 0, 0};  // models from folders, by outcome
  for (int j = 1; j < argList.count; j++) {
    conflush();  // what the previous model printed, before this one starts
    int outcome = runmodel(j, anysaved, &runcode);
    if (outcome == MODEL_DECLINED) break;
    if (outcome == MODEL_SAVED) anysaved = true;
    if (outcome != MODEL_OPTION && argfromfolder(j)) tally[outcome]++;
  }
  if (tally[MODEL_SAVED] + tally[MODEL_UNCHANGED] + tally[MODEL_FAILED] > 0) {
    dlgfolders(tally[MODEL_SAVED], tally[MODEL_UNCHANGED], tally[MODEL_FAILED]);
  }

  endofrun(runcode);
  conflush();
  return runcode;
}
