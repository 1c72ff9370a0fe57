// pmdmodel.cpp - the one PMD model of the run and its name fields.
#include "pmd/pmdmodel.h"

#include <cstring>

#include "names/namelist.h"
#include "text/sjis.h"

PmdModel pmdModel;
bool pmdFillModelName = false;

void pmdsetfillmodelname(bool on) { pmdFillModelName = on; }

void pmdfieldtext(char* dst, const uint8_t* field, int width) {
  size_t n = strnlen(reinterpret_cast<const char*>(field), static_cast<size_t>(width));
  memcpy(dst, field, n);
  dst[n] = 0;
}

void pmdframename(char* dst, const uint8_t* field) {
  pmdfieldtext(dst, field, PMD_FRAMELEN);
  size_t len = strlen(dst);
  if (len > 0 && dst[len - 1] == '\n') dst[len - 1] = 0;
}

bool pmdtextexact(const char* sjis) {
  // A field holds at most PMD_COMMENTLEN bytes: one unit, and back two bytes, for each.
  static char16_t units[PMD_COMMENTLEN + 2];
  static char back[2 * PMD_COMMENTLEN + 2];
  if (strlen(sjis) > PMD_COMMENTLEN) return false;
  sjis2unistrc(units, sjis);
  unistr2sjisc(back, units);
  return strcmp(back, sjis) == 0;
}

int pmdcut(const char* s, int max) {
  int i = 0;
  while (s[i] != 0) {
    int k = names::isleadbyte(s[i]) && s[i + 1] != 0 ? 2 : 1;
    if (i + k > max) break;
    i += k;
  }
  return i;
}
