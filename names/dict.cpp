// dict.cpp - the dictionary as a whole: which of its files a run uses, and the look-up
// of a text across its two layers (the compiled file and the text tables).
#include "names/dict.h"

#include <cstdio>

#include "names/dictentry.h"
#include "platform/platform.h"
#include "text/console.h"
#include "text/sjis.h"

namespace dict {

DictLang readingLang = DL_JA;

namespace {

// The rank of an entry's language for the reading's: 0 its own, 1 shared, 2 the other
// one, -1 not to be used.
int rankof(uint8_t lang) {
  if (lang == EL_BOTH) return 1;
  if (readingLang == DL_JA) return lang == EL_JA ? 0 : -1;
  return lang == EL_ZH ? 0 : 2;
}

}  // namespace

uint32_t hashof(const char* s, int len) {
  uint32_t h = kHashStart;
  for (int i = 0; i < len; i++) h = hashstep(h, static_cast<unsigned char>(s[i]));
  return h;
}

Hits find(const char* s, int len, uint32_t h) {
  return Hits{textfind(s, len, h).text, binfind(s, len).bin};
}

int32_t first(const Hits& hits) {
  if (hits.text >= 0) return hits.text;
  return hits.bin >= 0 ? kBinBase + hits.bin : -1;
}

int32_t next(const Hits& hits, int32_t e) {
  if (e >= kBinBase) {
    const int32_t n = binnext(e - kBinBase);
    return n >= 0 ? kBinBase + n : -1;
  }
  const int32_t n = textnext(e);
  if (n >= 0) return n;
  return hits.bin >= 0 ? kBinBase + hits.bin : -1;
}

bool entry(int32_t e, Entry* x) {
  return e >= kBinBase ? binentry(e - kBinBase, x) : textentry(e, x);
}

namespace {

int32_t usablein(const Hits& hits, uint8_t kind, bool whole) {
  int32_t word[3] = {-1, -1, -1}, kanji[3] = {-1, -1, -1};
  Entry x;
  for (int32_t e = first(hits); e >= 0; e = next(hits, e)) {
    if (!entry(e, &x) || (x.kinds & kind) == 0 || (x.cls == EC_WHOLE) != whole) continue;
    const int r = rankof(x.lang);
    if (r < 0) continue;
    int32_t& slot = x.cls == EC_KANJI ? kanji[r] : word[r];
    if (slot < 0) slot = e;
    if (r == 0 && x.cls != EC_KANJI) break;  // nothing can beat it
  }
  for (int r = 0; r < 3; r++) {
    if (word[r] >= 0) return word[r];
    if (kanji[r] >= 0) return kanji[r];
  }
  return -1;
}

}  // namespace

int32_t usable(const Hits& hits, uint8_t kind, bool whole) {
  // The model's own name: its entries first (a proper name by its reading).
  if (kind & DK_MODEL) {
    const int32_t e = usablein(hits, DK_MODEL, whole);
    if (e >= 0) return e;
  }
  return usablein(hits, static_cast<uint8_t>(kind & ~DK_MODEL), whole);
}

}  // namespace dict

using namespace dict;

namespace {

constexpr char kBinName[] = "namedict.bin";
constexpr char kTextName[] = "namedict.txt";
constexpr char kUserName[] = "namedict-user.txt";
constexpr int kPathBuf = OS_MAXPATH + 32;

bool loaded;

// A file of the program's folder by both paths, and the form the console shows.
struct Place {
  char a[kPathBuf];
  char16_t w[kPathBuf];
  char shownW[kPathBuf * 2];
  bool hasA, hasW;
};
Place binPlace, textPlace, userPlace;

void placeof(const char* dirA, const char16_t* dirW, const char* name, Place* p) {
  p->hasA = snprintf(p->a, sizeof p->a, "%s%s", dirA, name) < static_cast<int>(sizeof p->a);
  const int n = unistrlen(dirW);
  int len = 0;
  while (name[len] != 0) len++;
  p->hasW = n + len + 1 <= kPathBuf;
  p->shownW[0] = 0;
  if (!p->hasW) return;
  unistrcpy(p->w, dirW);
  for (int i = 0; i <= len; i++) p->w[n + i] = static_cast<char16_t>(name[i]);
  // The console shows Shift-JIS; the UTF-16 path at most kPathBuf units.
  unistr2sjis(p->shownW, p->w);
}

int64_t sizeat(const Place& p) {
  int64_t n = p.hasA ? osfilesize(p.a) : -1;
  if (n < 0 && p.hasW) n = osfilesizeW(p.w);
  return n;
}

// The ANSI path first, the UTF-16 one when that cannot be opened; *shown tells which.
int openbin(const Place& p, int64_t textsize, const char** shown) {
  int r = -1;
  *shown = p.a;
  if (p.hasA) r = binopen(p.a, nullptr, p.a, textsize);
  if (r == -1 && p.hasW) {
    *shown = p.shownW;
    r = binopen(nullptr, p.w, p.shownW, textsize);
  }
  return r;
}

int readtext(const Place& p, bool magic, int* count, const char** shown) {
  int r = -1;
  *shown = p.a;
  if (p.hasA) r = textappend(p.a, nullptr, p.a, magic, count);
  if (r == -1 && p.hasW) {
    *shown = p.shownW;
    r = textappend(nullptr, p.w, p.shownW, magic, count);
  }
  return r;
}

}  // namespace

void dictclear() {
  textclear();
  binclose();
  loaded = false;
}

bool dicthas() { return loaded; }
int dictcount() { return textcount() + binentries(); }
void dictsetlang(DictLang lang) { dict::readingLang = lang; }

int dictread(const char* pathA, const char16_t* pathW, const char* shown) {
  dictclear();
  int count = 0;
  const int r = textappend(pathA, pathW, shown, true, &count);
  if (r != 0) return r;
  textindex();
  loaded = true;
  return 0;
}

int dictreadbin(const char* pathA, const char16_t* pathW, const char* shown) {
  dictclear();
  const int r = binopen(pathA, pathW, shown, -1);
  if (r == -2) conputs(" \n");
  if (r != 0) return r;
  loaded = true;
  return 0;
}

int dictload(const char* dirA, const char16_t* dirW) {
  dictclear();
  placeof(dirA, dirW, kBinName, &binPlace);
  placeof(dirA, dirW, kTextName, &textPlace);
  placeof(dirA, dirW, kUserName, &userPlace);
  const int64_t textsize = sizeat(textPlace);
  const char* shown = nullptr;
  int count = 0;
  const int b = openbin(binPlace, textsize, &shown);
  if (b == 0) {
    conprintf("Dictionary: %s (%d entries) \n", shown, binentries());
  } else {
    // A compiled file passed over says so in the same line, and what comes instead.
    if (b != -1) {
      conputs(textsize >= 0 ? "; namedict.txt is read instead. \n"
                            : "; there is no namedict.txt to read instead. \n");
    }
    const int t = b == -2 && textsize < 0 ? -1 : readtext(textPlace, true, &count, &shown);
    if (t == -2 || (t == -1 && b == -2)) {
      dictclear();
      return -1;
    }
    if (t == -1) {
      // No dictionary: the names are as the rules give them, the user's words unused.
      if (sizeat(userPlace) >= 0)
        conprintf("Dictionary: %s is not read: there is no namedict.txt or namedict.bin \n",
                  userPlace.hasA ? userPlace.a : userPlace.shownW);
      return 0;
    }
    conprintf("Dictionary: %s (%d entries) \n", shown, count);
  }
  bool text = b != 0;
  if (sizeat(userPlace) >= 0) {
    const int u = readtext(userPlace, false, &count, &shown);
    if (u == -2) {
      dictclear();
      return -1;
    }
    if (u == 0) conprintf("Dictionary: %s (%d entries) \n", shown, count);
    text = text || count > 0;
  }
  if (text) textindex();
  loaded = true;
  return 0;
}
