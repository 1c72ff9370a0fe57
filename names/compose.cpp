// compose.cpp - writing the name: the pieces of a name as one English text, capitalised
// and run together, the side at the end, cut to fit at a whole character.
#include <cstdio>
#include <cstring>

#include "names/dictentry.h"
#include "names/dictparts.h"
#include "names/namelist.h"
#include "names/reading.h"

using namespace dict;

namespace {

// Alternative alt (0 = preferred) of an entry's English, or false.
bool alternative(const Entry& e, int alt, const char** s, int* len) {
  const char* t = e.en;
  const char* end = t + e.enlen;
  for (int a = 0; a < alt; a++) {
    const char* bar = static_cast<const char*>(memchr(t, '|', static_cast<size_t>(end - t)));
    if (bar == nullptr) return false;
    t = bar + 1;
  }
  const char* bar = static_cast<const char*>(memchr(t, '|', static_cast<size_t>(end - t)));
  *s = t;
  *len = static_cast<int>((bar != nullptr ? bar : end) - t);
  return true;
}

bool hasalternatives(const Part& x) {
  Entry e;
  return x.type == PT_WORD && entry(x.entry, &e) &&
         memchr(e.en, '|', static_cast<size_t>(e.enlen)) != nullptr;
}

constexpr int kBody = 2048;
char body[kBody];
char sjisBody[kBody + 8];
char romajiBuf[1536 * 4 + 8];

struct Writer {
  char* d;
  int n;
  int cap;  // bytes before the terminator
  void put(char c) {
    if (n < cap) d[n++] = c;
  }
};

bool printable(char c) { return c >= 0x20 && c <= 0x7E; }

bool isblank(const Part& x) {
  return (x.len == 1 && (x.s[0] == ' ' || x.s[0] == '\t')) ||
         (x.len == 3 && memcmp(x.s, "\xE3\x80\x80", 3) == 0);  // the full-width blank
}

// The last character of the body when it is ASCII, else 0.
char lastascii(const char* s, int n) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  int last = -1;
  for (int i = 0; i < n; i += charlen(p, i, n)) last = i;
  return last >= 0 && p[last] < 0x80 ? s[last] : 0;
}

}  // namespace

bool dictused() { return usedDict; }
bool dictwhole() { return wholeEntry; }

int dictaltparts() {
  int k = 0;
  for (int i = 0; i < partCount; i++) k += hasalternatives(parts[i]) ? 1 : 0;
  return k;
}

int dictcompose(char* out, int cap, int part, int alt, const char* suffix) {
  Writer w{body, 0, kBody - 1};
  char side[3] = {0, 0, 0};  // 左 L; 左左 LL, the outer one, when the two stand together
  bool sidebefore = false;    // the piece before was a side
  bool afterword = false;     // the piece before wrote a word of English
  int altIndex = 0;
  bool found = alt == 0;
  for (int i = 0; i < partCount; i++) {
    const Part& x = parts[i];
    const bool wasside = sidebefore, wasword = afterword;
    sidebefore = afterword = false;
    switch (x.type) {
      case PT_TEXT:
        for (int j = 0; j < x.len; j++) w.put(x.s[j]);
        break;
      case PT_LITERAL: {
        int bytes = 1;
        const char c = literalof(reinterpret_cast<const unsigned char*>(x.s), x.len, &bytes);
        // Letters run on after a word begin a word of their own: 眼角up is EyeCornerUp.
        w.put(wasword && c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c);
        break;
      }
      case PT_UNKNOWN:
        // A run of characters without English is one '_'; blanks write nothing at either
        // end of the name (左 腰带 is Belt_L).
        if (isblank(x) && (w.n == 0 || i + 1 == partCount)) break;
        if (i == 0 || parts[i - 1].type != PT_UNKNOWN) w.put('_');
        break;
      case PT_KANA: {
        if (i > 0 && parts[i - 1].type == PT_KANA && parts[i - 1].s + parts[i - 1].len == x.s)
          break;  // written with the first of the run
        int end = i;
        while (end + 1 < partCount && parts[end + 1].type == PT_KANA &&
               parts[end + 1].s == parts[end].s + parts[end].len)
          end++;
        const int len = static_cast<int>(parts[end].s + parts[end].len - x.s);
        const int n = romaji(x.s, len, romajiBuf, sizeof romajiBuf);
        // Marks alone (ー, ッ) have no sound: as any character without English.
        if (n == 0 && lastascii(body, w.n) != '_') w.put('_');
        for (int j = 0; j < n; j++)
          w.put(j == 0 && romajiBuf[j] >= 'a' ? static_cast<char>(romajiBuf[j] - 32) : romajiBuf[j]);
        break;
      }
      case PT_WORD: {
        Entry e;
        if (!entry(x.entry, &e)) break;
        int use = 0;
        if (hasalternatives(x)) {
          if (altIndex == part && alt > 0) {
            use = alt;
            found = true;
          }
          altIndex++;
        }
        const char* t;
        int len;
        if (!alternative(e, use, &t, &len)) return -1;
        if (e.cls == EC_SIDE) {
          if (len > 0 && printable(t[0])) {
            if (side[0] == 0) {
              side[0] = t[0];
            } else if (wasside && side[1] == 0) {
              side[1] = t[0];
            }
          }
          sidebefore = true;
        } else if (len == 1 && t[0] == '-') {
          // A piece that writes nothing (particles: の, を)
        } else if (e.cls == EC_WHOLE) {
          for (int j = 0; j < len; j++) {
            if (printable(t[j])) w.put(t[j]);
          }
        } else {
          bool start = true;
          for (int j = 0; j < len; j++) {
            if (t[j] == ' ') {
              start = true;
              continue;
            }
            if (!printable(t[j])) continue;
            w.put(start && t[j] >= 'a' && t[j] <= 'z' ? static_cast<char>(t[j] - 32) : t[j]);
            start = false;
            afterword = true;
          }
        }
        break;
      }
    }
  }
  if (!found) return -1;
  // A single L or R after the words is a side too (にこりR is Smile_R; AL stays AL).
  if (side[0] == 0 && partCount >= 2 && parts[partCount - 1].type == PT_LITERAL &&
      parts[partCount - 2].type != PT_LITERAL && w.n > 0 &&
      (body[w.n - 1] == 'L' || body[w.n - 1] == 'R')) {
    side[0] = body[--w.n];
  }
  // A name is never left blank by the dictionary: no English at all reads as '_'. An
  // empty text the user's rule asked for stays.
  if (w.n == 0 && side[0] == 0 && (usedDict || !ruled)) w.put('_');
  const char last = lastascii(body, w.n);
  // A numeral after a digit would read as one number: Hair1 becomes Hair1_2.
  const bool apart = suffix != nullptr && suffix[0] >= '0' && suffix[0] <= '9' && last >= '0' &&
                     last <= '9';
  char tail[32];
  // The side's '_' is not doubled after an unknown character's.
  const bool under = !apart && suffix == nullptr && last == '_';
  int taillen = 0;
  auto append = [&](const char* t) {
    while (*t != 0 && taillen < static_cast<int>(sizeof tail) - 1) tail[taillen++] = *t++;
  };
  if (apart) append("_");
  if (suffix != nullptr) append(suffix);
  if (side[0] != 0 && !under) append("_");
  append(side);
  tail[taillen] = 0;
  // The name leaves as Shift-JIS. When it does not fit, the words give way, never the
  // side and the copy's number (the tail) nor the numbers the body ends in (Tip1_L): the
  // words are cut at the start of a word where one lies close enough, else at a whole
  // character.
  const int sn = tosjis(body, w.n, sjisBody, sizeof sjisBody);
  int room = cap - 1 - taillen;
  if (room < 0) room = 0;
  int keep = 0;  // the numbers at the end of the body
  if (sn > room) {
    while (keep < sn && strchr("0123456789_-.()", sjisBody[sn - 1 - keep]) != nullptr) keep++;
    if (keep >= room) keep = 0;
  }
  const int words = sn > room ? room - keep : sn;
  int n = 0;
  while (n < sn - keep) {
    const int len = names::isleadbyte(sjisBody[n]) && n + 1 < sn ? 2 : 1;
    if (n + len > words) break;
    n += len;
  }
  if (n < sn - keep) {
    int at = n;
    while (at > n / 2 && !(sjisBody[at] >= 'A' && sjisBody[at] <= 'Z')) at--;
    if (at > n / 2) n = at;
  }
  memcpy(out, sjisBody, static_cast<size_t>(n));
  if (n < sn - keep) {
    memcpy(out + n, sjisBody + sn - keep, static_cast<size_t>(keep));
    n += keep;
  }
  const int t = taillen < cap - 1 - n ? taillen : cap - 1 - n;
  memcpy(out + n, tail, static_cast<size_t>(t < 0 ? 0 : t));
  out[n + (t < 0 ? 0 : t)] = 0;
  return 0;
}
