// paths.cpp - taking paths apart in both forms, and the name a file has on disk.
#include "ui/paths.h"

#include "platform/platform.h"
#include "text/sjis.h"

namespace {

char ruleSep = 0;  // 0: the running system's rules
bool ruleDrives = false;

char separator() { return ruleSep != 0 ? ruleSep : ossep(); }
bool driveletters() { return ruleSep != 0 ? ruleDrives : osdriveletters(); }

// Length of the character at s: a Shift-JIS lead byte takes its trail byte along, so a
// trail byte is never seen as a separator or a dot. UTF-16 looks at every unit.
int charlen(const char* s) { return sysleadbyte(static_cast<unsigned char>(s[0])) && s[1] != 0 ? 2 : 1; }
int charlen(const char16_t*) { return 1; }

template <typename Ch>
bool isletter(Ch c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

template <typename Ch>
Ch fold(Ch c) { return c >= 'a' && c <= 'z' ? static_cast<Ch>(c - ('a' - 'A')) : c; }

// Index of the last character for which match() holds, or -1.
template <typename Ch, typename Match>
int lastof(const Ch* s, Match match) {
  int last = -1;
  for (int i = 0; s[i] != 0; i += charlen(s + i)) {
    if (match(s[i])) last = i;
  }
  return last;
}

template <typename Ch>
void copyn(Ch* out, const Ch* s, int n) {
  for (int i = 0; i < n; i++) out[i] = s[i];
  out[n] = 0;
}

template <typename Ch>
void copyall(Ch* out, const Ch* s) {
  int i = 0;
  for (; s[i] != 0; i++) out[i] = s[i];
  out[i] = 0;
}

template <typename Ch>
int headcmpiT(const Ch* s, const Ch* t) {
  for (int i = 0;; i++) {
    if (t[i] == 0) return 0;
    if (fold(s[i]) != fold(t[i])) return -1;
  }
}

template <typename Ch>
int getdirT(Ch* out, const Ch* path) {
  const Ch sep = static_cast<Ch>(separator());
  int last = lastof(path, [sep](Ch c) { return c == sep; });
  copyn(out, path, last + 1);
  return 0;
}

template <typename Ch>
int cutextT(Ch* out, const Ch* path) {
  int dot = lastof(path, [](Ch c) { return c == '.'; });
  if (dot < 0) {
    copyall(out, path);
  } else {
    copyn(out, path, dot);
  }
  return 0;
}

template <typename Ch>
int getextT(Ch* out, const Ch* path) {
  int dot = lastof(path, [](Ch c) { return c == '.'; });
  if (dot < 0) {
    out[0] = 0;
    return 0;
  }
  copyall(out, path + dot);
  return -1;
}

// The file-name part also ends at a slash (on Windows both are separators there).
template <typename Ch>
int getfnameT(Ch* out, const Ch* path) {
  const Ch sep = static_cast<Ch>(separator());
  int last = lastof(path, [sep](Ch c) { return c == sep || c == '/'; });
  copyall(out, path + last + 1);
  return 0;
}

template <typename Ch>
int cutlastsepT(Ch* path) {
  constexpr int kMeasure = OS_MAXPATH - 1;  // 259: longer paths are cut to this
  const Ch sep = static_cast<Ch>(separator());
  int len = 0;
  int lastStart = -1;  // where the last whole character within the measure starts
  while (len < kMeasure && path[len] != 0) {
    lastStart = len;
    len += charlen(path + len);
  }
  if (len > kMeasure) {  // a double-byte character straddles the measure
    len = kMeasure;
    lastStart = -1;
  }
  bool drive = driveletters() && isletter(path[0]) && path[1] == ':';
  int least = drive ? 4 : 2;  // keeps "C:\" and a lone separator
  if (len >= least && len <= kMeasure - 1 && lastStart == len - 1 &&
      (path[len - 1] == sep || path[len - 1] == '/')) {
    len--;
  }
  path[len] = 0;
  return 0;
}

template <typename Ch, typename First, typename Next>
int findrealnameT(Ch* out, const Ch* path, First first, Next next) {
  out[0] = 0;
  if (path == nullptr) return -1;
  Ch name[OS_MAXPATH];
  bool isdir = false;
  if (first(path, name, OS_MAXPATH, &isdir) != 0) return -1;
  int r = 0;
  if (isdir) {  // a folder of the same pattern comes first: take the next match
    if (next(name, OS_MAXPATH, &isdir) != 0) {
      r = -1;
    } else if (isdir) {
      r = -2;
    }
  }
  osfindclose();
  if (r == 0) copyall(out, name);
  return r;
}

}  // namespace

void pathrules(char sep, bool drives) {
  ruleSep = sep;
  ruleDrives = drives;
}

int headcmpi(const char* s, const char* t) { return headcmpiT(s, t); }
int headcmpiW(const char16_t* s, const char16_t* t) { return headcmpiT(s, t); }
int getdir(char* out, const char* path) { return getdirT(out, path); }
int getdirW(char16_t* out, const char16_t* path) { return getdirT(out, path); }
int cutext(char* out, const char* path) { return cutextT(out, path); }
int cutextW(char16_t* out, const char16_t* path) { return cutextT(out, path); }
int getext(char* out, const char* path) { return getextT(out, path); }
int getextW(char16_t* out, const char16_t* path) { return getextT(out, path); }
int getfname(char* out, const char* path) { return getfnameT(out, path); }
int getfnameW(char16_t* out, const char16_t* path) { return getfnameT(out, path); }
int cutlastsep(char* path) { return cutlastsepT(path); }
int cutlastsepW(char16_t* path) { return cutlastsepT(path); }

int findrealname(char* out, const char* path) {
  return findrealnameT(out, path, osfindfirst, osfindnext);
}

int findrealnameW(char16_t* out, const char16_t* path) {
  return findrealnameT(out, path, osfindfirstW, osfindnextW);
}
