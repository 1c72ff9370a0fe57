// namegen.cpp - the generated English name of a record.
#include "names/namegen.h"

#include "names/rules.h"

int genname(NameKind kind, const char* jp, char* out) {
  out[0] = 0;
  if (rulekind(kind) == NameKind::bone) {
    brep(out, jp);
  } else {
    mrep(out, jp);
  }
  out[GEN_NAMEMAX] = 0;
  return 0;
}
