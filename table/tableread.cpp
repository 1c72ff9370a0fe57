// tableread.cpp - reading a names table and checking it against the model's elements.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "io/binfile.h"
#include "names/nametable.h"
#include "table/table.h"
#include "text/console.h"
#include "text/sjis.h"
#include "text/utf8.h"

namespace {

constexpr int kFields = 16;  // fields of a line kept; more are counted only

struct Field {
  uint8_t text[TB_FIELDMAX];
  int len;
  bool toolong;
};

// The line of fields being read (a quoted field may span several lines of the file).
struct Record {
  Field fields[kFields];
  int count;          // fields of the line, those not kept too
  int line;           // the file's line it begins on
  const char* fault;  // what makes it unreadable, or null
};

Record rec;
int lineNo;  // the file's line being read, from 1
int faults;
int givenRows;

// Bytes read ahead: the byte-order mark test, the byte after a CR.
uint8_t ahead[4];
int aheadAt, aheadCount;

int getbyte() {
  if (aheadAt < aheadCount) {
    int c = ahead[aheadAt++];
    if (aheadAt == aheadCount) aheadAt = aheadCount = 0;
    return c;
  }
  return rfgetc();
}

void unget(int c) {
  if (c < 0) return;  // the reader stays at its end
  if (aheadAt > 0) {
    ahead[--aheadAt] = static_cast<uint8_t>(c);
  } else {
    ahead[aheadCount++] = static_cast<uint8_t>(c);
  }
}

void skipbom() {
  static constexpr uint8_t kBom[3] = {0xEF, 0xBB, 0xBF};
  int n = 0;
  for (; n < 3; n++) {
    int c = rfgetc();
    if (c < 0) break;
    ahead[n] = static_cast<uint8_t>(c);
    if (c != kBom[n]) {
      n++;
      break;
    }
  }
  aheadAt = 0;
  aheadCount = n == 3 && memcmp(ahead, kBom, 3) == 0 ? 0 : n;
}

void fault(int line, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void fault(int line, const char* fmt, ...) {
  if (faults++ >= TB_FAULTSSHOWN) return;
  char what[4 * TB_FIELDMAX];
  va_list args;
  va_start(args, fmt);
  vsnprintf(what, sizeof what, fmt, args);
  va_end(args);
  conprintf("Table line %d: %s \n", line, what);
}

void append(int c) {
  if (rec.count >= kFields) return;
  Field& f = rec.fields[rec.count];
  if (f.len < TB_FIELDMAX) {
    f.text[f.len++] = static_cast<uint8_t>(c);
  } else {
    f.toolong = true;
  }
}

void nextfield() {
  rec.count++;
  if (rec.count < kFields) rec.fields[rec.count] = Field{{}, 0, false};
}

bool blanksonly() {
  if (rec.count >= kFields) return true;
  const Field& f = rec.fields[rec.count];
  for (int i = 0; i < f.len; i++) {
    if (f.text[i] != ' ') return false;
  }
  return !f.toolong;
}

// A line end: CR LF counts once, as does a CR or a LF alone. Inside quotes its bytes
// belong to the field.
void lineend(int c, bool keep) {
  if (keep) append(c);
  if (c == '\r') {
    int d = getbyte();
    if (d == '\n') {
      if (keep) append(d);
    } else {
      unget(d);
    }
  }
  lineNo++;
}

// Reads the next line of fields (RFC 4180); false at the end of the file with nothing
// left to read.
bool readrecord() {
  rec.count = 0;
  rec.fields[0] = Field{{}, 0, false};
  rec.line = lineNo;
  rec.fault = nullptr;
  enum { START, PLAIN, QUOTED, CLOSED } state = START;
  bool any = false;
  for (;;) {
    int c = getbyte();
    if (c < 0) {
      if (!any) return false;
      if (state == QUOTED) rec.fault = "a quoted field is not closed at the end of the file";
      rec.count++;
      return true;
    }
    any = true;
    if (c == 0) {
      rec.fault = "a zero byte";
      continue;
    }
    if (state == QUOTED) {
      if (c == '"') {
        state = CLOSED;
      } else if (c == '\r' || c == '\n') {
        lineend(c, true);
      } else {
        append(c);
      }
      continue;
    }
    if (c == ',') {
      nextfield();
      state = START;
    } else if (c == '\r' || c == '\n') {
      lineend(c, false);
      rec.count++;
      return true;
    } else if (c == '"' && (state == START || (state == PLAIN && blanksonly()))) {
      // Some programs put blanks between the comma and the quote: they are dropped.
      if (rec.count < kFields) rec.fields[rec.count].len = 0;
      state = QUOTED;
    } else if (c == '"' && state == CLOSED) {
      append(c);  // a doubled quote
      state = QUOTED;
    } else if (c == ' ' && state == CLOSED) {
      // and blanks between the closing quote and the comma
    } else {
      if (c == '"') rec.fault = "a quote inside a field that is not quoted";
      if (state == CLOSED) rec.fault = "text after the closing quote of a field";
      append(c);
      if (state == START) state = PLAIN;
    }
  }
}

// ---- The columns --------------------------------------------------------------

enum Column { C_KIND, C_INDEX, C_JAPANESE, C_ENGLISH, C_COLUMNS };
constexpr const char* kColumnNames[C_COLUMNS] = {"kind", "index", "japanese", "english"};
int column[C_COLUMNS];
int headerFields;

// The field's text without blanks around it, zero-terminated.
char trimmed[TB_FIELDMAX + 1];
const char* trim(const Field& f) {
  int a = 0, b = f.len;
  while (a < b && f.text[a] == ' ') a++;
  while (b > a && f.text[b - 1] == ' ') b--;
  memcpy(trimmed, f.text + a, static_cast<size_t>(b - a));
  trimmed[b - a] = 0;
  return trimmed;
}

bool sameword(const char* s, const char* word) {
  for (; *word != 0; s++, word++) {
    char c = *s >= 'A' && *s <= 'Z' ? static_cast<char>(*s + 32) : *s;
    if (c != *word) return false;
  }
  return *s == 0;
}

bool header() {
  for (int& c : column) c = -1;
  headerFields = rec.count;
  for (int i = 0; i < rec.count && i < kFields; i++) {
    const char* name = trim(rec.fields[i]);
    for (int c = 0; c < C_COLUMNS; c++) {
      if (column[c] < 0 && sameword(name, kColumnNames[c])) column[c] = i;
    }
  }
  for (int c = 0; c < C_COLUMNS; c++) {
    if (column[c] < 0) {
      fault(rec.line,
            "not a names table: the first line has no column \"%s\" (kind,index,japanese,"
            "english,original,source)",
            kColumnNames[c]);
      return false;
    }
  }
  return true;
}

// ---- One row -------------------------------------------------------------------

constexpr const char* kPlural[] = {"bones", "morphs", "frames", "models", "materials",
                                   "rigid bodies", "joints", "soft bodies"};
static_assert(sizeof kPlural / sizeof kPlural[0] == static_cast<size_t>(NameKind::softbody) + 1);

bool blank() {
  for (int i = 0; i < rec.count && i < kFields; i++) {
    if (rec.fields[i].len > 0) return false;
  }
  return true;
}

bool kindof(const char* s, NameKind* kind) {
  for (int k = 0; k <= static_cast<int>(NameKind::softbody); k++) {
    if (sameword(s, tbkindname(static_cast<NameKind>(k)))) {
      *kind = static_cast<NameKind>(k);
      return true;
    }
  }
  return false;
}

bool indexof(const char* s, int32_t* index) {
  int32_t v = 0;
  int n = 0;
  for (; s[n] >= '0' && s[n] <= '9'; n++) {
    if (n == 9) return false;
    v = v * 10 + (s[n] - '0');
  }
  *index = v;
  return n > 0 && s[n] == 0;
}

// A UTF-8 text for the console (Shift-JIS), in one of two buffers.
const char* console(const uint8_t* s, int len, int which) {
  static char text[2][TB_FIELDMAX + 1];
  static char sjis[2][2 * TB_FIELDMAX + 2];
  memcpy(text[which], s, static_cast<size_t>(len));
  text[which][len] = 0;
  utf82sjisc(sjis[which], text[which]);
  return sjis[which];
}

const char* encodingname() {
  switch (ntencoding()) {
    case NtEncoding::utf16le: return "UTF-16";
    case NtEncoding::utf8: return "UTF-8";
    default: return "Shift-JIS";
  }
}

// The English name in the model's encoding; its length, or -1 after a fault.
uint8_t encoded[2 * TB_FIELDMAX + 8];
int encode(const Field& f, const char* what, int32_t index) {
  if (!utf8valid(f.text, f.len)) {
    fault(rec.line, "the English name is not UTF-8 text (save the table as CSV UTF-8)");
    return -1;
  }
  int n = f.len;
  uint32_t bad = 0;
  switch (ntencoding()) {
    case NtEncoding::utf16le: n = utf82utf16le(encoded, sizeof encoded, f.text, f.len); break;
    case NtEncoding::utf8: memcpy(encoded, f.text, static_cast<size_t>(f.len)); break;
    default: n = utf82sjisx(encoded, sizeof encoded, f.text, f.len, &bad); break;
  }
  if (n == -2) {
    fault(rec.line,
          "the English name of %s %ld has a character without a Shift-JIS code (U+%04lX); "
          "a PMD holds Shift-JIS names only",
          what, static_cast<long>(index), static_cast<unsigned long>(bad));
  } else if (n < 0) {
    fault(rec.line, "the English name of %s %ld cannot be converted", what, static_cast<long>(index));
  }
  return n < 0 ? -1 : n;
}

void row() {
  if (blank()) return;
  if (rec.fault != nullptr) {
    fault(rec.line, "%s", rec.fault);
    return;
  }
  int last = 0;
  for (int c : column) last = c > last ? c : last;
  if (rec.count <= last) {
    fault(rec.line, "%d fields where the first line has %d", rec.count, headerFields);
    return;
  }
  for (int c : column) {
    if (rec.fields[c].toolong) {
      fault(rec.line, "a field of more than %d bytes", TB_FIELDMAX);
      return;
    }
  }
  NameKind kind;
  if (!kindof(trim(rec.fields[column[C_KIND]]), &kind)) {
    fault(rec.line, "\"%s\" is not a kind (bone, morph, frame, model, material, rigid body, joint, "
                    "soft body)", console(rec.fields[column[C_KIND]].text, rec.fields[column[C_KIND]].len, 0));
    return;
  }
  const char* what = tbkindname(kind);
  int32_t index;
  if (!indexof(trim(rec.fields[column[C_INDEX]]), &index)) {
    fault(rec.line, "the index \"%s\" is not a whole number",
          console(rec.fields[column[C_INDEX]].text, rec.fields[column[C_INDEX]].len, 0));
    return;
  }
  const int r = ntfind(kind, index);
  if (r < 0) {
    int32_t first, count;
    ntrange(kind, &first, &count);
    if (count == 0) {
      fault(rec.line, "the names of %s are not handled for this model (other kinds than bones, "
                      "morphs and frames need -O)", kPlural[static_cast<int>(kind)]);
    } else {
      fault(rec.line, "the model has no %s %ld (its %s are %ld to %ld)", what, static_cast<long>(index),
            kPlural[static_cast<int>(kind)], static_cast<long>(first),
            static_cast<long>(first + count - 1));
    }
    return;
  }
  const NtRow& element = ntrow(r);
  if (element.line != 0) {
    fault(rec.line, "%s %ld is listed twice (first on line %d)", what, static_cast<long>(index),
          element.line);
    return;
  }
  const Field& jp = rec.fields[column[C_JAPANESE]];
  if (!utf8valid(jp.text, jp.len)) {
    fault(rec.line, "the Japanese name is not UTF-8 text (save the table as CSV UTF-8)");
    return;
  }
  static uint8_t model[NT_SHOWMAX];
  int n = ntshow(model, sizeof model, nttext(element, NT_JP), element.len[NT_JP]);
  if (n != jp.len || memcmp(model, jp.text, static_cast<size_t>(n)) != 0) {
    fault(rec.line, "%s %ld is %s in the model, not %s", what, static_cast<long>(index),
          console(model, n > 0 ? n : 0, 0), console(jp.text, jp.len, 1));
    return;
  }
  // The name as the model has it is given as its very bytes, whatever they are.
  const Field& en = rec.fields[column[C_ENGLISH]];
  n = ntshow(model, sizeof model, nttext(element, NT_ORIG), element.len[NT_ORIG]);
  if (n == en.len && memcmp(model, en.text, static_cast<size_t>(n)) == 0) {
    if (ntgive(r, nttext(element, NT_ORIG), element.len[NT_ORIG], rec.line) == 0) givenRows++;
    return;
  }
  const int len = encode(en, what, index);
  if (len < 0) return;
  if (len > ntmaxbytes(r)) {
    fault(rec.line, "the English name of %s %ld takes %d bytes in %s, more than the %d it may have",
          what, static_cast<long>(index), len, encodingname(), ntmaxbytes(r));
    return;
  }
  if (ntgive(r, encoded, len, rec.line) != 0) {
    fault(rec.line, "no room for the English name");
    return;
  }
  givenRows++;
}

}  // namespace

int tbread(const char* pathA, const char16_t* pathW, int useW) {
  faults = 0;
  givenRows = 0;
  lineNo = 1;
  aheadAt = aheadCount = 0;
  if ((useW ? rfopenW(pathW) : rfopen(pathA)) != 0) return -1;
  skipbom();
  bool headed = false;
  while (readrecord()) {
    if (headed) {
      row();
    } else if (!blank() || rec.fault != nullptr) {
      if (rec.fault != nullptr) {
        fault(rec.line, "%s", rec.fault);
        break;
      }
      if (!header()) break;
      headed = true;
    }
  }
  bool failed = rfreaderror();
  rfclose();
  if (failed) fault(lineNo, "the file could not be read to its end");
  if (!headed && faults == 0) fault(1, "not a names table: the file is empty");
  if (faults > TB_FAULTSSHOWN) conprintf("... and %d more faults \n", faults - TB_FAULTSSHOWN);
  return faults;
}

int tbrows() { return givenRows; }
