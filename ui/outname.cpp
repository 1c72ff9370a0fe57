// outname.cpp - the names of the new files written beside a model.
#include "ui/outname.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "platform/platform.h"
#include "ui/paths.h"

namespace {

// The folder as far as the file-name part. A slash ends the file name on Windows, so
// the folder must end there too for the copy to land beside the model.
template <typename Ch>
void folderpart(Ch* dir, const Ch* path, const Ch* name) {
  size_t n = std::char_traits<Ch>::length(path) - std::char_traits<Ch>::length(name);
  memcpy(dir, path, n * sizeof(Ch));
  dir[n] = 0;
}

// dst = parts joined; false when the result does not fit a path buffer.
template <typename Ch>
bool join(Ch* dst, std::initializer_list<const Ch*> parts) {
  size_t n = 0;
  for (const Ch* part : parts) {
    size_t len = std::char_traits<Ch>::length(part);
    if (n + len >= OS_MAXPATH) return false;
    memcpy(dst + n, part, len * sizeof(Ch));
    n += len;
  }
  dst[n] = 0;
  return true;
}

}  // namespace

namespace {

// The first free name of "<folder><stem><tag><suffix><ext>" beside the model, suffix
// empty or "(1)" to "(99)"; the end is the model's own extension unless fixed is given.
int freename(const char* modelA, const char16_t* modelW, const char* tagA, const char16_t* tagW,
             const char* fixedA, const char16_t* fixedW, char* outA, char16_t* outW) {
  char dirA[OS_MAXPATH], nameA[OS_MAXPATH], stemA[OS_MAXPATH], extA[OS_MAXPATH];
  char16_t dirW[OS_MAXPATH], nameW[OS_MAXPATH], stemW[OS_MAXPATH], extW[OS_MAXPATH];
  getfname(nameA, modelA);
  folderpart(dirA, modelA, nameA);
  getext(extA, nameA);
  cutext(stemA, nameA);
  getfnameW(nameW, modelW);
  folderpart(dirW, modelW, nameW);
  getextW(extW, nameW);
  cutextW(stemW, nameW);
  const char* endA = fixedA != nullptr ? fixedA : extA;
  const char16_t* endW = fixedW != nullptr ? fixedW : extW;
  // Candidate 100 would repeat candidate 0, so 0..99 cover every name there is.
  // A missing form is no path: probing it would look at "-new" in the working folder.
  const bool hasA = modelA[0] != 0, hasW = modelW[0] != 0;
  for (int k = 0; k < 100; k++) {
    char suffixA[8] = "";
    char16_t suffixW[8] = {0};
    if (k > 0) snprintf(suffixA, sizeof suffixA, "(%d)", k);
    for (int i = 0; i < 8; i++) suffixW[i] = static_cast<char16_t>(suffixA[i]);
    bool okA = hasA && join<char>(outA, {dirA, stemA, tagA, suffixA, endA});
    bool okW = hasW && join<char16_t>(outW, {dirW, stemW, tagW, suffixW, endW});
    if (!okA) outA[0] = 0;
    if (!okW) outW[0] = 0;
    if (!okA && !okW) return -2;
    if ((okA && osexists(outA)) || (okW && osexistsW(outW))) continue;
    return 0;
  }
  return -1;
}

}  // namespace

int outputname(const char* modelA, const char16_t* modelW, char* outA, char16_t* outW) {
  return freename(modelA, modelW, "-new", u"-new", nullptr, nullptr, outA, outW);
}

int tablename(const char* modelA, const char16_t* modelW, char* outA, char16_t* outW) {
  return freename(modelA, modelW, ".names", u".names", ".csv", u".csv", outA, outW);
}
