// namelist.h - the name-list store (nl) and the rule tables of the replacement rules.
//
// 16 lists of 64-byte Shift-JIS entries numbered from 1; four of them hold the rule
// sources of the four rule kinds, whose replacement texts and forms sit in ruleText and
// ruleForm under the same entry number.
#pragma once
#include <cstdint>

constexpr int NL_LISTS = 16;
constexpr int NL_ENTRIES = 16384;
constexpr int NL_SLOT = 64;        // entry bytes, terminator included
constexpr int RULE_SLOTS = 8192;   // rule-table slots per kind; slot 0 is never a rule
constexpr int RULE_TEXTMAX = 15;   // replacement bytes kept

// The four rule kinds, in section order, and the name list each keeps its sources in.
enum RuleKind : int { RK_BONE = 0, RK_MORPH = 1, RK_BONEEN = 2, RK_MORPHEN = 3, RK_COUNT = 4 };
constexpr int ruleList[RK_COUNT] = {0, 3, 4, 5};

enum RuleForm : uint8_t { RF_PART = 0, RF_TAIL = 1, RF_WHOLE = 255 };

extern char ruleText[RK_COUNT][RULE_SLOTS][NL_SLOT];
extern uint8_t ruleForm[RK_COUNT][RULE_SLOTS];

int nlinit();
int nladd(int list, const char* s);     // entry number, or 0 when not stored
int nlcount(int list);
int nlget(int list, char* dst, int n);  // 0, or -1 when n is out of range
// Entry n in place, for the rule functions' hot loop; n must lie in 1..nlcount(list).
const char* nlentry(int list, int n);
// Changes whenever an entry is added or the lists are emptied, so that what is derived
// from the lists (the rule functions' index) can tell that it is out of date.
uint32_t nlstamp();

namespace names {
// The fixed lead-byte test of name handling: 0x80-0x9F or 0xE0-0xFC. (In a namespace
// because the C runtime of Windows declares an isleadbyte of its own.)
inline bool isleadbyte(int c) {
  c &= 0xFF;
  return (c >= 0x80 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
}  // namespace names
