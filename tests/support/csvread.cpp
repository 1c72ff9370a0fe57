// csvread.cpp - the tests' own reader and writer of CSV files.
#include "tests/support/csvread.h"

namespace csvt {

Table parse(const std::string& bytes) {
  Table t;
  size_t i = 0;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    t.bom = true;
    i = 3;
  }
  std::vector<std::string> row;
  std::string field;
  bool quoted = false, inField = false;
  auto endrow = [&] {
    row.push_back(field);
    t.rows.push_back(row);
    row.clear();
    field.clear();
    inField = false;
  };
  while (i < bytes.size()) {
    char c = bytes[i++];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i < bytes.size() && bytes[i] == '"') {
        field += '"';
        i++;
      } else {
        quoted = false;
        if (i < bytes.size() && bytes[i] != ',' && bytes[i] != '\r' && bytes[i] != '\n' && t.error.empty())
          t.error = "text after a closing quote";
      }
      continue;
    }
    if (c == '"' && !inField) {
      quoted = inField = true;
    } else if (c == ',') {
      row.push_back(field);
      field.clear();
      inField = false;
    } else if (c == '\r' && i < bytes.size() && bytes[i] == '\n') {
      i++;
      t.crlf++;
      endrow();
    } else if (c == '\n') {
      t.lf++;
      endrow();
    } else {
      if ((c == '"' || c == '\r') && t.error.empty()) t.error = "a quote or CR in a field that is not quoted";
      field += c;
      inField = true;
    }
  }
  if (quoted && t.error.empty()) t.error = "a quoted field is not closed";
  if (inField || !row.empty()) endrow();
  return t;
}

std::string write(const std::vector<std::vector<std::string>>& rows, bool bom, bool crlf) {
  std::string out = bom ? "\xEF\xBB\xBF" : "";
  for (const auto& row : rows) {
    for (size_t f = 0; f < row.size(); f++) {
      if (f > 0) out += ',';
      const std::string& s = row[f];
      if (s.find_first_of(",\"\r\n") == std::string::npos) {
        out += s;
        continue;
      }
      out += '"';
      for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
      out += '"';
    }
    out += crlf ? "\r\n" : "\n";
  }
  return out;
}

}  // namespace csvt
