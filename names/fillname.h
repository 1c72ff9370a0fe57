// fillname.h - the name-filling decision: which English name a record receives.
#pragma once
#include <cstdint>

// The kinds of records whose English names are filled. The model's own name, materials,
// rigid bodies, joints and soft bodies are filled only with Fill.everyKind.
enum class NameKind { bone, morph, frame, model, material, body, joint, softbody };

// The kinds filled whatever Fill.everyKind says: bones, morphs and display frames.
constexpr bool isbasekind(NameKind kind) {
  return kind == NameKind::bone || kind == NameKind::morph || kind == NameKind::frame;
}

// The rules a kind's names follow: morphs and display frames their own, every other
// kind those of bones (the kinds added to bones have no rule sections of their own).
constexpr NameKind rulekind(NameKind kind) {
  return kind == NameKind::morph || kind == NameKind::frame ? kind : NameKind::bone;
}

// Whether the English-name rules changed the existing name en into fixed. For the other
// kinds the '_' the rule functions always make of a '?' is no change (no rule of the
// user's ever sees a '?'): an author's name changes only where a rule changes it.
bool ruleschanged(NameKind kind, const char* en, const char* fixed);

constexpr int GEN_NAMEMAX = 252;  // generated names keep at most this many bytes

// Where the English name a record receives comes from (the names table shows it).
enum class NameSource : uint8_t {
  kept,         // the English name read from the file
  repaired,     // that name with its arrows spelled plainly
  englishrule,  // that name as the English-name rules changed it
  rule,         // generated, the user's rules making some of it
  standard,     // generated: one whole name of the dictionary
  dictionary,   // generated, read through the dictionary
  copied,       // generated: the Japanese name as it is
  table,        // given by a names table
};

// Decides the English name of one record from its Shift-JIS English name en and its
// generated name gen; prints the "(CLR) " and " => %s " parts of the record's line.
// Returns 1 with the new name in out (REP_BUFSIZE bytes) when the name changes, or 0
// when the English name read from the file stays as it is (also when the decision
// gives the same text). exact tells that en holds the file's text exactly; an English
// name of the other kinds that it does not hold is left to the author, unless every
// name is to be replaced.
int fillenglish(NameKind kind, const char* en, const char* gen, char* out, bool exact = true);
// Where the name of the last fillenglish call came from when it returned 1 (a generated
// name: as gensource says); NameSource::kept after it returned 0.
NameSource fillsource();
