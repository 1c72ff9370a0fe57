// utf8.cpp - exact conversions of names to and from UTF-8.
#include "text/utf8.h"

#include "text/sjis.h"

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool trail(uint8_t b) { return (b & 0xC0) == 0x80; }

// Appends cp when it fits; false otherwise.
bool put(uint8_t* dst, int cap, int* n, uint32_t cp) {
  uint8_t tmp[4];
  int len = utf8put(tmp, cp);
  if (*n + len > cap) return false;
  for (int i = 0; i < len; i++) dst[*n + i] = tmp[i];
  *n += len;
  return true;
}

bool putbytes(uint8_t* dst, int cap, int* n, const uint8_t* s, int len) {
  if (*n + len > cap) return false;
  for (int i = 0; i < len; i++) dst[*n + i] = s[i];
  *n += len;
  return true;
}

}  // namespace

//  0xxxxxxx | 110xxxxx 10xxxxxx | 1110xxxx 10xxxxxx 10xxxxxx | 11110xxx 10xxxxxx*3
int utf8next(const uint8_t* s, int len, uint32_t* cp) {
  const uint8_t b = s[0];
  if (b < 0x80) {
    *cp = b;
    return 1;
  }
  int k = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
  if (k == 0 || k > len) return 0;
  uint32_t v = b & (0x7F >> k);
  for (int i = 1; i < k; i++) {
    if (!trail(s[i])) return 0;
    v = v << 6 | (s[i] & 0x3F);
  }
  if ((k == 3 && (v < 0x800 || (v >= 0xD800 && v <= 0xDFFF))) || (k == 4 && (v < 0x10000 || v > 0x10FFFF)))
    return 0;
  *cp = v;
  return k;
}

int utf8put(uint8_t* dst, uint32_t cp) {
  if (cp < 0x80) {
    dst[0] = static_cast<uint8_t>(cp);
    return 1;
  }
  if (cp < 0x800) {
    dst[0] = static_cast<uint8_t>(0xC0 | cp >> 6);
    dst[1] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    dst[0] = static_cast<uint8_t>(0xE0 | cp >> 12);
    dst[1] = static_cast<uint8_t>(0x80 | (cp >> 6 & 0x3F));
    dst[2] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    return 3;
  }
  dst[0] = static_cast<uint8_t>(0xF0 | cp >> 18);
  dst[1] = static_cast<uint8_t>(0x80 | (cp >> 12 & 0x3F));
  dst[2] = static_cast<uint8_t>(0x80 | (cp >> 6 & 0x3F));
  dst[3] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
  return 4;
}

bool utf8valid(const uint8_t* s, int len) {
  uint32_t cp;
  for (int i = 0; i < len;) {
    int k = utf8next(s + i, len - i, &cp);
    if (k == 0) return false;
    i += k;
  }
  return true;
}

int utf8clean(uint8_t* dst, int cap, const uint8_t* s, int len) {
  int n = 0;
  uint32_t cp;
  for (int i = 0; i < len;) {
    int k = utf8next(s + i, len - i, &cp);
    bool ok = k > 0 ? putbytes(dst, cap, &n, s + i, k) : put(dst, cap, &n, kReplacement);
    if (!ok) return -1;
    i += k > 0 ? k : 1;
  }
  return n;
}

int utf16le2utf8(uint8_t* dst, int cap, const uint8_t* le, int bytes) {
  int n = 0;
  const int units = bytes / 2;
  auto unit = [&](int i) { return static_cast<uint32_t>(le[2 * i] | le[2 * i + 1] << 8); };
  for (int i = 0; i < units; i++) {
    uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      u = 0x10000 + ((u & 0x3FF) << 10 | (unit(i + 1) & 0x3FF));
      i++;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = kReplacement;
    }
    if (!put(dst, cap, &n, u)) return -1;
  }
  // An odd last byte is half a unit: it cannot be shown either.
  if (bytes % 2 != 0 && !put(dst, cap, &n, kReplacement)) return -1;
  return n;
}

int sjis2utf8x(uint8_t* dst, int cap, const uint8_t* s, int len) {
  int n = 0;
  for (int i = 0; i < len;) {
    const uint8_t b = s[i];
    uint32_t cp;
    if (b < 0x80) {
      cp = b;
      i++;
    } else if (b <= 0x9F || (b >= 0xE0 && b <= 0xFC)) {
      // A lead byte of names (as sjis.cpp reads them) and its trail; one at the end, or
      // before a byte that cannot follow it, cannot be shown.
      if (i + 1 < len && s[i + 1] >= 0x40 && s[i + 1] != 0x7F && s[i + 1] <= 0xFC) {
        cp = sjisch2unichc(static_cast<uint32_t>(b << 8 | s[i + 1]));
        i += 2;
      } else {
        cp = 0;
        i++;
      }
    } else {
      cp = sjisch2unich(b);  // half-width katakana; 0xA0, 0xFD-0xFF have no character
      i++;
    }
    if (!put(dst, cap, &n, cp != 0 ? cp : kReplacement)) return -1;
  }
  return n;
}

int utf82utf16le(uint8_t* dst, int cap, const uint8_t* s, int len) {
  int n = 0;
  uint32_t cp;
  for (int i = 0; i < len;) {
    int k = utf8next(s + i, len - i, &cp);
    if (k == 0) return -1;
    i += k;
    uint32_t units[2] = {cp, 0};
    int m = 1;
    if (cp >= 0x10000) {
      units[0] = 0xD800 | (cp - 0x10000) >> 10;
      units[1] = 0xDC00 | ((cp - 0x10000) & 0x3FF);
      m = 2;
    }
    if (n + 2 * m > cap) return -1;
    for (int j = 0; j < m; j++) {
      dst[n++] = static_cast<uint8_t>(units[j] & 0xFF);
      dst[n++] = static_cast<uint8_t>(units[j] >> 8);
    }
  }
  return n;
}

int utf82sjisx(uint8_t* dst, int cap, const uint8_t* s, int len, uint32_t* bad) {
  int n = 0;
  uint32_t cp;
  for (int i = 0; i < len;) {
    int k = utf8next(s + i, len - i, &cp);
    if (k == 0) return -1;
    i += k;
    uint32_t code = cp < 0x80 ? cp : unich2sjischc(cp);
    if (code == 0 && cp != 0) {
      if (bad != nullptr) *bad = cp;
      return -2;
    }
    const int m = code > 0xFF ? 2 : 1;
    if (n + m > cap) return -1;
    if (m == 2) dst[n++] = static_cast<uint8_t>(code >> 8);
    dst[n++] = static_cast<uint8_t>(code & 0xFF);
  }
  return n;
}
