// oschars.h - POSIX only: the program's path encodings (Shift-JIS, UTF-16) to and from
// the UTF-8 that the system takes.
#pragma once
#include <cstddef>

// Shift-JIS path to UTF-8. -1 when a character has no Unicode form, the path holds
// '?' or '*' (not valid in Windows file names), or it does not fit.
int sjispath2utf8(const char* sjis, char* utf8, size_t cap);
// UTF-16 path to UTF-8. -1 for a lone surrogate or when it does not fit.
int unipath2utf8(const char16_t* w, char* utf8, size_t cap);
// UTF-8 text to Shift-JIS, '?' for a character without a code. -1 when it does not fit,
// -2 when the text is not valid UTF-8 (it names a file no other form can name).
int utf82sjispath(const char* utf8, char* sjis, size_t cap);
// UTF-8 text to UTF-16 (surrogate pairs above U+FFFF). -1 when it does not fit, -2 when
// the text is not valid UTF-8.
int utf82unipath(const char* utf8, char16_t* w, size_t cap);
// True when every byte of s belongs to a well-formed UTF-8 sequence.
bool utf8valid(const char* s);
// s for the console (Shift-JIS): characters with a code as they are, every other byte
// as "\xFF". Always terminated; cut at cap.
void utf8shown(const char* s, char* out, size_t cap);
// Decodes one UTF-8 sequence at s; returns its length (1 for a malformed byte, with
// *cp = 0xFFFD), 0 at the terminator.
int utf8decode(const char* s, unsigned* cp);
// Encodes a code point; returns the byte count (1..4).
int utf8encode(unsigned cp, char* out);
