// fillname.cpp - decides the English name each record receives.
#include "names/fillname.h"

#include <cstring>

#include "names/namegen.h"
#include "names/rules.h"
#include "setup/settings.h"
#include "text/console.h"

namespace {

char fixed[REP_BUFSIZE];  // the English name after the English-name rules
NameSource source = NameSource::kept;

void copyname(char* out, const char* s) {
  size_t n = strnlen(s, REP_BUFSIZE - 1);
  memcpy(out, s, n);
  out[n] = 0;
}

}  // namespace

bool ruleschanged(NameKind kind, const char* en, const char* fixed) {
  if (isbasekind(kind)) return strcmp(en, fixed) != 0;
  size_t i = 0;
  for (; en[i] != 0 && fixed[i] != 0; i++) {
    if (en[i] != fixed[i] && !(en[i] == '?' && fixed[i] == '_')) return true;
  }
  return en[i] != fixed[i];
}

int fillenglish(NameKind recordKind, const char* en, const char* gen, char* out, bool exact) {
  const NameKind kind = rulekind(recordKind);
  source = NameSource::kept;
  bool vacant = en[0] == 0;
  if (Force.display != 0 && gen[0] != 0) {
    vacant = true;
    conputs("(CLR) ");
  }
  if (!vacant && !exact && !isbasekind(recordKind)) return 0;
  if (!vacant) {
    if (kind == NameKind::bone && strcmp(en, "D") == 0 && strlen(gen) >= 2) {
      vacant = true;  // "D" is a placeholder some editors leave in bone names
    } else if (kind != NameKind::frame) {
      if (kind == NameKind::bone) {
        benrep(fixed, en);
      } else {
        menrep(fixed, en);
      }
      if (!ruleschanged(recordKind, en, fixed)) return 0;
      if (fixed[0] != 0) {
        copyname(out, fixed);
        source = NameSource::englishrule;
        conprintf(" => %s ", out);
        return 1;
      }
      vacant = true;
    }
  }
  if (!vacant) return 0;
  copyname(out, gen);
  source = gensource();
  namegiven(recordKind, out);
  if (kind == NameKind::morph || out[0] != 0) conprintf(" => %s ", out);
  if (strcmp(out, en) == 0) {
    source = NameSource::kept;
    return 0;
  }
  return 1;
}

NameSource fillsource() { return source; }
