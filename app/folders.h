// folders.h - a folder named as a model stands for the PMX models inside it.
//
// A folder's models are found by walking it as they are processed, not gathered into
// the argument lists first: a folder holds as many models as it likes. Its models are
// the ".pmx" files (any case) in it and its subfolders, in the order of their paths,
// each named as the folder plus the path inside it; the "-new" and "-new(n)" outputs of
// earlier runs are left out and links to folders are not entered.
#pragma once

// Marks the arguments that name folders and prints for each how many models it holds
// (or that it holds none). Returns the number of models in them all; *troubled tells
// whether a walk met something it will report as a failure (a folder that cannot be
// read, a path too long, a name that cannot be spelled).
int folderscan(bool* troubled);
// True when argument j names a folder.
bool argisfolder(int j);

// Walks the folder of argument j. With quiet, what is left out is not reported (the
// first pass over the arguments); otherwise every entry that is left out is reported
// on the console and counted by folderfailures.
void folderfirst(int j, bool quiet);
// The next model of the walk in both forms (ANSI: the exact form, '?' where a character
// has no code); false at the end.
bool foldernext(const char** pathA, const char16_t** pathW);
// Entries of the walk that were left out, and folders that could not be read.
int folderfailures();
