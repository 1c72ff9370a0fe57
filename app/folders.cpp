// folders.cpp - expanding folder arguments into the PMX and PMD models they hold.
//
// The walk keeps no listing open while it descends: the platform reads one folder at a
// time. Each level finds its next entry by reading its folder again for the smallest
// key above the one taken last, and that key stays in the walk's path behind the
// folder, so the path itself is the whole state of the walk.
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

ArgList givenA;  // the lists as the command line gave them
ArgListW givenW;
bool fromfolder[ARG_MAXENTRIES + 1];

constexpr size_t kNameMax = 258;  // a name of 255 units, its separator, the terminator
char16_t walkpath[OS_MAXPATH + kNameMax];
char16_t last[kNameMax];  // the key taken last at the level being read
char16_t best[kNameMax];  // the smallest key above it found so far
char16_t name[kNameMax];
char shown[(OS_MAXPATH + kNameMax) * 2];  // a path's ANSI form, for the console
char16_t converted[OS_MAXPATH];
int added;

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

bool ismodel(const char16_t* file) {
  char16_t part[kNameMax];
  if (getextW(part, file) == 0 || Units::length(part) != 4) return false;
  if (headcmpiW(part, u".PMX") != 0 && headcmpiW(part, u".PMD") != 0) return false;
  cutextW(part, file);
  return !earlieroutput(part);
}

const char* ansiform(const char16_t* path) {
  if (oswide2ansi(path, shown, sizeof shown) != 0) shown[0] = '?', shown[1] = 0;
  return shown;
}

// Reads the folder walkpath[0, len) for the entry that follows the key behind len (the
// first entry when that is empty): a subfolder (key: its name and a separator) or a
// model (key: its name). Leaves its key behind len; false when there is none.
bool nextentry(size_t len, int* kind) {
  copy(last, walkpath + len);
  walkpath[len] = 0;
  if (oslistopenW(walkpath) != 0) {
    if (last[0] == 0) conprintf("Folder could not be read: %s \n", ansiform(walkpath));
    return false;
  }
  bool found = false;
  int k;
  while (oslistnextW(name, kNameMax - 1, &k) == 0) {
    if (k == OSENTRY_OTHER || (k == OSENTRY_FILE && !ismodel(name))) continue;
    if (k == OSENTRY_FOLDER) {
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
  if (found) copy(walkpath + len, best);
  return found;
}

// Adds the models of the folder walkpath[0, len), which ends in a separator, and of its
// subfolders. false once the lists are full.
bool walk(size_t len) {
  walkpath[len] = 0;
  int kind;
  while (nextentry(len, &kind)) {
    size_t end = len + Units::length(walkpath + len);
    // A folder needs room for a file name behind it.
    if (end >= (kind == OSENTRY_FOLDER ? OS_MAXPATH - 1 : OS_MAXPATH)) {
      conprintf("Path too long (%d characters at most), left out: %s \n", OS_MAXPATH - 1,
                ansiform(walkpath));
      continue;
    }
    if (kind == OSENTRY_FOLDER) {
      if (!walk(end)) return false;
      walkpath[end] = 0;
      continue;
    }
    if (argaddpair(ansiform(walkpath), walkpath) != 0) {
      argtoomany();
      return false;
    }
    fromfolder[argList.count - 1] = true;
    added++;
  }
  return true;
}

// Expands one folder argument; false once the lists are full.
bool expand(const char16_t* folder, const char* given) {
  added = 0;
  size_t len = Units::length(folder);
  if (len >= OS_MAXPATH - 2) {
    conprintf("Path too long (%d characters at most), left out: %s \n", OS_MAXPATH - 1, given);
    return true;
  }
  copy(walkpath, folder);
  if (!issep(walkpath[len - 1])) walkpath[len++] = static_cast<char16_t>(ossep());
  walkpath[len] = 0;
  if (oslistopenW(walkpath) != 0) {
    conprintf("Folder could not be read: %s \n", given);
    return true;
  }
  oslistclose();
  bool room = walk(len);
  if (added > 0) {
    dlgfoldermodels(given, added);
  } else if (room) {
    dlgfoldernone(given);
  }
  return room;
}

// The UTF-16 path of argument i when it names a folder, else nullptr.
const char16_t* folderarg(const char* a, const char16_t* w) {
  if (osoptionchar(static_cast<unsigned char>(a[0]))) return nullptr;
  if (w == nullptr || w[0] == 0) {
    if (osansi2wide(a, converted, OS_MAXPATH) != 0) return nullptr;
    w = converted;
  }
  return osisfolderW(w) ? w : nullptr;
}

const char* entry(const ArgList& list, int i) { return list.store + list.start[i]; }
const char16_t* entryW(const ArgListW& list, int i) {
  return i < list.count ? list.store + list.start[i] : nullptr;
}

}  // namespace

int argexpandfolders() {
  memset(fromfolder, 0, sizeof fromfolder);
  bool any = false;
  for (int i = 1; i < argList.count && !any; i++) any = folderarg(argget(i), arggetW(i)) != nullptr;
  if (!any) return 0;

  memcpy(&givenA, &argList, sizeof givenA);
  memcpy(&givenW, &argListW, sizeof givenW);
  argclear();
  int models = 0;
  for (int i = 0; i < givenA.count; i++) {
    const char* a = entry(givenA, i);
    const char16_t* w = entryW(givenW, i);
    const char16_t* folder = i > 0 ? folderarg(a, w) : nullptr;
    if (folder == nullptr) {
      if (argaddpair(a, w) == 0) continue;
      argtoomany();
      break;
    }
    bool room = expand(folder, a);
    models += added;
    if (!room) break;
  }
  return models;
}

bool argfromfolder(int j) { return j >= 0 && j <= ARG_MAXENTRIES && fromfolder[j]; }
