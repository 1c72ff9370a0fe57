// utf8.h - exact conversions of names to and from UTF-8, for text that people edit.
//
// Unlike the console conversions of sjis.h these print nothing, never spell a character
// another way, and are bounded by the lengths and capacities given: a source is len
// bytes (zeros included), a destination holds cap bytes and gets no terminator. Each
// returns the bytes written, or -1 when the result does not fit cap (or, for the strict
// ones, when the source cannot be converted whole).
#pragma once
#include <cstdint>

// The next UTF-8 sequence of s (len bytes left, len > 0): its length, with the code
// point in *cp; 0 when it is malformed (overlong, a surrogate, beyond U+10FFFF, cut).
int utf8next(const uint8_t* s, int len, uint32_t* cp);
// Appends the UTF-8 form of cp at dst (4 bytes of room); the length.
int utf8put(uint8_t* dst, uint32_t cp);
bool utf8valid(const uint8_t* s, int len);

// Text shown as it is: every character that cannot be shown (a malformed byte, a lone
// surrogate, an unmapped Shift-JIS code) becomes U+FFFD, one per byte or unit.
int utf8clean(uint8_t* dst, int cap, const uint8_t* s, int len);
int utf16le2utf8(uint8_t* dst, int cap, const uint8_t* le, int bytes);
int sjis2utf8x(uint8_t* dst, int cap, const uint8_t* s, int len);

// Strict: well-formed UTF-8 in, -1 when it is not (or does not fit).
int utf82utf16le(uint8_t* dst, int cap, const uint8_t* s, int len);
// Shift-JIS with the compatibility encodings; -2 when a character has no code (its code
// point in *bad when bad is given), -1 when the text is malformed or does not fit.
int utf82sjisx(uint8_t* dst, int cap, const uint8_t* s, int len, uint32_t* bad);
