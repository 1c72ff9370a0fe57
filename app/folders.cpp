// folders.cpp - walking folders named as models, one PMX or PMD model at a time.
//
// The walk keeps no listing open while it descends: the platform reads one folder at a
// time. Each level finds its next entry by reading its folder again for the smallest
// key above the one taken last, and that key stays in the walk's path behind the
// folder, so the path and the start of each level in it are the whole state of the walk.
#include "app/folders.h"

#include <cstring>
#include <string>

#include "app/args.h"
#include "app/dialogue.h"
#include "platform/platform.h"
#include "text/console.h"
#include "ui/paths.h"

namespace {

using Units = std::char_traits<char16_t>;

bool isfolder[ARG_MAXENTRIES + 1];

constexpr size_t kNameMax = 258;  // a name of 255 units, its separator, the terminator
// Every level adds at least two units (a name and its separator) to a path that must
// fit OS_MAXPATH, so this many levels is as deep as a walk can go.
constexpr int kLevelsMax = OS_MAXPATH / 2 + 1;
char16_t walkpath[OS_MAXPATH + kNameMax];
size_t levels[kLevelsMax];  // where each level's key starts in walkpath
int depth;                  // levels in use; 0 when the walk is over
bool walkquiet;
int failures;
char16_t last[kNameMax];  // the key taken last at the level being read
char16_t best[kNameMax];  // the smallest key above it found so far
char16_t name[kNameMax];
char shown[(OS_MAXPATH + kNameMax) * 2];  // a path's ANSI form, for the console
char16_t converted[OS_MAXPATH];
char16_t folderW[OS_MAXPATH];  // the folder argument being walked

void copy(char16_t* dst, const char16_t* src) {
  memcpy(dst, src, (Units::length(src) + 1) * sizeof(char16_t));
}

bool issep(char16_t c) { return c == u'/' || c == static_cast<char16_t>(ossep()); }

// Code point order, which is the byte order of the UTF-8 names: a surrogate unit
// comes after every other unit.
uint32_t unitorder(char16_t c) { return c >= 0xD800 && c <= 0xDFFF ? c + 0x10000u : c; }

int keycmp(const char16_t* s, const char16_t* t) {
  while (*s != 0 && *s == *t) s++, t++;
  return unitorder(*s) < unitorder(*t) ? -1 : unitorder(*s) > unitorder(*t) ? 1 : 0;
}

// A stem ending in "-new" or "-new(<digits>)" is the output of an earlier run.
bool earlieroutput(const char16_t* stem) {
  size_t n = Units::length(stem);
  if (n > 0 && stem[n - 1] == u')') {
    size_t d = n - 1;
    while (d > 0 && stem[d - 1] >= u'0' && stem[d - 1] <= u'9') d--;
    if (d == n - 1 || d == 0 || stem[d - 1] != u'(') return false;
    n = d - 1;
  }
  return n >= 4 && memcmp(stem + n - 4, u"-new", 4 * sizeof(char16_t)) == 0;
}

bool pmxname(const char16_t* file) {
  char16_t part[kNameMax];
  return getextW(part, file) != 0 && Units::length(part) == 4 && (headcmpiW(part, u".PMX") == 0 || headcmpiW(part, u".PMD") == 0);
}

bool ismodel(const char16_t* file) {
  if (!pmxname(file)) return false;
  char16_t stem[kNameMax];
  cutextW(stem, file);
  return !earlieroutput(stem);
}

const char* ansiform(const char16_t* path) {
  if (oswide2ansi(path, shown, sizeof shown) != 0) shown[0] = '?', shown[1] = 0;
  return shown;
}

// An entry of the walk that is left out: said (unless quiet) and counted.
void leftout(const char* what, const char16_t* path) {
  failures++;
  if (!walkquiet) conprintf("%s: %s \n", what, ansiform(path));
}

// Reads the folder walkpath[0, len) for the entry that follows the key behind len (the
// first entry when that is empty): a subfolder (key: its name and a separator), a
// model (key: its name), or a name that cannot be spelled (reported in passing). Leaves
// its key behind len; false when there is none, or the folder cannot be read.
bool nextentry(size_t len, int* kind) {
  copy(last, walkpath + len);
  walkpath[len] = 0;
  if (oslistopenW(walkpath) != 0) {
    leftout("Folder could not be read", walkpath);
    return false;
  }
  bool found = false;
  int k, r;
  while ((r = oslistnextW(name, kNameMax - 1, &k)) == 0) {
    if (k == OSENTRY_OTHER || (k == OSENTRY_FILE && !ismodel(name))) continue;
    if (k == OSENTRY_BADFILE && !pmxname(name)) continue;
    if (k == OSENTRY_FOLDER || k == OSENTRY_BADFOLDER) {
      size_t n = Units::length(name);
      name[n] = static_cast<char16_t>(ossep());
      name[n + 1] = 0;
    }
    if (keycmp(name, last) <= 0 || (found && keycmp(name, best) >= 0)) continue;
    copy(best, name);
    *kind = k;
    found = true;
  }
  oslistclose();
  if (r == -2) {
    leftout("Folder could not be read to its end", walkpath);
    return false;
  }
  if (found) copy(walkpath + len, best);
  return found;
}

// The UTF-16 path of an argument when it names a folder, else nullptr.
const char16_t* folderarg(const char* a, const char16_t* w) {
  if (osoptionchar(static_cast<unsigned char>(a[0]))) return nullptr;
  if (w == nullptr || w[0] == 0) {
    if (osansi2wide(a, converted, OS_MAXPATH) != 0) return nullptr;
    w = converted;
  }
  return osisfolderW(w) ? w : nullptr;
}

}  // namespace

void folderfirst(int j, bool quiet) {
  walkquiet = quiet;
  failures = 0;
  depth = 0;
  const char16_t* folder = arggetW(j);
  if (folder[0] == 0) {
    if (osansi2wide(argget(j), folderW, OS_MAXPATH) != 0) return;
    folder = folderW;
  }
  size_t len = Units::length(folder);
  if (len >= OS_MAXPATH - 2) {
    failures++;
    if (!quiet) conprintf("Path too long (%d characters at most), left out: %s \n", OS_MAXPATH - 1, argget(j));
    return;
  }
  copy(walkpath, folder);
  if (!issep(walkpath[len - 1])) walkpath[len++] = static_cast<char16_t>(ossep());
  walkpath[len] = 0;
  levels[0] = len;
  depth = 1;
}

bool foldernext(const char** pathA, const char16_t** pathW) {
  int kind;
  while (depth > 0) {
    const size_t len = levels[depth - 1];
    if (!nextentry(len, &kind)) {
      depth--;
      if (depth > 0) walkpath[len] = 0;  // the parent's key: the subfolder just left
      continue;
    }
    size_t end = len + Units::length(walkpath + len);
    if (kind == OSENTRY_BADFILE || kind == OSENTRY_BADFOLDER) {
      leftout("Name is not valid UTF-8, left out", walkpath);
      continue;
    }
    // A folder needs room for a file name behind it.
    if (end >= (kind == OSENTRY_FOLDER ? OS_MAXPATH - 1 : OS_MAXPATH) || depth >= kLevelsMax) {
      failures++;
      if (!walkquiet) {
        conprintf("Path too long (%d characters at most), left out: %s \n", OS_MAXPATH - 1, ansiform(walkpath));
      }
      continue;
    }
    if (kind == OSENTRY_FOLDER) {
      levels[depth++] = end;
      walkpath[end] = 0;
      continue;
    }
    *pathW = walkpath;
    *pathA = ansiform(walkpath);
    return true;
  }
  return false;
}

int folderfailures() { return failures; }

int folderscan(bool* troubled) {
  memset(isfolder, 0, sizeof isfolder);
  *troubled = false;
  int models = 0;
  for (int j = 1; j < argList.count && j <= ARG_MAXENTRIES; j++) {
    if (argisbad(j) || folderarg(argget(j), arggetW(j)) == nullptr) continue;
    isfolder[j] = true;
    int added = 0;
    const char* a;
    const char16_t* w;
    folderfirst(j, true);
    while (foldernext(&a, &w)) added++;
    if (added > 0) {
      dlgfoldermodels(argget(j), added);
    } else if (failures == 0) {
      dlgfoldernone(argget(j));
    }
    if (failures > 0) *troubled = true;
    models += added;
  }
  return models;
}

bool argisfolder(int j) { return j >= 0 && j <= ARG_MAXENTRIES && isfolder[j]; }
