// pmd.h - the PMD reader (one checking pass that fills pmdModel) and the PMD writer (a
// copy of the source with the English names filled, the English section added when the
// model has none).
#pragma once

// -1 cannot open, 2 not a PMD file, 0 read (structural errors are reported as "Err:"
// lines and end the reading, see pmdreadstatus).
int pmdread(const char* pathA, const char16_t* pathW, int useW);
int pmdreadA(const char* path);
int pmdreadW(const char16_t* path);
// How the last pmdread that returned 0 ended: 0 sound to the end, 3 the file ended
// inside an element, 2 any other structural error.
int pmdreadstatus();

// 0 when the new file was written completely; 1 when it would equal the source, so none
// was written; -1 otherwise (a partial output is removed).
// The output buffers (OS_MAXPATH units) hold the name the copy was saved under, as for
// pmxrewrite.
int pmdrewrite(char* outA, char16_t* outW, const char* srcA, const char16_t* srcW, int useW);
int pmdrewriteA(const char* out, const char* src);
// Lists the elements whose English names pmdrewrite handles, in its order, with their
// names, in the names table (ntadd) before a table is applied. 0, or -1 with a message.
int pmdreadnames(const char* srcA, const char16_t* srcW, int useW);
int pmdrewriteW(const char16_t* out, const char16_t* src);
