// app_args_test.cpp - the two argument lists.
#include <gtest/gtest.h>

#include <string>

#include "app/args.h"

namespace {

std::u16string entryW(int j) { return std::u16string(arggetW(j)); }

TEST(ArgSplit, BlanksSeparateQuotesGroupAndAreDropped) {
  argclear();
  argsplitW(u"  prog.exe  \"C:\\my models\\a.pmx\" -D2\tx  b\"c d\"e");
  ASSERT_EQ(argListW.count, 4);
  EXPECT_EQ(entryW(0), u"prog.exe");
  EXPECT_EQ(entryW(1), u"C:\\my models\\a.pmx");
  EXPECT_EQ(entryW(2), u"-D2\tx");  // a tab does not separate
  EXPECT_EQ(entryW(3), u"bc de");
  EXPECT_EQ(entryW(4), u"");  // the entry behind the last is empty
  EXPECT_EQ(entryW(100), u"");
}

TEST(ArgSplit, TrailingBlanksLeaveNoEmptyFirstArgument) {
  argclear();
  argsplitW(u"prog.exe   ");
  EXPECT_EQ(argListW.count, 1);
  EXPECT_EQ(entryW(1), u"");
}

TEST(ArgSplit, StopsAt511Entries) {
  std::u16string line = u"prog";
  for (int i = 0; i < 600; i++) line += u" a";
  argclear();
  argsplitW(line.c_str());
  EXPECT_EQ(argListW.count, 511);
  EXPECT_EQ(entryW(510), u"a");
  EXPECT_EQ(entryW(511), u"");
}

TEST(ArgSplit, AVeryLongLineStaysInsideTheStore) {
  std::u16string line(70000, u'x');
  argclear();
  argsplitW(line.c_str());
  EXPECT_EQ(argListW.count, 1);
  EXPECT_EQ(entryW(0).size(), 65533u);  // the rest of the line is dropped
}

TEST(ArgAdd, QuotedStringsLoseTheirQuotesAndEmptyOnesAddNothing) {
  argclear();
  argadd("prog");
  argadd("");
  argadd("\"a b\" c");
  argadd("\"\"");
  argadd("plain\"quote");
  ASSERT_EQ(argList.count, 3);
  EXPECT_STREQ(argget(0), "prog");
  EXPECT_STREQ(argget(1), "a b");
  EXPECT_STREQ(argget(2), "plain\"quote");
  EXPECT_STREQ(argget(3), "");
}

TEST(ArgAdd, DoubleByteCharactersAreCopiedAsPairs) {
  argclear();
  // 0x83 0x22 is one character whose trail byte is a double quote.
  argadd("\"\x83\x22x\" tail");
  ASSERT_EQ(argList.count, 1);
  EXPECT_STREQ(argget(0), "\x83\x22x");
}

TEST(ArgAdd, TheListHoldsAtMost511Entries) {
  argclear();
  for (int i = 0; i < 520; i++) argaddW(u"m.pmx");
  EXPECT_EQ(argListW.count, 511);
  EXPECT_EQ(entryW(511), u"");
}

}  // namespace
