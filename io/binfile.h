// binfile.h - the process-wide buffered binary reader (rf) and writer (wf).
//
// One reader and one writer, each on one file at a time, both may be open at once.
// Handle mode (UTF-16 path) works on the system's file handle, stream mode (ANSI path)
// on a standard-library stream; either way bytes pass through the side's own buffer of
// BF_BUFSIZE bytes, and the file is read and written a whole buffer at a time. Failures
// are printed on the console when they happen and close the failing side; callers read
// or write a whole record and then test rfeof / wferror.
#pragma once
#include <cstdint>

// 64 KiB: a tenth less time than 8 KiB for a whole run; larger buffers gained nothing
// that could be told from the noise, and two of these still sit in a core's cache.
constexpr int BF_BUFSIZE = 65536;

// ---- Reader -------------------------------------------------------------------------
int rfopenW(const char16_t* path);     // 0, or -1 with a message
int rfopen(const char* path);          // 0, or -1 with a message
int rftryopenW(const char16_t* path);  // silent
int rftryopen(const char* path);       // silent
void rfclose();
inline int rfgetc();                   // 0..255, or -1 at the end (the reader closes)
int16_t rfgetshort();                  // missing bytes read as 0xFF
int32_t rfgetlong();
float rfgetfloat();
int32_t rfgetint(int size);            // size 1, 2 (unsigned) or 4 (signed)
int32_t rfread(void* dst, int32_t n);  // bytes delivered
inline int32_t rfskip(int32_t n);      // as rfread, but the bytes are dropped
int rfbufrewind();                     // 0 or -2
// 0 or -2. A reader that is closed (also by reaching the end) cannot seek: -2.
int rfseek(int32_t offset);
int32_t rftell();                      // at most INT32_MAX: the data ends there
// After the reader ended: true when a read failed or the data reached INT32_MAX, so that
// what was read is not the whole file.
bool rfreaderror();
inline int rfeof();                    // 0 while open, -1 once closed

// ---- Writer -------------------------------------------------------------------------
// The writer only ever creates a new file: a name that is taken (by a file, a link, a
// pipe, a folder) is not touched, and fails as any other name that cannot be opened.
int wfopenW(const char16_t* path);     // 0, or -1 with a message
int wfopen(const char* path);          // 0, or -1 with a message
// As wfopen, for a caller with other names to try: 1 when the name is taken, 2 when it
// is too long for the file system, both without a message; -1 for other failures.
int wfcreateW(const char16_t* path);
int wfcreate(const char* path);
// Opening the writer again closes the file it had open first. wfclose gives 0 when
// everything written has reached the file; -1 when a write, the last flush or the close
// failed (the message is printed once), so the caller can tell a complete file from a
// damaged one. On a closed writer: the verdict on the last file.
int wfclose();
// Closes the writer and removes the file it was writing, so that a failed save leaves
// nothing that looks like a finished file. 0 when removed.
int wfdiscard();
// Finishes the file being written and gives it its final name: everything is flushed
// to the disk, the file renamed to path and closed. A name that is taken is never
// replaced: 1, with the file still open under its temporary name, so the caller can
// commit it under another name (or discard it). 0 when done; -1 with the message
// printed and the written file removed. Written under a temporary name and committed
// this way, a model is never seen half-written under its real name, whenever the run
// is cut off.
int wfcommit(const char* path);
int wfcommitW(const char16_t* path);
// As wfcommit, but the file replaces whatever has the name (the old file is never
// opened); 1 is not returned.
int wfcommitover(const char* path);
int wfcommitoverW(const char16_t* path);
inline int wfputc(int byte);           // 0 or -1
// Hands the buffered bytes to the system (a stream is flushed too). 0, or -1 when that
// failed or the writer is closed.
int wfflush();
int wfputlong(int32_t v);
int wfputfloat(float v);
int wfputs(const char* s);             // 0, 1 (cut at 513 bytes) or -1
int wfputunistr(const char16_t* s);    // 0 or -1 (cut at 513 units)
int32_t wfwrite(const void* src, int32_t n);
int32_t wfcopybytes(int32_t n);        // bytes copied from the reader, or -1
int32_t wfcopyrest();                  // bytes copied from the reader, or -1
int32_t wftell();                      // at most INT32_MAX: more is a write error
int wferror();                         // 0 while open, -1 once closed

// ---- Byte fast paths ----------------------------------------------------------------
// rfgetc, rfskip, rfeof and wfputc run for every field of a model, so their common case
// is inline over the buffer state below; everything else is in binfile.cpp. Only these
// use it.
struct RfState {
  int32_t next;  // index of the next byte to deliver
  int32_t fill;  // bytes in buf; 0 while closed
  int32_t base;  // file offset of buf[0]
  unsigned char buf[BF_BUFSIZE];
};
struct WfState {
  int32_t fill;  // bytes waiting in buf
  int32_t room;  // the fast path keeps fill below room - 1; 0 while closed
  int32_t base;  // bytes accepted before buf[0]
  unsigned char buf[BF_BUFSIZE];
};
extern RfState rfstate;
extern WfState wfstate;
int rfgetcmore();               // refills the buffer, or ends the reader
int32_t rfskipmore(int32_t n);  // a skip past the buffer, or on a closed reader
int rfeofmore();                // rfeof with the buffer used up
int wfputcmore(int byte);       // the last byte before a write, or a closed writer

inline int rfgetc() {
  if (rfstate.next < rfstate.fill) return rfstate.buf[rfstate.next++];
  return rfgetcmore();
}

inline int32_t rfskip(int32_t n) {
  if (n > 0 && n <= rfstate.fill - rfstate.next) {
    rfstate.next += n;
    return n;
  }
  return rfskipmore(n);
}

// A closed reader holds no bytes, so bytes still buffered answer the question.
inline int rfeof() { return rfstate.next < rfstate.fill ? 0 : rfeofmore(); }

inline int wfputc(int byte) {
  if (wfstate.fill + 1 < wfstate.room) {
    wfstate.buf[wfstate.fill++] = static_cast<unsigned char>(byte);
    return 0;
  }
  return wfputcmore(byte);
}
