// pmx.h - the PMX reader (one checking pass that fills pmxModel) and the PMX writer
// (a copy of the source with the bone, morph and display frame names rewritten, and with
// Fill.everyKind those of the model, materials, rigid bodies, joints and soft bodies).
#pragma once

// -1 cannot open, 2 not a PMX file, 0 read (structural errors are reported as "Err:"
// lines and end the reading, see pmdinforeadstatus).
int pmdinforead(const char* pathA, const char16_t* pathW, int useW);
int pmdinforeadA(const char* path);
int pmdinforeadW(const char16_t* path);
// How the last pmdinforead that returned 0 ended: 0 when it reached the end of the
// joints without a structural error, 3 when it stopped because the file ended early
// (an "Err: file ended at ..." stop), 2 when it stopped on any other structural error.
int pmdinforeadstatus();

// 0 when the new file was written completely; 1 when no English name of the copy would
// differ from the source's, so none was written; -1 otherwise (a partial output is
// removed). The output buffers (OS_MAXPATH units) hold the name the copy was saved under: the next
// free "-new(n)" name of the source when another run took the one given meanwhile.
int pmxrewrite(char* outA, char16_t* outW, const char* srcA, const char16_t* srcW, int useW);
int pmxrewriteA(const char* out, const char* src);
// Lists the elements whose names pmxrewrite handles, in its order, with their names, in
// the names table (ntadd) before a table is applied. 0, or -1 with a message.
int pmxreadnames(const char* srcA, const char16_t* srcW, int useW);
int pmxrewriteW(const char16_t* out, const char16_t* src);
