// tablewrite.cpp - writing the names table of a copy, and the names of its columns' values.
#include <array>
#include <cstdio>
#include <cstring>

#include "io/binfile.h"
#include "io/savefile.h"
#include "names/nametable.h"
#include "table/table.h"
#include "text/console.h"

namespace {

// In NameKind order.
constexpr std::array<const char*, 8> kKindNames = {
    "bone", "morph", "frame", "model", "material", "rigid body", "joint", "soft body",
};
static_assert(kKindNames.size() == static_cast<size_t>(NameKind::softbody) + 1);

// In NameSource order.
constexpr std::array<const char*, 8> kSourceNames = {
    "kept", "repaired", "english rule", "rule", "standard", "dictionary", "copied", "table",
};
static_assert(kSourceNames.size() == static_cast<size_t>(NameSource::table) + 1);

constexpr char kHeader[] = "\xEF\xBB\xBFkind,index,japanese,english,original,source\r\n";

uint8_t shown[NT_SHOWMAX];

// A field, quoted when it holds a comma, a quote or a line end, or starts or ends with
// a blank (which some programs would drop); quotes inside are doubled.
void putfield(const uint8_t* s, int len) {
  bool quote = len > 0 && (s[0] == ' ' || s[len - 1] == ' ');
  for (int i = 0; i < len && !quote; i++) {
    quote = s[i] == ',' || s[i] == '"' || s[i] == '\r' || s[i] == '\n';
  }
  if (quote) wfputc('"');
  for (int i = 0; i < len; i++) {
    if (s[i] == '"') wfputc('"');
    wfputc(s[i]);
  }
  if (quote) wfputc('"');
}

void puttext(const NtRow& row, NtText which) {
  int n = ntshow(shown, sizeof shown, nttext(row, which), row.len[which]);
  putfield(shown, n > 0 ? n : 0);
  wfputc(',');
}

template <typename Ch>
bool istablename(const Ch* name, int* stemlen) {
  auto lower = [](Ch c) { return c >= 'A' && c <= 'Z' ? static_cast<Ch>(c + 32) : c; };
  auto endswith = [&](int end, const char* tail) {
    int n = static_cast<int>(strlen(tail));
    if (end < n) return false;
    for (int i = 0; i < n; i++) {
      if (lower(name[end - n + i]) != static_cast<Ch>(tail[i])) return false;
    }
    return true;
  };
  int end = 0;
  while (name[end] != 0) end++;
  if (!endswith(end, ".csv")) return false;
  end -= 4;
  if (end > 0 && name[end - 1] == ')') {
    int open = end - 2;
    while (open >= 0 && name[open] >= '0' && name[open] <= '9') open--;
    if (open < 0 || open == end - 2 || name[open] != '(') return false;
    end = open;
  }
  if (!endswith(end, ".names")) return false;
  *stemlen = end - 6;
  return *stemlen > 0;
}

}  // namespace

const char* tbkindname(NameKind kind) { return kKindNames[static_cast<size_t>(kind)]; }
const char* tbsourcename(NameSource source) { return kSourceNames[static_cast<size_t>(source)]; }

bool tbisname(const char* name, int* stemlen) { return istablename(name, stemlen); }
bool tbisnameW(const char16_t* name, int* stemlen) { return istablename(name, stemlen); }

int tbwrite(char* outA, char16_t* outW, const char* modelA, const char16_t* modelW, int useW) {
  if (!ntwhole()) {
    conputs("The names table cannot hold every name of this model: it was not written. \n");
    return -1;
  }
  if (!wfopentemp(outA, outW, useW)) return -1;
  wfwrite(kHeader, static_cast<int32_t>(sizeof kHeader - 1));
  for (int r = 0; r < ntcount() && wferror() == 0; r++) {
    const NtRow& row = ntrow(r);
    char head[64];
    int n = snprintf(head, sizeof head, "%s,%ld,", tbkindname(row.kind), static_cast<long>(row.index));
    wfwrite(head, n);
    puttext(row, NT_JP);
    puttext(row, NT_EN);
    puttext(row, NT_ORIG);
    const char* source = tbsourcename(row.source);
    wfwrite(source, static_cast<int32_t>(strlen(source)));
    wfwrite("\r\n", 2);
  }
  if (wfflush() != 0 || wferror() != 0) {
    wfdiscard();
    return -1;
  }
  return wfcommitfree(outA, outW, modelA, modelW, useW, true) ? 0 : -1;
}
