// binfile.h - the process-wide buffered binary reader (rf) and writer (wf).
//
// One reader and one writer, each on one file at a time, both may be open at once.
// Handle mode (UTF-16 path) keeps an 8192-byte buffer of its own; stream mode (ANSI
// path) uses a standard-library stream given an 8192-byte buffer. Failures are printed
// on the console when they happen and close the failing side; callers read or write a
// whole record and then test rfeof / wferror.
#pragma once
#include <cstdint>

constexpr int BF_BUFSIZE = 8192;

// ---- Reader -------------------------------------------------------------------------
int rfopenW(const char16_t* path);     // 0, or -1 with a message
int rfopen(const char* path);          // 0, or -1 with a message
int rftryopenW(const char16_t* path);  // silent
int rftryopen(const char* path);       // silent
void rfclose();
int rfgetc();                          // 0..255, or -1 at the end (the reader closes)
int16_t rfgetshort();                  // missing bytes read as 0xFF
int32_t rfgetlong();
float rfgetfloat();
int32_t rfgetint(int size);            // size 1, 2 (unsigned) or 4 (signed)
int32_t rfread(void* dst, int32_t n);  // bytes delivered
int rfbufrewind();                     // 0 or -2
int rfseek(int32_t offset);            // 0 or -2
int32_t rftell();
int rfeof();                           // 0 while open, -1 once closed

// ---- Writer -------------------------------------------------------------------------
int wfopenW(const char16_t* path);     // 0, or -1 with a message
int wfopen(const char* path);          // 0, or -1 with a message
void wfclose();
// Closes the writer and removes the file it was writing, so that a failed save leaves
// nothing that looks like a finished file. 0 when removed.
int wfdiscard();
int wfputc(int byte);                  // 0 or -1
int wfflush();
int wfputlong(int32_t v);
int wfputfloat(float v);
int wfputs(const char* s);             // 0, 1 (cut at 513 bytes) or -1
int wfputunistr(const char16_t* s);    // 0 or -1 (cut at 513 units)
int32_t wfwrite(const void* src, int32_t n);
int32_t wfcopybytes(int32_t n);        // bytes copied from the reader, or -1
int32_t wfcopyrest();                  // bytes copied from the reader, or -1
int32_t wftell();
int wferror();                         // 0 while open, -1 once closed
