// namelist.cpp - the name-list store and the rule tables of the replacement rules.
#include "names/namelist.h"

#include <cstring>

namespace {

// Zero-initialised static storage: pages stay untouched (and not resident) until a rule
// is stored in them, so nlinit resets only the counts.
int32_t count[NL_LISTS];
char slot[NL_LISTS][NL_ENTRIES][NL_SLOT];

uint32_t stamp;

bool badlist(int list) { return list < 0 || list >= NL_LISTS; }

}  // namespace

char ruleText[RK_COUNT][RULE_SLOTS][NL_SLOT];
uint8_t ruleForm[RK_COUNT][RULE_SLOTS];

int nlinit() {
  for (int32_t& c : count) c = 0;
  stamp++;
  return 0;
}

// Stores s (cut to NL_SLOT - 1 bytes; the alias reader refuses longer sources) as the
// list's next entry.
int nladd(int list, const char* s) {
  if (badlist(list) || count[list] >= NL_ENTRIES) return 0;
  char* d = slot[list][count[list]];
  size_t n = strnlen(s, NL_SLOT - 1);
  memcpy(d, s, n);
  d[n] = 0;
  stamp++;
  return ++count[list];
}

int nlcount(int list) { return badlist(list) ? 0 : count[list]; }

int nlget(int list, char* dst, int n) {
  if (badlist(list) || n <= 0 || n > count[list]) return -1;
  const char* s = slot[list][n - 1];
  memcpy(dst, s, strlen(s) + 1);
  return 0;
}

// Entry n as stored, for the rule functions that walk every source of a list; the
// caller keeps n within 1..nlcount(list).
const char* nlentry(int list, int n) { return slot[list][n - 1]; }

uint32_t nlstamp() { return stamp; }
