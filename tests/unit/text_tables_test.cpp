// text_tables_test.cpp - the built-in Shift-JIS tables, the overrides and the lead-byte test.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>

#include "support/capture.h"
#include "text/sjis.h"
#include "text/sjistables.h"

namespace {

// Every code the forward table can hold: single bytes, then the two lead-byte ranges.
template <typename F>
void eachcode(F f) {
  for (uint32_t c = 0; c < 0x100; c++) f(c);
  for (uint32_t c = 0x8000; c < 0xA000; c++) f(c);
  for (uint32_t c = 0xE000; c < 0xFD00; c++) f(c);
}

TEST(SjisTables, Sizes) {
  using namespace sjistab;
  EXPECT_EQ(std::size(fwd00) + std::size(fwd80) + std::size(fwde0), 15872u);
  EXPECT_EQ(std::size(rev0000) + std::size(rev1e00) + std::size(revf900), 36352u);
}

TEST(SjisTables, TellingRows) {
  struct {
    uint32_t code, cp;
  } const rows[] = {
      {0x8140, 0x3000},  {0x829F, 0x3041}, {0x8340, 0x30A1}, {0x889F, 0x4E9C},
      {0x83BB, 0x2661},  {0xEAA4, 0x7199}, {0xFC4B, 0x29A72}, {0xF040, 0x20089},
      {0xFCF4, 0x2A6B2}, {0x005C, 0x00A5}, {0x007E, 0x203E}, {0x815C, 0x2014},
      {0x81D4, 0xFF5F},  {0x81D5, 0xFF60}, {0x8790, 0},       {0x82FA, 0},
  };
  for (const auto& r : rows) EXPECT_EQ(sjisch2unich(r.code), r.cp) << std::hex << r.code;
}

TEST(SjisTables, SingleBytes) {
  for (uint32_t b = 0; b < 0x100; b++) {
    uint32_t want = 0;
    if (b >= 0x01 && b <= 0x7F) want = b == 0x5C ? 0xA5 : b == 0x7E ? 0x203E : b;
    if (b >= 0xA1 && b <= 0xDF) want = 0xFF61 + (b - 0xA1);
    EXPECT_EQ(sjisch2unich(b), want) << std::hex << b;
  }
}

TEST(SjisTables, DoubleByteCodesOnlyWithGoodLeadAndTrail) {
  int beyond = 0, below = 0;
  eachcode([&](uint32_t c) {
    uint32_t cp = sjisch2unich(c);
    if (c < 0x100 || cp == 0) return;
    uint32_t lead = c >> 8, trail = c & 0xFF;
    EXPECT_TRUE(lead >= 0x81 && trail >= 0x40 && trail <= 0xFC) << std::hex << c;
    (cp > 0xFFFF ? beyond : below)++;
  });
  EXPECT_EQ(beyond, 303);
  // With the 190 mapped single bytes, the 11,095 code points the reverse table holds.
  EXPECT_EQ(below + 190, 11095);
  // Codes outside the three ranges, and arguments beyond 16 bits, are unmapped.
  for (uint32_t c : {0xA140u, 0xDF40u, 0xFD40u, 0xFFFCu, 0x18140u, 0x1005Cu}) {
    EXPECT_EQ(sjisch2unich(c), 0u) << std::hex << c;
  }
}

TEST(SjisTables, CombiningCodesUnmappedButTheirNeighboursNot) {
  const uint32_t combining[] = {0x82F5, 0x82F6, 0x82F7, 0x82F8, 0x82F9, 0x8397, 0x8398,
                                0x8399, 0x839A, 0x839B, 0x839C, 0x839D, 0x839E, 0x83F6,
                                0x8663, 0x8667, 0x8668, 0x8669, 0x866A, 0x866B, 0x866C,
                                0x866D, 0x866E, 0x8685, 0x8686};
  static_assert(std::size(combining) == 25);
  for (uint32_t c : combining) EXPECT_EQ(sjisch2unich(c), 0u) << std::hex << c;
  for (uint32_t c : {0x82F4u, 0x8396u, 0x83F5u, 0x8662u, 0x8666u, 0x866Fu, 0x8684u, 0x8687u})
    EXPECT_NE(sjisch2unich(c), 0u) << std::hex << c;
}

TEST(SjisTables, ReverseIsTheExactInverseBelowPlaneOne) {
  eachcode([](uint32_t c) {
    uint32_t cp = sjisch2unich(c);
    if (cp != 0 && cp < 0x10000) {
      EXPECT_EQ(unich2sjisch(cp), c) << std::hex << c;
    }
  });
  int entries = 0;
  for (uint32_t cp = 0; cp < 0x10000; cp++) {
    uint32_t c = unich2sjisch(cp);
    if (c == 0) continue;
    entries++;
    EXPECT_EQ(sjisch2unich(c), cp) << std::hex << cp;
  }
  EXPECT_EQ(entries, 11095);
}

TEST(SjisTables, ReverseConsequences) {
  struct {
    uint32_t cp, code;
  } const rows[] = {
      {0x005C, 0x815F}, {0x007E, 0x81B0}, {0x00A5, 0x005C}, {0x2014, 0x815C}, {0x301C, 0x8160},
      {0x2015, 0},      {0xFF5E, 0},      {0xFF3C, 0},      {0xFFE0, 0},      {0xFFE1, 0},
      {0xFFE2, 0},      {0x2211, 0},      {0x0000, 0},      {0x13000, 0},     {0x20089, 0},
  };
  for (const auto& r : rows) EXPECT_EQ(unich2sjisch(r.cp), r.code) << std::hex << r.cp;
  EXPECT_EQ(unich2sjisch(0x3000), 0x8140u);
}

struct Override {
  uint32_t cp, code;
};
constexpr Override overrides[] = {
    {0x2015, 0x815C}, {0xFF3C, 0x815F}, {0x301C, 0x8160}, {0xFF5E, 0x8160}, {0x2225, 0x8161},
    {0xFF0D, 0x817C}, {0xFFE0, 0x8191}, {0xFFE1, 0x8192}, {0xFFE2, 0x81CA}, {0x2235, 0x879A},
    {0x2229, 0x879B}, {0x222A, 0x879C}, {0x2252, 0x8790}, {0x2261, 0x8791}, {0x222B, 0x8792},
    {0x2211, 0x8794}, {0x221A, 0x8795}, {0x22A5, 0x8796}, {0x2220, 0x8797},
};

TEST(SjisOverrides, EncodingUsesAllNineteenRows) {
  for (const Override& o : overrides) EXPECT_EQ(unich2sjischc(o.cp), o.code) << std::hex << o.cp;
  // Without an override the reverse table answers.
  for (uint32_t cp : {0x3000u, 0x2014u, 0x00A5u, 0x005Cu, 0x4E9Cu, 0x0E01u, 0x0000u, 0x12252u})
    EXPECT_EQ(unich2sjischc(cp), unich2sjisch(cp)) << std::hex << cp;
}

TEST(SjisOverrides, DecodingUsesEighteenRowsWithFullWidthTilde) {
  for (const Override& o : overrides) {
    if (o.cp == 0x301C) continue;
    EXPECT_EQ(sjisch2unichc(o.code), o.cp) << std::hex << o.code;
  }
  EXPECT_EQ(sjisch2unichc(0x8160), 0xFF5Eu);
  // The row-2 codes keep their table meaning; only the 0x879x codes are overridden.
  for (uint32_t c : {0x81E0u, 0x81E3u, 0x8140u, 0x005Cu, 0xF040u, 0x18160u})
    EXPECT_EQ(sjisch2unichc(c), sjisch2unich(c)) << std::hex << c;
}

TEST(SjisLeadByte, DefaultIsCodePage932AndCanBeReplaced) {
  for (unsigned b = 0; b < 0x100; b++) {
    bool want = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(sysleadbyte(static_cast<unsigned char>(b)), want) << std::hex << b;
  }
  setsysleadbyte([](unsigned char b) { return b == 0x41; });
  EXPECT_TRUE(sysleadbyte(0x41));
  EXPECT_FALSE(sysleadbyte(0x82));
  setsysleadbyte(nullptr);
  EXPECT_TRUE(sysleadbyte(0x82));
  EXPECT_FALSE(sysleadbyte(0x41));
}

TEST(SjisTables, HeartSelfCheckMessage) {
  ConsoleCapture cap;
  sjistab::check2661(0x83BB);
  EXPECT_EQ(cap.take(), "");
  sjistab::check2661(0x81A0);
  EXPECT_EQ(cap.take(), "Assert fail converting unich0x2661 => sjisch0x83BB (81A0). \n");
  sjistab::check2661(0);
  EXPECT_EQ(cap.take(), "Assert fail converting unich0x2661 => sjisch0x83BB (0000). \n");
}

}  // namespace

// File names use code page 932 exactly: a character has a code only when that code
// reads back as the same character, so no name can stand for a look-alike's file.
TEST(Cp932, EveryCodeReadsBackAsItsCharacter) {
  int encodable = 0;
  for (uint32_t cp = 1; cp < 0x10000; cp++) {
    uint32_t code = unich2cp932ch(cp);
    if (code == 0) continue;
    encodable++;
    ASSERT_EQ(cp932ch2unich(code), cp) << std::hex << cp;
  }
  EXPECT_GT(encodable, 9000);
  // Look-alikes of Windows' best fit have no code; the characters they stand for do.
  for (uint32_t cp : {0x301Cu, 0x2212u, 0x2016u, 0x00A2u, 0x00A3u, 0x00ACu}) {
    EXPECT_EQ(unich2cp932ch(cp), 0u) << std::hex << cp;
  }
  EXPECT_EQ(cp932ch2unich(0x8160), 0xFF5Eu);
  EXPECT_EQ(unich2cp932ch(0xFF5E), 0x8160u);
  EXPECT_EQ(cp932ch2unich(0x817C), 0xFF0Du);
  EXPECT_EQ(cp932ch2unich(0x5C), 0x5Cu);  // a backslash in a path, not a yen sign
  EXPECT_EQ(unich2cp932ch(0x2252), 0x81E0u);  // of two codes, the one Windows writes
  EXPECT_EQ(cp932ch2unich(0x8790), 0x2252u);
}
