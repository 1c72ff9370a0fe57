// textfile.h - the character reader (tf) for "modsetup.ini" and "alias.ini", and the
// encoding scans (chkif) run on such files before they are read.
//
// One global reader with a one-character look-ahead and a line counter; one file at a
// time. tfclose is registered with atexit the first time a file opens.
#pragma once
#include <cstdint>

int tfopen(const char* path);          // 0, or -1 (silent)
int tfopenW(const char16_t* path);
int tftryopen(const char* path);       // 0 when it can be opened; leaves nothing open
int tftryopenW(const char16_t* path);
int tfclose();                         // non-zero if a file was open and closed; the
                                       // look-ahead is then -1
int tfpeek();                          // look-ahead: 0..255, or -1 at the end
int tfgetc();                          // consumes the look-ahead
int32_t tfline();                      // 1-based line number
int tfeof();                           // 0, or 0xFF once a consume was tried at the end
bool tfisspace(int c);                 // TAB, LF, CR, 0x1A, space
int tfskipspace();
int tfgetint(int32_t* out);            // 0; -1 at the end of the file; -2 too long
int tfgetfloat(float* out);            // 0; -1 when no digit
int tfgetline(char* buf, int n);       // characters stored (at most n - 2)
// Consumes what the last tfgetline left of its line when it stopped at its limit, and
// the line ends after it: the number of characters dropped (0 when the line was whole).
int tfskiprest();

int chkifutf8(const char* path);       // 7 well-formed UTF-8, 0 not, -1 cannot open
int chkifutf8W(const char16_t* path);
int chkifsjis(const char* path);       // scan verdict, -1 cannot open
int chkifsjisW(const char16_t* path);
