// dict.h - "namedict.txt": the English vocabulary beneath the user's rules, read once per
// run into fixed tables, and the reading of a Japanese stretch through it.
//
// The file is UTF-8 text; after comments ('#') and blank lines its first line is the
// magic "namewright-dictionary 1", then one entry per line:
//   <kinds> TAB <class> TAB <japanese> TAB <english>[ | <alternative> ...]
// kinds: letters b (bones), m (morphs), f (display frames); class: N whole name, W word,
// K single-kanji fallback, S side (english L or R). English "-" alone: the piece writes
// nothing (particles). Of lines with the same Japanese text, kind and class, the last
// one counts, so that a line appended by the user wins.
#pragma once
#include <cstdint>

constexpr int DICT_ENTRIES = 262144;      // entries kept
constexpr int DICT_POOL = 8 << 20;        // bytes of Japanese and English text kept
constexpr int DICT_JPMAX = 63;            // Shift-JIS bytes of a Japanese text
constexpr int DICT_LINEMAX = 1024;        // bytes of a line, line end excluded
constexpr int DICT_PARTS = 640;           // pieces of one generated name

// Which entries a name may use; later kinds of names use the bone entries.
enum DictKind : uint8_t { DK_BONE = 1, DK_MORPH = 2, DK_FRAME = 4 };

// Reads a dictionary file (ANSI path, else the UTF-16 one when pathA is null); the
// tables then hold it whole, or nothing. 0 read, -1 cannot open (silent), -2 not
// readable whole: the message "Dictionary <shown>, line <n>: <what> " is printed.
int dictread(const char* pathA, const char16_t* pathW, const char* shown);
// The program's dictionary: "namedict.txt" in the given folder, ANSI path first. Prints
// "Dictionary: <path> (<n> entries) " when read; nothing when there is none. 0 read or
// absent, -1 present but not readable whole (the reason is printed).
int dictload(const char* dirA, const char16_t* dirW);
void dictclear();
bool dicthas();
int dictcount();

// ---- Generating a name -----------------------------------------------------------
// A name is built as a list of pieces: texts from the user's rules and readings of the
// stretches no rule covers. dictcompose writes the pieces as one name.
void dictbegin();
// Text written as it is (a rule's replacement, "_" for '?'): len bytes of s, which must
// stay valid until the name is composed.
void dictputtext(const char* s, int len);
// The reading of len bytes of Shift-JIS text at s; whole when it is the entire name.
void dictstretch(uint8_t kind, const char* s, int len, bool whole);
// Writes the name into out (cap bytes with the terminator; whole characters only).
// With alt > 0, the piece numbered part (0-based, counting pieces that have
// alternatives) uses its alternative alt. suffix, when not null, goes before the side.
// Returns -1 when that alternative does not exist, else 0.
int dictcompose(char* out, int cap, int part, int alt, const char* suffix);
// True when a stretch of the name being built was read through the dictionary.
bool dictused();
// True when the name being built is one whole-name entry (class N).
bool dictwhole();
// Number of pieces of the current name that have alternatives.
int dictaltparts();
