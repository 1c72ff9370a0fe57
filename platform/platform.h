// platform.h - the operating-system layer: the only code that talks to Windows or POSIX.
//
// One implementation per system: platform/win32/*.cpp and platform/posix/*.cpp. On POSIX
// the layer behaves as a Japanese Windows would: ANSI paths are Shift-JIS (code page
// 932) and are converted to UTF-8 at the OS boundary, UTF-16 paths likewise, error codes
// are Windows codes, and the console takes Shift-JIS.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr int OS_MAXPATH = 260;  // path buffers, terminator included

// Windows error codes that the program's messages expect.
constexpr uint32_t OSERR_FILE_NOT_FOUND = 2;
constexpr uint32_t OSERR_PATH_NOT_FOUND = 3;
constexpr uint32_t OSERR_ACCESS_DENIED = 5;
constexpr uint32_t OSERR_INVALID_NAME = 123;

// ---- Files by UTF-16 path ("handle mode") -------------------------------------------
using oshandle = intptr_t;
constexpr oshandle OS_NOHANDLE = -1;

// Opens an existing file for reading, no sharing. On failure returns OS_NOHANDLE and
// stores the Windows error code in *err.
oshandle osopenreadW(const char16_t* path, uint32_t* err);
// Creates a new file for writing, no sharing: a name that is taken by anything (a file,
// a link, a pipe, a folder) fails with code 80 and is not touched. The file is locked
// against other runs while it is open.
constexpr uint32_t OSERR_FILE_EXISTS = 80;
constexpr uint32_t OSERR_NAME_TOO_LONG = 206;
oshandle osopenwriteW(const char16_t* path, uint32_t* err);
// Reads up to n bytes; *got = 0 at the end of the file. 0 on success, -1 on failure.
int osread(oshandle h, void* buf, uint32_t n, uint32_t* got);
// Writes n bytes; *put tells how many went out. 0 on success, -1 on failure.
int oswrite(oshandle h, const void* buf, uint32_t n, uint32_t* put);
// Moves the file position (from the start, or from the current position) and returns
// the new position, or -1 on failure.
int64_t osseek(oshandle h, int64_t offset, bool fromCurrent);
// 0 on success, -1 on failure.
int osclose(oshandle h);
// Last error code of the layer, as a Windows code.
uint32_t oslasterror();

// ---- Files by ANSI path ("stream mode") ---------------------------------------------
// fopen of a Shift-JIS path, "rb" or "wb"; "wb" creates a new file as osopenwriteW does.
// On POSIX a path holding '?' or '*' fails.
FILE* osfopen(const char* path, const char* mode);

// Removes a file; 0 on success, -1 on failure.
int osremove(const char* path);
int osremoveW(const char16_t* path);

// Pushes what the system holds of a file to the disk (fsync / FlushFileBuffers), so a
// power cut after a rename cannot leave the new name on missing data. 0 or -1.
int osfsync(oshandle h);
int osfsyncstream(FILE* stream);  // after fflush
// Gives a file written through the open stream or handle a new name in the same
// folder, never replacing anything that has that name (code 80 then). 0, or -1 with
// oslasterror. The file is still open: it is closed afterwards.
int osrenamenew(FILE* stream, const char* from, const char* to);
int osrenamenewW(oshandle h, const char16_t* from, const char16_t* to);
// The same, but a file that has the name is replaced in one step (it is never opened).
int osrenameover(FILE* stream, const char* from, const char* to);
int osrenameoverW(oshandle h, const char16_t* from, const char16_t* to);
// Removes the leftover of a run that was cut off: only a plain file with no other name
// that no running program is writing. 0 when it was removed or nothing has the name,
// -1 when something else has it (left alone).
int osclearstale(const char* path);
int osclearstaleW(const char16_t* path);
// True when any folder entry has the name: a file, a folder, a link (dangling too).
bool osexists(const char* path);
bool osexistsW(const char16_t* path);
// The identity of a file, the same however the path names it (device and inode;
// volume serial and file index). 0, or -1 when it cannot be opened.
struct OsFileId {
  uint64_t volume;
  uint64_t file;
};
int osfileid(const char* path, OsFileId* id);
int osfileidW(const char16_t* path, OsFileId* id);

// ---- Read-only file mapping ---------------------------------------------------------
// The whole of an existing file mapped for reading: only the pages the program reads are
// brought in. The file stays open (h) so that the same file can also be read with osread
// while it is mapped; an empty file maps as size 0. The file is opened with read sharing
// only: on Windows no one can change it while it is mapped.
struct OsMapping {
  const unsigned char* bytes;
  uint64_t size;
  oshandle h;
};
// 0, or -1 with the Windows error code in *err (a folder is 5, ACCESS_DENIED).
int osmapread(const char* path, OsMapping* m, uint32_t* err);
int osmapreadW(const char16_t* path, OsMapping* m, uint32_t* err);
void osunmap(OsMapping* m);
// The size of a file in bytes, or -1 when there is none that can be opened.
int64_t osfilesize(const char* path);
int64_t osfilesizeW(const char16_t* path);

// ---- Directory search (FindFirstFile / FindNextFile) --------------------------------
// One search at a time. osfindfirst returns 0 and the first match's stored name (no
// folder) and whether it is a folder, or -1 when nothing matches. The pattern may hold
// the wildcards '*' and '?' in its last component.
int osfindfirst(const char* pattern, char* name, size_t cap, bool* isdir);
int osfindfirstW(const char16_t* pattern, char16_t* name, size_t cap, bool* isdir);
int osfindnext(char* name, size_t cap, bool* isdir);
int osfindnextW(char16_t* name, size_t cap, bool* isdir);
void osfindclose();

// ---- Folder listing ----------------------------------------------------------------
// One listing at a time, in the order the system keeps (not sorted); "." and ".." are
// left out. A link is taken as what it points to, except that a link to a folder is
// never entered: it comes as OSENTRY_OTHER, like devices and broken links.
constexpr int OSENTRY_FILE = 0;
constexpr int OSENTRY_FOLDER = 1;
constexpr int OSENTRY_OTHER = 2;
// A file or folder whose name the system cannot spell in UTF-16 (POSIX: bytes that are
// not UTF-8): the name comes in a shown form only, such bytes as "\xFF", never a path.
constexpr int OSENTRY_BADFILE = 3;
constexpr int OSENTRY_BADFOLDER = 4;
// True when the path names an existing folder (through a link too).
bool osisfolderW(const char16_t* path);
// 0 when the folder's listing is open, -1 when it cannot be read.
int oslistopenW(const char16_t* folder);
// The next entry's name (no folder) and kind; -1 at the end, or -2 when the listing
// could not be read to its end. Names that do not fit cap are passed over.
int oslistnextW(char16_t* name, size_t cap, int* kind);
void oslistclose();

// ---- Process ----------------------------------------------------------------------
// The process's UTF-16 command line (Windows), or nullptr where there is none (POSIX:
// the UTF-16 argument list is then built from argv with osargW).
const char16_t* oscommandlineW();
// One argv entry in the ANSI code page (POSIX: UTF-8 to Shift-JIS, '?' for a character
// without a code) and in UTF-16. Both return 0, -1 when the entry does not fit, or -2
// when it is not valid UTF-8 (POSIX): such a name cannot be spelled, only shown.
// osargshown gives that shown form: printable ASCII as it is, other bytes as "\xFF".
int osargA(const char* arg, char* out, size_t cap);
int osargW(const char* arg, char16_t* out, size_t cap);
void osargshown(const char* arg, char* out, size_t cap);
// The ANSI form of a UTF-16 name: a character that does not convert back to itself
// exactly (no code, or only a look-alike's) stands as '?', so that the ANSI form never
// names another file. -1 when it does not fit.
int oswide2ansi(const char16_t* w, char* out, size_t cap);
// An ANSI name in UTF-16. -1 when a code has no character or it does not fit.
int osansi2wide(const char* a, char16_t* out, size_t cap);
// The running executable's full path, or -1 where the system does not tell it.
int osexepath(char* out, size_t cap);
int osexepathW(char16_t* out, size_t cap);
// GetCurrentDirectoryA / W: 0 on success, -1 on failure (out without a trailing separator).
int osgetcwd(char* out, size_t cap);
int osgetcwdW(char16_t* out, size_t cap);
void ossleep(unsigned ms);

// The folder separator of paths: '\\' on Windows, '/' on POSIX.
char ossep();
// True where a path may start with a drive letter ("C:").
bool osdriveletters();
// True when the character starts an option group on this system ('-', and '/' on Windows).
bool osoptionchar(int c);

// ---- Environment of the run ---------------------------------------------------------
uint16_t oslangid();             // GetUserDefaultLangID: 0x0411 Japanese
uint32_t osconsolecp();          // GetConsoleOutputCP
bool osisdbcslead(unsigned char b);  // IsDBCSLeadByte of the ANSI code page
// Windows: GetVersion refined by RtlGetVersion. POSIX: 0.
float oswinversion();
// POSIX: "sysname release" from uname, returns 0. Windows: -1 (the version number is used).
int ossysname(char* out, size_t cap);
// Installs the console sink (and the lead-byte test) of this system. Called once at start.
void osconsoleinit();

// ---- User interface -----------------------------------------------------------------
constexpr unsigned OSMB_OK = 0x0;
constexpr unsigned OSMB_OKCANCEL = 0x1;
constexpr unsigned OSMB_ICONINFORMATION = 0x40;
constexpr unsigned OSMB_TOPMOST = 0x40000;
constexpr int OSID_OK = 1;
// MessageBoxA / MessageBoxW with no owner. Returns the button pressed, 0 on failure.
int osmsgbox(const char* text, const char* caption, unsigned kind);
int osmsgboxW(const char16_t* text, const char16_t* caption, unsigned kind);

// File-Open dialog parameters (the fields of OPENFILENAME that the program sets).
struct OsOpenDlg {
  const char* filter;      // pairs of zero-terminated strings, ended by an extra zero
  unsigned filterIndex;
  char* file;              // in: proposed name; out: chosen full path
  unsigned maxFile;
  const char* initialDir;  // nullptr: none
  const char* title;
  unsigned flags;
  const char* defExt;
};
struct OsOpenDlgW {
  const char16_t* filter;
  unsigned filterIndex;
  char16_t* file;
  unsigned maxFile;
  const char16_t* initialDir;
  const char16_t* title;
  unsigned flags;
  const char16_t* defExt;
};
constexpr unsigned OSOFN_PATHMUSTEXIST = 0x800;
constexpr unsigned OSOFN_FILEMUSTEXIST = 0x1000;
// GetOpenFileNameA / W: non-zero when a file was chosen.
int osopenfiledlg(OsOpenDlg* dlg);
int osopenfiledlgW(OsOpenDlgW* dlg);
// CommDlgExtendedError: 0 when the user cancelled.
uint32_t oscommdlgerror();
