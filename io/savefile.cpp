// savefile.cpp - the save of a new model: a temporary file created new beside the output,
// renamed to the output name when whole, never over anything that has that name.
#include "io/savefile.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "io/binfile.h"
#include "io/rfcheck.h"
#include "platform/platform.h"
#include "text/console.h"
#include "text/sjis.h"
#include "ui/outname.h"

namespace {

constexpr int kTempTries = 100;
constexpr size_t kPathUnits = 1040;
char tempA[kPathUnits + 16];
char16_t tempW[kPathUnits + 16];
char shown[kPathUnits];
char shownSrc[kPathUnits];

bool failed;
int marks[SG_COUNT];

bool lead(char c) { return osisdbcslead(static_cast<unsigned char>(c)); }
bool lead(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The temporary name of try k. With cut, as many characters as the suffix has are
// taken off the end of the file name, so that it fits wherever the output name fits.
template <typename Ch>
bool tempname(Ch* dst, size_t cap, const Ch* out, int k, bool cut) {
  char suffix[16];
  snprintf(suffix, sizeof suffix, k == 0 ? ".part" : ".%d.part", k);
  const size_t slen = strlen(suffix);
  size_t n = 0, name = 0;
  while (out[n] != 0) {
    if (out[n] == static_cast<Ch>(ossep()) || out[n] == static_cast<Ch>('/')) name = n + 1;
    n++;
  }
  if (cut) {
    // Character starts of the file name, so that no character is split.
    size_t starts[kPathUnits];
    size_t count = 0;
    for (size_t i = name; i < n && count < kPathUnits; i += lead(out[i]) && out[i + 1] != 0 ? 2 : 1) {
      starts[count++] = i;
    }
    if (count <= slen) return false;
    n = starts[count - slen];
  }
  if (n + slen + 1 > cap) return false;
  for (size_t i = 0; i < n; i++) dst[i] = out[i];
  for (size_t i = 0; i <= slen; i++) dst[n + i] = static_cast<Ch>(suffix[i]);
  return true;
}

}  // namespace

bool wfopentemp(const char* outA, const char16_t* outW, int useW) {
  for (int k = 0; k < kTempTries; k++) {
    for (bool cut : {false, true}) {
      bool named = useW ? tempname(tempW, std::size(tempW), outW, k, cut)
                        : tempname(tempA, sizeof tempA, outA, k, cut);
      if (!named) {
        conputs("Path too long for the new file. \n");
        return false;
      }
      if (useW) {
        osclearstaleW(tempW);
      } else {
        osclearstale(tempA);
      }
      int r = useW ? wfcreateW(tempW) : wfcreate(tempA);
      if (r == 0) return true;
      if (r < 0) return false;
      if (r == 1) break;  // taken: the next k
      if (cut) {
        conputs("Path too long for the new file. \n");
        return false;
      }
    }
  }
  conputs("No free temporary name for the new file. \n");
  return false;
}

bool wfcommitfree(char* outA, char16_t* outW, const char* srcA, const char16_t* srcW, int useW,
                  bool table) {
  for (int tries = 0; tries < kTempTries; tries++) {
    int r = useW ? wfcommitW(outW) : wfcommit(outA);
    if (r <= 0) return r == 0;
    auto next = table ? tablename : outputname;
    if (next(srcA != nullptr ? srcA : "", srcW != nullptr ? srcW : u"", outA, outW) != 0 ||
        (useW ? outW[0] : outA[0]) == 0) {
      break;
    }
    if (useW) unistr2sjis(shown, outW);
    conprintf("The name was taken meanwhile; writing to: %s \n", useW ? shown : outA);
  }
  conputs(table ? "No free name for the names table (.names to .names(99) are taken). \n"
                : "No free output name (-new to -new(99) are taken): nothing was written. \n");
  wfdiscard();
  return false;
}


bool wfsavebegin(const char* outA, const char16_t* outW, const char* srcA, const char16_t* srcW,
                 int useW) {
  if (useW) {
    unistr2sjis(shownSrc, srcW);
    unistr2sjis(shown, outW);
  }
  conprintf("Reading from: %s \n", useW ? shownSrc : srcA);
  conprintf("Writing to  : %s \n", useW ? shown : outA);
  failed = false;
  for (int& m : marks) m = 0;
  if ((useW ? rfopenW(srcW) : rfopen(srcA)) != 0) return false;
  if (!wfopentemp(outA, outW, useW)) {
    rfclose();
    return false;
  }
  conputs(" scanning ... \n");
  conputs("\n");
  return true;
}

int wfsavecopyto(int32_t offset) {
  int32_t n = offset - rftell();
  if (n < 0) return wfsavesrcchanged();
  int32_t got = wfcopybytes(n);
  if (got < 0) {
    failed = true;
    return -1;
  }
  return got == n ? 0 : wfsavesrcchanged();
}

int wfsavesrcchanged() {
  conputs("Err: the source file changed after it was read. \n");
  failed = true;
  return -1;
}

int wfsavewritten() { return wferror() == 0 ? 0 : wfsavewritefailed(); }

int wfsavewritefailed() {
  conputs("Error writing file. \n");
  failed = true;
  return -1;
}

bool wfsavefailed() { return failed; }
void wfsavemark(SaveGroup group) { marks[group]++; }
int wfsavemarks(SaveGroup group) { return marks[group]; }

int wfsaveend(char* outA, char16_t* outW, const char* srcA, const char16_t* srcW, int useW) {
  int changes = 0;
  for (int m : marks) changes += m;
  if (!failed && changes == 0) {
    rfclose();
    wfdiscard();
    conputs("No name would change: no copy was written. \n");
    conputs("\n");
    return 1;
  }
  int32_t rest = failed ? -1 : wfcopyrest();
  if (rest < 0) {
    conputs("Failed in writing to end. \n");
    failed = true;
  } else if (rcsize() >= 0 && rftell() != rcsize()) {
    wfsavesrcchanged();
  }
  // Buffered bytes still have to reach the disk before the copy counts as written.
  if (!failed && (wfflush() != 0 || wferror() != 0)) failed = true;
  rfclose();
  // The copy takes the output name only once all of it is on the disk.
  if (!failed && !wfcommitfree(outA, outW, srcA, srcW, useW)) failed = true;
  if (failed) wfdiscard();
  conputs("\n");
  return failed ? -1 : 0;
}

char wfgivenA[OS_MAXPATH];
char16_t wfgivenW[OS_MAXPATH];

void wfgiven(const char* outA, const char16_t* outW) {
  wfgivenA[0] = 0;
  wfgivenW[0] = 0;
  if (outA != nullptr) snprintf(wfgivenA, sizeof wfgivenA, "%s", outA);
  if (outW != nullptr) {
    size_t n = 0;
    for (; outW[n] != 0 && n + 1 < OS_MAXPATH; n++) wfgivenW[n] = outW[n];
    wfgivenW[n] = 0;
  }
}
