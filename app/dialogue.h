// dialogue.h - every text the user reads about a model, in Japanese or English, on the
// console and in message boxes.
//
// Box texts are built twice from the same pieces: an ANSI text and a UTF-16 text. The
// UTF-16 text is shown (MessageBoxW) when the model is in UTF-16 mode, the ANSI text
// (MessageBoxA) otherwise. File names are the names found on disk, never converted.
#pragma once

constexpr int BOX_TEXTMAX = 2048;

struct BoxText {
  char a[BOX_TEXTMAX];       // ANSI (Shift-JIS) text
  char16_t w[BOX_TEXTMAX];   // UTF-16 text
};

// Prepares the Japanese texts (kept readable as UTF-8 in the source, turned into
// Shift-JIS once). Called at start-up, before any text is shown.
void dlginit();

// What became of the names table of a saved copy.
enum TableNote { TABLE_NONE, TABLE_WRITTEN, TABLE_FAILED };
// Why a names table made no copy.
enum TableRefusal { TABLE_MISFIT, TABLE_NOMODEL, TABLE_TWOMODELS };

// Box texts, built without showing anything (the tests call these).
void boxextension(BoxText* box, const char* nameA, const char16_t* nameW);
// names and kinds: the bone, morph and frame names the copy changed, and those of the
// other kinds; the box says which were added, and the names table when one was written.
void boxsaved(BoxText* box, const char* nameA, const char16_t* nameW, int names, int kinds,
              TableNote table = TABLE_NONE, const char* tableA = nullptr,
              const char16_t* tableW = nullptr);
void boxunchanged(BoxText* box, const char* nameA, const char16_t* nameW);
// A copy made with a names table: the table, the names it changed, the copy.
void boxapplied(BoxText* box, const char* nameA, const char16_t* nameW, const char* tableA,
                const char16_t* tableW, int changed);
void boxrefused(BoxText* box, const char* tableA, const char16_t* tableW, TableRefusal why);
// The end-of-run report on the models that came from folders; the names tables written
// for them when tablesWritten is not negative, those applied in the run when there were.
void boxfolders(BoxText* box, int saved, int unchanged, int failed, int tablesWritten = -1,
                int tablesApplied = 0);

// Console lines and boxes.
void dlgnomodel();
// The usage lines, then what can be named and the options, in the user's language.
void dlgusage();
// The extension question: console lines, then an OK/Cancel box. 1 on OK, 0 otherwise
// (a box that cannot be shown counts as a refusal).
int dlgaskextension(const char* nameA, const char16_t* nameW, bool utf16mode);
// The skip notice after a declined question; the "nothing modified" lines when asked.
void dlgskipnotice(bool nothingModified);
void dlgvacantcount(int count);
// The same count for the model's name, materials, rigid bodies, joints and soft bodies.
void dlgkindcount(int count);
// The per-model reports: printed on the console, then shown in a report box unless
// boxed is false (models from folders, which the folder report speaks for).
void dlgsaved(const char* nameA, const char16_t* nameW, bool utf16mode, int names, int kinds,
              bool boxed, TableNote table = TABLE_NONE, const char* tableA = nullptr,
              const char16_t* tableW = nullptr);
void dlgunchanged(const char* nameA, const char16_t* nameW, bool utf16mode, bool boxed);
// A names table applied, or refused: console, then a report box.
void dlgapplied(const char* nameA, const char16_t* nameW, bool utf16mode, const char* tableA,
                const char16_t* tableW, int changed);
void dlgrefused(const char* tableA, const char16_t* tableW, bool utf16mode, TableRefusal why);
// Console lines about names tables and the word list.
void dlgtablewritten(const char* shown);
void dlgtablefailed();
void dlgtableapply(const char* table, const char* model);
void dlgtablechanged(int changed);
void dlgremembered(const char* list, int added, int already);
// The folder report: console, then a report box.
void dlgfolders(int saved, int unchanged, int failed, int tablesWritten = -1, int tablesApplied = 0);
// Folder lines while the arguments are expanded: how many models a folder holds, or
// that it holds none.
void dlgfoldermodels(const char* folder, int count);
void dlgfoldernone(const char* folder);
