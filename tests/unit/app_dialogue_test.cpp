// app_dialogue_test.cpp - every console line and box text about a model, byte for byte,
// in English and Japanese.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/dialogue.h"
#include "setup/settings.h"
#include "support/capture.h"
#include "text/sjis.h"

namespace {

constexpr LanguageMode kEnglish = {false, false, false, 437};
constexpr LanguageMode kJapanese = {true, true, false, 932};
constexpr LanguageMode kJapaneseUtf8 = {true, false, true, 65001};
constexpr LanguageMode kEnglishUtf8 = {false, false, true, 65001};

// Japanese text as the program stores it (Shift-JIS); the tables themselves are
// checked by the text tests, and one report below is spelled out in bytes.
std::string sj(const char8_t* utf8) {
  char out[512];
  utf82sjisc(out, reinterpret_cast<const char*>(utf8));
  return out;
}

std::string u8s(const char8_t* utf8) { return reinterpret_cast<const char*>(utf8); }

bool haveterminal() {
  FILE* tty = std::fopen("/dev/tty", "r");
  if (tty == nullptr) return false;
  std::fclose(tty);
  return true;
}

class Dialogue : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = Lang;
    dlginit();
  }
  void TearDown() override { Lang = saved; }
  LanguageMode saved;
  BoxText box;
};

struct BoxCase {
  LanguageMode lang;
  const char* nameA;
  const char16_t* nameW;
  std::string a;
  std::u16string w;
};

void expectbox(const BoxText& box, const BoxCase& c, int line) {
  EXPECT_EQ(std::string(box.a), c.a) << "case at line " << line;
  EXPECT_EQ(std::u16string(box.w), c.w) << "case at line " << line;
}

TEST_F(Dialogue, ExtensionQuestionBox) {
  const BoxCase cases[] = {
      {kEnglish, "a.bin", u"a.bin",
       " Model: \r\n   a.bin \r\n does not have extension \".PMX\" in the file name. \r\n"
       " \r\n Do you like to continue? ",
       u" Model: \r\n   a.bin \r\n does not have extension \".PMX\" in the file name. \r\n"
       u" \r\n Do you like to continue? "},
      {kEnglishUtf8, "a.bin", u"a.bin",
       " The model file \r\n does not have extension \".PMX\" in the file name. \r\n"
       " \r\n Do you like to continue? ",
       u" The model file \r\n does not have extension \".PMX\" in the file name. \r\n"
       u" \r\n Do you like to continue? "},
      {kJapaneseUtf8, "a.bin", u"a.bin",  // not Japanese on a UTF-8 console
       " The model file \r\n does not have extension \".PMX\" in the file name. \r\n"
       " \r\n Do you like to continue? ",
       u" The model file \r\n does not have extension \".PMX\" in the file name. \r\n"
       u" \r\n Do you like to continue? "},
      {kJapanese, "a.bin", u"a.bin",
       sj(u8" モデル： \r\n   ") + "a.bin" + sj(u8" \r\n には拡張子 \".PMX\" がありません. \r\n") +
           " \r\n" + sj(u8" 強行しますか? "),
       u" モデル： \r\n   a.bin \r\n には拡張子 \".PMX\" がありません. \r\n \r\n 強行しますか? "},
      // A name known only in UTF-16: kept as it is, never converted.
      {kEnglish, "", u"모델.bin",
       " Model: \r\n    \r\n does not have extension \".PMX\" in the file name. \r\n"
       " \r\n Do you like to continue? ",
       u" Model: \r\n   모델.bin \r\n does not have extension \".PMX\" in the file name. \r\n"
       u" \r\n Do you like to continue? "},
  };
  for (const BoxCase& c : cases) {
    Lang = c.lang;
    boxextension(&box, c.nameA, c.nameW);
    expectbox(box, c, __LINE__);
  }
}

TEST_F(Dialogue, SavedAndUnchangedBoxes) {
  Lang = kEnglish;
  boxsaved(&box, "m-new.pmx", u"m-new.pmx", 40, 0);
  expectbox(box,
            {kEnglish, "", u"",
             " Added English bone/morph/frame names, \r\n \r\n m-new.pmx \r\n \r\n was saved. \r\n",
             u" Added English bone/morph/frame names, \r\n \r\n m-new.pmx \r\n \r\n was saved. \r\n"},
            __LINE__);
  // The box names the kinds whose names were added, and only those.
  boxsaved(&box, "m-new.pmx", u"m-new.pmx", 0, 2);
  expectbox(box,
            {kEnglish, "", u"",
             " Added English model/material/rigid-body/joint/soft-body names, \r\n \r\n m-new.pmx"
             " \r\n \r\n was saved. \r\n",
             u" Added English model/material/rigid-body/joint/soft-body names, \r\n \r\n m-new.pmx"
             u" \r\n \r\n was saved. \r\n"},
            __LINE__);
  boxsaved(&box, "m-new.pmx", u"m-new.pmx", 1, 1);
  EXPECT_EQ(std::string(box.a),
            " Added English bone/morph/frame names, \r\n"
            " Added English model/material/rigid-body/joint/soft-body names, \r\n \r\n m-new.pmx"
            " \r\n \r\n was saved. \r\n");
  boxunchanged(&box, "m.pmx", u"m.pmx");
  expectbox(box,
            {kEnglish, "", u"",
             " All the links in the model \r\n m.pmx \r\n are correct. \r\n \r\n No broken settings found. ",
             u" All the links in the model \r\n m.pmx \r\n are correct. \r\n \r\n No broken settings found. "},
            __LINE__);

  Lang = kJapanese;
  boxsaved(&box, "m-new.pmx", u"m-new.pmx", 1, 0);
  expectbox(box,
            {kJapanese, "", u"",
             sj(u8" 英語名(ボーン／モーフ／表示枠)を追加し、 \r\n") + " \r\n m-new.pmx \r\n \r\n" +
                 sj(u8" へ保存しました. \r\n"),
             u" 英語名(ボーン／モーフ／表示枠)を追加し、 \r\n \r\n m-new.pmx \r\n \r\n へ保存しました. \r\n"},
            __LINE__);
  boxsaved(&box, "m-new.pmx", u"m-new.pmx", 0, 1);
  EXPECT_EQ(std::u16string(box.w),
            u" 英語名(モデル／材質／剛体／ジョイント／ソフトボディ)を追加し、 \r\n \r\n m-new.pmx"
            u" \r\n \r\n へ保存しました. \r\n");
  boxunchanged(&box, "m.pmx", u"m.pmx");
  expectbox(box,
            {kJapanese, "", u"",
             " \x83\x82\x83" "f\x83\x8B\x81" "F \r\n m.pmx \r\n \x82\xCD\x90\xB3\x8F\xED\x82\xC5\x82"
             "\xB7. \r\n \r\n \x8F" "C\x95\x9C\x82\xB7\x82\xD7\x82\xAB\x89\xD3\x8F\x8A\x82\xCD \r\n"
             " \x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD. \r\n",
             u" モデル： \r\n m.pmx \r\n は正常です. \r\n \r\n 修復すべき箇所は \r\n 見つかりませんでした. \r\n"},
            __LINE__);
}

TEST_F(Dialogue, FileNamesGoInAsGiven) {
  Lang = kEnglish;
  // The ANSI name to the ANSI text, the UTF-16 name to the UTF-16 text.
  boxsaved(&box, "?" "?-new.pmx", u"모델-new.pmx", 3, 0);
  EXPECT_EQ(std::string(box.a),
            " Added English bone/morph/frame names, \r\n \r\n ?" "?-new.pmx \r\n \r\n was saved. \r\n");
  EXPECT_EQ(std::u16string(box.w),
            u" Added English bone/morph/frame names, \r\n \r\n 모델-new.pmx \r\n \r\n was saved. \r\n");
  // A Shift-JIS name with a 0x5C trail byte and a '%' stays byte for byte.
  boxunchanged(&box, "\x95\x5C%s.pmx", u"表%s.pmx");
  EXPECT_EQ(std::string(box.a),
            " All the links in the model \r\n \x95\x5C%s.pmx \r\n are correct. \r\n \r\n"
            " No broken settings found. ");
  EXPECT_EQ(std::u16string(box.w),
            u" All the links in the model \r\n 表%s.pmx \r\n are correct. \r\n \r\n"
            u" No broken settings found. ");
}

TEST_F(Dialogue, OverlongNamesStayInsideTheBox) {
  const std::string longA(3000, 'a');
  const std::u16string longW(3000, u'w');
  for (LanguageMode lang : {kEnglish, kJapanese}) {
    Lang = lang;
    boxextension(&box, longA.c_str(), longW.c_str());
    EXPECT_LT(std::string(box.a).size(), size_t{BOX_TEXTMAX});
    EXPECT_EQ(std::string(box.a).find('a' + std::string(5, 'a')), std::string::npos);
    boxsaved(&box, longA.c_str(), longW.c_str(), 1, 1);
    EXPECT_LT(std::u16string(box.w).size(), size_t{BOX_TEXTMAX});
    EXPECT_TRUE(std::u16string(box.w).ends_with(u". \r\n"));  // the pieces after it are kept
  }
}

TEST_F(Dialogue, FolderReportBox) {
  Lang = kEnglish;
  boxfolders(&box, 3, 1, 0);
  expectbox(box,
            {kEnglish, "", u"",
             " Models from folders: 4 \r\n \r\n Saved with English names added: 3 \r\n"
             " Correct, left unchanged: 1 \r\n Failed: 0 \r\n",
             u" Models from folders: 4 \r\n \r\n Saved with English names added: 3 \r\n"
             u" Correct, left unchanged: 1 \r\n Failed: 0 \r\n"},
            __LINE__);
  Lang = kJapaneseUtf8;  // English on a UTF-8 console, as every other box
  boxfolders(&box, 0, 0, 2);
  EXPECT_EQ(std::string(box.a),
            " Models from folders: 2 \r\n \r\n Saved with English names added: 0 \r\n"
            " Correct, left unchanged: 0 \r\n Failed: 2 \r\n \r\n See the console for details. \r\n");
  Lang = kJapanese;
  boxfolders(&box, 12, 0, 1);
  const char8_t* ja = u8" フォルダ内のモデル： 13 個 \r\n \r\n 英語名を追加して保存： 12 個 \r\n"
                      u8" 正常(変更なし)： 0 個 \r\n 失敗： 1 個 \r\n \r\n"
                      u8" 詳しくはコンソールをご覧ください. \r\n";
  expectbox(box,
            {kJapanese, "", u"", sj(ja),
             u" フォルダ内のモデル： 13 個 \r\n \r\n 英語名を追加して保存： 12 個 \r\n"
             u" 正常(変更なし)： 0 個 \r\n 失敗： 1 個 \r\n \r\n"
             u" 詳しくはコンソールをご覧ください. \r\n"},
            __LINE__);
  ConsoleCapture con;
  dlgfolders(12, 0, 1);
  EXPECT_EQ(con.text(), sj(ja) + "\n");
}

TEST_F(Dialogue, FolderLines) {
  Lang = kEnglish;
  ConsoleCapture con;
  dlgfoldermodels("pack", 3);
  dlgfoldernone("empty");
  EXPECT_EQ(con.take(), "PMX/PMD models in folder pack: 3 \nNo PMX/PMD model in folder empty (subfolders included). \n");
  Lang = kJapanese;
  dlgfoldermodels("\x95\x5C", 3);  // a name with a 0x5C trail byte, passed through
  dlgfoldernone("empty");
  EXPECT_EQ(con.take(), sj(u8"フォルダ 表 の PMX/PMD モデル: 3 個 \n") +
                            sj(u8"フォルダ empty には PMX/PMD モデルがありません(サブフォルダを含む). \n"));
}

struct ConsoleCase {
  LanguageMode lang;
  std::string expected;
};

TEST_F(Dialogue, NoModelLines) {
  const ConsoleCase cases[] = {
      {kEnglish, "\nNo dropped PMX file detected. \n Please select PMX file(s). \n"},
      {kEnglishUtf8, "\nNo dropped PMX file detected. \n Please select PMX file(s). \n"},
      {kJapanese, "\n" + sj(u8"ドラッグ＆ドロップされた PMX ファイルや、 \n") +
                      sj(u8"コマンドで指定された PMX ファイルはありません. \n") +
                      sj(u8" PMX モデルファイルを開いてください. \n")},
      {kJapaneseUtf8, "\n" + u8s(u8"ドラッグ＆ドロップされた PMX ファイル、  \n") +
                          u8s(u8"コマンドで指定された PMX ファイルはありません.  \n") +
                          u8s(u8" PMX モデルファイルを開いてください.  \n")},
  };
  for (const ConsoleCase& c : cases) {
    Lang = c.lang;
    ConsoleCapture con;
    dlgnomodel();
    EXPECT_EQ(con.text(), c.expected) << c.lang.consoleCp << c.lang.japanese;
  }
}

TEST_F(Dialogue, SkipNoticeAndVacantCount) {
  struct Case {
    LanguageMode lang;
    bool nothing;
    std::string expected;
  };
  const Case cases[] = {
      {kEnglish, false, "The conversion for this file was skipped (or aborted). \n\n"},
      {kEnglish, true,
       "The conversion for this file was skipped (or aborted). \n \nNo file was modified. \n\n"},
      {kJapanese, false, sj(u8"このファイルの学習処理をスキップ(中断)します. \n") + "\n"},
      {kJapanese, true, sj(u8"このファイルの学習処理をスキップ(中断)します. \n") + " \n" +
                            sj(u8"更新(変更)されたデータはありません. \n") + "\n"},
  };
  for (const Case& c : cases) {
    Lang = c.lang;
    ConsoleCapture con;
    dlgskipnotice(c.nothing);
    EXPECT_EQ(con.text(), c.expected) << c.lang.japanese << c.nothing;
  }
  ConsoleCapture con;
  Lang = kEnglish;
  dlgvacantcount(40);
  EXPECT_EQ(con.take(), "Number of vacant English bone/morph/frame names: 40 \n");
  Lang = kJapanese;
  dlgvacantcount(0);
  EXPECT_EQ(con.take(), sj(u8"空名の英語ボーン／モーフ／表示枠数: 0 \n"));
}

// The box texts are checked above; the console shows the ANSI one, then a line end,
// in UTF-16 mode too.
TEST_F(Dialogue, ReportsPrintTheAnsiTextThenALineEnd) {
  for (LanguageMode lang : {kEnglish, kJapanese}) {
    Lang = lang;
    for (bool utf16mode : {false, true}) {
      ConsoleCapture con;
      dlgsaved("m-new.pmx", u"x-new.pmx", utf16mode, 2, 0, true);
      boxsaved(&box, "m-new.pmx", u"x-new.pmx", 2, 0);
      EXPECT_EQ(con.take(), std::string(box.a) + "\n");
      dlgunchanged("m.pmx", u"x.pmx", utf16mode, true);
      boxunchanged(&box, "m.pmx", u"x.pmx");
      EXPECT_EQ(con.take(), std::string(box.a) + "\n");
    }
  }
}

TEST_F(Dialogue, ExtensionQuestionConsoleAndRefusalWithoutABox) {
  if (haveterminal()) GTEST_SKIP() << "the question would wait for an answer";
  const ConsoleCase cases[] = {
      {kEnglish,
       " Model: \n   a.bin \n does not have extension \".PMX\" in the file name. \n"
       " Do you like to continue? \n"},
      {kJapanese, sj(u8" モデル： \n") + "   a.bin \n" +
                      sj(u8" には拡張子 \".PMX\" がありません. \n") + sj(u8" 強行しますか? \n")},
  };
  for (const ConsoleCase& c : cases) {
    Lang = c.lang;
    ConsoleCapture con;
    EXPECT_EQ(dlgaskextension("a.bin", u"a.bin", false), 0);  // no box: refused
    EXPECT_EQ(con.text(), c.expected);
    EXPECT_EQ(dlgaskextension("", u"a.bin", true), 0);
  }
}

}  // namespace
