// csvread.h - the tests' own reader and writer of CSV files (RFC 4180), kept apart from
// the program's, to open the names tables it writes and to edit them as a spreadsheet
// would.
#pragma once
#include <string>
#include <vector>

namespace csvt {

struct Table {
  bool bom = false;         // the file starts with a UTF-8 byte-order mark
  int crlf = 0, lf = 0;     // line ends outside quotes: CR LF, and LF alone
  std::vector<std::vector<std::string>> rows;
  std::string error;        // what breaks RFC 4180, empty when nothing does
};

Table parse(const std::string& bytes);
// The file of these rows; fields quoted only where RFC 4180 asks for it.
std::string write(const std::vector<std::vector<std::string>>& rows, bool bom, bool crlf);

}  // namespace csvt
