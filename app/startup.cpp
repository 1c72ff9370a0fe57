// startup.cpp - settling the environment of a run before any model is touched.
#include "app/startup.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/args.h"
#include "app/datafiles.h"
#include "io/binfile.h"
#include "setup/settings.h"
#include "setup/setupfile.h"
#include "text/console.h"
#include "text/sjis.h"
#include "ui/paths.h"

char progDir[OS_MAXPATH];
char16_t progDirW[OS_MAXPATH];
char dataDir[OS_MAXPATH];
char16_t dataDirW[OS_MAXPATH];

namespace {

constexpr uint16_t LANG_JAPANESE = 0x0411;
constexpr uint32_t CP_SJIS = 932;
constexpr uint32_t CP_UTF8 = 65001;

// Highest threshold first; the value is a float widened to double.
struct VersionName {
  double atLeast;
  const char* text;
};
constexpr VersionName versionNames[] = {
    {6.3, " on Windows 8.1 "},  {6.2, " on Windows 8 "},  {6.1, " on Windows 7 "},
    {6.0, " on Windows Vista "}, {5.2, " on Windows XP "}, {5.1, " on Windows 2000 "},
};

}  // namespace

void langmodeset(uint16_t langid, uint32_t consolecp, bool dbcssystem) {
  Lang.japanese = false;
  Lang.sjisConsole = false;
  Lang.utf8Console = false;
  Lang.consoleCp = consolecp;
  if (langid != LANG_JAPANESE) return;
  Lang.japanese = true;
  if (consolecp == CP_UTF8) {
    Lang.utf8Console = true;
  } else if (dbcssystem && consolecp == CP_SJIS) {
    Lang.sjisConsole = true;
  }
}

void versiontext(char* out, size_t cap, float version) {
  double v = version;
  if (v >= 10.0) {
    snprintf(out, cap, " on Windows %g ", v);
    return;
  }
  for (const VersionName& name : versionNames) {
    if (v >= name.atLeast) {
      snprintf(out, cap, "%s", name.text);
      return;
    }
  }
  snprintf(out, cap, " on Windows 95-98,Me ");
}

void startbanner() {
  langmodeset(oslangid(), osconsolecp(), osisdbcslead(0x92));
  conflush();
  ossleep(500);
  conprintf("Namewright  V1.06\n");

  char system[128];
  char sysname[96];
  if (ossysname(sysname, sizeof sysname) == 0) {
    snprintf(system, sizeof system, " on %s ", sysname);
  } else {
    versiontext(system, sizeof system, oswinversion());
  }
  conputs(system);

  if (langjapanese()) {
    char label[64];
    utf82sjisc(label, reinterpret_cast<const char*>(u8"(日本語環境) "));
    conputs(label);
  } else if (Lang.japanese && Lang.utf8Console) {
    char sjis[64];
    char utf8[128];
    utf82sjisc(sjis, reinterpret_cast<const char*>(u8"(UTF-8日本語環境) "));
    sjis2utf8c(utf8, sjis);
    conprintf("%s", utf8);
  } else {
    conputs("(English mode) ");
  }
  conputs("\n");
}

namespace {

// One form of the program folder: the folder part of argument 0, else the folder of
// the running executable, else the current directory with a separator appended.
template <typename Ch>
void folderof(Ch* dir, const Ch* arg0, size_t arg0len, int (*getdirfn)(Ch*, const Ch*),
              int (*exepathfn)(Ch*, size_t), int (*cwdfn)(Ch*, size_t)) {
  Ch exe[OS_MAXPATH];
  dir[0] = 0;
  if (arg0len < OS_MAXPATH) getdirfn(dir, arg0);
  if (dir[0] == 0 && exepathfn(exe, OS_MAXPATH) == 0) getdirfn(dir, exe);
  if (dir[0] != 0) return;
  if (cwdfn(dir, OS_MAXPATH - 1) != 0) {
    dir[0] = 0;
    conputs("(Obtaining exe dir failed.) \n");
    return;
  }
  size_t n = 0;
  while (dir[n] != 0) n++;
  if (n > 0 && dir[n - 1] != static_cast<Ch>(ossep())) {
    dir[n] = static_cast<Ch>(ossep());
    dir[n + 1] = 0;
  }
}

}  // namespace

void progdirset() {
  folderof<char16_t>(progDirW, arggetW(0), static_cast<size_t>(unistrlen(arggetW(0))), getdirW,
                     osexepathW, osgetcwdW);
  folderof<char>(progDir, argget(0), strlen(argget(0)), getdir, osexepath, osgetcwd);
}

namespace {

// A folder and a file name in it; the file's name fits beside any folder.
constexpr size_t kFileMax = 2 * OS_MAXPATH;

// dir + name in both forms into buffers of cap units; false when either does not fit.
bool joinpath(char* a, char16_t* w, size_t cap, const char* dirA, const char16_t* dirW,
              const char* name) {
  const size_t na = strlen(dirA), nw = static_cast<size_t>(unistrlen(dirW)), len = strlen(name);
  if (na + len >= cap || nw + len >= cap) return false;
  memcpy(a, dirA, na);
  memcpy(a + na, name, len + 1);
  for (size_t i = 0; i < nw; i++) w[i] = dirW[i];
  for (size_t i = 0; i <= len; i++) w[nw + i] = static_cast<char16_t>(name[i]);
  return true;
}

bool holdsdata(const char* dirA, const char16_t* dirW) {
  char a[kFileMax];
  char16_t w[kFileMax];
  for (const char* name : kDataFiles) {
    if (!joinpath(a, w, kFileMax, dirA, dirW, name)) continue;
    if (rftryopen(a) == 0 || rftryopenW(w) == 0) {
      rfclose();
      return true;
    }
  }
  return false;
}

}  // namespace

void datadirset() {
  memcpy(dataDir, progDir, sizeof dataDir);
  unistrcpy(dataDirW, progDirW);
  if (kDataFromProgram[0] == 0 || holdsdata(progDir, progDirW)) return;
  char a[OS_MAXPATH];
  char16_t w[OS_MAXPATH];
  if (joinpath(a, w, OS_MAXPATH, progDir, progDirW, kDataFromProgram) && holdsdata(a, w)) {
    memcpy(dataDir, a, sizeof dataDir);
    unistrcpy(dataDirW, w);
  }
}

void setupread() {
  char pathA[kFileMax];
  char16_t pathW[kFileMax];
  if (!joinpath(pathA, pathW, kFileMax, dataDir, dataDirW, "modsetup.ini")) return;
  if (readsetup(pathA) == 0 || readsetupW(pathW) == 0) conputs(" -- modsetup.ini read-in. \n");
}

namespace {

// strtol from p with Windows' 32-bit long: out-of-range values clamp at -2^31 and
// 2^31 - 1 on every build. *p moves behind the last digit, or stays when there is none.
int32_t number(const char*& p) {
  char* end = nullptr;
  long long v = strtoll(p, &end, 10);
  p = end;
  return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

bool isdigitc(char c) { return c >= '0' && c <= '9'; }

int upper(char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : static_cast<unsigned char>(c); }

void skipeq(const char*& p) {
  if (*p == '=') p++;
}

}  // namespace

void optiongroup(const char* group, bool apply) {
  // The second reading parses into a scratch copy so that nothing changes.
  InfoSettings info = Info;
  ForceSettings force = Force;
  ConvSettings conv = Conv;
  CancelSettings cancel = Cancel;
  FillSettings fill = Fill;
  TableSettings table = Table;
  float accuracy = Accuracy;

  const char* p = group;
  while (*p != 0) {
    char c = *p++;
    switch (upper(c)) {
      case '-':
      case '/':
        break;
      case 'D':
        skipeq(p);
        info.displayLevel = static_cast<int8_t>(number(p));
        conprintf("Info.displayLevel = %ld. \n", static_cast<long>(info.displayLevel));
        break;
      case 'E':
        if (upper(*p) == 'A') p++;
        skipeq(p);
        {
          char* end = nullptr;
          accuracy = static_cast<float>(strtod(p, &end));
          p = end;
        }
        conprintf("ErrorAdmittance = %g \n", static_cast<double>(accuracy));
        break;
      case 'F':
        skipeq(p);
        force.display = isdigitc(*p) ? static_cast<int8_t>(number(p)) : int8_t{-1};
        conprintf("Force.display = %ld. \n", static_cast<long>(force.display));
        break;
      case 'M':
        skipeq(p);
        conv.mode = static_cast<int8_t>(number(p));
        conprintf("Conv.mode = %ld. \n", static_cast<long>(conv.mode));
        break;
      case 'N':
        if (upper(*p) == 'D') {
          p++;
          skipeq(p);
          cancel.displaying.dialogue = isdigitc(*p) ? static_cast<int8_t>(number(p)) : int8_t{1};
          conprintf("Cancel.displaying.dialogue = %d \n", cancel.displaying.dialogue);
        } else {
          skipeq(p);
          number(p);
        }
        break;
      case 'O':
        skipeq(p);
        fill.everyKind = !isdigitc(*p) || number(p) != 0 ? FLAG_ON : FLAG_OFF;
        conputs(fill.everyKind != 0 ? "Fill.everyKind = ON \n" : "Fill.everyKind = OFF \n");
        break;
      case 'V':
        skipeq(p);
        table.write = !isdigitc(*p) || number(p) != 0 ? FLAG_ON : FLAG_OFF;
        conputs(table.write != 0 ? "Table.write = ON \n" : "Table.write = OFF \n");
        break;
      case 'J':
        skipeq(p);
        table.remember = !isdigitc(*p) || number(p) != 0 ? FLAG_ON : FLAG_OFF;
        conputs(table.remember != 0 ? "Table.remember = ON \n" : "Table.remember = OFF \n");
        break;
      default: {
        int byte = static_cast<signed char>(c);
        conprintf("\nOption error: <%c> %02X", byte, static_cast<unsigned>(byte));
        break;
      }
    }
  }
  if (!apply) return;
  Info = info;
  Force = force;
  Conv = conv;
  Cancel = cancel;
  Fill = fill;
  Table = table;
  Accuracy = accuracy;
}
