// dict.h - the dictionary: the English vocabulary beneath the user's rules, and the
// reading of a Japanese stretch through it.
//
// Two forms of one dictionary lie in the program's folder: "namedict.txt", the text that
// people read and edit, and "namedict.bin", the same compiled by nwdictc into tables the
// program maps and uses as they lie (names/dictbin.h draws its layout). The user's own
// words, "namedict-user.txt", are read as text after either and win over both.
//
// The text is UTF-8; after comments ('#') and blank lines its first line is the magic
// "namewright-dictionary 1" or "namewright-dictionary 2" (optional in the user's file),
// then one entry per line:
//   <kinds> TAB <class> TAB <japanese> TAB <english>[ | <alternative> ...]
// kinds: letters b (bones), m (morphs), f (display frames), n (the model's own name), and j (for names read as
// Japanese only) or c (Chinese only), neither being both; class: N whole name, W word,
// K single-kanji fallback, S side (english L or R). English "-" alone: the piece writes
// nothing (particles). Of lines with the same Japanese text, kind and class, the last
// one counts, so that a line appended by the user wins.
//
// Inside the dictionary text is UTF-8 in one normal form (names/reading.h): a character
// with a Shift-JIS code as the character that code reads back as, half-width katakana as
// full-width, any other character as it is.
#pragma once
#include <cstdint>

constexpr int DICT_ENTRIES = 1 << 20;     // entries of the text form kept (a compiled
                                          // file holds up to 2^30)
constexpr int DICT_POOL = 32 << 20;       // bytes of Japanese and English text kept
constexpr int DICT_JPCHARS = 32;          // characters of a Japanese text
constexpr int DICT_JPBYTES = 4 * DICT_JPCHARS;  // its bytes in the normal form, at most
constexpr int DICT_LINEMAX = 1024;        // bytes of a line, line end excluded
constexpr int DICT_PARTS = 640;           // pieces of one generated name
constexpr int64_t DICT_PIECECOST = int64_t{1} << 30;  // what one piece adds to dictcost
constexpr int64_t DICT_UNKNOWNCOST = int64_t{1} << 20;  // and a character without English

// Which entries a name may use; later kinds of names use the bone entries, and the
// model's own name (DK_MODEL) also reads proper names (n entries) by their reading.
enum DictKind : uint8_t { DK_BONE = 1, DK_MORPH = 2, DK_FRAME = 4, DK_MODEL = 16 };
// The language a name is read in: Japanese uses the entries not marked c; Chinese may
// use all, its own (c) before shared ones before Japanese ones (j).
enum DictLang : uint8_t { DL_JA, DL_ZH };

// Reads a dictionary text (ANSI path, else the UTF-16 one when pathA is null); the
// tables then hold it whole, or nothing. 0 read, -1 cannot open (silent), -2 not
// readable whole: the message "Dictionary <shown>, line <n>: <what> " is printed.
int dictread(const char* pathA, const char16_t* pathW, const char* shown);
// The same for a compiled file: 0 mapped and checked, -1 cannot open (silent), -2
// broken: "Dictionary <shown>: <what> " is printed.
int dictreadbin(const char* pathA, const char16_t* pathW, const char* shown);
// The program's dictionary, from the given folder (ANSI path first): "namedict.bin"
// when it is sound and "namedict.txt" is absent or has the size it was compiled from,
// else "namedict.txt"; then "namedict-user.txt". Prints "Dictionary: <path> (<n>
// entries) " for each file read, and one line for a compiled file passed over. 0 read
// or absent, -1 present but not readable whole (the reason is printed).
int dictload(const char* dirA, const char16_t* dirW);
void dictclear();
bool dicthas();
int dictcount();
void dictsetlang(DictLang lang);

// ---- Generating a name -----------------------------------------------------------
// A name is built as a list of pieces: texts from the user's rules and readings of the
// stretches no rule covers. dictcompose writes the pieces as one name.
void dictbegin();
// Text written as it is (a rule's replacement, "_" for '?'): len bytes of Shift-JIS.
void dictputtext(const char* s, int len);
// The reading of len bytes of Shift-JIS text at s; whole when it is the entire name.
void dictstretch(uint8_t kind, const char* s, int len, bool whole);
// The same for len bytes of UTF-8 text (a malformed byte reads as an unknown character).
void dictstretchutf8(uint8_t kind, const char* s, int len, bool whole);
// The name being generated holds characters Shift-JIS cannot spell: the '?' at at
// stands for the code point cp, and the stretches read it so. dictunmark forgets them.
void dictmark(const char* at, uint32_t cp);
void dictunmark();
// How well the stretches of the current name were read: the segmentation's rank (more
// pieces, unknown characters, romaji and kanji fallbacks cost more).
int64_t dictcost();
// Writes the name into out as Shift-JIS (cap bytes with the terminator; whole characters
// only). With alt > 0, the piece numbered part (0-based, counting pieces that have
// alternatives) uses its alternative alt. suffix, when not null, goes before the side.
// Returns -1 when that alternative does not exist, else 0.
int dictcompose(char* out, int cap, int part, int alt, const char* suffix);
// True when a stretch of the name being built was read through the dictionary.
bool dictused();
// True when the name being built is a whole-name entry: a standard name.
bool dictwhole();
// True when the Shift-JIS name is a whole-name entry of the kind (a DictKind), as it
// stands: a quick test, without the rules, of what may be a standard name.
bool dictwholename(uint8_t kind, const char* s);
// Number of pieces of the current name that have alternatives.
int dictaltparts();
