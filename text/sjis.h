// sjis.h - Shift-JIS, UTF-16LE and UTF-8 conversions over the built-in tables.
//
// Shift-JIS strings are zero-terminated bytes (char), UTF-16 strings are zero-terminated
// little-endian 16-bit units (char16_t), UTF-8 strings are zero-terminated bytes.
// Destination buffers belong to the caller; only the caps stated per function bound
// the output. Nothing here allocates or keeps state, except the installed lead-byte test.
#pragma once
#include <cstddef>
#include <cstdint>

// Table look-ups; 0 means unmapped, as is every argument above 0xFFFF.
uint32_t sjisch2unich(uint32_t code);
uint32_t unich2sjisch(uint32_t cp);
// The same with the compatibility overrides consulted first (decoding rows for
// sjisch2unichc, encoding rows for unich2sjischc). Used at the OS boundary.
uint32_t sjisch2unichc(uint32_t code);
uint32_t unich2sjischc(uint32_t cp);

// Windows code page 932 exactly, for file names: a code point has a code only when that
// code reads back as the same code point (U+301C, U+2212 ... have none). 0 = none.
uint32_t cp932ch2unich(uint32_t code);
uint32_t unich2cp932ch(uint32_t cp);

// Plain conversions (main tables only). sjis2unistr(cat) write code points beyond
// U+FFFF as surrogate pairs and unmapped codes as '?'.
int sjis2unistr(char16_t* dst, const char* src);     // source bytes read (cap 9998)
// Appends; the whole string stays within 9999 units (terminator included).
int sjis2unistrcat(char16_t* dst, const char* src);  // source bytes read
int unistr2sjis(char* dst, const char16_t* src);     // units read (cap 9998)
int utf82unistr(char16_t* dst, const char* src);     // 7 well-formed, 0 not
int unistr2utf8(char* dst, const char16_t* src);     // source bytes read

// Compatibility conversions (overrides first); the sjis2* ones return the scan verdict.
int unistr2sjisc(char* dst, const char16_t* src);    // source bytes read
int utf82sjisc(char* dst, const char* src);          // 7 well-formed, 0 not
int sjis2utf8c(char* dst, const char* src);          // scan verdict
// Appends to dst, which holds 520 bytes: -1 (nothing written) when dst has no terminator
// there, else the scan verdict; characters that would not fit are left out.
int sjis2utf8catc(char* dst, const char* src);
int sjis2unistrc(char16_t* dst, const char* src);    // scan verdict

// UTF-16 string utilities.
int unistrcmp(const char16_t* s, const char16_t* t);    // 0 equal, -1 otherwise
int unistrmatch(const char16_t* s, const char16_t* t);  // 0 equal, -1 differ, 3 t proper prefix of s
int unistrlen(const char16_t* s);                       // at most 4999
int unistrcpy(char16_t* dst, const char16_t* src);
int unistrcat(char16_t* dst, const char16_t* src);
int unistrbytes(const char16_t* s);

// The system's double-byte lead-byte test (IsDBCSLeadByte of the ANSI code page).
// Defaults to the code page 932 rule (0x81-0x9F, 0xE0-0xFC); the Windows platform
// installs the system's own test at start-up.
bool sysleadbyte(unsigned char b);
void setsysleadbyte(bool (*test)(unsigned char b));
