// table.h - the names table (tb): a CSV file beside a model listing every element whose
// English name the program handles, to be read and corrected in a spreadsheet and
// applied to the model again.
//
// UTF-8 with a byte-order mark, CRLF line ends, fields quoted as RFC 4180 has it. The
// first line names the columns: kind,index,japanese,english,original,source; then one
// row per element in the model's order:
//   bone,3,左腕,arm_L,,standard
// A table that is read may leave rows out or put them in any order, have no byte-order
// mark and LF line ends, and columns in another order or more of them.
#pragma once

#include "names/fillname.h"

constexpr int TB_FIELDMAX = 1024;   // bytes of a field read
constexpr int TB_FAULTSSHOWN = 100; // faults printed of a table; the rest are counted

// The kind's name in the table ("bone", "rigid body" ...).
const char* tbkindname(NameKind kind);
// The source's name in the table ("kept", "dictionary" ...).
const char* tbsourcename(NameSource source);

// Whether a file name (no folder) is a table's: "<stem>.names.csv" or
// "<stem>.names(<n>).csv", letters in any case. The stem's length in *stemlen.
bool tbisname(const char* name, int* stemlen);
bool tbisnameW(const char16_t* name, int* stemlen);

// Writes the table of the copy just saved, from the rows its writer recorded, to a new
// file: out (both forms, useW picks one) or, when another run takes that name meanwhile,
// the next free table name of the model, which out then holds. 0, or -1 with a message
// and nothing left behind.
int tbwrite(char* outA, char16_t* outW, const char* modelA, const char16_t* modelW, int useW);

// Reads a table and checks each row against the elements listed in the names table:
// its kind, its index and its Japanese name; the English name must be one the model
// can hold in full. Gives the rows their English names. Every fault is printed with the
// table's line number. The number of faults (0: the table fits), or -1 when the file
// cannot be opened.
int tbread(const char* pathA, const char16_t* pathW, int useW);
int tbrows();  // rows given by the last tbread

// The user's word list in the program's data folder, read after the dictionary.
constexpr char TB_WORDLIST[] = "namedict-user.txt";
// Adds a whole-name line for each element whose English name the table changed in the
// copy just written, at the end of the word list (made when there is none), unless the
// list has that line already. The list is written anew beside the old one and then
// put in its place, so the old one is never opened for writing. The lines added (and
// those the list had already in *already), or -1 with a message.
int tbremember(const char* dirA, const char16_t* dirW, int* already);
