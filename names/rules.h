// rules.h - "alias.ini": reading the user's replacement rules, listing them, and the
// four rule functions that apply them to a Shift-JIS name.
#pragma once
#include <cstdint>

#include "names/namelist.h"

// Output buffers of the rule functions hold REP_BUFSIZE bytes; results are bounded so
// that they always fit, terminator included.
constexpr int REP_BUFSIZE = 260;

// The per-model loading steps: empties the lists, probes and reads "alias.ini" in the
// given program folder (ANSI and UTF-16 forms) and lists the rules.
void aliasload(const char* dirA, const char16_t* dirW);

int aliasread(const char* path);       // 0 read to the end, -1 cannot open
int aliasreadW(const char16_t* path);
void aliaslist(bool found);
int keyis(const char* text, const char* keyword);  // 0 when text begins with keyword

int brep(char* out, const char* name);    // bone rules
int mrep(char* out, const char* name);    // morph (and display frame) rules
int benrep(char* out, const char* name);  // English bone-name rules
int menrep(char* out, const char* name);  // English morph-name rules
int matchrest(const char* at, const char* src);
int matchhere(const char* at, const char* src);

// The rules of a kind (RK_BONE or RK_MORPH) with the dictionary beneath them: the text
// no rule applies to is read through the dictionary entries of dkind (a DictKind).
// With compose false the name is left in pieces for dictcompose (out untouched).
int dictrep(RuleKind kind, uint8_t dkind, char* out, const char* name, bool compose = true);
// True when a rule applied to the name of the last call of a rule function.
bool rulesapplied();
