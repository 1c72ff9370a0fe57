// find.cpp - POSIX: the directory search, behaving as FindFirstFile / FindNextFile.
//
// The pattern's folder and last component are taken to UTF-8; the component is matched
// with the Windows wildcards, or looked up with lstat when it holds none. Matches come in byte
// order of their stored names, so a search gives the same answer every time.
#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/oschars.h"

namespace {

constexpr size_t kNameMax = NAME_MAX + 1;
constexpr size_t kPatternMax = 2 * kNameMax;

// The one search in progress.
struct Search {
  DIR* dir;
  bool literal;                // the last component names one entry
  bool done;                   // a literal search has given its entry
  bool started;                // last[] holds the previous match
  char folder[PATH_MAX];       // UTF-8, with its trailing '/', or empty
  char pattern[kPatternMax];   // UTF-8 component
  char last[kNameMax];         // previous match
};
Search search = {nullptr, false, false, false, {0}, {0}, {0}};

bool iswild(unsigned c) { return c == '?' || c == '*'; }

// Shift-JIS pattern component to UTF-8: the stretches between wildcards go through
// the path conversion, the wildcards are kept.
int sjispattern2utf8(const char* sjis, char* utf8, size_t cap) {
  size_t n = 0;
  const char* p = sjis;
  while (*p != 0) {
    if (iswild(static_cast<unsigned char>(*p))) {  // never a trail byte (those are 0x40+)
      if (n + 1 >= cap) return -1;
      utf8[n++] = *p++;
      continue;
    }
    char stretch[kNameMax];
    size_t len = 0;
    while (p[len] != 0 && !iswild(static_cast<unsigned char>(p[len]))) len++;
    if (len >= sizeof stretch) return -1;
    memcpy(stretch, p, len);
    stretch[len] = 0;
    if (sjispath2utf8(stretch, utf8 + n, cap - n) != 0) return -1;
    n += strlen(utf8 + n);
    p += len;
  }
  if (n >= cap) return -1;
  utf8[n] = 0;
  return 0;
}

// Windows wildcards over UTF-8 names: '*' any run of characters, '?' exactly one
// character (not one byte), everything else itself; "*.*" is every name, dot or not.
bool wildmatch(const char* pat, const char* name) {
  if (strcmp(pat, "*.*") == 0) return true;
  const char* starPat = nullptr;  // just after the last '*' seen
  const char* starName = nullptr; // where that '*' stopped matching
  unsigned cp;
  while (*name != 0) {
    if (*pat == '*') {
      starPat = ++pat;
      starName = name;
      continue;
    }
    int nlen = utf8decode(name, &cp);
    if (*pat == '?') {
      pat++;
      name += nlen;
      continue;
    }
    int plen = utf8decode(pat, &cp);
    if (plen == nlen && memcmp(pat, name, static_cast<size_t>(nlen)) == 0) {
      pat += plen;
      name += nlen;
      continue;
    }
    if (starPat == nullptr) return false;
    pat = starPat;  // the '*' takes one more character
    starName += utf8decode(starName, &cp);
    name = starName;
  }
  while (*pat == '*') pat++;
  return *pat == 0;
}

// Starts a search from the UTF-8 folder and Windows pattern component.
int begin(const char* folder, const char* component) {
  osfindclose();
  if (component[0] == 0) return -1;
  size_t flen = strlen(folder);
  if (flen >= sizeof search.folder) return -1;
  memcpy(search.folder, folder, flen + 1);
  search.literal = strchr(component, '?') == nullptr && strchr(component, '*') == nullptr;
  search.done = false;
  search.started = false;
  size_t clen = strlen(component);
  if (clen >= (search.literal ? kNameMax : sizeof search.pattern)) return -1;
  memcpy(search.pattern, component, clen + 1);
  if (search.literal) return 0;
  search.dir = opendir(flen == 0 ? "." : folder);
  return search.dir != nullptr ? 0 : -1;
}

// The searched folder followed by name; false when it does not fit.
bool infolder(const char* name, char (&full)[PATH_MAX]) {
  size_t flen = strlen(search.folder);
  size_t nlen = strlen(name);
  if (flen + nlen >= sizeof full) return false;
  memcpy(full, search.folder, flen);
  memcpy(full + flen, name, nlen + 1);
  return true;
}

bool folderentry(const char* name) {
  char full[PATH_MAX];
  struct stat st;
  return infolder(name, full) && stat(full, &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const char* name, bool* isdir) {
  char full[PATH_MAX];
  struct stat st;
  if (!infolder(name, full) || lstat(full, &st) != 0) return false;
  *isdir = folderentry(name);
  return true;
}

// The next match in byte order (UTF-8, in search.last), or -1 when there is none.
int nextmatch(bool* isdir) {
  if (search.literal) {
    if (search.done || !exists(search.pattern, isdir)) return -1;
    search.done = true;
    memcpy(search.last, search.pattern, strlen(search.pattern) + 1);
    return 0;
  }
  if (search.dir == nullptr) return -1;
  char best[kNameMax];
  bool found = false;
  rewinddir(search.dir);
  while (dirent* e = readdir(search.dir)) {
    if (!wildmatch(search.pattern, e->d_name)) continue;
    if (search.started && strcmp(e->d_name, search.last) <= 0) continue;
    if (found && strcmp(e->d_name, best) >= 0) continue;
    size_t len = strlen(e->d_name);
    if (len >= sizeof best) continue;
    memcpy(best, e->d_name, len + 1);
    found = true;
  }
  if (!found) return -1;
  memcpy(search.last, best, strlen(best) + 1);
  search.started = true;
  *isdir = folderentry(best);
  return 0;
}

// The next match that fits the caller's name buffer, in the caller's form.
template <typename Ch, typename Convert>
int nextname(Ch* name, size_t cap, bool* isdir, Convert convert) {
  for (;;) {
    if (nextmatch(isdir) != 0) return -1;
    if (convert(search.last, name, cap) == 0) return 0;
  }
}

// Splits at the last '/': folder (with it) and component.
template <typename Ch>
const Ch* lastcomponent(const Ch* pattern) {
  const Ch* comp = pattern;
  for (const Ch* p = pattern; *p != 0; p++) {
    if (*p == '/') comp = p + 1;
  }
  return comp;
}

}  // namespace

int osfindfirst(const char* pattern, char* name, size_t cap, bool* isdir) {
  const char* comp = lastcomponent(pattern);
  size_t flen = static_cast<size_t>(comp - pattern);
  char folderA[PATH_MAX];
  char folder[PATH_MAX];
  char component[kNameMax * 2];
  if (flen >= sizeof folderA) return -1;
  memcpy(folderA, pattern, flen);
  folderA[flen] = 0;
  if (sjispath2utf8(folderA, folder, sizeof folder) != 0) return -1;
  if (sjispattern2utf8(comp, component, sizeof component) != 0) return -1;
  if (begin(folder, component) != 0) return -1;
  return osfindnext(name, cap, isdir);
}

int osfindfirstW(const char16_t* pattern, char16_t* name, size_t cap, bool* isdir) {
  const char16_t* comp = lastcomponent(pattern);
  size_t flen = static_cast<size_t>(comp - pattern);
  char16_t folderW[PATH_MAX];
  char folder[PATH_MAX];
  char component[kNameMax * 2];
  if (flen >= PATH_MAX) return -1;
  for (size_t i = 0; i < flen; i++) {
    if (iswild(pattern[i])) return -1;  // wildcards only in the last component
    folderW[i] = pattern[i];
  }
  folderW[flen] = 0;
  if (unipath2utf8(folderW, folder, sizeof folder) != 0) return -1;
  if (unipath2utf8(comp, component, sizeof component) != 0) return -1;
  if (begin(folder, component) != 0) return -1;
  return osfindnextW(name, cap, isdir);
}

int osfindnext(char* name, size_t cap, bool* isdir) {
  return nextname(name, cap, isdir, utf82sjispath);
}

int osfindnextW(char16_t* name, size_t cap, bool* isdir) {
  return nextname(name, cap, isdir, utf82unipath);
}

void osfindclose() {
  if (search.dir != nullptr) closedir(search.dir);
  search.dir = nullptr;
  search.literal = false;
  search.done = true;
  search.started = false;
}
