// ui_filedlg_test.cpp - the File-Open dialog's record, its messages, and the boxes
// without a terminal.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "support/capture.h"
#include "ui/filedlg.h"
#include "ui/paths.h"

namespace {

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// The filter list up to and including its closing zero.
template <typename Ch>
std::basic_string<Ch> filterlist(const Ch* f) {
  size_t n = 0;
  while (f[n] != 0 || f[n + 1] != 0) n++;
  return std::basic_string<Ch>(f, n + 2);
}

bool haveterminal() {
  FILE* tty = std::fopen("/dev/tty", "r");
  if (tty == nullptr) return false;
  std::fclose(tty);
  return true;
}

class FileDlg : public ::testing::Test {
 protected:
  void SetUp() override { pathrules('\\', true); }
  void TearDown() override { pathrules(0, false); }
  FileDlgBufs bufs;
  FileDlgBufsW bufsW;
};

struct DlgCase {
  const char* initial;
  const char* dir;  // nullptr: none
  const char* file;
  unsigned index;
};

TEST_F(FileDlg, RecordFromTheInitialPath) {
  const DlgCase cases[] = {
      {"C:\\tools\\", "C:\\tools", "", 0},
      {"C:\\m\\a.pmx", "C:\\m", "a.pmx", 1},
      {"C:\\m\\a.PmXz", "C:\\m", "a.PmXz", 1},  // a prefix test
      {"C:\\m\\a.pm", "C:\\m", "a.pm", 0},
      {"C:\\m\\a.pmd", "C:\\m", "a.pmd", 0},
      {"C:\\m\\a.txt", "C:\\m", "a.txt", 0},
      {"C:\\a.pmx\\", "C:\\a.pmx", "", 0},   // a folder's dot is no extension
      {"a.pmx", nullptr, "a.pmx", 1},
      {"C:\\", "C:\\", "", 0},
      {"", nullptr, "", 0},
  };
  // The two pairs keep their places (index 1 stays PMX); PMD models and names tables
  // come after them.
  static const char kList[] =
      "MMD Model File  (*.pmx)\0*.PMX\0All Files  (*.*)\0*.*\0MMD Model File  (*.pmd)\0*.PMD\0"
      "Names Table  (*.names.csv)\0*.names.csv;*.names(*).csv\0\0";
  const std::string filter(kList, sizeof kList - 1);
  for (const DlgCase& c : cases) {
    OsOpenDlg dlg;
    fileopenprep(&dlg, &bufs, c.initial);
    EXPECT_EQ(filterlist(dlg.filter), filter);
    EXPECT_EQ(dlg.filterIndex, c.index) << c.initial;
    EXPECT_STREQ(dlg.file, c.file) << c.initial;
    EXPECT_EQ(dlg.maxFile, 260u);
    if (c.dir == nullptr) {
      EXPECT_EQ(dlg.initialDir, nullptr) << c.initial;
    } else {
      EXPECT_STREQ(dlg.initialDir, c.dir) << c.initial;
    }
    EXPECT_STREQ(dlg.title, "Open MMD Model File");
    EXPECT_EQ(dlg.flags, 0x1800u);
    EXPECT_STREQ(dlg.defExt, "pmx");

    OsOpenDlgW dlgW;
    fileopenprepW(&dlgW, &bufsW, widen(c.initial).c_str());
    EXPECT_EQ(filterlist(dlgW.filter), widen(filter));
    EXPECT_EQ(dlgW.filterIndex, c.index) << c.initial;
    EXPECT_EQ(std::u16string(dlgW.file), widen(c.file)) << c.initial;
    EXPECT_EQ(dlgW.maxFile, 260u);
    if (c.dir == nullptr) {
      EXPECT_EQ(dlgW.initialDir, nullptr) << c.initial;
    } else {
      EXPECT_EQ(std::u16string(dlgW.initialDir), widen(c.dir)) << c.initial;
    }
    EXPECT_EQ(std::u16string(dlgW.title), u"Open MMD Model File");
    EXPECT_EQ(dlgW.flags, 0x1800u);
    EXPECT_EQ(std::u16string(dlgW.defExt), u"pmx");
  }
}

TEST_F(FileDlg, InitialPathTooLongProposesNothing) {
  const std::string initial = "C:\\" + std::string(300, 'x') + ".pmx";
  OsOpenDlg dlg;
  fileopenprep(&dlg, &bufs, initial.c_str());
  EXPECT_STREQ(dlg.file, "");
  EXPECT_EQ(dlg.initialDir, nullptr);
  EXPECT_EQ(dlg.filterIndex, 0u);
  OsOpenDlgW dlgW;
  fileopenprepW(&dlgW, &bufsW, widen(initial).c_str());
  EXPECT_EQ(dlgW.file[0], 0);
  EXPECT_EQ(dlgW.initialDir, nullptr);
}

TEST_F(FileDlg, ProposedNameKeepsAShiftJisName) {
  OsOpenDlg dlg;
  fileopenprep(&dlg, &bufs, "C:\\\x95\x5C\\\x83\x82.pmx");  // folder 表, file モ.pmx
  EXPECT_STREQ(dlg.initialDir, "C:\\\x95\x5C");
  EXPECT_STREQ(dlg.file, "\x83\x82.pmx");
  EXPECT_EQ(dlg.filterIndex, 1u);
}

TEST(FileDlgMessages, CancelAndEveryFailureCode) {
  const std::pair<uint32_t, std::string> cases[] = {
      {0, "\nCanceled File-Open Dialog Box. (stat=0000).\n"},
      {0xFFFF, "CDERR_DIALOGFAILURE.\n"},
      {1, "CDERR_STRUCTSIZE.\n"},
      {2, "CDERR_INITIALIZATION.\n"},
      {3, "CDERR_NOTEMPLATE.\n"},
      {4, "CDERR_NOHINSTANCE.\n"},
      {5, "CDERR_LOADSTRFAILURE.\n"},
      {6, "CDERR_FINDRESFAILURE.\n"},
      {7, "CDERR_LOADRESFAILURE.\n"},
      {8, "CDERR_LOCKRESFAILURE.\n"},
      {9, "CDERR_MEMALLOCFAILURE.\n"},
      {10, "CDERR_MEMLOCKFAILURE.\n"},
      {11, "CDERR_NOHOOK.\n"},
      {0x3001, "FNERR_SUBCLASSFAILURE.\n"},
      {0x3002, "FNERR_INVALIDFILENAME.\n"},
      {0x3003, "FNERR_BUFFERTOOSMALL.\n"},
      {0x1234, ""},  // unknown: the code alone
  };
  for (const auto& [code, text] : cases) {
    ConsoleCapture con;
    fileopenfailed(code);
    std::string expected = text;
    if (code != 0) {
      char head[80];
      std::snprintf(head, sizeof head,
                    "\nFailed Opening File-Open Dialog Box: 0000 (stat=%04X).\n", code);
      expected = head + text;
    }
    EXPECT_EQ(con.text(), expected) << code;
  }
}

TEST(FileDlgMessages, NoTerminalCancels) {
  if (haveterminal()) GTEST_SKIP() << "a terminal would be asked";
  char16_t outW[OS_MAXPATH] = u"kept";
  char out[OS_MAXPATH] = "kept";
  ConsoleCapture con;
  EXPECT_EQ(fileopendlgW(outW, u"/tmp/"), -1);
  EXPECT_EQ(con.take(), "\nCanceled File-Open Dialog Box. (stat=0000).\n");
  EXPECT_EQ(std::u16string(outW), u"kept");
  EXPECT_EQ(fileopendlg(out, "/tmp/a.pmx"), -1);
  EXPECT_EQ(con.take(), "\nCanceled File-Open Dialog Box. (stat=0000).\n");
  EXPECT_STREQ(out, "kept");
}

TEST(MessageBoxes, ReportNeverWaitsQuestionNeedsATerminal) {
  ConsoleCapture con;
  EXPECT_EQ(osmsgbox("text", "Namewright", OSMB_OK | OSMB_ICONINFORMATION | OSMB_TOPMOST),
            OSID_OK);
  EXPECT_EQ(osmsgboxW(u"text", u"Namewright", OSMB_OK | OSMB_ICONINFORMATION), OSID_OK);
  EXPECT_EQ(con.text(), "");  // the console already shows the report
  if (haveterminal()) GTEST_SKIP() << "a terminal would be asked";
  EXPECT_EQ(osmsgbox("q", "Namewright", OSMB_OKCANCEL | OSMB_ICONINFORMATION), 0);
  EXPECT_EQ(osmsgboxW(u"q", u"Namewright", OSMB_OKCANCEL | OSMB_ICONINFORMATION), 0);
}

}  // namespace
