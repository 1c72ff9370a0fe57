// dictcompile.cpp - the compiler's half of the compiled dictionary: the text tables laid
// out as "namedict.bin" (names/dictbin.h), for nwdictc and the tests.
#include <algorithm>
#include <cstring>

#include "names/dictbin.h"
#include "names/dictentry.h"
#include "names/reading.h"

namespace dict {

namespace {

constexpr uint32_t kHeadsMax = 1u << 21;  // twice DICT_ENTRIES first characters
constexpr uint64_t kImageMax = kBinHeader + uint64_t{kHeadsMax} * kBinHead +
                               uint64_t{DICT_ENTRIES} * kBinEntry + DICT_POOL + 64;
static_assert(uint64_t{2} * DICT_ENTRIES <= kHeadsMax, "heads for every first character");
static_assert(kHeadsMax <= kBinHeadsMax, "a table the program reads");

unsigned char image[kImageMax];
int32_t order[DICT_ENTRIES];
// Each English text is laid out once: the offsets of those laid out so far + 1, by hash.
constexpr uint32_t kEnSlots = 1u << 21;
static_assert(kEnSlots >= 2u * DICT_ENTRIES, "at most half full");
uint32_t enSlots[kEnSlots];
uint16_t enLen[kEnSlots];

bool samejp(const Entry& a, const Entry& b) {
  return a.jplen == b.jplen && memcmp(a.jp, b.jp, static_cast<size_t>(a.jplen)) == 0;
}

uint32_t firstchar(const Entry& x) {
  int bytes = 0;
  return codeat(reinterpret_cast<const unsigned char*>(x.jp), x.jplen, &bytes);
}

}  // namespace

int bincompile(uint64_t textsize, const unsigned char** out, uint64_t* size) {
  const int n = textcount();
  if (n <= 0) return -1;
  // Grouped by Japanese text in byte order, each group newest line first.
  for (int i = 0; i < n; i++) order[i] = i;
  std::sort(order, order + n, [](int32_t a, int32_t b) {
    Entry x, y;
    textentry(a, &x);
    textentry(b, &y);
    const int c = memcmp(x.jp, y.jp, static_cast<size_t>(std::min(x.jplen, y.jplen)));
    if (c != 0) return c < 0;
    if (x.jplen != y.jplen) return x.jplen < y.jplen;
    return a > b;
  });
  uint32_t firsts = 0;
  Entry prev{}, x{};
  for (int i = 0; i < n; i++) {
    textentry(order[i], &x);
    if (i == 0 || firstchar(prev) != firstchar(x)) firsts++;
    prev = x;
  }
  uint32_t heads = 8;
  while (heads < 2 * firsts) heads <<= 1;

  // The text section comes last: its offset is known before its size.
  memset(enSlots, 0, sizeof enSlots);
  BinLayout l = binlayout(static_cast<uint32_t>(n), heads, 0);
  if (l.text + DICT_POOL > kImageMax) return -1;
  memset(image, 0, l.text);

  unsigned char* text = image + l.text;
  uint32_t at = 0, jpAt = 0;
  unsigned char* firstHead = nullptr;  // the head of the current first character
  for (int i = 0; i < n; i++) {
    textentry(order[i], &x);
    if (i == 0 || firstchar(prev) != firstchar(x)) {
      const uint32_t cp = firstchar(x);
      uint32_t s = headslot(cp, heads);
      while (le32(image + l.heads + uint64_t{s} * kBinHead) != 0) s = (s + 1) & (heads - 1);
      firstHead = image + l.heads + uint64_t{s} * kBinHead;
      put32(firstHead, cp);
      put32(firstHead + 4, static_cast<uint32_t>(i));
    }
    put32(firstHead + 8, static_cast<uint32_t>(i) + 1);
    if (i == 0 || !samejp(prev, x)) {
      jpAt = at;
      memcpy(text + at, x.jp, static_cast<size_t>(x.jplen));
      at += static_cast<uint32_t>(x.jplen);
    }
    unsigned char* e = image + l.entries + uint64_t{static_cast<uint32_t>(i)} * kBinEntry;
    put32(e, jpAt);
    e[8] = static_cast<unsigned char>(x.enlen);
    e[9] = static_cast<unsigned char>(x.enlen >> 8);
    e[10] = static_cast<unsigned char>(x.jplen);
    e[11] = static_cast<unsigned char>((x.kinds & 7) | x.lang << 3 | x.cls << 5 |
                                       (x.kinds & DK_MODEL ? 0x80 : 0));
    // Each English text once: many entries share theirs.
    uint32_t h = hashof(x.en, x.enlen) & (kEnSlots - 1);
    for (; enSlots[h] != 0; h = (h + 1) & (kEnSlots - 1)) {
      if (enLen[h] == x.enlen && memcmp(text + enSlots[h] - 1, x.en, static_cast<size_t>(x.enlen)) == 0)
        break;
    }
    if (enSlots[h] == 0) {
      enSlots[h] = at + 1;
      enLen[h] = static_cast<uint16_t>(x.enlen);
      memcpy(text + at, x.en, static_cast<size_t>(x.enlen));
      at += static_cast<uint32_t>(x.enlen);
    }
    put32(e + 4, enSlots[h] - 1);
    prev = x;
  }
  const uint64_t textBytes = at;
  l = binlayout(static_cast<uint32_t>(n), heads, at);
  memset(image + l.text + at, 0, l.end - l.text - at);

  memcpy(image, kBinMagic, sizeof kBinMagic);
  put32(image + 8, kBinVersion);
  put32(image + 12, kBinHeader);
  put64(image + 16, l.end);
  put64(image + 24, textsize);
  put32(image + 36, static_cast<uint32_t>(n));
  put32(image + 40, heads);
  put32(image + 48, static_cast<uint32_t>(textBytes));
  DictSum sum;
  dictsumstart(&sum);
  dictsumadd(&sum, image, l.end);
  put32(image + kBinChecksumAt, dictsumend(&sum));
  *out = image;
  *size = l.end;
  return 0;
}

}  // namespace dict
