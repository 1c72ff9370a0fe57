// ui.cpp - Windows: message boxes and the common File-Open dialog.
#include <windows.h>
#include <commdlg.h>

#include <cstddef>

#include "platform/platform.h"

namespace {

LPCWSTR wide(const char16_t* s) { return reinterpret_cast<LPCWSTR>(s); }
LPWSTR wide(char16_t* s) { return reinterpret_cast<LPWSTR>(s); }

// The record without the Windows 2000 fields (OPENFILENAME_SIZE_VERSION_400), at the
// target's own size: 76 bytes only in a 32-bit build; any other size fails the dialog
// with CDERR_STRUCTSIZE.
constexpr DWORD kSizeA = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
constexpr DWORD kSizeW = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
static_assert(kSizeA < sizeof(OPENFILENAMEA) && kSizeW < sizeof(OPENFILENAMEW));
static_assert(sizeof(void*) != 4 || kSizeW == 76);

}  // namespace

int osmsgbox(const char* text, const char* caption, unsigned kind) {
  return MessageBoxA(nullptr, text, caption, kind);
}

int osmsgboxW(const char16_t* text, const char16_t* caption, unsigned kind) {
  return MessageBoxW(nullptr, wide(text), wide(caption), kind);
}

int osopenfiledlg(OsOpenDlg* dlg) {
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = kSizeA;
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
  ofn.lStructSize = kSizeW;
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
