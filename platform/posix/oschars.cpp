// oschars.cpp - path encodings at the POSIX boundary (code page 932 behaviour).
#include "platform/posix/oschars.h"

#include "platform/platform.h"
#include "text/sjis.h"

namespace {

bool cp932lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Appends cp in UTF-8 at utf8[*n], keeping room for the terminator.
bool append(unsigned cp, char* utf8, size_t* n, size_t cap) {
  char seq[4];
  size_t len = static_cast<size_t>(utf8encode(cp, seq));
  if (*n + len >= cap) return false;
  for (size_t i = 0; i < len; i++) utf8[(*n)++] = seq[i];
  return true;
}

// The character of code page 932 at *p, which moves past it; 0 for a byte pair or a
// byte without one (a lead byte at the end too).
unsigned ansichar(const unsigned char*& p) {
  if (!cp932lead(*p)) return cp932ch2unich(*p++);  // ASCII as it is: 0x5C is a backslash
  if (p[1] == 0) return 0;
  unsigned cp = cp932ch2unich(static_cast<unsigned>(p[0]) << 8 | p[1]);
  p += 2;
  return cp;
}

// Appends the code page 932 code of cp at ansi[*n], '?' when it has none; keeps room for
// the terminator.
bool appendansi(unsigned cp, char* ansi, size_t* n, size_t cap) {
  unsigned code = cp < 0x80 ? cp : unich2cp932ch(cp);
  if (code == 0) code = '?';
  size_t need = code < 0x100 ? 1 : 2;
  if (*n + need >= cap) return false;
  if (need == 2) ansi[(*n)++] = static_cast<char>(code >> 8);
  ansi[(*n)++] = static_cast<char>(code & 0xFF);
  return true;
}

}  // namespace

int utf8decode(const char* s, unsigned* cp) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  unsigned c = p[0];
  if (c == 0) return 0;
  int len;
  unsigned v;
  if (c < 0x80) { *cp = c; return 1; }
  if (c >= 0xC2 && c <= 0xDF) { len = 2; v = c & 0x1F; }
  else if (c >= 0xE0 && c <= 0xEF) { len = 3; v = c & 0x0F; }
  else if (c >= 0xF0 && c <= 0xF4) { len = 4; v = c & 0x07; }
  else { *cp = 0xFFFD; return 1; }
  for (int i = 1; i < len; i++) {
    if ((p[i] & 0xC0) != 0x80) { *cp = 0xFFFD; return 1; }
    v = v << 6 | (p[i] & 0x3F);
  }
  static constexpr unsigned minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (v < minimum[len] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) { *cp = 0xFFFD; return 1; }
  *cp = v;
  return len;
}

bool utf8valid(const char* s) {
  unsigned cp;
  for (int len; (len = utf8decode(s, &cp)) > 0; s += len) {
    if (cp == 0xFFFD && len == 1) return false;  // U+FFFD itself takes three bytes
  }
  return true;
}

void utf8shown(const char* s, char* out, size_t cap) {
  static constexpr char hex[] = "0123456789ABCDEF";
  size_t n = 0;
  unsigned cp;
  for (int len; (len = utf8decode(s, &cp)) > 0; s += len) {
    const bool bad = cp == 0xFFFD && len == 1;
    const unsigned code = bad ? 0 : cp < 0x80 ? cp : unich2cp932ch(cp);
    if (code >= 0x20 && code != 0x7F) {
      size_t need = code < 0x100 ? 1 : 2;
      if (n + need >= cap) break;
      if (need == 2) out[n++] = static_cast<char>(code >> 8);
      out[n++] = static_cast<char>(code & 0xFF);
      continue;
    }
    if (n + 4 * static_cast<size_t>(len) >= cap) break;
    for (int i = 0; i < len; i++) {
      auto b = static_cast<unsigned char>(s[i]);
      out[n++] = '\\';
      out[n++] = 'x';
      out[n++] = hex[b >> 4];
      out[n++] = hex[b & 15];
    }
  }
  out[n] = 0;
}

int utf8encode(unsigned cp, char* out) {
  auto* o = reinterpret_cast<unsigned char*>(out);
  if (cp < 0x80) { o[0] = static_cast<unsigned char>(cp); return 1; }
  if (cp < 0x800) {
    o[0] = static_cast<unsigned char>(0xC0 | cp >> 6);
    o[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    o[0] = static_cast<unsigned char>(0xE0 | cp >> 12);
    o[1] = static_cast<unsigned char>(0x80 | (cp >> 6 & 0x3F));
    o[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 3;
  }
  o[0] = static_cast<unsigned char>(0xF0 | cp >> 18);
  o[1] = static_cast<unsigned char>(0x80 | (cp >> 12 & 0x3F));
  o[2] = static_cast<unsigned char>(0x80 | (cp >> 6 & 0x3F));
  o[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
  return 4;
}

int sjispath2utf8(const char* sjis, char* utf8, size_t cap) {
  const auto* p = reinterpret_cast<const unsigned char*>(sjis);
  size_t n = 0;
  while (*p) {
    if (*p == '?' || *p == '*') return -1;
    unsigned cp = ansichar(p);
    if (cp == 0 || !append(cp, utf8, &n, cap)) return -1;
  }
  utf8[n] = 0;
  return 0;
}

int unipath2utf8(const char16_t* w, char* utf8, size_t cap) {
  size_t n = 0;
  for (size_t i = 0; w[i]; i++) {
    unsigned cp = w[i];
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      unsigned lo = w[i + 1];
      if (lo < 0xDC00 || lo > 0xDFFF) return -1;
      cp = 0x10000 + ((cp & 0x3FF) << 10 | (lo & 0x3FF));
      i++;
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      return -1;
    }
    if (!append(cp, utf8, &n, cap)) return -1;
  }
  utf8[n] = 0;
  return 0;
}

int utf82sjispath(const char* utf8, char* sjis, size_t cap) {
  if (!utf8valid(utf8)) return -2;
  size_t n = 0;
  const char* p = utf8;
  unsigned cp;
  int len;
  while ((len = utf8decode(p, &cp)) > 0) {
    p += len;
    if (!appendansi(cp, sjis, &n, cap)) return -1;
  }
  sjis[n] = 0;
  return 0;
}

int utf82unipath(const char* utf8, char16_t* w, size_t cap) {
  if (!utf8valid(utf8)) return -2;
  size_t n = 0;
  const char* p = utf8;
  unsigned cp;
  int len;
  while ((len = utf8decode(p, &cp)) > 0) {
    p += len;
    size_t need = cp > 0xFFFF ? 2 : 1;
    if (n + need >= cap) return -1;
    if (need == 2) {
      w[n++] = static_cast<char16_t>(0xD800 | (cp - 0x10000) >> 10);
      w[n++] = static_cast<char16_t>(0xDC00 | ((cp - 0x10000) & 0x3FF));
    } else {
      w[n++] = static_cast<char16_t>(cp);
    }
  }
  w[n] = 0;
  return 0;
}

int oswide2ansi(const char16_t* w, char* out, size_t cap) {
  size_t n = 0;
  for (size_t i = 0; w[i] != 0; i++) {
    unsigned cp = w[i];
    // A surrogate pair is one character beyond code page 932: one '?'.
    if (w[i] >= 0xD800 && w[i] <= 0xDBFF && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) cp = 0, i++;
    if (!appendansi(cp, out, &n, cap)) return -1;
  }
  out[n] = 0;
  return 0;
}

int osansi2wide(const char* a, char16_t* out, size_t cap) {
  const auto* p = reinterpret_cast<const unsigned char*>(a);
  size_t n = 0;
  while (*p != 0) {
    unsigned cp = ansichar(p);
    if (cp == 0 || n + 1 >= cap) return -1;
    out[n++] = static_cast<char16_t>(cp);
  }
  out[n] = 0;
  return 0;
}
