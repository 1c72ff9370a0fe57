// nwcsv.cpp - nwcsv: the end-to-end tests' look at names tables, through the tests' own
// CSV reader, and their edits of one, as a spreadsheet would save it.
//
//   nwcsv show TABLE
//     "bom" or "no bom", the line ends (crlf, lf or mixed), then one line per row:
//     its fields apart by " | ", line ends inside shown as \n and \r. Exit status 1
//     when the file breaks RFC 4180.
//   nwcsv edit TABLE KIND INDEX ENGLISH [--lf] [--nobom]
//     The row of that kind and index gets the English name; the file is written again
//     with CRLF and a byte-order mark unless told otherwise.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/csvread.h"

namespace {

std::string readall(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string shown(const std::string& s) {
  std::string out;
  for (char c : s) out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
  return out;
}

int column(const csvt::Table& t, const char* name) {
  if (t.rows.empty()) return -1;
  for (size_t i = 0; i < t.rows[0].size(); i++) {
    if (t.rows[0][i] == name) return static_cast<int>(i);
  }
  return -1;
}

int show(const char* path) {
  csvt::Table t = csvt::parse(readall(path));
  printf("%s\n", t.bom ? "bom" : "no bom");
  printf("%s\n", t.lf == 0 ? "crlf" : t.crlf == 0 ? "lf" : "mixed");
  for (const auto& row : t.rows) {
    std::string line;
    for (size_t f = 0; f < row.size(); f++) line += (f > 0 ? " | " : "") + shown(row[f]);
    printf("%s\n", line.c_str());
  }
  if (!t.error.empty()) fprintf(stderr, "nwcsv: %s: %s\n", path, t.error.c_str());
  return t.error.empty() ? 0 : 1;
}

int edit(int argc, char** argv) {
  bool lf = false, bom = true;
  for (int i = 6; i < argc; i++) {
    lf = lf || strcmp(argv[i], "--lf") == 0;
    bom = bom && strcmp(argv[i], "--nobom") != 0;
  }
  csvt::Table t = csvt::parse(readall(argv[2]));
  int kind = column(t, "kind"), index = column(t, "index"), english = column(t, "english");
  if (kind < 0 || index < 0 || english < 0) {
    fprintf(stderr, "nwcsv: %s has no kind, index or english column\n", argv[2]);
    return 1;
  }
  int found = 0;
  for (auto& row : t.rows) {
    if (row.size() > static_cast<size_t>(english) && row[kind] == argv[3] && row[index] == argv[4]) {
      row[english] = argv[5];
      found++;
    }
  }
  if (found != 1) {
    fprintf(stderr, "nwcsv: %d rows of %s %s\n", found, argv[3], argv[4]);
    return 1;
  }
  std::ofstream(argv[2], std::ios::binary) << csvt::write(t.rows, bom, !lf);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "show") == 0) return show(argv[2]);
  if (argc >= 6 && strcmp(argv[1], "edit") == 0) return edit(argc, argv);
  fputs("usage: nwcsv show TABLE | nwcsv edit TABLE KIND INDEX ENGLISH [--lf] [--nobom]\n", stderr);
  return 2;
}
