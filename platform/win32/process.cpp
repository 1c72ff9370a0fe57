// process.cpp - Windows: the process, its environment and the console.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

bool systemlead(unsigned char b) { return IsDBCSLeadByte(b) != 0; }

LPWSTR wide(char16_t* s) { return reinterpret_cast<LPWSTR>(s); }

}  // namespace

const char16_t* oscommandlineW() { return reinterpret_cast<const char16_t*>(GetCommandLineW()); }

int osargA(const char* arg, char* out, size_t cap) {
  size_t n = strlen(arg);
  if (n >= cap) return -1;
  memcpy(out, arg, n + 1);
  return 0;
}

int osargW(const char* arg, char16_t* out, size_t cap) { return osansi2wide(arg, out, cap); }
// Windows names are always UTF-16: every argument can be spelled.
void osargshown(const char* arg, char* out, size_t cap) {
  size_t n = 0;
  while (arg[n] != 0 && n + 1 < cap) out[n] = arg[n], n++;
  out[n] = 0;
}

// WC_NO_BEST_FIT_CHARS: a character whose code would read back as another character
// (U+301C gives 0x8160, which reads as U+FF5E) takes the default character instead.
int oswide2ansi(const char16_t* w, char* out, size_t cap) {
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, reinterpret_cast<LPCWSTR>(w), -1,
                              out, static_cast<int>(cap), "?", nullptr);
  return n > 0 ? 0 : -1;
}

int osansi2wide(const char* a, char16_t* out, size_t cap) {
  int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, a, -1, wide(out), static_cast<int>(cap));
  return n > 0 ? 0 : -1;
}

// The program folder comes from the command line or the current directory.
int osexepath(char*, size_t) { return -1; }
int osexepathW(char16_t*, size_t) { return -1; }

// GetCurrentDirectoryA would give a best-fit name; the exact form is taken instead.
int osgetcwd(char* out, size_t cap) {
  char16_t w[MAX_PATH];
  if (osgetcwdW(w, MAX_PATH) != 0) return -1;
  return oswide2ansi(w, out, cap);
}

int osgetcwdW(char16_t* out, size_t cap) {
  DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(cap), wide(out));
  return n > 0 && n < cap ? 0 : -1;
}

void ossleep(unsigned ms) { Sleep(ms); }

char ossep() { return '\\'; }
bool osdriveletters() { return true; }
bool osoptionchar(int c) { return c == '-' || c == '/'; }

uint16_t oslangid() { return GetUserDefaultLangID(); }
uint32_t osconsolecp() { return GetConsoleOutputCP(); }
bool osisdbcslead(unsigned char b) { return systemlead(b); }

float oswinversion() {
  DWORD v = GetVersion();
  DWORD major = v & 0xFF;
  DWORD minor = (v >> 8) & 0xFF;
  float version = static_cast<float>(major + 0.1 * minor);
  if (major < 6) return version;
  // GetVersion stops at 6.2 for programs without a manifest; ntdll tells the truth.
  if (GetModuleHandleA("ntdll.dll") == nullptr) return version;
  HMODULE ntdll = LoadLibraryExA("ntdll.dll", nullptr, 0);
  if (ntdll == nullptr) return version;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto fn = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
  if (fn != nullptr) {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;  // 276 bytes
    if ((fn(&info) & 2) == 0) {
      float build = static_cast<float>(info.dwBuildNumber / 100000.0f);
      float minorpart = static_cast<float>(info.dwMinorVersion + build);
      version = static_cast<float>(info.dwMajorVersion + minorpart / 10.0f);
    }
  }
  FreeLibrary(ntdll);
  return version;
}

int ossysname(char*, size_t) { return -1; }

// The console reassembles a double-byte character split between two writes, so the
// buffer may be written wherever it fills.
void osconsoleinit() {
  conbuffer();
  setsysleadbyte(systemlead);
}
