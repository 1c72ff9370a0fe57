// rules.cpp - the four rule functions that apply the user's replacement rules to a name.
#include <cstdint>
#include <cstring>

#include "names/dict.h"
#include "names/namelist.h"
#include "names/rules.h"

namespace {

constexpr int kOutMax = REP_BUFSIZE - 1;  // result bytes before the terminator
bool anyRule;  // a rule applied in the last call

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

// ---- Index of the rules by their first two bytes --------------------------------------
//
// At each position of a name only the rules whose source can match there are tried:
// those whose first two bytes are the name's next two (or whose one byte is the next
// one), and the "wild" ones, tried everywhere, whose first two bytes may match other
// bytes: '*' or '?' among them, or a full-width "？" as the first or second character. Any other source differs from the name in its
// first two bytes, so skipping it changes nothing. The rules are chained newest first
// per bucket; buckets may be shared by several byte pairs (the full tests still decide).
constexpr int kBuckets = 4096;
constexpr int kWild = kBuckets;  // the chain of the wild rules

struct RuleIndex {
  bool valid;
  uint32_t stamp;                // nlstamp() when built
  uint16_t newest[kBuckets + 1]; // per bucket: the newest rule, 0 for none
  uint16_t older[RULE_SLOTS];    // per rule: the next older rule of its bucket
};
RuleIndex ruleIndex[RK_COUNT];
static_assert(RULE_SLOTS - 1 <= UINT16_MAX, "rule numbers fit the chains");

int bucket(unsigned char c0, unsigned char c1) {
  return static_cast<int>(((c0 << 8 | c1) * 2654435761u) >> 20) & (kBuckets - 1);
}

bool fullwidthq(const char* s) { return s[0] == '\x81' && s[1] == '\x48'; }

int bucketof(const char* src) {
  auto c0 = static_cast<unsigned char>(src[0]), c1 = static_cast<unsigned char>(src[1]);
  bool wild = c0 == '*' || c0 == '?' || c1 == '*' || c1 == '?' || fullwidthq(src) ||
              (!names::isleadbyte(c0) && fullwidthq(src + 1));
  return wild ? kWild : bucket(c0, c1);
}

// Rebuilt after the lists have changed; rules beyond `limit` have no slot.
const RuleIndex& indexof(RuleKind kind, int list, int limit) {
  RuleIndex& x = ruleIndex[kind];
  if (x.valid && x.stamp == nlstamp()) return x;
  memset(x.newest, 0, sizeof x.newest);
  for (int r = 1; r <= limit; r++) {
    const char* src = nlentry(list, r);
    if (src[0] == 0) continue;  // never applies
    int b = bucketof(src);
    x.older[r] = x.newest[b];
    x.newest[b] = static_cast<uint16_t>(r);
  }
  x.stamp = nlstamp();
  x.valid = true;
  return x;
}

// The chains to try at one position, merged newest first.
struct Candidates {
  const RuleIndex* x;
  int chains;
  int head[3];  // the next rule of each chain, 0 when it is done
};

Candidates candidates(const RuleIndex& x, const char* p) {
  auto c0 = static_cast<unsigned char>(p[0]), c1 = static_cast<unsigned char>(p[1]);
  const int buckets[3] = {bucket(c0, c1), bucket(c0, 0), kWild};
  Candidates k{&x, 0, {}};
  for (int i = 0; i < 3; i++) {
    if (i == 1 && buckets[1] == buckets[0]) continue;
    k.head[k.chains++] = x.newest[buckets[i]];
  }
  return k;
}

int nextrule(Candidates& k) {
  int best = 0;
  for (int i = 1; i < k.chains; i++) {
    if (k.head[i] > k.head[best]) best = i;
  }
  int r = k.head[best];
  if (r != 0) k.head[best] = k.x->older[r];
  return r;
}

// ---- Applying the rules --------------------------------------------------------------

// The text no rule applied to, from `from` up to p, read through the dictionary.
void flush(uint8_t dkind, const char* name, const char*& from, const char* p) {
  if (from == nullptr) return;
  dictstretch(dkind, from, static_cast<int>(p - from), from == name && *p == 0);
  from = nullptr;
}

// The rules of the kind applied to a name. With dkind (a dictionary kind) the text that
// no rule applies to is read through the dictionary instead of being copied.
int apply(RuleKind kind, char* out, const char* name, uint8_t dkind) {
  const int list = ruleList[kind];
  int count = nlcount(list);
  if (count > RULE_SLOTS - 1) count = RULE_SLOTS - 1;  // rules beyond have no slot
  const RuleIndex& x = indexof(kind, list, count);
  Out o{out, 0};
  const bool dict = dkind != 0;
  if (dict) dictbegin();
  const char* stretch = nullptr;  // where the text no rule applies to began
  const char* p = name;
  anyRule = false;
  // A rule's text: into the result, or after the stretch before it into the pieces.
  auto emit = [&](const char* rep) {
    if (!dict) return put(o, rep);
    flush(dkind, name, stretch, p);
    dictputtext(rep, static_cast<int>(strlen(rep)));
    return true;
  };
  auto userrule = [&](const char* rep) {
    anyRule = true;
    return emit(rep);
  };
  while (*p != 0) {
    if (*p == '?') {
      if (dict) {
        // Read with the stretch: a mark the name keeps, or a character Shift-JIS cannot
        // spell (dictmark).
        if (stretch == nullptr) stretch = p;
        p++;
        continue;
      }
      if (o.n + 1 > kOutMax) break;
      emit("_");
      p++;
      continue;
    }
    enum { NONE, MOVED, ENDED } done = NONE;
    Candidates k = candidates(x, p);
    for (int r = nextrule(k); r != 0 && done == NONE; r = nextrule(k)) {
      const char* src = nlentry(list, r);
      const char* rep = ruleText[kind][r];
      switch (ruleForm[kind][r]) {
        case RF_WHOLE:
          if (p == name && strcmp(name, src) == 0) {
            userrule(rep);
            done = ENDED;
          }
          break;
        case RF_TAIL:
          if (strcmp(p, src) == 0) {
            userrule(rep);
            done = ENDED;
          }
          break;
        default:
          if (matchrest(p, src) == 0) {
            userrule(rep);
            done = ENDED;
          } else if (matchhere(p, src) == 0) {
            done = userrule(rep) ? MOVED : ENDED;
            p += strlen(src);
          }
          break;
      }
    }
    if (done == ENDED) break;
    if (done == MOVED) continue;
    int len = names::isleadbyte(*p) && p[1] != 0 ? 2 : 1;
    if (dict) {
      if (stretch == nullptr) stretch = p;
      p += len;
      continue;
    }
    if (o.n + len > kOutMax) break;
    o.d[o.n] = p[0];
    if (len == 2) o.d[o.n + 1] = p[1];
    o.n += len;
    p += len;
  }
  if (dict) {
    flush(dkind, name, stretch, p);
    if (out != nullptr) dictcompose(out, REP_BUFSIZE, 0, 0, nullptr);
    return 0;
  }
  out[o.n] = 0;
  return 0;
}

int fold(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

}  // namespace

int brep(char* out, const char* name) { return apply(RK_BONE, out, name, 0); }
int mrep(char* out, const char* name) { return apply(RK_MORPH, out, name, 0); }
int benrep(char* out, const char* name) { return apply(RK_BONEEN, out, name, 0); }
int menrep(char* out, const char* name) { return apply(RK_MORPHEN, out, name, 0); }
int dictrep(RuleKind kind, uint8_t dkind, char* out, const char* name, bool compose) {
  return apply(kind, compose ? out : nullptr, name, dkind);
}
bool rulesapplied() { return anyRule; }

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
