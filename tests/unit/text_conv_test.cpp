// text_conv_test.cpp - the Shift-JIS / UTF-16 / UTF-8 conversions, their caps and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/capture.h"
#include "text/sjis.h"

namespace {

// Conversions write at most 4 bytes or 7 units per source byte or unit.
struct Out {
  std::string text;
  std::u16string units;
  int result;
  std::string console;
};

std::string bytesof(const std::vector<char>& buf) { return std::string(buf.data()); }
std::u16string unitsof(const std::vector<char16_t>& buf) { return std::u16string(buf.data()); }

template <typename Fn>
Out tobytes(Fn fn, const std::string& src) {
  ConsoleCapture cap;
  std::vector<char> dst(src.size() * 4 + 16, '\x55');
  int r = fn(dst.data(), src.c_str());
  return {bytesof(dst), {}, r, cap.take()};
}

template <typename Fn>
Out tounits(Fn fn, const std::string& src) {
  ConsoleCapture cap;
  std::vector<char16_t> dst(src.size() * 7 + 16, u'\x5555');
  int r = fn(dst.data(), src.c_str());
  return {{}, unitsof(dst), r, cap.take()};
}

template <typename Fn>
Out fromunits(Fn fn, const std::u16string& src) {
  ConsoleCapture cap;
  std::vector<char> dst(src.size() * 4 + 16, '\x55');
  int r = fn(dst.data(), src.c_str());
  return {bytesof(dst), {}, r, cap.take()};
}

// ---- Shift-JIS to UTF-8 and UTF-16 with the scan verdict ----

struct SjisCase {
  const char* what;
  std::string src;
  std::string utf8;  // sjis2utf8c
  std::u16string units;  // sjis2unistrc
  int verdict;
  std::string console8;  // sjis2utf8c
  std::string console16;  // sjis2unistrc
};

const std::string trailmsg813F = "[81 3F(x)](2nd byte==0x00-3F) ";

const SjisCase sjiscases[] = {
    {"hiragana a", "\x82\xA0", "\xE3\x81\x82", u"\u3042", 7, "", ""},
    {"ascii copied, 5C and 7E too", "a\\~", "a\\~", u"a\\~", 7, "", ""},
    {"lone lead at the end", "\x82", "", u"", 3, "", ""},
    {"text then lone lead", "ab\x82", "ab", u"ab", 3, "", ""},
    {"0x8790 through the overrides", "\x87\x90", "\xE2\x89\x92", u"\u2252", 7, "", ""},
    {"0x815C through the overrides", "\x81\x5C", "\xE2\x80\x95", u"\u2015", 7, "", ""},
    {"0x8160 decodes to FF5E", "\x81\x60", "\xEF\xBD\x9E", u"\uFF5E", 7, "", ""},
    {"row-2 code keeps its table value", "\x81\xE0", "\xE2\x89\x92", u"\u2252", 7, "", ""},
    {"half-width kana and 0xA0", "\xB1\xA0", "\xEF\xBD\xB1\xC2\xA0", u"\uFF71\u00A0", 7, "", ""},
    {"plane 2 kanji", "\xF0\x40", "\xF0\xA0\x82\x89", u"\U00020089", 15, "", ""},
    {"lead E0-FC adds 8", "\x88\x9F\xEA\xA4", "\xE4\xBA\x9C\xE7\x86\x99", u"\u4E9C\u7199", 15, "",
     ""},
    {"FD-FF skipped, adds 8", "a\xFD\xFE\xFF" "b", "ab", u"ab", 15, "", ""},
    {"lead 0x80", "\x80\x41z", "z", u"\x8041z", 2, "<<<uni000000:sjis008041>>>", ""},
    {"trail below 0x40", "\x81\x3F", "", u"\x813F", 1, trailmsg813F + "<<<uni000000:sjis00813F>>>",
     trailmsg813F},
    {"trail below 0x40 after E0 lead: no 8", "\xE0\x40\xE0\x01", "\xE6\xBC\xBE", u"\u6F3E\xE001", 1,
     "[E0 01(x)](2nd byte==0x00-3F) <<<uni000000:sjis00E001>>>", "[E0 01(x)](2nd byte==0x00-3F) "},
    {"both anomalies", "\x81\x3F\x80\x41", "", u"\x813F\x8041", 0,
     trailmsg813F + "<<<uni000000:sjis00813F>>><<<uni000000:sjis008041>>>", trailmsg813F},
    {"8 after the anomaly", "\x80\x41\xE0\x40", "\xE6\xBC\xBE", u"\x8041\u6F3E", 10,
     "<<<uni000000:sjis008041>>>", ""},
    {"lone lead after 8", "\xE0\x40\x82", "\xE6\xBC\xBE", u"\u6F3E", 3, "", ""},
    {"unmapped code", "\x82\xFA" "a", "a", u"\x82FA" "a", 7, "<<<uni000000:sjis0082FA>>>", ""},
    {"empty", "", "", u"", 7, "", ""},
};

TEST(SjisScan, Sjis2utf8c) {
  for (const SjisCase& c : sjiscases) {
    Out o = tobytes(sjis2utf8c, c.src);
    EXPECT_EQ(o.text, c.utf8) << c.what;
    EXPECT_EQ(o.result, c.verdict) << c.what;
    EXPECT_EQ(o.console, c.console8) << c.what;
  }
}

TEST(SjisScan, Sjis2unistrc) {
  for (const SjisCase& c : sjiscases) {
    Out o = tounits(sjis2unistrc, c.src);
    EXPECT_EQ(o.units, c.units) << c.what;
    EXPECT_EQ(o.result, c.verdict) << c.what;
    EXPECT_EQ(o.console, c.console16) << c.what;
  }
}

TEST(SjisScan, CatcAppendsWithinItsBuffer) {
  char buf[530];
  memset(buf, 'a', sizeof buf);
  EXPECT_EQ(sjis2utf8catc(buf, "\x82\xA0"), -1);  // no terminator in the first 520 bytes
  for (char c : buf) ASSERT_EQ(c, 'a');

  buf[519] = 0;
  EXPECT_EQ(sjis2utf8catc(buf, ""), 7);
  EXPECT_EQ(buf[519], 0);

  strcpy(buf, "x:");
  EXPECT_EQ(sjis2utf8catc(buf, "\x82\xA0\xF0\x40"), 15);
  EXPECT_STREQ(buf, "x:\xE3\x81\x82\xF0\xA0\x82\x89");

  // 500 bytes in; 6 more hiragana fit (518), the 7th would pass byte 519.
  memset(buf, 'b', 500);
  buf[500] = 0;
  memset(buf + 520, 0x55, 10);
  std::string src;
  for (int i = 0; i < 20; i++) src += "\x82\xA0";
  src += "\x81\x3F";  // still scanned after the buffer is full
  ConsoleCapture cap;
  EXPECT_EQ(sjis2utf8catc(buf, src.c_str()), 1);
  EXPECT_EQ(cap.take(), trailmsg813F + "<<<uni000000:sjis00813F>>>");
  EXPECT_EQ(strlen(buf), 518u);
  for (int i = 520; i < 530; i++) EXPECT_EQ(buf[i], 0x55);
}

// ---- plain Shift-JIS to UTF-16 ----

TEST(SjisPlain, Sjis2unistr) {
  struct {
    std::string src;
    std::u16string units;
    int read;
  } const cases[] = {
      {"a\x82\xA0", u"a\u3042", 3},
      {"\\~", u"\\~", 2},                     // below 0x80: the same unit
      {"\x81\x60", u"\u301C", 2},             // no overrides here
      {"\x82\xFA\x80\x41", u"??A", 4},        // unmapped code; 0x80 is no lead byte
      {"\x81\x3F", u"?", 2},                  // the trail is taken whatever it is
      {"\xB1\xDF", u"\uFF71\uFF9F", 2},       // single bytes through the table
      {"\x80\xA0\xFD", u"???", 3},            // single bytes without an entry
      {"\xF0\x40", u"\U00020089", 2},         // beyond U+FFFF: a surrogate pair
      {"ab\x82", u"ab", 2},                   // lone lead dropped
  };
  for (const auto& c : cases) {
    Out o = tounits(sjis2unistr, c.src);
    EXPECT_EQ(o.units, c.units) << c.src;
    EXPECT_EQ(o.result, c.read) << c.src;
    EXPECT_EQ(o.console, "");
  }
}

TEST(SjisPlain, LeadByteTestIsTheSystemOne) {
  setsysleadbyte([](unsigned char) { return false; });
  Out o = tounits(sjis2unistr, "\x82\xA0z");
  setsysleadbyte(nullptr);
  EXPECT_EQ(o.units, u"??z");  // 0x82 and 0xA0 have no single-byte entry
}

TEST(SjisPlain, Sjis2unistrcat) {
  char16_t buf[32] = u"ab";
  EXPECT_EQ(sjis2unistrcat(buf, "\x82\xA0" "c"), 3);
  EXPECT_EQ(std::u16string(buf), u"ab\u3042c");
  char16_t empty[8] = {};
  EXPECT_EQ(sjis2unistrcat(empty, "z"), 1);
  EXPECT_EQ(std::u16string(empty), u"z");
}

TEST(SjisPlain, Caps) {
  std::vector<char16_t> units(20000, u'\x5555');
  std::string src(12000, 'a');
  EXPECT_EQ(sjis2unistr(units.data(), src.c_str()), 9998);
  EXPECT_EQ(unitsof(units).size(), 9998u);

  // A pair whose trail would be byte 9999 is dropped; one ending at byte 9998 is kept.
  src = std::string(9997, 'a') + "\x82\xA0";
  EXPECT_EQ(sjis2unistr(units.data(), src.c_str()), 9997);
  EXPECT_EQ(unitsof(units).size(), 9997u);
  src = std::string(9996, 'a') + "\x82\xA0";
  EXPECT_EQ(sjis2unistr(units.data(), src.c_str()), 9998);
  EXPECT_EQ(unitsof(units).back(), u'\u3042');

  // Appending keeps the whole string within 9999 units.
  std::fill(units.begin(), units.end(), u'\x5555');
  std::fill(units.begin(), units.begin() + 9000, u'a');
  units[9000] = 0;
  EXPECT_EQ(sjis2unistrcat(units.data(), std::string(2000, 'b').c_str()), 998);
  EXPECT_EQ(unitsof(units).size(), 9998u);
  EXPECT_EQ(units[9999], u'\x5555');
  // No terminator in the first 9999 units: cut there, nothing appended.
  std::fill(units.begin(), units.end(), u'a');
  EXPECT_EQ(sjis2unistrcat(units.data(), "b"), 0);
  EXPECT_EQ(units[9998], 0);
  EXPECT_EQ(units[9999], u'a');

  std::u16string wide(12000, u'\u3042');
  std::vector<char> bytes(30000, '\x55');
  EXPECT_EQ(unistr2sjis(bytes.data(), wide.c_str()), 9998);
  EXPECT_EQ(bytesof(bytes).size(), 2 * 9998u);

  EXPECT_EQ(unistrlen(std::u16string(6000, u'a').c_str()), 4999);
  EXPECT_EQ(unistrlen(std::u16string(4998, u'a').c_str()), 4998);
}

// ---- UTF-16 to Shift-JIS ----

TEST(UniToSjis, Plain) {
  struct {
    std::u16string src;
    std::string sjis;
  } const cases[] = {
      {u"\u00E9", "\xE9"},        // below 0x100: the byte itself
      {u"\u00A5\\", "\xA5\\"},
      {u"\u2661", "\x83\xBB"},
      {u"a\u3042", "a\x82\xA0"},
      {u"\u2015\uFF5E\u0E01", "???"},  // no overrides; not in the table
      {u"\U00020089", "??"},           // each surrogate unit on its own
      {u"\u301C\u2252", "\x81\x60\x81\xE0"},
  };
  for (const auto& c : cases) {
    Out o = fromunits(unistr2sjis, c.src);
    EXPECT_EQ(o.text, c.sjis);
    EXPECT_EQ(o.result, static_cast<int>(c.src.size()));
    EXPECT_EQ(o.console, "");  // the U+2661 check stays quiet
  }
}

TEST(UniToSjis, Compatible) {
  struct {
    std::u16string src;
    std::string sjis;
    int read;
  } const cases[] = {
      {u"\uFF5E\u301C", "\x81\x60\x81\x60", 4},
      {u"\u221A", "\x87\x95", 2},
      {u"\u2015\u2014", "\x81\x5C\x81\x5C", 4},
      {u"\U00020B9F", "?", 4},           // D842 DF9F: one '?'
      {u"\xD842" "a", "?", 4},           // the unit after a high surrogate goes with it
      {u"a\xD842", "a?", 4},             // ...but never the terminator
      {u"\xDC00", "?", 2},
      {u"\\\u00A5\u00E9", "\\\x5C\x85\x7E", 6},
      {u"\u0E01", "?", 2},
      {u"\u4E9C\uFF71", "\x88\x9F\xB1", 4},
  };
  for (const auto& c : cases) {
    Out o = fromunits(unistr2sjisc, c.src);
    EXPECT_EQ(o.text, c.sjis);
    EXPECT_EQ(o.result, c.read);
  }
}

// ---- UTF-8 ----

TEST(Utf8, ToSjis) {
  struct {
    std::string src, sjis;
    int result;
  } const cases[] = {
      {"\xEF\xBD\xB1", "\xB1", 7},
      {"\xF0\xA0\x82\x89", "", 7},                 // beyond U+FFFF: nothing
      {"a\xE3\x81\x82", "a\x82\xA0", 7},
      {"\xE2\x80\x95\xEF\xBD\x9E", "\x81\x5C\x81\x60", 7},  // three-byte: overrides
      {"\xC2\xA5\xC3\xA9", "\x5C\x85\x7E", 7},
      {"\xE0\xB8\x81" "b", "b", 7},                // unmapped: dropped
      {"\xC0\x80" "c", "c", 7},                    // overlong NUL has no code
      {"a\x80" "b", "ab", 0},
      {"\xC3" "A", "A", 0},                        // the failing follower is kept
      {"\xE3\x81\xE3\x81\x82", "\x82\xA0", 0},
      {"\xE3\x81", "", 0},
      {"\xF8" "a\xFF" "b", "a", 0},                // the second malformed byte ends the walk
  };
  for (const auto& c : cases) {
    Out o = tobytes(utf82sjisc, c.src);
    EXPECT_EQ(o.text, c.sjis) << c.src;
    EXPECT_EQ(o.result, c.result) << c.src;
  }
}

TEST(Utf8, ToUnits) {
  struct {
    std::string src;
    std::u16string units;
    int result;
  } const cases[] = {
      {"a\xE3\x81\x82\xC3\xA9", u"a\u3042\u00E9", 7},
      {"\xF0\xA0\x82\x89", u"x020089", 7},
      {"\xF4\x8F\xBF\xBF", u"x10FFFF", 7},
      {"\xF0\x8F\xBF\xBF", u"\uFFFF", 7},   // overlong four-byte form below U+10000
      {"\x61\x80\x62\x80\x63", u"ab", 0},
      {"\xE3\x81", u"", 0},
  };
  for (const auto& c : cases) {
    std::vector<char16_t> dst(64, u'\x5555');
    EXPECT_EQ(utf82unistr(dst.data(), c.src.c_str()), c.result) << c.src;
    std::u16string got = unitsof(dst);
    EXPECT_EQ(got, c.units) << c.src;
    EXPECT_EQ(dst[got.size() + 1], 0) << "second terminator";
  }
}

TEST(Utf8, FromUnits) {
  struct {
    std::u16string src;
    std::string utf8;
    int read;
  } const cases[] = {
      {u"a\u00E9\u3042", "a\xC3\xA9\xE3\x81\x82", 6},
      {u"\U00020B9F", "\xF0\xA0\xAE\x9F", 4},
      {u"\xDC00", "\xED\xB0\x80", 2},   // a lone low surrogate, as three bytes
      {u"\xD800" "A", "?", 4},          // both units consumed
      {u"z\xD800", "z?", 4},            // the terminator is not
      {u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80", 4},
  };
  for (const auto& c : cases) {
    Out o = fromunits(unistr2utf8, c.src);
    EXPECT_EQ(o.text, c.utf8);
    EXPECT_EQ(o.result, c.read);
  }
}

// ---- round trips over every mapped code ----

std::string codebytes(uint32_t code) {
  std::string s;
  if (code >= 0x100) s += static_cast<char>(code >> 8);
  s += static_cast<char>(code & 0xFF);
  return s;
}

template <typename F>
void eachmapped(F f) {
  for (uint32_t c = 1; c < 0xFD00; c++) {
    if ((c >= 0x100 && c < 0x8000) || (c >= 0xA000 && c < 0xE000)) continue;
    if (sjisch2unich(c) != 0) f(c);
  }
}

TEST(RoundTrip, PlainThroughUtf16) {
  int n = 0;
  eachmapped([&](uint32_t c) {
    uint32_t cp = sjisch2unich(c);
    if (c < 0x80 || cp < 0x100 || cp > 0xFFFF) return;  // below 0x100 units are bytes
    Out u = tounits(sjis2unistr, codebytes(c));
    Out b = fromunits(unistr2sjis, u.units);
    EXPECT_EQ(b.text, codebytes(c)) << std::hex << c;
    n++;
  });
  EXPECT_GT(n, 10800);
}

// The compatible conversions give every code back, except those whose code point the
// code page 932 overrides send elsewhere (and 0x81B0, U+007E, which becomes ASCII);
// plane-2 kanji have no Shift-JIS way back.
TEST(RoundTrip, CompatibleThroughUtf16AndUtf8) {
  const std::pair<uint32_t, std::string> moves[] = {
      {0x81AF, "\x81\x7C"}, {0x81B0, "~"},        {0x81BE, "\x87\x9C"}, {0x81BF, "\x87\x9B"},
      {0x81D2, "\x81\x61"}, {0x81DA, "\x87\x97"}, {0x81DB, "\x87\x96"}, {0x81DF, "\x87\x91"},
      {0x81E0, "\x87\x90"}, {0x81E3, "\x87\x95"}, {0x81E6, "\x87\x9A"}, {0x81E7, "\x87\x92"},
  };
  int moved = 0, plane2 = 0;
  eachmapped([&](uint32_t c) {
    std::string sjis = codebytes(c);
    Out u = tounits(sjis2unistrc, sjis);
    Out b = fromunits(unistr2sjisc, u.units);
    Out e = tobytes(sjis2utf8c, sjis);
    Out s = tobytes(utf82sjisc, e.text);
    ASSERT_EQ(u.result, c >= 0xE000 ? 15 : 7);
    std::string want = sjis;
    if (sjisch2unich(c) > 0xFFFF) {
      plane2++;
      EXPECT_EQ(b.text, "?");
      EXPECT_EQ(s.text, "");
      return;
    }
    for (const auto& m : moves) {
      if (m.first == c) want = m.second, moved++;
    }
    EXPECT_EQ(b.text, want) << std::hex << c;
    EXPECT_EQ(s.text, want) << std::hex << c;
  });
  EXPECT_EQ(moved, 12);
  EXPECT_EQ(plane2, 303);
}

TEST(RoundTrip, OverriddenCodesComeBack) {
  for (uint32_t c : {0x815Cu, 0x815Fu, 0x8160u, 0x8161u, 0x817Cu, 0x8191u, 0x8192u, 0x81CAu,
                     0x8790u, 0x8791u, 0x8792u, 0x8794u, 0x8795u, 0x8796u, 0x8797u, 0x879Au,
                     0x879Bu, 0x879Cu}) {
    std::string sjis = codebytes(c);
    Out u = tounits(sjis2unistrc, sjis);
    EXPECT_EQ(fromunits(unistr2sjisc, u.units).text, sjis) << std::hex << c;
    EXPECT_EQ(tobytes(utf82sjisc, tobytes(sjis2utf8c, sjis).text).text, sjis) << std::hex << c;
  }
}

// ---- UTF-16 string utilities ----

TEST(UniStr, CompareAndMatch) {
  struct {
    std::u16string s, t;
    int cmp, match;
  } const cases[] = {
      {u"abc", u"abc", 0, 0},  {u"abcd", u"abc", -1, 3}, {u"ab", u"abc", -1, -1},
      {u"abx", u"abc", -1, -1}, {u"", u"", 0, 0},          {u"a", u"", -1, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(unistrcmp(c.s.c_str(), c.t.c_str()), c.cmp);
    EXPECT_EQ(unistrmatch(c.s.c_str(), c.t.c_str()), c.match);
  }
}

TEST(UniStr, CopyCatLengthBytes) {
  char16_t buf[16];
  std::fill(std::begin(buf), std::end(buf), u'\x5555');
  EXPECT_EQ(unistrcpy(buf, u"ab"), 2);
  EXPECT_EQ(buf[2], 0);
  EXPECT_EQ(buf[3], u'\x5555');
  EXPECT_EQ(unistrcat(buf, u"\u3042d"), 2);
  EXPECT_EQ(std::u16string(buf), u"ab\u3042d");
  EXPECT_EQ(unistrcat(buf, u""), 0);
  EXPECT_EQ(unistrlen(buf), 4);
  EXPECT_EQ(unistrbytes(buf), 8);
  EXPECT_EQ(unistrbytes(std::u16string(6000, u'a').c_str()), 12000);
}

}  // namespace
