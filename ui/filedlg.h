// filedlg.h - the File-Open dialog for MMD model files.
#pragma once
#include <cstdint>

#include "platform/platform.h"

// 0 when a file was chosen (its full path copied to out, which holds 260 units, when
// out is not null), -1 when cancelled or failed (a message says which).
int fileopendlgW(char16_t* out, const char16_t* initial);
int fileopendlg(char* out, const char* initial);

// What the dialog is set up with: the filter list, the file box and the starting folder.
constexpr int FILTER_MAX = 16384;
constexpr int DLGFILE_MAX = OS_MAXPATH;
struct FileDlgBufs {
  char filter[FILTER_MAX];
  char file[DLGFILE_MAX];
  char dir[DLGFILE_MAX];
};
struct FileDlgBufsW {
  char16_t filter[FILTER_MAX];
  char16_t file[DLGFILE_MAX];
  char16_t dir[DLGFILE_MAX];
};

// Fills the dialog record and its buffers from the initial path, without showing it.
void fileopenprep(OsOpenDlg* dlg, FileDlgBufs* bufs, const char* initial);
void fileopenprepW(OsOpenDlgW* dlg, FileDlgBufsW* bufs, const char16_t* initial);

// The console lines after a dialog that gave no file (cancelled when code is 0).
void fileopenfailed(uint32_t code);
