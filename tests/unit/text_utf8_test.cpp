// text_utf8_test.cpp - the exact conversions of names to and from UTF-8: malformed
// input, what cannot be shown, and the capacities.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "text/utf8.h"

namespace {

const uint8_t* bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
const std::string kFffd = "\xEF\xBF\xBD";

// Runs a conversion with a destination of cap bytes; "-1" / "-2" for those results.
template <typename Fn>
std::string run(Fn fn, const std::string& src, int cap = 256) {
  uint8_t dst[256];
  int n = fn(dst, cap, bytes(src), static_cast<int>(src.size()));
  return n < 0 ? std::to_string(n) : std::string(reinterpret_cast<char*>(dst), static_cast<size_t>(n));
}

TEST(ExactUtf8, SequencesAreTakenOnlyWhenWellFormed) {
  struct Case {
    std::string s;
    int len;
    uint32_t cp;
  };
  const Case cases[] = {
      {"A", 1, 'A'}, {"\xC3\xA9", 2, 0xE9}, {"\xE5\x90\x8D", 3, 0x540D}, {"\xF0\x9F\x98\x80", 4, 0x1F600},
      {"\xC0\x80", 0, 0},          // overlong
      {"\xE0\x80\xAF", 0, 0},      // overlong
      {"\xED\xA0\x80", 0, 0},      // a surrogate
      {"\xF4\x90\x80\x80", 0, 0},  // beyond U+10FFFF
      {"\xE5\x90", 0, 0},          // cut at the end
      {"\xE5\x41\x8D", 0, 0},      // a byte that cannot follow
      {"\x80", 0, 0},
  };
  for (const Case& c : cases) {
    uint32_t cp = 0;
    EXPECT_EQ(utf8next(bytes(c.s), static_cast<int>(c.s.size()), &cp), c.len) << c.s;
    if (c.len > 0) {
      EXPECT_EQ(cp, c.cp) << c.s;
    }
    EXPECT_EQ(utf8valid(bytes(c.s), static_cast<int>(c.s.size())), c.len > 0) << c.s;
  }
}

TEST(ExactUtf8, WhatCannotBeShownBecomesReplacementCharacters) {
  EXPECT_EQ(run(utf8clean, "a\xFF" "b\xE5\x90"), "a" + kFffd + "b" + kFffd + kFffd);
  EXPECT_EQ(run(utf8clean, "\xE5\x90\x8D"), "\xE5\x90\x8D");
  // UTF-16LE: a pair, then a lone high and a lone low surrogate, then half a unit.
  EXPECT_EQ(run(utf16le2utf8, std::string("\x3D\xD8\x00\xDE" "\x3D\xD8" "A\0" "\x00\xDE" "B", 11)),
            "\xF0\x9F\x98\x80" + kFffd + "A" + kFffd + kFffd);
  // Shift-JIS: ASCII, half-width katakana, a kanji, the wave dash as Windows reads it, an
  // unmapped single byte, a lead byte before a byte that cannot trail, one at the end.
  EXPECT_EQ(run(sjis2utf8x, "a\xB1\x96\xBC\x81\x60\xA0\x88\x0A\x88"),
            "a\xEF\xBD\xB1\xE5\x90\x8D\xEF\xBD\x9E" + kFffd + kFffd + "\n" + kFffd);
}

TEST(ExactUtf8, StrictConversionsRefuseWhatTheyCannotWriteWhole) {
  EXPECT_EQ(run(utf82utf16le, "A\xF0\x9F\x98\x80"), std::string("A\0\x3D\xD8\x00\xDE", 6));
  EXPECT_EQ(run(utf82utf16le, "A\xFF"), "-1");
  EXPECT_EQ(run(utf82utf16le, "ABC", 5), "-1");  // six bytes do not fit five
  EXPECT_EQ(run(utf82utf16le, "ABC", 6), std::string("A\0B\0C\0", 6));
  uint32_t bad = 0;
  auto sjis = [&](uint8_t* d, int cap, const uint8_t* s, int n) { return utf82sjisx(d, cap, s, n, &bad); };
  EXPECT_EQ(run(sjis, "\xE5\x90\x8D\xEF\xBD\xB1" "a"), "\x96\xBC\xB1" "a");
  EXPECT_EQ(run(sjis, "\xE3\x80\x9C"), "\x81\x60");  // U+301C as Windows writes it
  EXPECT_EQ(run(sjis, "a\xF0\x9F\x98\x80"), "-2");
  EXPECT_EQ(bad, 0x1F600u);
  EXPECT_EQ(run(sjis, "\xE5\x90\x8D", 1), "-1");
  // The Shift-JIS text a model holds comes back as it was.
  const std::string names = "\x8D\xB6\x98\x72\x95\x5C\x8F\xEE\xB1\xB2";
  EXPECT_EQ(run(sjis, run(sjis2utf8x, names)), names);
}

}  // namespace
