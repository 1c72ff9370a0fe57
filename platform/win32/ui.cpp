// ui.cpp - Windows: message boxes and the common File-Open dialog.
#include <windows.h>
#include <commdlg.h>

#include "platform/platform.h"

namespace {

LPCWSTR wide(const char16_t* s) { return reinterpret_cast<LPCWSTR>(s); }
LPWSTR wide(char16_t* s) { return reinterpret_cast<LPWSTR>(s); }

// The record without the Windows 2000 fields; its size is the target's own (76 bytes
// only in a 32-bit build), else the dialog fails with CDERR_STRUCTSIZE.
static_assert(OPENFILENAME_SIZE_VERSION_400A <= sizeof(OPENFILENAMEA));
static_assert(OPENFILENAME_SIZE_VERSION_400W <= sizeof(OPENFILENAMEW));
static_assert(sizeof(void*) != 4 || OPENFILENAME_SIZE_VERSION_400W == 76);

}  // namespace

int osmsgbox(const char* text, const char* caption, unsigned kind) {
  return MessageBoxA(nullptr, text, caption, kind);
}

int osmsgboxW(const char16_t* text, const char16_t* caption, unsigned kind) {
  return MessageBoxW(nullptr, wide(text), wide(caption), kind);
}

int osopenfiledlg(OsOpenDlg* dlg) {
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.lpstrFilter = dlg->filter;
  ofn.nFilterIndex = dlg->filterIndex;
  ofn.lpstrFile = dlg->file;
  ofn.nMaxFile = dlg->maxFile;
  ofn.lpstrInitialDir = dlg->initialDir;
  ofn.lpstrTitle = dlg->title;
  ofn.Flags = dlg->flags;
  ofn.lpstrDefExt = dlg->defExt;
  return GetOpenFileNameA(&ofn) ? 1 : 0;
}

int osopenfiledlgW(OsOpenDlgW* dlg) {
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  ofn.lpstrFilter = wide(dlg->filter);
  ofn.nFilterIndex = dlg->filterIndex;
  ofn.lpstrFile = wide(dlg->file);
  ofn.nMaxFile = dlg->maxFile;
  ofn.lpstrInitialDir = dlg->initialDir != nullptr ? wide(dlg->initialDir) : nullptr;
  ofn.lpstrTitle = wide(dlg->title);
  ofn.Flags = dlg->flags;
  ofn.lpstrDefExt = wide(dlg->defExt);
  return GetOpenFileNameW(&ofn) ? 1 : 0;
}

uint32_t oscommdlgerror() { return CommDlgExtendedError(); }
