// paths.h - taking paths apart, in an ANSI form (Shift-JIS bytes; a trail byte is never
// a separator or a dot) and a UTF-16 form (name ending in W). The separator is the
// system's (backslash on Windows, slash on POSIX). Destinations hold the source's
// length plus one.
#pragma once

int headcmpi(const char* s, const char* t);            // 0 when s begins with t (a-z folded)
int headcmpiW(const char16_t* s, const char16_t* t);
// out holds OS_MAXPATH units; it is empty unless 0 is returned.
int findrealname(char* out, const char* path);         // 0; -1 no match; -2 two folders
int findrealnameW(char16_t* out, const char16_t* path);
int getdir(char* out, const char* path);               // folder with its separator
int getdirW(char16_t* out, const char16_t* path);
int cutext(char* out, const char* path);               // without the last '.' on
int cutextW(char16_t* out, const char16_t* path);
int getext(char* out, const char* path);               // -1 with an extension, else 0
int getextW(char16_t* out, const char16_t* path);
int getfname(char* out, const char* path);             // after the last separator
int getfnameW(char16_t* out, const char16_t* path);
int cutlastsep(char* path);                            // drops a final separator
int cutlastsepW(char16_t* path);

// The rules the helpers follow: the separator and whether a path may start with a drive
// letter. They default to the running system's (ossep, osdriveletters); the tests also
// check the Windows rules on POSIX through this.
void pathrules(char sep, bool driveletters);
