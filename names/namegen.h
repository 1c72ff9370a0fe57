// namegen.h - the generated English name of a record: what a vacant English name is
// filled with, and the names a model already has, so that generated names stay distinct.
#pragma once

#include "names/dict.h"
#include "names/fillname.h"

// Names of a kind a model may hold, as its tables do.
constexpr int NAMES_BONES = 4096;
constexpr int NAMES_MORPHS = 8192;
constexpr int NAMES_FRAMES = 1024;
constexpr int NAMES_MODEL = 1;
constexpr int NAMES_MATERIALS = 2048;
constexpr int NAMES_BODIES = 4096;
constexpr int NAMES_JOINTS = 4096;
constexpr int NAMES_SOFTBODIES = 256;

// Writes the generated English name for the Shift-JIS Japanese name jp into out
// (REP_BUFSIZE bytes, at most GEN_NAMEMAX bytes kept): the user's rules of the kind
// (morph rules for morphs and display frames, bone rules for every other kind), and
// beneath them the dictionary when one is loaded. src, when given, is the name as the
// file spells it (UTF-8): the dictionary then reads the characters Shift-JIS cannot
// spell as they are, and tells a Chinese name from a Japanese one. Returns 0.
// cap: bytes the name may take with its terminator, when its field holds fewer than
// GEN_NAMEMAX (a PMD's): the words are cut, never the numbers and side at the end.
int genname(NameKind kind, const char* jp, char* out, const char* src = nullptr,
            int cap = GEN_NAMEMAX + 1);

// The model's Japanese names, as the reader meets them (src as for genname, or null),
// so that the names no character tells apart are read in the model's language.
void namenote(const char* jp, const char* src);
// True when the names noted since namesreset are those of a Chinese-made model.
bool nameschinese();
// How the name of the last genname call was made: rule, standard, dictionary or copied.
NameSource gensource();
// The language the last genname call read its name in (Japanese without a dictionary).
DictLang genlang();

// Distinct names within a model, kept only while a dictionary is loaded.
// Forgets the names of the previous model.
void namesreset();
// An English name (Shift-JIS) the model keeps for a record with Japanese name jp (src
// as for genname). 0, or -1 when the kind's table is full (the name is then not known).
int nametaken(NameKind kind, const char* en, const char* jp, const char* src = nullptr);
// A record whose English name will be generated: when its name is a standard one (a
// whole-name entry) or the user's rules alone give it, the name is taken before any
// other is generated, so that a name made by the dictionary moves aside for it, never
// the other way round. Called by the reading pass, before the writer generates names.
void namereserve(NameKind kind, const char* jp, const char* src = nullptr,
                 int cap = GEN_NAMEMAX + 1);
// The generated name of the last genname call is being given to its record: when it
// equals a name of the kind that belongs to another Japanese name (letter case aside),
// name (REP_BUFSIZE bytes) becomes a distinct one: an alternative translation, else the
// copy's number in parentheses before the side (Smile(2), Hair(3)_L), the copies
// numbered in the order they come. The name is then known as taken. Names that genname
// did not just make, standard names and names the user's rules alone give are left
// alone.
void namegiven(NameKind kind, char* name);
