// pmdmodel.cpp - the one PMD model of the run and its name fields.
#include "pmd/pmdmodel.h"

#include <cstring>

#include "names/namelist.h"

PmdModel pmdModel;
bool pmdFillModelName = false;

void pmdsetfillmodelname(bool on) { pmdFillModelName = on; }

void pmdfieldtext(char* dst, const uint8_t* field, int width) {
  size_t n = strnlen(reinterpret_cast<const char*>(field), static_cast<size_t>(width));
  memcpy(dst, field, n);
  dst[n] = 0;
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
