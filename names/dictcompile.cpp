// dictcompile.cpp - the compiler's half of the compiled dictionary: the text tables laid
// out as "namedict.bin" (names/dictbin.h), for nwdictc and the tests.
#include <algorithm>
#include <cstring>

#include "names/dictbin.h"
#include "names/dictentry.h"
#include "names/reading.h"

namespace dict {

namespace {

constexpr uint32_t kSlotsMax = 1u << 21;  // twice DICT_ENTRIES texts
constexpr int kPrefixLog2 = 24;
constexpr uint64_t kImageMax = kBinHeader + uint64_t{kSlotsMax} * 4 + (uint64_t{1} << kPrefixLog2) / 8 +
                               uint64_t{DICT_ENTRIES} * kBinEntry + DICT_POOL + 64;
static_assert(uint64_t{2} * DICT_ENTRIES <= kSlotsMax, "slots for every text");

unsigned char image[kImageMax];
int32_t order[DICT_ENTRIES];

bool samejp(const Entry& a, const Entry& b) {
  return a.jplen == b.jplen && memcmp(a.jp, b.jp, static_cast<size_t>(a.jplen)) == 0;
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
  uint32_t groups = 0;
  Entry prev{}, x{};
  for (int i = 0; i < n; i++) {
    textentry(order[i], &x);
    if (i == 0 || !samejp(prev, x)) groups++;
    prev = x;
  }
  uint32_t slots = 8;
  while (slots < 2 * groups) slots <<= 1;
  int log2 = 10;
  while (log2 < kPrefixLog2 && (uint64_t{1} << log2) < uint64_t{16} * groups) log2++;

  // The text section: each group's Japanese once, then every entry's English.
  uint64_t textBytes = 0;
  for (int i = 0; i < n; i++) {
    textentry(order[i], &x);
    if (i == 0 || !samejp(prev, x)) textBytes += static_cast<uint64_t>(x.jplen);
    textBytes += static_cast<uint64_t>(x.enlen);
    prev = x;
  }
  const BinLayout l = binlayout(static_cast<uint32_t>(n), slots, log2, static_cast<uint32_t>(textBytes));
  if (l.end > kImageMax) return -1;
  memset(image, 0, l.end);

  unsigned char* text = image + l.text;
  uint32_t at = 0, jpAt = 0;
  for (int i = 0; i < n; i++) {
    textentry(order[i], &x);
    const bool head = i == 0 || !samejp(prev, x);
    if (head) {
      jpAt = at;
      memcpy(text + at, x.jp, static_cast<size_t>(x.jplen));
      at += static_cast<uint32_t>(x.jplen);
      // The slot of the text, and a bit for each of its leading parts.
      const uint32_t h = hashof(x.jp, x.jplen);
      uint32_t s = h & (slots - 1);
      while (le32(image + l.slots + uint64_t{s} * 4) != 0) s = (s + 1) & (slots - 1);
      put32(image + l.slots + uint64_t{s} * 4, static_cast<uint32_t>(i) + 1);
      const auto* t = reinterpret_cast<const unsigned char*>(x.jp);
      uint32_t ph = kHashStart;
      for (int j = 0; j < x.jplen;) {
        const int w = charlen(t, j, x.jplen);
        for (int b = 0; b < w; b++) ph = hashstep(ph, t[j + b]);
        j += w;
        const uint32_t bit = prefixbit(ph, log2);
        image[l.prefixes + (bit >> 3)] |= static_cast<unsigned char>(1u << (bit & 7));
      }
    }
    unsigned char* e = image + l.entries + uint64_t{static_cast<uint32_t>(i)} * kBinEntry;
    put32(e, jpAt);
    put32(e + 4, at);
    e[8] = static_cast<unsigned char>(x.enlen);
    e[9] = static_cast<unsigned char>(x.enlen >> 8);
    e[10] = static_cast<unsigned char>(x.jplen);
    e[11] = static_cast<unsigned char>(x.kinds | x.lang << 3 | x.cls << 5);
    memcpy(text + at, x.en, static_cast<size_t>(x.enlen));
    at += static_cast<uint32_t>(x.enlen);
    prev = x;
  }

  memcpy(image, kBinMagic, sizeof kBinMagic);
  put32(image + 8, kBinVersion);
  put32(image + 12, kBinHeader);
  put64(image + 16, l.end);
  put64(image + 24, textsize);
  put32(image + 36, static_cast<uint32_t>(n));
  put32(image + 40, slots);
  put32(image + 44, static_cast<uint32_t>(log2));
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
