// app_tabledialogue_test.cpp - the console lines and boxes about names tables, byte for
// byte, in English and Japanese.
#include <gtest/gtest.h>

#include <string>

#include "app/dialogue.h"
#include "setup/settings.h"
#include "support/capture.h"
#include "text/sjis.h"

namespace {

constexpr LanguageMode kEnglish = {false, false, false, 437};
constexpr LanguageMode kJapanese = {true, true, false, 932};

std::string sj(const char8_t* utf8) {
  char out[1024];
  utf82sjisc(out, reinterpret_cast<const char*>(utf8));
  return out;
}

class TableDialogue : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = Lang;
    dlginit();
  }
  void TearDown() override { Lang = saved; }
  // The box's ANSI text, and the UTF-16 text made of the same pieces.
  void expect(const std::string& a, const std::u16string& w) {
    EXPECT_EQ(std::string(box.a), a);
    EXPECT_EQ(std::u16string(box.w), w);
  }
  LanguageMode saved;
  BoxText box;
};

TEST_F(TableDialogue, SavedCopyNamesItsTable) {
  Lang = kEnglish;
  boxsaved(&box, "m-new.pmx", u"m-new.pmx", 3, 0, TABLE_WRITTEN, "m.names.csv", u"m.names.csv");
  expect(" Added English bone/morph/frame names, \r\n \r\n m-new.pmx \r\n \r\n was saved. \r\n"
         " \r\n Names table: \r\n m.names.csv \r\n",
         u" Added English bone/morph/frame names, \r\n \r\n m-new.pmx \r\n \r\n was saved. \r\n"
         u" \r\n Names table: \r\n m.names.csv \r\n");
  boxsaved(&box, "m-new.pmx", u"m-new.pmx", 3, 0, TABLE_FAILED);
  EXPECT_TRUE(std::string(box.a).ends_with(" was saved. \r\n \r\n The names table could not be written. \r\n"));
  Lang = kJapanese;
  boxsaved(&box, "m-new.pmx", u"m-new.pmx", 3, 0, TABLE_WRITTEN, "m.names.csv", u"m.names.csv");
  expect(sj(u8" 英語名(ボーン／モーフ／表示枠)を追加し、 \r\n \r\n m-new.pmx \r\n \r\n へ保存しました. \r\n"
            u8" \r\n 名前の表: \r\n m.names.csv \r\n"),
         u" 英語名(ボーン／モーフ／表示枠)を追加し、 \r\n \r\n m-new.pmx \r\n \r\n へ保存しました. \r\n"
         u" \r\n 名前の表: \r\n m.names.csv \r\n");
}

TEST_F(TableDialogue, AppliedAndRefusedTables) {
  Lang = kEnglish;
  boxapplied(&box, "m-new.pmx", u"m-new.pmx", "m.names.csv", u"m.names.csv", 3);
  expect(" Applied the names table \r\n m.names.csv \r\n (3 names changed), \r\n \r\n m-new.pmx \r\n"
         " \r\n was saved. \r\n",
         u" Applied the names table \r\n m.names.csv \r\n (3 names changed), \r\n \r\n m-new.pmx \r\n"
         u" \r\n was saved. \r\n");
  boxrefused(&box, "m.names.csv", u"m.names.csv", TABLE_MISFIT);
  EXPECT_EQ(std::string(box.a), " The names table \r\n m.names.csv \r\n does not fit the model: nothing was"
                                " written. \r\n \r\n See the console for details. \r\n");
  boxrefused(&box, "m.names.csv", u"m.names.csv", TABLE_NOMODEL);
  EXPECT_EQ(std::string(box.a), " No model for the names table \r\n m.names.csv \r\n (no .pmx or .pmd of its"
                                " name beside it): nothing was written. \r\n");
  boxrefused(&box, "m.names.csv", u"m.names.csv", TABLE_TWOMODELS);
  EXPECT_EQ(std::string(box.a), " The names table \r\n m.names.csv \r\n could belong to a .pmx and a .pmd of"
                                " its name: nothing was written. \r\n");
  Lang = kJapanese;
  boxapplied(&box, "m-new.pmx", u"m-new.pmx", "m.names.csv", u"m.names.csv", 3);
  expect(sj(u8" 名前の表 \r\n m.names.csv \r\n を適用し(変更 3 個)、 \r\n \r\n m-new.pmx \r\n \r\n"
            u8" へ保存しました. \r\n"),
         u" 名前の表 \r\n m.names.csv \r\n を適用し(変更 3 個)、 \r\n \r\n m-new.pmx \r\n \r\n へ保存しました. \r\n");
  const char8_t* refused[] = {
      u8" 名前の表 \r\n m.names.csv \r\n はモデルに合いません. 何も書き出していません. \r\n \r\n"
      u8" 詳しくはコンソールをご覧ください. \r\n",
      u8" 名前の表 \r\n m.names.csv \r\n のモデル(同じ名前の .pmx か .pmd)が見つかりません. 何も書き出し"
      u8"ていません. \r\n",
      u8" 名前の表 \r\n m.names.csv \r\n に合うモデルが二つ(.pmx と .pmd)あります. 何も書き出していません. \r\n",
  };
  for (TableRefusal why : {TABLE_MISFIT, TABLE_NOMODEL, TABLE_TWOMODELS}) {
    boxrefused(&box, "m.names.csv", u"m.names.csv", why);
    EXPECT_EQ(std::string(box.a), sj(refused[why])) << why;
  }
}

TEST_F(TableDialogue, ConsoleLinesAndTheFolderReport) {
  ConsoleCapture con;
  Lang = kEnglish;
  dlgtablewritten("m.names.csv");
  dlgtablefailed();
  dlgtableapply("p/m.names.csv", "p/m.pmx");
  dlgtablechanged(2);
  dlgremembered("/x/namedict-user.txt", 2, 1);
  EXPECT_EQ(con.take(),
            "Names table written: m.names.csv \n"
            "The names table could not be written (the copy is saved). \n"
            "Names table: p/m.names.csv \n for the model: p/m.pmx \n"
            "Names the table changed against the generated ones: 2 \n"
            "Word list /x/namedict-user.txt: 2 corrections remembered, 1 there already. \n");
  Lang = kJapanese;
  dlgtablewritten("m.names.csv");
  dlgtablefailed();
  dlgtableapply("p/m.names.csv", "p/m.pmx");
  dlgtablechanged(2);
  dlgremembered("/x/namedict-user.txt", 2, 1);
  EXPECT_EQ(con.take(), sj(u8"名前の表を書き出しました: m.names.csv \n"
                           u8"名前の表は書き出せませんでした(モデルは保存済み). \n"
                           u8"名前の表: p/m.names.csv \n モデル: p/m.pmx \n"
                           u8"表が生成名から変えた名前: 2 \n"
                           u8"単語リスト /x/namedict-user.txt: 覚えた訂正 2 個、既にあった訂正 1 個 \n"));
  Lang = kEnglish;
  boxfolders(&box, 2, 1, 0, 2, 1);
  EXPECT_EQ(std::string(box.a),
            " Models from folders: 3 \r\n \r\n Saved with English names added: 2 \r\n"
            " Correct, left unchanged: 1 \r\n Failed: 0 \r\n Names tables written: 2 \r\n"
            " Names tables applied: 1 \r\n");
  boxfolders(&box, 2, 1, 0, -1, 0);  // no table setting, none applied: as before
  EXPECT_TRUE(std::string(box.a).ends_with(" Failed: 0 \r\n"));
  Lang = kJapanese;
  boxfolders(&box, 2, 1, 0, 0, 3);
  EXPECT_TRUE(std::string(box.a).ends_with(sj(u8" 失敗： 0 個 \r\n 名前の表の書き出し： 0 個 \r\n"
                                              u8" 名前の表の適用： 3 個 \r\n")));
}

}  // namespace
