// dialogue.cpp - the texts the user reads about a model, on the console and in boxes.
#include "app/dialogue.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "setup/settings.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

// The Japanese texts, kept readable here and turned into Shift-JIS by dlginit().
enum JText {
  JNoModel1,       // no model named, Shift-JIS console
  JNoModel2,
  JNoModel3,
  JNoModelUtf1,    // no model named, UTF-8 console (printed with " \n" after each)
  JNoModelUtf2,
  JNoModelUtf3,
  JAskModel,       // extension question, console
  JAskNoExt,
  JAskGoOn,
  JBoxModel,       // extension question, box
  JBoxNoExt,
  JBoxGoOn,
  JSkipped,        // after a declined question
  JNothingSaved,
  JVacant,         // followed by the count and " \n"
  JVacantKinds,    // the same for the other kinds (Fill.everyKind)
  JSavedAdded,     // saved-model report
  JSavedKinds,
  JSavedTo,
  JSoundModel,     // unchanged-model report
  JSoundOk,
  JSoundNothing1,
  JSoundNothing2,
  JFolderHead,     // folder lines: "フォルダ <name>" and one of the next two
  JFolderModels,   // followed by the count and JUnitLine
  JFolderNone,
  JUnitLine,
  JSumFolders,     // end-of-run report on the models from folders: label, count, unit
  JSumSaved,
  JSumSound,
  JSumFailed,
  JSumUnit,
  JSumSee,
  JSumTablesWritten,  // the same for names tables, then the count and JSumUnit
  JSumTablesApplied,
  JTableWritten,      // names tables: console lines, followed by a name and " \n"
  JTableFailed,
  JTableApply,
  JTableModel,
  JTableChanged,      // followed by the count and " \n"
  JRememberedList,    // "単語リスト <path>: " the counts: JRemembered1 n JRemembered2 m
  JRemembered1,
  JRemembered2,
  JBoxTable,          // box pieces
  JBoxTableFailed,
  JBoxTableName,
  JBoxApplied1,       // followed by the count and JBoxApplied2
  JBoxApplied2,
  JBoxMisfit,
  JBoxNoModel,
  JBoxTwoModels,
  JCount
};

constexpr std::array<const char8_t*, JCount> kJapanese = {
    u8"ドラッグ＆ドロップされた PMX ファイルや、 \n",
    u8"コマンドで指定された PMX ファイルはありません. \n",
    u8" PMX モデルファイルを開いてください. \n",
    u8"ドラッグ＆ドロップされた PMX ファイル、 ",
    u8"コマンドで指定された PMX ファイルはありません. ",
    u8" PMX モデルファイルを開いてください. ",
    u8" モデル： \n",
    u8" には拡張子 \".PMX\" がありません. \n",
    u8" 強行しますか? \n",
    u8" モデル： \r\n   ",
    u8" \r\n には拡張子 \".PMX\" がありません. \r\n",
    u8" 強行しますか? ",
    u8"このファイルの学習処理をスキップ(中断)します. \n",
    u8"更新(変更)されたデータはありません. \n",
    u8"空名の英語ボーン／モーフ／表示枠数: ",
    u8"空名の英語モデル／材質／剛体／ジョイント／ソフトボディ名数: ",
    u8" 英語名(ボーン／モーフ／表示枠)を追加し、 \r\n",
    u8" 英語名(モデル／材質／剛体／ジョイント／ソフトボディ)を追加し、 \r\n",
    u8" へ保存しました. \r\n",
    u8" モデル： \r\n",
    u8" は正常です. \r\n",
    u8" 修復すべき箇所は \r\n",
    u8" 見つかりませんでした. \r\n",
    u8"フォルダ ",
    u8" の PMX/PMD モデル: ",
    u8" には PMX/PMD モデルがありません(サブフォルダを含む). \n",
    u8" 個 \n",
    u8" フォルダ内のモデル： ",
    u8" 英語名を追加して保存： ",
    u8" 正常(変更なし)： ",
    u8" 失敗： ",
    u8" 個 \r\n",
    u8" 詳しくはコンソールをご覧ください. \r\n",
    u8" 名前の表の書き出し： ",
    u8" 名前の表の適用： ",
    u8"名前の表を書き出しました: ",
    u8"名前の表は書き出せませんでした(モデルは保存済み). \n",
    u8"名前の表: ",
    u8" モデル: ",
    u8"表が生成名から変えた名前: ",
    u8"単語リスト ",
    u8": 覚えた訂正 ",
    u8" 個、既にあった訂正 ",
    u8" 名前の表: \r\n",
    u8" 名前の表は書き出せませんでした. \r\n",
    u8" 名前の表 \r\n",
    u8" を適用し(変更 ",
    u8" 個)、 \r\n",
    u8" はモデルに合いません. 何も書き出していません. \r\n",
    u8" のモデル(同じ名前の .pmx か .pmd)が見つかりません. 何も書き出していません. \r\n",
    u8" に合うモデルが二つ(.pmx と .pmd)あります. 何も書き出していません. \r\n",
};

// Shift-JIS never takes more bytes than UTF-8 for the same text.
constexpr int kJTextMax = 160;
constexpr bool japanesefits() {
  for (const char8_t* s : kJapanese) {
    int n = 0;
    while (s[n] != 0) n++;
    if (n >= kJTextMax) return false;
  }
  return true;
}
static_assert(japanesefits(), "a Japanese text outgrows its buffer");

char japanese[JCount][kJTextMax];
bool japaneseReady = false;

const char* jt(JText id) {
  if (!japaneseReady) dlginit();
  return japanese[id];
}

constexpr char kCaption[] = "Namewright";
constexpr char16_t kCaptionW[] = u"Namewright";
constexpr unsigned kQuestion = OSMB_OKCANCEL | OSMB_ICONINFORMATION | OSMB_TOPMOST;
constexpr unsigned kReport = OSMB_OK | OSMB_ICONINFORMATION | OSMB_TOPMOST;

bool english65001() { return !langjapanese() && Lang.consoleCp == 65001; }

// Both box texts grow together; a piece that would not fit is left out of that text.
struct Builder {
  BoxText* box;
  int na;  // lengths so far
  int nw;
};

Builder boxstart(BoxText* box) {
  box->a[0] = 0;
  box->w[0] = 0;
  return Builder{box, 0, 0};
}

void appenda(Builder* b, const char* s) {
  int len = static_cast<int>(strlen(s));
  if (b->na + len >= BOX_TEXTMAX) return;
  memcpy(b->box->a + b->na, s, static_cast<size_t>(len) + 1);
  b->na += len;
}

void appendw(Builder* b, const char16_t* s) {
  int len = 0;
  while (s[len] != 0) len++;
  if (b->nw + len >= BOX_TEXTMAX) return;
  for (int i = 0; i <= len; i++) b->box->w[b->nw + i] = s[i];
  b->nw += len;
}

// A Shift-JIS piece: as it is to the ANSI text, converted to the UTF-16 text.
void piece(Builder* b, const char* sjis) {
  appenda(b, sjis);
  // One unit at most per Shift-JIS byte, so the length bounds the conversion.
  if (b->nw + static_cast<int>(strlen(sjis)) >= BOX_TEXTMAX) return;
  sjis2unistrcat(b->box->w, sjis);
  while (b->box->w[b->nw] != 0) b->nw++;
}

// A file name goes in unconverted: the ANSI name to the ANSI text, the UTF-16 name to
// the UTF-16 text. Padded, it is a line of its own (" %s \r\n").
void name(Builder* b, const char* nameA, const char16_t* nameW, bool padded) {
  const char* a = nameA != nullptr ? nameA : "";
  const char16_t* w = nameW != nullptr ? nameW : u"";
  if (!padded) {
    appenda(b, a);
    appendw(b, w);
    return;
  }
  char scratch[BOX_TEXTMAX];
  int n = snprintf(scratch, sizeof scratch, " %s \r\n", a);
  if (n > 0 && n < BOX_TEXTMAX) appenda(b, scratch);
  if (b->nw + 1 + unistrlen(w) + 3 < BOX_TEXTMAX) {
    appendw(b, u" ");
    appendw(b, w);
    appendw(b, u" \r\n");
  }
}

int showbox(const BoxText* box, bool utf16mode, unsigned kind) {
  conflush();
  return utf16mode ? osmsgboxW(box->w, kCaptionW, kind) : osmsgbox(box->a, kCaption, kind);
}

// Models from folders report on the console only; one box at the end speaks for them.
void report(const BoxText* box, bool utf16mode, bool boxed) {
  conputs(box->a);
  if (boxed) showbox(box, utf16mode, kReport);
  conputs("\n");
}

BoxText boxText;  // one box at a time

}  // namespace

void dlginit() {
  for (int i = 0; i < JCount; i++) {
    utf82sjisc(japanese[i], reinterpret_cast<const char*>(kJapanese[i]));
  }
  japaneseReady = true;
}

void boxextension(BoxText* box, const char* nameA, const char16_t* nameW) {
  Builder b = boxstart(box);
  if (langjapanese()) {
    piece(&b, jt(JBoxModel));
    name(&b, nameA, nameW, false);
    piece(&b, jt(JBoxNoExt));
    piece(&b, " \r\n");
    piece(&b, jt(JBoxGoOn));
    return;
  }
  if (english65001()) {
    piece(&b, " The model file \r\n");
  } else {
    piece(&b, " Model: \r\n   ");
    name(&b, nameA, nameW, false);
    piece(&b, " \r\n");
  }
  piece(&b, " does not have extension \".PMX\" in the file name. \r\n");
  piece(&b, " \r\n");
  piece(&b, " Do you like to continue? ");
}

void boxsaved(BoxText* box, const char* nameA, const char16_t* nameW, int names, int kinds,
              TableNote table, const char* tableA, const char16_t* tableW) {
  Builder b = boxstart(box);
  bool ja = langjapanese();
  if (names >= 1) piece(&b, ja ? jt(JSavedAdded) : " Added English bone/morph/frame names, \r\n");
  if (kinds >= 1) {
    piece(&b, ja ? jt(JSavedKinds) : " Added English model/material/rigid-body/joint/soft-body names, \r\n");
  }
  piece(&b, " \r\n");
  name(&b, nameA, nameW, true);
  piece(&b, " \r\n");
  piece(&b, ja ? jt(JSavedTo) : " was saved. \r\n");
  if (table == TABLE_WRITTEN) {
    piece(&b, " \r\n");
    piece(&b, ja ? jt(JBoxTable) : " Names table: \r\n");
    name(&b, tableA, tableW, true);
  } else if (table == TABLE_FAILED) {
    piece(&b, " \r\n");
    piece(&b, ja ? jt(JBoxTableFailed) : " The names table could not be written. \r\n");
  }
}

void boxapplied(BoxText* box, const char* nameA, const char16_t* nameW, const char* tableA,
                const char16_t* tableW, int changed) {
  Builder b = boxstart(box);
  char count[32];
  if (langjapanese()) {
    snprintf(count, sizeof count, "%d", changed);
    piece(&b, jt(JBoxTableName));
    name(&b, tableA, tableW, true);
    piece(&b, jt(JBoxApplied1));
    piece(&b, count);
    piece(&b, jt(JBoxApplied2));
  } else {
    snprintf(count, sizeof count, " (%d names changed), \r\n", changed);
    piece(&b, " Applied the names table \r\n");
    name(&b, tableA, tableW, true);
    piece(&b, count);
  }
  piece(&b, " \r\n");
  name(&b, nameA, nameW, true);
  piece(&b, " \r\n");
  piece(&b, langjapanese() ? jt(JSavedTo) : " was saved. \r\n");
}

void boxrefused(BoxText* box, const char* tableA, const char16_t* tableW, TableRefusal why) {
  Builder b = boxstart(box);
  const bool ja = langjapanese();
  if (ja) {
    piece(&b, jt(JBoxTableName));
  } else {
    piece(&b, why == TABLE_NOMODEL ? " No model for the names table \r\n" : " The names table \r\n");
  }
  name(&b, tableA, tableW, true);
  switch (why) {
    case TABLE_MISFIT:
      piece(&b, ja ? jt(JBoxMisfit) : " does not fit the model: nothing was written. \r\n");
      piece(&b, " \r\n");
      piece(&b, ja ? jt(JSumSee) : " See the console for details. \r\n");
      break;
    case TABLE_NOMODEL:
      piece(&b, ja ? jt(JBoxNoModel)
                   : " (no .pmx or .pmd of its name beside it): nothing was written. \r\n");
      break;
    case TABLE_TWOMODELS:
      piece(&b, ja ? jt(JBoxTwoModels)
                   : " could belong to a .pmx and a .pmd of its name: nothing was written. \r\n");
      break;
  }
}

void boxfolders(BoxText* box, int saved, int unchanged, int failed, int tablesWritten,
                int tablesApplied) {
  Builder b = boxstart(box);
  char line[64];
  auto count = [&](JText label, const char* english, int n) {
    if (langjapanese()) {
      snprintf(line, sizeof line, "%d", n);
      piece(&b, jt(label));
      piece(&b, line);
      piece(&b, jt(JSumUnit));
    } else {
      snprintf(line, sizeof line, english, n);
      piece(&b, line);
    }
  };
  count(JSumFolders, " Models from folders: %d \r\n", saved + unchanged + failed);
  piece(&b, " \r\n");
  count(JSumSaved, " Saved with English names added: %d \r\n", saved);
  count(JSumSound, " Correct, left unchanged: %d \r\n", unchanged);
  count(JSumFailed, " Failed: %d \r\n", failed);
  if (tablesWritten >= 0) count(JSumTablesWritten, " Names tables written: %d \r\n", tablesWritten);
  if (tablesApplied > 0) count(JSumTablesApplied, " Names tables applied: %d \r\n", tablesApplied);
  if (failed > 0) {
    piece(&b, " \r\n");
    piece(&b, langjapanese() ? jt(JSumSee) : " See the console for details. \r\n");
  }
}

void boxunchanged(BoxText* box, const char* nameA, const char16_t* nameW) {
  Builder b = boxstart(box);
  if (langjapanese()) {
    piece(&b, jt(JSoundModel));
    name(&b, nameA, nameW, true);
    piece(&b, jt(JSoundOk));
    piece(&b, " \r\n");
    piece(&b, jt(JSoundNothing1));
    piece(&b, jt(JSoundNothing2));
    return;
  }
  piece(&b, " All the links in the model \r\n");
  name(&b, nameA, nameW, true);
  piece(&b, " are correct. \r\n");
  piece(&b, " \r\n");
  piece(&b, " No broken settings found. ");
}

void dlgnomodel() {
  conputs("\n");
  if (langjapanese()) {
    conputs(jt(JNoModel1));
    conputs(jt(JNoModel2));
    conputs(jt(JNoModel3));
  } else if (Lang.japanese && Lang.utf8Console) {
    for (JText id : {JNoModelUtf1, JNoModelUtf2, JNoModelUtf3}) {
      char utf8[kJTextMax * 3];  // a Shift-JIS byte gives at most three UTF-8 bytes
      sjis2utf8c(utf8, jt(id));
      conprintf("%s \n", utf8);
    }
  } else {
    conputs("No dropped PMX file detected. \n");
    conputs(" Please select PMX file(s). \n");
  }
}

int dlgaskextension(const char* nameA, const char16_t* nameW, bool utf16mode) {
  const char* a = nameA != nullptr ? nameA : "";
  if (langjapanese()) {
    conputs(jt(JAskModel));
    conprintf("   %s \n", a);
    conputs(jt(JAskNoExt));
    conputs(jt(JAskGoOn));
  } else {
    conputs(" Model: \n");
    conprintf("   %s \n", a);
    conputs(" does not have extension \".PMX\" in the file name. \n");
    conputs(" Do you like to continue? \n");
  }
  boxextension(&boxText, nameA, nameW);
  return showbox(&boxText, utf16mode, kQuestion) == OSID_OK ? 1 : 0;
}

void dlgskipnotice(bool nothingModified) {
  bool ja = langjapanese();
  conputs(ja ? jt(JSkipped) : "The conversion for this file was skipped (or aborted). \n");
  if (nothingModified) {
    conputs(" \n");
    conputs(ja ? jt(JNothingSaved) : "No file was modified. \n");
  }
  conputs("\n");
}

void dlgvacantcount(int count) {
  if (langjapanese()) {
    conprintf("%s%d \n", jt(JVacant), count);
  } else {
    conprintf("Number of vacant English bone/morph/frame names: %d \n", count);
  }
}

void dlgkindcount(int count) {
  if (langjapanese()) {
    conprintf("%s%d \n", jt(JVacantKinds), count);
  } else {
    conprintf("Number of vacant English model/material/rigid-body/joint/soft-body names: %d \n",
              count);
  }
}

void dlgsaved(const char* nameA, const char16_t* nameW, bool utf16mode, int names, int kinds,
              bool boxed, TableNote table, const char* tableA, const char16_t* tableW) {
  boxsaved(&boxText, nameA, nameW, names, kinds, table, tableA, tableW);
  report(&boxText, utf16mode, boxed);
}

void dlgapplied(const char* nameA, const char16_t* nameW, bool utf16mode, const char* tableA,
                const char16_t* tableW, int changed) {
  boxapplied(&boxText, nameA, nameW, tableA, tableW, changed);
  report(&boxText, utf16mode, true);
}

void dlgrefused(const char* tableA, const char16_t* tableW, bool utf16mode, TableRefusal why) {
  boxrefused(&boxText, tableA, tableW, why);
  report(&boxText, utf16mode, true);
}

void dlgtablewritten(const char* shown) {
  if (langjapanese()) {
    conprintf("%s%s \n", jt(JTableWritten), shown);
  } else {
    conprintf("Names table written: %s \n", shown);
  }
}

void dlgtablefailed() {
  conputs(langjapanese() ? jt(JTableFailed) : "The names table could not be written (the copy is saved). \n");
}

void dlgtableapply(const char* table, const char* model) {
  if (langjapanese()) {
    conprintf("%s%s \n%s%s \n", jt(JTableApply), table, jt(JTableModel), model);
  } else {
    conprintf("Names table: %s \n for the model: %s \n", table, model);
  }
}

void dlgtablechanged(int changed) {
  if (langjapanese()) {
    conprintf("%s%d \n", jt(JTableChanged), changed);
  } else {
    conprintf("Names the table changed against the generated ones: %d \n", changed);
  }
}

void dlgremembered(const char* list, int added, int already) {
  if (langjapanese()) {
    conprintf("%s%s%s%d%s%d%s", jt(JRememberedList), list, jt(JRemembered1), added,
              jt(JRemembered2), already, jt(JUnitLine));
  } else {
    conprintf("Word list %s: %d corrections remembered, %d there already. \n", list, added, already);
  }
}

void dlgunchanged(const char* nameA, const char16_t* nameW, bool utf16mode, bool boxed) {
  boxunchanged(&boxText, nameA, nameW);
  report(&boxText, utf16mode, boxed);
}

void dlgfolders(int saved, int unchanged, int failed, int tablesWritten, int tablesApplied) {
  boxfolders(&boxText, saved, unchanged, failed, tablesWritten, tablesApplied);
  report(&boxText, false, true);
}

namespace {

// The lines after the usage lines: what can be named, then the options. One row each,
// both languages.
struct HelpRow {
  const char* english;
  const char8_t* japanese;
};
constexpr HelpRow kHelp[] = {
    {"What can be named:", u8"指定できるもの:"},
    {"   model.pmx, model.pmd  a PMX 2.0/2.1 or PMD model; its copy: model-new.pmx",
     u8"   model.pmx, model.pmd  PMX 2.0/2.1 か PMD のモデル。コピーは model-new.pmx"},
    {"   folder                every model in it and in its subfolders",
     u8"   フォルダ              その中とサブフォルダのすべてのモデル"},
    {"   model.names.csv       a names table, applied to model.pmx/.pmd beside it",
     u8"   model.names.csv       名前の表。隣の model.pmx/.pmd に適用"},
    {"Options (also in modsetup.ini; a 0 after the letter turns one off):",
     u8"オプション (modsetup.ini にも書けます。文字の後の 0 で off):"},
    {"   -O     also the names of the model, materials, rigid bodies, joints, soft bodies",
     u8"   -O     モデル・材質・剛体・ジョイント・ソフトボディの名前も"},
    {"   -F     replace existing English names too, in a model with something to fill",
     u8"   -F     埋める名前のあるモデルでは、既にある英語名も置き換え"},
    {"   -ND2   do not ask about a file without .pmx or .pmd",
     u8"   -ND2   拡張子 .pmx/.pmd のないファイルでも確認しない"},
    {"   -D<n>  show more while reading (1 or 2)", u8"   -D<n>  読み込み中の表示を増やす (1 か 2)"},
    {"   -h, --help  this text", u8"   -h, --help  この説明"},
};

}  // namespace

void dlgusage() {
  conputs("Usage \n");
  conputs("   Namewright <pmxFileName>.pmx \n");
  char sjis[256];
  for (const HelpRow& row : kHelp) {
    if (langjapanese()) {
      utf82sjisc(sjis, reinterpret_cast<const char*>(row.japanese));
      conprintf("%s \n", sjis);
    } else {
      conprintf("%s \n", row.english);
    }
  }
}

void dlgfoldermodels(const char* folder, int count) {
  if (langjapanese()) {
    conprintf("%s%s%s%d%s", jt(JFolderHead), folder, jt(JFolderModels), count, jt(JUnitLine));
  } else {
    conprintf("PMX/PMD models in folder %s: %d \n", folder, count);
  }
}

void dlgfoldernone(const char* folder) {
  if (langjapanese()) {
    conprintf("%s%s%s", jt(JFolderHead), folder, jt(JFolderNone));
  } else {
    conprintf("No PMX/PMD model in folder %s (subfolders included). \n", folder);
  }
}
