// rfcheck.cpp - the checking pass's stops and end checks, shared by both readers.
#include "io/rfcheck.h"

#include "io/binfile.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

int status = RC_SOUND;
int32_t size = -1;
const char* kind = "header";
int index = -1;

}  // namespace

int rcopen(const char* pathA, const char16_t* pathW, int useW) {
  static char shown[1040];
  status = RC_BROKEN;
  size = -1;
  rcat("header", -1);
  if (useW) {
    unistr2sjis(shown, pathW);
    conprintf("Reading from: %s \n", shown);
    if (rfopenW(pathW) != 0) return -1;
  } else {
    conprintf("Reading from: %s \n", pathA);
    if (rfopen(pathA) != 0) return -1;
  }
  status = RC_SOUND;
  return 0;
}

int rcmagic(const char (&magic)[3]) {
  for (char m : magic) {
    int c = rfgetc();
    if (c != m) {
      conprintf("Illegal file format at %06X=(%02X) \n", rftell(), c);
      return 2;
    }
  }
  return 0;
}

void rcat(const char* k, int i) {
  kind = k;
  index = i;
}

const char* rckind() { return kind; }
int rcindex() { return index; }

int rcbroken() {
  status = RC_BROKEN;
  return -1;
}

int rcended() {
  status = RC_ENDED;
  if (index < 0) {
    conprintf("Err: file ended inside the %s. \n", kind);
  } else {
    conprintf("Err: file ended inside %s %d. \n", kind, index);
  }
  return -1;
}

int rcendcheck() {
  if (!rfeof()) return 0;
  status = RC_ENDED;
  conprintf("Err: file ended at %s %d. \n", kind, index);
  return -1;
}

int rccountended(const char* k) {
  rcat(k, -1);
  status = RC_ENDED;
  conprintf("Err: file ended at the %s count. \n", k);
  return -1;
}

void rcwhole() {
  if (status == RC_SOUND) size = rftell();
}

int rcstatus() { return status; }
int32_t rcsize() { return size; }
