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

// Box texts, built without showing anything (the tests call these).
void boxextension(BoxText* box, const char* nameA, const char16_t* nameW);
void boxsaved(BoxText* box, const char* nameA, const char16_t* nameW, int nameChangeCount);
void boxunchanged(BoxText* box, const char* nameA, const char16_t* nameW);

// Console lines and boxes.
void dlgnomodel();
// The extension question: console lines, then an OK/Cancel box. 1 on OK, 0 otherwise
// (a box that cannot be shown counts as a refusal).
int dlgaskextension(const char* nameA, const char16_t* nameW, bool utf16mode);
// The skip notice after a declined question; the "nothing modified" lines when asked.
void dlgskipnotice(bool nothingModified);
void dlgvacantcount(int count);
// The per-model reports: printed on the console, then shown in a report box.
void dlgsaved(const char* nameA, const char16_t* nameW, bool utf16mode, int nameChangeCount);
void dlgunchanged(const char* nameA, const char16_t* nameW, bool utf16mode);
