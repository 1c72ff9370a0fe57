// rfcheck.h - the checking pass over a model as the PMX and PMD readers share it: the
// element being read, how the pass stopped, and the size of the file it read whole.
//
// Both readers stop the same way, so a fix to how a stop is reported reaches both
// formats. What differs between them (how a count is read, what a bad text is) stays
// in each reader.
#pragma once
#include <cstdint>

// How the last pass ended; the values are the run codes the driver gives them.
enum RcStatus { RC_SOUND = 0, RC_BROKEN = 2, RC_ENDED = 3 };

// Starts a pass: "Reading from" with the path (a UTF-16 path shown in Shift-JIS) and
// the reader opened by the path useW picks. 0, or -1 when the file cannot be opened
// (the reader has said why). Until it opens the pass counts as broken.
int rcopen(const char* pathA, const char16_t* pathW, int useW);
// The file's first bytes must be magic: 0, or 2 after "Illegal file format at ...".
int rcmagic(const char (&magic)[3]);
// The element being read, for the messages: its kind and number (-1: no element, as in
// the header or a block's count).
void rcat(const char* kind, int index);
const char* rckind();
int rcindex();
// Stops the pass for broken data (the reader has said what is wrong); -1.
int rcbroken();
// Stops the pass for a file that ends inside the element being read, and says so; -1.
int rcended();
// The end check made before every element: 0, or -1 (said) when the file has ended.
int rcendcheck();
// Stops the pass for a file that ends inside the count of a block of kind; -1.
int rccountended(const char* kind);
// The pass read the file to its end: the reader's position is the file's size, which
// the save expects of the source again.
void rcwhole();
int rcstatus();
// The size of the file the last sound pass read whole; -1 when not known.
int32_t rcsize();
