// nwnamegen.cpp - nwnamegen: the generated English names of Japanese names, one per line,
// for measuring the dictionary and the rules.
//
//   nwnamegen [--dict FILE] [--alias FILE] [--lang] < names
// A dictionary FILE ending in ".bin" is read as a compiled one.
// Input lines: kind TAB japanese [TAB ...] (kind bone, morph, frame, material, rigid (a
// rigid body) or model (the model's own name); UTF-8; '#' lines skipped). Output
// lines: kind TAB japanese TAB english, and with --lang TAB ja or zh, the language the
// name was read in. Every name stands on its own.
#include <cstdio>
#include <cstring>
#include <string>

#include "names/dict.h"
#include "names/namegen.h"
#include "names/namelist.h"
#include "names/rules.h"
#include "setup/settings.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

void tostderr(const char* bytes, size_t n) { fwrite(bytes, 1, n, stderr); }
void nowhere(const char*, size_t) {}

constexpr int kLine = 8192;
constexpr int kNameMax = 254;  // bytes of a name field

char16_t wide[kLine];
char lineBuf[kLine];
char sjis[kLine * 2];
char gen[REP_BUFSIZE];
char utf8[REP_BUFSIZE * 3 + 4];

int usage() {
  fputs("usage: nwnamegen [--dict FILE] [--alias FILE] [--lang] < lines of kind TAB japanese\n",
        stderr);
  return 2;
}

// Cuts a Shift-JIS text to at most max bytes, never inside a character.
void cutwhole(char* s, int max) {
  int i = 0;
  while (s[i] != 0) {
    int len = names::isleadbyte(s[i]) && s[i + 1] != 0 ? 2 : 1;
    if (i + len > max) break;
    i += len;
  }
  s[i] = 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool showLang = false;
  const char* dictPath = nullptr;
  const char* aliasPath = nullptr;
  for (int i = 1; i < argc; i++) {
    if (strcmp(argv[i], "--dict") == 0 && i + 1 < argc) {
      dictPath = argv[++i];
    } else if (strcmp(argv[i], "--lang") == 0) {
      showLang = true;
    } else if (strcmp(argv[i], "--alias") == 0 && i + 1 < argc) {
      aliasPath = argv[++i];
    } else {
      return usage();
    }
  }
  settingsdefaults();
  consetsink(tostderr);
  nlinit();
  if (aliasPath != nullptr) {
    if (utf82unistr(wide, aliasPath) == 0) return usage();
    consetsink(nowhere);  // the rule listing
    int r = aliasreadW(wide);
    consetsink(tostderr);
    if (r != 0) {
      fprintf(stderr, "nwnamegen: cannot read %s\n", aliasPath);
      return 1;
    }
  }
  if (dictPath != nullptr) {
    if (utf82unistr(wide, dictPath) == 0) return usage();
    const size_t len = strlen(dictPath);
    const bool bin = len >= 4 && strcmp(dictPath + len - 4, ".bin") == 0;
    int r = bin ? dictreadbin(nullptr, wide, dictPath) : dictread(nullptr, wide, dictPath);
    conflush();
    if (r == -1) {
      fprintf(stderr, "nwnamegen: cannot open %s\n", dictPath);
      return 1;
    }
    if (r != 0) {
      fputs("nwnamegen: the dictionary could not be read whole\n", stderr);
      return 1;
    }
  }
  while (fgets(lineBuf, sizeof lineBuf, stdin) != nullptr) {
    size_t n = strlen(lineBuf);
    while (n > 0 && (lineBuf[n - 1] == '\n' || lineBuf[n - 1] == '\r')) lineBuf[--n] = 0;
    if (n == 0 || lineBuf[0] == '#') continue;
    char* tab = strchr(lineBuf, '\t');
    if (tab == nullptr) {
      fprintf(stderr, "nwnamegen: no TAB in: %s\n", lineBuf);
      continue;
    }
    *tab = 0;
    char* jp = tab + 1;
    if (char* more = strchr(jp, '\t')) *more = 0;
    NameKind kind;
    if (strcmp(lineBuf, "bone") == 0) {
      kind = NameKind::bone;
    } else if (strcmp(lineBuf, "morph") == 0) {
      kind = NameKind::morph;
    } else if (strcmp(lineBuf, "frame") == 0) {
      kind = NameKind::frame;
    } else if (strcmp(lineBuf, "material") == 0) {
      kind = NameKind::material;
    } else if (strcmp(lineBuf, "rigid") == 0) {
      kind = NameKind::body;
    } else if (strcmp(lineBuf, "model") == 0) {
      kind = NameKind::model;
    } else {
      fprintf(stderr, "nwnamegen: unknown kind: %s\n", lineBuf);
      continue;
    }
    utf82sjisc(sjis, jp);
    cutwhole(sjis, kNameMax);
    genname(kind, sjis, gen, jp);
    sjis2utf8c(utf8, gen);
    if (showLang) {
      printf("%s\t%s\t%s\t%s\n", lineBuf, jp, utf8, genlang() == DL_ZH ? "zh" : "ja");
    } else {
      printf("%s\t%s\t%s\n", lineBuf, jp, utf8);
    }
  }
  conflush();
  return 0;
}
