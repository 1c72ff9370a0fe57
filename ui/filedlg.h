// filedlg.h - the File-Open dialog for MMD model files.
#pragma once

// 0 when a file was chosen (its full path copied to out, which holds 260 units, when
// out is not null), -1 when cancelled or failed (a message says which).
int fileopendlgW(char16_t* out, const char16_t* initial);
int fileopendlg(char* out, const char* initial);
