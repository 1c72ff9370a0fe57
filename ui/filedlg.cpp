// filedlg.cpp - the File-Open dialog for MMD model files, in both path forms.
#include "ui/filedlg.h"

#include <array>

#include "text/console.h"
#include "ui/paths.h"

namespace {

// Description and pattern pairs, in the order the dialog lists them (ASCII: the UTF-16
// form is the same text widened). The preselected index 1 is the first pair's, so new
// pairs go after the first two.
struct FilterPair {
  const char* description;
  const char* pattern;
};
constexpr FilterPair kFilter[] = {
    {"MMD Model File  (*.pmx)", "*.PMX"},
    {"All Files  (*.*)", "*.*"},
    {"MMD Model File  (*.pmd)", "*.PMD"},
    {"Names Table  (*.names.csv)", "*.names.csv;*.names(*).csv"},
};

constexpr unsigned kFlags = OSOFN_PATHMUSTEXIST | OSOFN_FILEMUSTEXIST;
static_assert(kFlags == 0x1800);

struct DlgError {
  uint32_t code;
  const char* text;
};
constexpr std::array<DlgError, 15> kErrors = {{
    {0xFFFF, "CDERR_DIALOGFAILURE.\n"},
    {1, "CDERR_STRUCTSIZE.\n"},
    {2, "CDERR_INITIALIZATION.\n"},
    {3, "CDERR_NOTEMPLATE.\n"},
    {4, "CDERR_NOHINSTANCE.\n"},
    {5, "CDERR_LOADSTRFAILURE.\n"},
    {6, "CDERR_FINDRESFAILURE.\n"},
    {7, "CDERR_LOADRESFAILURE.\n"},
    {8, "CDERR_LOCKRESFAILURE.\n"},
    {9, "CDERR_MEMALLOCFAILURE.\n"},
    {10, "CDERR_MEMLOCKFAILURE.\n"},
    {11, "CDERR_NOHOOK.\n"},
    {0x3001, "FNERR_SUBCLASSFAILURE.\n"},
    {0x3002, "FNERR_INVALIDFILENAME.\n"},
    {0x3003, "FNERR_BUFFERTOOSMALL.\n"},
}};

template <typename Ch>
int length(const Ch* s) {
  int n = 0;
  while (s[n] != 0) n++;
  return n;
}

// Each string with its terminator, then the closing zero.
template <typename Ch>
void buildfilter(Ch* out) {
  int n = 0;
  for (const FilterPair& pair : kFilter) {
    for (const char* s : {pair.description, pair.pattern}) {
      for (int i = 0; s[i] != 0 && n < FILTER_MAX - 2; i++) out[n++] = static_cast<Ch>(s[i]);
      out[n++] = 0;
    }
  }
  out[n] = 0;
}

// Splits the initial path into the starting folder (nullptr when none), the proposed
// name and the preselected filter. A path too long for the buffers proposes nothing.
template <typename Ch, typename Fns>
const Ch* splitinitial(Ch* dir, Ch* file, unsigned* index, const Ch* initial, const Ch* pmx,
                       Fns fns) {
  dir[0] = 0;
  file[0] = 0;
  *index = 0;
  if (initial == nullptr || length(initial) >= DLGFILE_MAX) return nullptr;
  Ch ext[DLGFILE_MAX];
  fns.getdir(dir, initial);
  fns.cutlastsep(dir);
  fns.getfname(file, initial);
  fns.getext(ext, file);  // of the name: a dot in a folder is no extension
  if (fns.headcmpi(ext, pmx) == 0) *index = 1;
  return dir[0] != 0 ? dir : nullptr;
}

struct AnsiFns {
  int (*getdir)(char*, const char*) = ::getdir;
  int (*cutlastsep)(char*) = ::cutlastsep;
  int (*getfname)(char*, const char*) = ::getfname;
  int (*getext)(char*, const char*) = ::getext;
  int (*headcmpi)(const char*, const char*) = ::headcmpi;
};
struct WideFns {
  int (*getdir)(char16_t*, const char16_t*) = ::getdirW;
  int (*cutlastsep)(char16_t*) = ::cutlastsepW;
  int (*getfname)(char16_t*, const char16_t*) = ::getfnameW;
  int (*getext)(char16_t*, const char16_t*) = ::getextW;
  int (*headcmpi)(const char16_t*, const char16_t*) = ::headcmpiW;
};

template <typename Ch>
void copyout(Ch* out, const Ch* file) {
  if (out == nullptr) return;
  int i = 0;
  for (; i < DLGFILE_MAX - 1 && file[i] != 0; i++) out[i] = file[i];
  out[i] = 0;
}

FileDlgBufs bufsA;   // the dialog's buffers, one dialog at a time
FileDlgBufsW bufsW;

}  // namespace

void fileopenprep(OsOpenDlg* dlg, FileDlgBufs* bufs, const char* initial) {
  buildfilter(bufs->filter);
  dlg->filter = bufs->filter;
  dlg->initialDir = splitinitial(bufs->dir, bufs->file, &dlg->filterIndex, initial, ".PMX",
                                 AnsiFns{});
  dlg->file = bufs->file;
  dlg->maxFile = DLGFILE_MAX;
  dlg->title = "Open MMD Model File";
  dlg->flags = kFlags;
  dlg->defExt = "pmx";
}

void fileopenprepW(OsOpenDlgW* dlg, FileDlgBufsW* bufs, const char16_t* initial) {
  buildfilter(bufs->filter);
  dlg->filter = bufs->filter;
  dlg->initialDir = splitinitial(bufs->dir, bufs->file, &dlg->filterIndex, initial, u".PMX",
                                 WideFns{});
  dlg->file = bufs->file;
  dlg->maxFile = DLGFILE_MAX;
  dlg->title = u"Open MMD Model File";
  dlg->flags = kFlags;
  dlg->defExt = u"pmx";
}

void fileopenfailed(uint32_t code) {
  if (code == 0) {
    conputs("\nCanceled File-Open Dialog Box. ");
  } else {
    conprintf("\nFailed Opening File-Open Dialog Box: %04X ", 0u);  // the dialog's result
  }
  conprintf("(stat=%04X).\n", static_cast<unsigned>(code));
  for (const DlgError& e : kErrors) {
    if (e.code == code) conputs(e.text);
  }
}

int fileopendlgW(char16_t* out, const char16_t* initial) {
  OsOpenDlgW dlg;
  fileopenprepW(&dlg, &bufsW, initial);
  conflush();
  if (osopenfiledlgW(&dlg) != 0) {
    copyout(out, bufsW.file);
    return 0;
  }
  fileopenfailed(oscommdlgerror());
  return -1;
}

int fileopendlg(char* out, const char* initial) {
  OsOpenDlg dlg;
  fileopenprep(&dlg, &bufsA, initial);
  conflush();
  if (osopenfiledlg(&dlg) != 0) {
    copyout(out, bufsA.file);
    return 0;
  }
  fileopenfailed(oscommdlgerror());
  return -1;
}
