// names_ruleindex_test.cpp - the rule functions try only the rules that can match at
// each position; the results must be those of trying every rule, newest first.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "names/namelist.h"
#include "names/rules.h"

namespace {

using RuleFn = int (*)(char*, const char*);
constexpr RuleFn kFns[RK_COUNT] = {brep, mrep, benrep, menrep};

// Every rule tried at every position, newest first, as the rules are defined.
std::string everyrule(RuleKind kind, const std::string& name) {
  const int list = ruleList[kind];
  int count = nlcount(list);
  if (count > RULE_SLOTS - 1) count = RULE_SLOTS - 1;
  std::string out;
  size_t p = 0;
  while (p < name.size()) {
    if (name[p] == '?') {
      out += '_';
      p++;
      continue;
    }
    bool moved = false, ended = false;
    for (int r = count; r >= 1 && !moved && !ended; r--) {
      const char* src = nlentry(list, r);
      if (src[0] == 0) continue;
      const char* at = name.c_str() + p;
      switch (ruleForm[kind][r]) {
        case RF_WHOLE: ended = p == 0 && name == src; break;
        case RF_TAIL: ended = strcmp(at, src) == 0; break;
        default:
          ended = matchrest(at, src) == 0;
          moved = !ended && matchhere(at, src) == 0;
      }
      if (ended || moved) out += ruleText[kind][r];
      if (moved) p += strlen(src);
    }
    if (ended) break;
    if (moved) continue;
    size_t len = names::isleadbyte(name[p]) && p + 1 < name.size() ? 2 : 1;
    out += name.substr(p, len);
    p += len;
  }
  return out;
}

// Pieces of sources and names: letters, wildcards, double-byte characters that share
// lead bytes (左 腕 ？ ー 右), a half-width katakana byte and a lone lead byte.
const char* const kPieces[] = {"a", "b", "*", "?", "\x8D\xB6", "\x98\x72", "\x81\x48",
                               "\x81\x5B", "\x89\x45", "\xB1", "\x8D"};

std::string randomtext(std::mt19937& rng, int maxPieces) {
  std::string s;
  int n = static_cast<int>(rng() % static_cast<unsigned>(maxPieces)) + 1;
  for (int i = 0; i < n; i++) s += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
  return s;
}

TEST(NamesRuleIndex, SameResultsAsTryingEveryRule) {
  std::mt19937 rng(20261207);
  constexpr uint8_t forms[3] = {RF_PART, RF_TAIL, RF_WHOLE};
  for (int round = 0; round < 400; round++) {
    nlinit();
    for (int kind = 0; kind < RK_COUNT; kind++) {
      int rules = static_cast<int>(rng() % 40);
      for (int i = 0; i < rules; i++) {
        int n = nladd(ruleList[kind], randomtext(rng, 3).c_str());
        snprintf(ruleText[kind][n], NL_SLOT, "<%d>", n);
        ruleForm[kind][n] = forms[rng() % 3];
      }
    }
    for (int k = 0; k < 20; k++) {
      std::string name = randomtext(rng, 6);
      for (int kind = 0; kind < RK_COUNT; kind++) {
        char out[REP_BUFSIZE];
        kFns[kind](out, name.c_str());
        ASSERT_EQ(std::string(out), everyrule(static_cast<RuleKind>(kind), name))
            << "round " << round << ", kind " << kind << ", name " << name;
      }
    }
  }
  nlinit();
}

// New rules in place of old ones, as many as before: the next name sees the new ones.
TEST(NamesRuleIndex, ReloadedRulesTakeEffect) {
  char out[REP_BUFSIZE];
  nlinit();
  int n = nladd(ruleList[RK_BONE], "ab");
  snprintf(ruleText[RK_BONE][n], NL_SLOT, "X");
  ruleForm[RK_BONE][n] = RF_PART;
  brep(out, "abab");
  EXPECT_STREQ(out, "XX");

  nlinit();
  n = nladd(ruleList[RK_BONE], "ba");
  snprintf(ruleText[RK_BONE][n], NL_SLOT, "Y");
  ruleForm[RK_BONE][n] = RF_PART;
  brep(out, "abab");
  EXPECT_STREQ(out, "aYb");
  nlinit();
}

}  // namespace
