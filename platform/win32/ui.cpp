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
constexpr DWORD kSizeW = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
static_assert(kSizeW < sizeof(OPENFILENAMEW));
static_assert(sizeof(void*) != 4 || kSizeW == 76);

}  // namespace

int osmsgbox(const char* text, const char* caption, unsigned kind) {
  return MessageBoxA(nullptr, text, caption, kind);
}

int osmsgboxW(const char16_t* text, const char16_t* caption, unsigned kind) {
  return MessageBoxW(nullptr, wide(text), wide(caption), kind);
}

// The ANSI dialog runs as the UTF-16 one: GetOpenFileNameA would hand back a best-fit
// path, which may name another file; the chosen path gets its exact ANSI form instead.
int osopenfiledlg(OsOpenDlg* dlg) {
  static char16_t filter[16384], file[MAX_PATH], initialDir[MAX_PATH], title[256], defExt[16];
  // The filter is a list of strings ended by an empty one: convert it whole.
  int flen = 0;
  while (flen + 1 < 16384 && (dlg->filter[flen] != 0 || dlg->filter[flen + 1] != 0)) flen++;
  if (MultiByteToWideChar(CP_ACP, 0, dlg->filter, flen + 2, wide(filter), 16384) == 0) return 0;
  unsigned maxFile = dlg->maxFile < MAX_PATH ? dlg->maxFile : MAX_PATH;
  if (osansi2wide(dlg->file, file, maxFile) != 0 || osansi2wide(dlg->title, title, 256) != 0 ||
      osansi2wide(dlg->defExt, defExt, 16) != 0) {
    return 0;
  }
  bool hasDir = dlg->initialDir != nullptr && osansi2wide(dlg->initialDir, initialDir, MAX_PATH) == 0;
  OsOpenDlgW w = {filter, dlg->filterIndex, file, maxFile, hasDir ? initialDir : nullptr,
                  title, dlg->flags, defExt};
  if (osopenfiledlgW(&w) == 0) return 0;
  return oswide2ansi(file, dlg->file, dlg->maxFile) == 0 ? 1 : 0;
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
