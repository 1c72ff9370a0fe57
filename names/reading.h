// reading.h - how the dictionary reads characters: the normal form its texts are kept in
// (converted at its doors from Shift-JIS and UTF-8), kana and their Hepburn romaji, and
// the characters kept in place as ASCII.
//
// The normal form is UTF-8 in which a character with a Shift-JIS code (the compatibility
// conversions of model names, text/sjis.h) is the character that code reads back as,
// half-width katakana are full-width (a sound mark joined to its kana), and any other
// character is as it is. A Shift-JIS code that does not read back as itself, and a byte
// that is no character, is kept as the escape 0xFF hi lo (hi 0x01 for a single byte),
// which no entry holds: it reads as an unknown character and is written back as it was.
#pragma once
#include <cstdint>

namespace dict {

// Bytes of the character at p[i] (n bytes in all): UTF-8 lead byte or escape, never
// beyond n.
int charlen(const unsigned char* p, int i, int n);
// The code point of the character at p (n bytes), 0 for an escape or a malformed byte.
uint32_t codeat(const unsigned char* p, int n, int* bytes);

// A Shift-JIS stretch in the normal form into out (cap bytes, three per source byte
// suffice). A stretch longer than limit bytes of full-width Shift-JIS is cut there, as
// the reading of a name cuts it; a '?' marked by dictmark reads as the character it
// stands for. Returns the bytes written; *chars its characters.
int fromsjis(const char* s, int len, char* out, int cap, int limit, int* chars);
// The '?' at at stands for cp in the name being generated (dictmark); markclear forgets
// them all.
void markset(const char* at, uint32_t cp);
void markclear();
// Rule text written as it is: every character exactly as its code reads, half-width
// katakana kept, so that tosjis gives the same bytes back.
int fromsjisverbatim(const char* s, int len, char* out, int cap);
// UTF-8 text in the normal form (a malformed byte becomes an escape), at most maxchars
// characters. Returns the bytes written; *chars its characters.
int fromutf8(const char* s, int len, char* out, int cap, int maxchars, int* chars);
// Normal form back to Shift-JIS (cap bytes); a character without a code is '_'.
int tosjis(const char* s, int len, char* out, int cap);

// Kana indexes: the hiragana in code order (ぁ 0 to ん 82), katakana by the same index.
constexpr int KANA_SOKUON = 34;
constexpr int KANA_LONG = 100;  // ー
constexpr int KANA_VU = 101;    // ヴ
// The kana at p (n bytes): its index, or -1.
int kanaat(const unsigned char* p, int n, int* bytes);
bool iskatakana(const unsigned char* p, int n);
// The Hepburn romaji of a run of kana into out (cap bytes); returns its length.
int romaji(const char* s, int len, char* out, int cap);
// The ASCII form of a character kept in place (letters, digits and the printable marks,
// also full-width; primes as ' and "), or 0.
char literalof(const unsigned char* p, int n, int* bytes);
// A mark kept in place: a literal that is neither a letter nor a digit.
bool ismark(char c);

}  // namespace dict
