// savefile.h - the save of a new model through the buffered writer.
//
// The copy is written under a temporary name beside the output and renamed to the
// output name once it is whole and on the disk, so a run cut off mid-save never leaves
// a partial file under a model's name. The temporary file is always created new:
// "<output>.part" first, so that the leftover of a run that was cut off is replaced by
// the next save, then "<output>.<k>.part" when something else has that name (another
// run writing it, a link, a folder).
#pragma once

#include "platform/platform.h"

// Opens the writer on a new temporary file for the output (only the form useW picks is
// used). false, with a message, when no temporary file could be made.
bool wfopentemp(const char* outA, const char16_t* outW, int useW);
// Gives the finished copy its output name. When another run took that name meanwhile,
// the copy takes the next free "-new(n)" name of the source (srcA/srcW), which the
// console is told and the output buffers (OS_MAXPATH units, both forms) receive.
// true when saved; false with a message and the temporary file removed.
// A names table (table set) takes the next free ".names(n).csv" name instead.
bool wfcommitfree(char* outA, char16_t* outW, const char* srcA, const char16_t* srcW, int useW,
                  bool table = false);

// Opens the source for its second read and a new temporary file for the copy, and says
// so on the console ("Reading from", "Writing to", " scanning ... "). false when either
// cannot be opened (the message printed, nothing left open).
bool wfsavebegin(const char* outA, const char16_t* outW, const char* srcA, const char16_t* srcW,
                 int useW);

// The record step of both writers, while a save runs. Each failure is said once and
// fails the save.
// Copies the source up to offset: 0, or -1 when a side failed or the source is not as
// the reading pass saw it.
int wfsavecopyto(int32_t offset);
// The source is not as the reading pass saw it; -1.
int wfsavesrcchanged();
// After a record went to the writer: 0, or -1 ("Error writing file.") when it closed.
int wfsavewritten();
// A record that cannot be written as decided: -1 ("Error writing file.").
int wfsavewritefailed();
bool wfsavefailed();
// Name fields the copy changes, by group: the bone, morph and display-frame names, and
// those of the other kinds (the model, materials, rigid bodies, joints, soft bodies).
enum SaveGroup { SG_NAMES, SG_KINDS, SG_COUNT };
void wfsavemark(SaveGroup group);
int wfsavemarks(SaveGroup group);

// Ends a save begun by wfsavebegin. A copy that would change nothing is not written: 1,
// nothing left behind. Otherwise the rest of the source is copied, checked to end where
// the reading pass saw it end, put on the disk and named by wfcommitfree: 0. When the
// save failed, or a step of this one fails, the copy is removed: -1.
int wfsaveend(char* outA, char16_t* outW, const char* srcA, const char16_t* srcW, int useW);
// The output name a caller gave (in one form; the other empty), copied to buffers the
// save may change.
extern char wfgivenA[OS_MAXPATH];
extern char16_t wfgivenW[OS_MAXPATH];
void wfgiven(const char* outA, const char16_t* outW);
