// namegen.h - the generated English name of a record: what a vacant English name is
// filled with, and the names a model already has, so that generated names stay distinct.
#pragma once

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
// beneath them the dictionary when one is loaded. Returns 0.
int genname(NameKind kind, const char* jp, char* out);
// How the name of the last genname call was made: rule, standard, dictionary or copied.
NameSource gensource();

// Distinct names within a model, kept only while a dictionary is loaded.
// Forgets the names of the previous model.
void namesreset();
// An English name (Shift-JIS) the model keeps for a record with Japanese name jp.
// 0, or -1 when the kind's table is full (the name is then not known).
int nametaken(NameKind kind, const char* en, const char* jp);
// The generated name of the last genname call is being given to its record: when it
// equals a name of the kind that belongs to another Japanese name, name (REP_BUFSIZE
// bytes) becomes a distinct one (an alternative translation, else a numeral suffix).
// The name is then known as taken. Names that genname did not just make are left alone.
void namegiven(NameKind kind, char* name);
