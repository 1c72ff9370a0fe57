// rules.cpp - the four rule functions that apply the user's replacement rules to a name.
#include <cstring>

#include "names/namelist.h"
#include "names/rules.h"

namespace {

constexpr int kOutMax = REP_BUFSIZE - 1;  // result bytes before the terminator

// The result being built; it never grows past kOutMax bytes.
struct Out {
  char* d;
  int n;
};

// Appends s whole character by whole character; false when it had to stop for room
// (the result then ends there, so nothing is written out of order).
bool put(Out& o, const char* s) {
  while (*s != 0) {
    int len = names::isleadbyte(*s) && s[1] != 0 ? 2 : 1;
    if (o.n + len > kOutMax) return false;
    o.d[o.n] = s[0];
    if (len == 2) o.d[o.n + 1] = s[1];
    o.n += len;
    s += len;
  }
  return true;
}

int apply(RuleKind kind, char* out, const char* name) {
  const int list = ruleList[kind];
  int count = nlcount(list);
  if (count > RULE_SLOTS - 1) count = RULE_SLOTS - 1;  // rules beyond have no slot
  Out o{out, 0};
  const char* p = name;
  while (*p != 0) {
    if (*p == '?') {
      if (o.n + 1 > kOutMax) break;
      o.d[o.n++] = '_';
      p++;
      continue;
    }
    enum { NONE, MOVED, ENDED } done = NONE;
    for (int r = count; r >= 1 && done == NONE; r--) {
      const char* src = nlentry(list, r);
      if (src[0] == 0) continue;  // would match without moving on
      const char* rep = ruleText[kind][r];
      switch (ruleForm[kind][r]) {
        case RF_WHOLE:
          if (p == name && strcmp(name, src) == 0) {
            put(o, rep);
            done = ENDED;
          }
          break;
        case RF_TAIL:
          if (strcmp(p, src) == 0) {
            put(o, rep);
            done = ENDED;
          }
          break;
        default:
          if (matchrest(p, src) == 0) {
            put(o, rep);
            done = ENDED;
          } else if (matchhere(p, src) == 0) {
            done = put(o, rep) ? MOVED : ENDED;
            p += strlen(src);
          }
          break;
      }
    }
    if (done == ENDED) break;
    if (done == MOVED) continue;
    int len = names::isleadbyte(*p) && p[1] != 0 ? 2 : 1;
    if (o.n + len > kOutMax) break;
    o.d[o.n] = p[0];
    if (len == 2) o.d[o.n + 1] = p[1];
    o.n += len;
    p += len;
  }
  out[o.n] = 0;
  return 0;
}

int fold(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

}  // namespace

int brep(char* out, const char* name) { return apply(RK_BONE, out, name); }
int mrep(char* out, const char* name) { return apply(RK_MORPH, out, name); }
int benrep(char* out, const char* name) { return apply(RK_BONEEN, out, name); }
int menrep(char* out, const char* name) { return apply(RK_MORPHEN, out, name); }

// The rest of the name equals src, where a '*' in src stands for at least one more byte
// and ends the comparison.
int matchrest(const char* at, const char* src) {
  for (; *src != 0; src++, at++) {
    if (*src == '*') return *at != 0 ? 0 : 1;
    if (*src != *at) return 1;
  }
  return *at == 0 ? 0 : 1;
}

// src is a prefix of the name at this position: '?' stands for any one byte, "？" for
// any one double-byte character. The source is walked by character so that a trail
// byte 0x81 followed by 'H' is not taken for "？".
int matchhere(const char* at, const char* src) {
  while (*src != 0) {
    if (*src == '?') {
      if (*at == 0) return 1;
      src++;
      at++;
    } else if (names::isleadbyte(*src) && src[1] != 0) {
      bool any = src[0] == '\x81' && src[1] == '\x48';
      if (any ? !(names::isleadbyte(at[0]) && at[1] != 0) : (at[0] != src[0] || at[1] != src[1]))
        return 1;
      src += 2;
      at += 2;
    } else {
      if (*src != *at) return 1;
      src++;
      at++;
    }
  }
  return 0;
}

int keyis(const char* text, const char* keyword) {
  for (int i = 0; keyword[i] != 0; i++) {
    if (fold(static_cast<unsigned char>(text[i])) != fold(static_cast<unsigned char>(keyword[i])))
      return -1;
  }
  return 0;
}
