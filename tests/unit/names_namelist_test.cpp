// names_namelist_test.cpp - the name-list store: numbering, order, full lists, range checks.
#include <gtest/gtest.h>

#include <string>

#include "names/namelist.h"

namespace {

TEST(NameList, InitEmptiesEveryListWithoutLosingLaterAdds) {
  nladd(0, "a");
  nladd(15, "b");
  nlinit();
  char buf[NL_SLOT] = "untouched";
  for (int k = 0; k < NL_LISTS; k++) EXPECT_EQ(nlcount(k), 0) << k;
  EXPECT_EQ(nlget(0, buf, 1), -1);
  EXPECT_STREQ(buf, "untouched");
  // Old slot contents must not leak into new entries.
  EXPECT_EQ(nladd(0, "c"), 1);
  EXPECT_EQ(nlget(0, buf, 1), 0);
  EXPECT_STREQ(buf, "c");
}

TEST(NameList, EntriesKeepOrderAndDuplicates) {
  nlinit();
  EXPECT_EQ(nladd(3, "same"), 1);
  EXPECT_EQ(nladd(3, "same"), 2);
  EXPECT_EQ(nladd(3, "last"), 3);
  EXPECT_EQ(nlcount(3), 3);
  EXPECT_EQ(nlcount(4), 0);  // lists are independent
  char buf[NL_SLOT];
  EXPECT_EQ(nlget(3, buf, 1), 0);
  EXPECT_STREQ(buf, "same");
  EXPECT_EQ(nlget(3, buf, 2), 0);
  EXPECT_STREQ(buf, "same");
  EXPECT_EQ(nlget(3, buf, 3), 0);
  EXPECT_STREQ(buf, "last");
  EXPECT_STREQ(nlentry(3, 3), "last");
  memcpy(buf, "untouched", 10);
  for (int n : {0, -1, 4}) {
    EXPECT_EQ(nlget(3, buf, n), -1) << n;
    EXPECT_STREQ(buf, "untouched");
  }
}

TEST(NameList, FullListRefusesAndKeepsItsCount) {
  nlinit();
  for (int i = 1; i <= NL_ENTRIES; i++) {
    ASSERT_EQ(nladd(5, std::to_string(i).c_str()), i);
  }
  EXPECT_EQ(nladd(5, "overflow"), 0);
  EXPECT_EQ(nlcount(5), NL_ENTRIES);
  char buf[NL_SLOT];
  EXPECT_EQ(nlget(5, buf, NL_ENTRIES), 0);
  EXPECT_STREQ(buf, "16384");
  EXPECT_EQ(nlget(5, buf, NL_ENTRIES + 1), -1);
  nlinit();
}

TEST(NameList, LongStringIsBoundedAndBadListsAreHarmless) {
  nlinit();
  std::string longer(200, 'x');
  ASSERT_EQ(nladd(1, longer.c_str()), 1);
  char buf[NL_SLOT];
  EXPECT_EQ(nlget(1, buf, 1), 0);
  EXPECT_EQ(std::string(buf), std::string(NL_SLOT - 1, 'x'));
  EXPECT_EQ(nladd(-1, "x"), 0);
  EXPECT_EQ(nladd(NL_LISTS, "x"), 0);
  EXPECT_EQ(nlcount(NL_LISTS), 0);
  EXPECT_EQ(nlget(NL_LISTS, buf, 1), -1);
  nlinit();
}

}  // namespace
