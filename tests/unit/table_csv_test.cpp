// table_csv_test.cpp - the names table as a file: its bytes as written, the tables a
// spreadsheet may save that are read, and each fault of a table with its line.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "names/nametable.h"
#include "support/capture.h"
#include "support/tempfile.h"
#include "table/table.h"
#include "text/sjis.h"

namespace {

const uint8_t* u8(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
int len(const std::string& s) { return static_cast<int>(s.size()); }
const std::string kHead = "kind,index,japanese,english,original,source\r\n";
const std::string kBom = "\xEF\xBB\xBF";

// A model of three bones, two morphs and a frame, listed for a table; its Japanese
// names in the model's encoding.
void listmodel(NtEncoding enc, int maxbytes) {
  ntbegin(enc, false);
  auto add = [&](NameKind kind, int i, const std::string& utf8) {
    std::string jp = utf8;
    if (enc == NtEncoding::sjis) {
      jp.assign(utf8.size() + 1, '\0');
      utf82sjisc(jp.data(), utf8.c_str());
      jp.resize(strlen(jp.c_str()));
    }
    ASSERT_EQ(ntadd(kind, i, u8(jp), len(jp), nullptr, 0, maxbytes), 0);
  };
  add(NameKind::bone, 0, "センター");
  add(NameKind::bone, 1, "左腕");
  add(NameKind::bone, 2, "頭");
  add(NameKind::morph, 0, "笑い");
  add(NameKind::morph, 1, "あ");
  add(NameKind::frame, 0, "表情");
}

// Reads a table of these bytes; the faults and the console.
struct Read {
  int faults;
  std::string console;
};
Read readtable(const std::string& bytes) {
  TempFile f(bytes, "m.names.csv");
  ConsoleCapture con;
  int n = tbread(f.path(), nullptr, 0);
  return {n, con.take()};
}

std::string given(NameKind kind, int index) {
  const NtRow& row = ntrow(ntfind(kind, index));
  if (row.line == 0) return "(none)";
  return std::string(reinterpret_cast<const char*>(nttext(row, NT_GIVEN)), row.len[NT_GIVEN]);
}

class TableCsv : public ::testing::Test {
 protected:
  void TearDown() override { ntbegin(NtEncoding::utf8, false); }
};

TEST_F(TableCsv, NamesOfTables) {
  struct Case {
    const char* name;
    int stem;  // -1: not a table
  } const cases[] = {
      {"m.names.csv", 1}, {"M.NAMES.CSV", 1}, {"a.b.names(12).csv", 3}, {"m.names(1).CSV", 1},
      {"m.csv", -1}, {".names.csv", -1}, {"m.names().csv", -1}, {"m.names(1)x.csv", -1},
      {"m.names.csv.txt", -1}, {"m.pmx", -1},
  };
  for (const Case& c : cases) {
    int stem = -1;
    EXPECT_EQ(tbisname(c.name, &stem), c.stem >= 0) << c.name;
    if (c.stem >= 0) {
      EXPECT_EQ(stem, c.stem) << c.name;
    }
    std::u16string w(c.name, c.name + strlen(c.name));
    EXPECT_EQ(tbisnameW(w.c_str(), &stem), c.stem >= 0) << c.name;
  }
}

// What a spreadsheet may save: no byte-order mark, LF line ends, columns in another
// order and one more, rows left out or out of order, blank rows, blanks around kinds
// and indexes, quoted fields with commas, quotes and line ends.
TEST_F(TableCsv, WhatASpreadsheetSavesIsRead) {
  listmodel(NtEncoding::utf8, 254);
  Read r = readtable(
      "note,English,Kind,Index,Japanese\n"
      "x, \"Arm, \"\"left\"\"\",bone , 1,左腕\n"
      ",,,,\n"
      "\n"
      ",\"Exp\nression\",frame,0,表情\r\n"
      ",Center,bone,0,センター");
  EXPECT_EQ(r.faults, 0) << r.console;
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(given(NameKind::bone, 1), "Arm, \"left\"");
  EXPECT_EQ(given(NameKind::frame, 0), "Exp\nression");
  EXPECT_EQ(given(NameKind::bone, 0), "Center");
  EXPECT_EQ(given(NameKind::bone, 2), "(none)");
  EXPECT_EQ(ntrow(ntfind(NameKind::frame, 0)).line, 5);
  EXPECT_EQ(tbrows(), 3);
}

TEST_F(TableCsv, EachFaultIsToldWithItsLine) {
  listmodel(NtEncoding::utf8, 254);
  const std::string longname(255, 'a');
  Read r = readtable(kBom + kHead +
                     "bone,0,センター,Center,,\r\n"          // 2: fits
                     "bone,1,右腕,x,,\r\n"                    // 3
                     "bone,3,頭,x,,\r\n"                      // 4
                     "material,0,体,x,,\r\n"                  // 5
                     "bones,2,頭,x,,\r\n"                     // 6
                     "bone,-2,頭,x,,\r\n"                     // 7
                     "bone,0,センター,y,,\r\n"                // 8
                     "morph,0,笑い," + longname + ",,\r\n"    // 9
                     "morph,1,あ,\xFF,,\r\n"                  // 10
                     "morph,1,あ,a\"b,,\r\n"                  // 11
                     "morph,1,あ,\"ab\"c,,\r\n"               // 12
                     "morph,1,あ" + std::string(1, '\0') + ",x,,\r\n"  // 13
                     "frame,0\r\n"                            // 14
                     "frame,0,表情," + std::string(1025, 'e') + "\r\n"  // 15
                     "frame,0,\"表\r\n情\",Exp\r\n"           // 16-17
                     "frame,0,表情,\"open\r\n");              // 18
  EXPECT_EQ(r.faults, 15);
  EXPECT_EQ(r.console,
            "Table line 3: bone 1 is " + std::string("\x8D\xB6\x98\x72") + " in the model, not \x89\x45\x98\x72 \n"
            "Table line 4: the model has no bone 3 (its bones are 0 to 2) \n"
            "Table line 5: the names of materials are not handled for this model (other kinds than bones, morphs and frames need -O) \n"
            "Table line 6: \"bones\" is not a kind (bone, morph, frame, model, material, rigid body, joint, soft body) \n"
            "Table line 7: the index \"-2\" is not a whole number \n"
            "Table line 8: bone 0 is listed twice (first on line 2) \n"
            "Table line 9: the English name of morph 0 takes 255 bytes in UTF-8, more than the 254 it may have \n"
            "Table line 10: the English name is not UTF-8 text (save the table as CSV UTF-8) \n"
            "Table line 11: a quote inside a field that is not quoted \n"
            "Table line 12: text after the closing quote of a field \n"
            "Table line 13: a zero byte \n"
            "Table line 14: 2 fields where the first line has 6 \n"
            "Table line 15: a field of more than 1024 bytes \n"
            "Table line 16: frame 0 is \x95\x5C\x8F\xEE in the model, not \x95\x5C\r\n\x8F\xEE \n"
            "Table line 18: a quoted field is not closed at the end of the file \n");
  EXPECT_EQ(given(NameKind::bone, 0), "Center");  // the rows that fit are given all the same
}

TEST_F(TableCsv, APmdTakesShiftJisNamesThatFitTheirFields) {
  listmodel(NtEncoding::sjis, 19);
  Read r = readtable(kHead +
                     "bone,0,センター,センター中心,,\r\n"
                     "bone,1,左腕," + std::string(20, 'a') + ",,\r\n"
                     "bone,2,頭,한,,\r\n"
                     "morph,0,笑い," + std::string(19, 'a') + ",,\r\n");
  EXPECT_EQ(r.faults, 2);
  EXPECT_EQ(r.console,
            "Table line 3: the English name of bone 1 takes 20 bytes in Shift-JIS, more than the 19 it may have \n"
            "Table line 4: the English name of bone 2 has a character without a Shift-JIS code (U+D55C); a PMD holds Shift-JIS names only \n");
  EXPECT_EQ(given(NameKind::bone, 0), "\x83\x5A\x83\x93\x83\x5E\x81\x5B\x92\x86\x90\x53");
}

// A name as the model has it is given as its very bytes: a PMD field it fills to the
// end, bytes that are no Shift-JIS text (shown as U+FFFD), which no new name could be.
TEST_F(TableCsv, TheModelsOwnNamesAreGivenAsTheyAre) {
  ntbegin(NtEncoding::sjis, false);
  const std::string full(20, 'T'), odd = "\x88\x0A\xFD";
  ASSERT_EQ(ntadd(NameKind::bone, 0, u8("a"), 1, u8(full), len(full), 19), 0);
  ASSERT_EQ(ntadd(NameKind::bone, 1, u8("b"), 1, u8(odd), len(odd), 19), 0);
  const std::string fffd = "\xEF\xBF\xBD";
  Read r = readtable(kHead + "bone,0,a," + full + ",,\r\nbone,1,b,\"" + fffd + "\n" + fffd + "\",,\r\n");
  EXPECT_EQ(r.faults, 0) << r.console;
  EXPECT_EQ(given(NameKind::bone, 0), full);
  EXPECT_EQ(given(NameKind::bone, 1), odd);
}

TEST_F(TableCsv, NotATable) {
  listmodel(NtEncoding::utf8, 254);
  EXPECT_EQ(readtable("").console, "Table line 1: not a names table: the file is empty \n");
  EXPECT_EQ(readtable("\n\nkind,index,japanese\nbone,0,センター\n").console,
            "Table line 3: not a names table: the first line has no column \"english\" "
            "(kind,index,japanese,english,original,source) \n");
  std::string many = kHead;
  for (int i = 0; i < 150; i++) many += "bone,9,x,y,,\r\n";
  Read r = readtable(many);
  EXPECT_EQ(r.faults, 150);
  EXPECT_NE(r.console.find("Table line 101: "), std::string::npos);
  EXPECT_EQ(r.console.find("Table line 102: "), std::string::npos);
  EXPECT_TRUE(r.console.ends_with("... and 50 more faults \n"));
}

// The table written from the rows a writer recorded: its exact bytes, and the same
// names when it is read back.
TEST_F(TableCsv, WrittenTableAndItsReadingBack) {
  char tmpl[] = "/tmp/nwcsv.XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl, model = dir + "/m.pmx", out = dir + "/m.names.csv";
  ntbegin(NtEncoding::utf16le, true);
  auto record = [](NameKind kind, int i, const std::u16string& jp, const std::u16string& en,
                   const std::u16string& orig, NameSource source) {
    auto raw = [](const std::u16string& s) {
      std::string b;
      for (char16_t c : s) b += static_cast<char>(c & 0xFF), b += static_cast<char>(c >> 8);
      return b;
    };
    std::string j = raw(jp), e = raw(en), o = raw(orig);
    const uint8_t* p = u8(e);
    int n = len(e);
    ntwrite(kind, i, u8(j), len(j), &p, &n, u8(o), len(o), source);
  };
  record(NameKind::model, 0, u"モデル", u"Model, \"the\" one", u"", NameSource::copied);
  record(NameKind::bone, 0, u"センター", u" center", u" center", NameSource::kept);
  record(NameKind::frame, 0, u"表情", u"Exp\nression", u"", NameSource::standard);
  record(NameKind::body, 0, u"髪\U0001F600", std::u16string{u'x', char16_t{0xD800}}, u"",
         NameSource::table);
  char outA[4096];
  char16_t outW[4096] = {0};
  snprintf(outA, sizeof outA, "%s", out.c_str());
  {
    ConsoleCapture quiet;
    ASSERT_EQ(tbwrite(outA, outW, model.c_str(), u"", 0), 0);
  }
  std::ifstream in(out, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, kBom + kHead +
                       "model,0,モデル,\"Model, \"\"the\"\" one\",,copied\r\n"
                       "bone,0,センター,\" center\",\" center\",kept\r\n"
                       "frame,0,表情,\"Exp\nression\",,standard\r\n"
                       "rigid body,0,髪😀,x\xEF\xBF\xBD,,table\r\n");
  // Read back against the same elements, every row fits and reads the same.
  ntbegin(NtEncoding::utf8, false);
  ASSERT_EQ(ntadd(NameKind::model, 0, u8("モデル"), len("モデル"), nullptr, 0, 254), 0);
  ASSERT_EQ(ntadd(NameKind::bone, 0, u8("センター"), len("センター"), nullptr, 0, 254), 0);
  ASSERT_EQ(ntadd(NameKind::frame, 0, u8("表情"), len("表情"), nullptr, 0, 254), 0);
  ASSERT_EQ(ntadd(NameKind::body, 0, u8("髪😀"), len("髪😀"), nullptr, 0, 254), 0);
  ConsoleCapture con;
  EXPECT_EQ(tbread(out.c_str(), nullptr, 0), 0);
  EXPECT_EQ(con.take(), "");
  EXPECT_EQ(given(NameKind::model, 0), "Model, \"the\" one");
  EXPECT_EQ(given(NameKind::bone, 0), " center");
  EXPECT_EQ(given(NameKind::frame, 0), "Exp\nression");
  std::filesystem::remove_all(dir);
}

}  // namespace
