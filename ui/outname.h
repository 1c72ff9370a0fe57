// outname.h - the names of the new files written beside a model.
#pragma once

// Finds a free output name beside the model: "<stem>-new<ext>", else "<stem>-new(1)<ext>"
// up to "(99)". A name is free when no folder entry of any kind has it (a dangling link
// or a folder takes a name as a file does). 0 with both forms filled (a form that is
// missing or does not fit is left empty), -1 when every name is taken, -2 when the name
// does not fit the path buffers in either form.
int outputname(const char* modelA, const char16_t* modelW, char* outA, char16_t* outW);
// The same for the names table written beside a model: "<stem>.names.csv", else
// "<stem>.names(1).csv" up to "(99)".
int tablename(const char* modelA, const char16_t* modelW, char* outA, char16_t* outW);
