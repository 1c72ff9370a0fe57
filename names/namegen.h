// namegen.h - the generated English name of a record: what a vacant English name is
// filled with.
#pragma once

#include "names/fillname.h"

// Writes the generated English name for the Shift-JIS Japanese name jp into out
// (REP_BUFSIZE bytes, at most GEN_NAMEMAX bytes kept): the user's rules of the kind
// (morph rules for morphs and display frames, bone rules for every other kind). Returns 0.
int genname(NameKind kind, const char* jp, char* out);
