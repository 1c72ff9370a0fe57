// folders.h - a folder named as a model stands for the PMX models inside it.
#pragma once

// Replaces every argument that names a folder, in its place in both argument lists, by
// the PMX files in that folder and its subfolders (extension ".pmx" in any case; the
// "-new" and "-new(n)" outputs of earlier runs left out; links to folders not entered),
// in the order of their paths, each named as the folder plus the path inside it. The
// lists' limits hold: once they are full the rest of the arguments is dropped. Lists
// without a folder are left as they are. Returns the number of models added.
int argexpandfolders();
// True when entry j of the lists came from a folder.
bool argfromfolder(int j);
