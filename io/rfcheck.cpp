// rfcheck.cpp - the checking pass's stops and end checks, shared by both readers.
#include "io/rfcheck.h"

#include "io/binfile.h"
#include "text/console.h"

namespace {

int status = RC_SOUND;
int32_t size = -1;
const char* kind = "header";
int index = -1;

}  // namespace

void rcbegin() {
  status = RC_BROKEN;
  size = -1;
  rcat("header", -1);
}

void rcopened() {
  status = RC_SOUND;
  rcat("header", -1);
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
