// wordlist.cpp - remembering the corrections of an applied table in the user's word list.
//
// The list is never opened for writing: its bytes are copied unchanged to a new file
// beside it, the new lines follow, and once that file is on the disk it takes the
// list's name in one step. A run cut off at any point leaves the old list as it was.
//
// A correction is a row whose English name the table changed; it becomes the line
//   <b, m or f> TAB N TAB <japanese> TAB <english>
// which gives every later name of that kind and Japanese text the same English name.
// So a correction stays out when it would not say one thing: when the table changes the
// same Japanese text to two names, or when the list already names that text otherwise
// and the table still gives the list's name to another element (an old table applied
// again, whose other rows are not corrections).
#include <cstdio>
#include <cstring>

#include "io/binfile.h"
#include "io/savefile.h"
#include "names/dict.h"
#include "names/nametable.h"
#include "platform/platform.h"
#include "table/table.h"
#include "text/console.h"
#include "text/sjis.h"
#include "text/utf8.h"

namespace {

constexpr char kHead[] =
    "# namedict-user.txt - your own whole names, read after the dictionary: a later line\n"
    "# wins. Namewright adds a line for every name you correct in a names table (-J).\n"
    "namewright-dictionary 1\n";

const char kTwoNames[] = "the table changes this Japanese name to more than one English name";
const char kListed[] =
    "namedict-user.txt names it otherwise, and the table keeps that name for another element";

// Lines are looked up by hash in open-addressed tables of row numbers + 1.
constexpr int kSlots = 1 << 19;
static_assert(kSlots >= 2 * NT_ROWS, "the look-up tables stay at most half full");

struct Candidate {
  int32_t row;
  uint64_t line;    // hash of its line
  uint64_t group;   // hash of its line up to the English name
  const char* out;  // why it stays out, or null
  bool there;       // the list has the line already
};
Candidate cands[NT_ROWS];
int candCount;
int32_t byLine[kSlots];   // candidates by line
int32_t byGroup[kSlots];  // the first candidate of each group
int32_t given[kSlots];    // every row the table gives, by its line (English as given)
bool filled;              // the tables hold something to clear

// A line being built, a line of the list; longer ones cannot be entries.
char built[DICT_LINEMAX + 8];
char listed[DICT_LINEMAX + 8];
char probe[DICT_LINEMAX + 8];
uint8_t jpShown[NT_SHOWMAX], enShown[NT_SHOWMAX];
char pathA[OS_MAXPATH + 32];
char16_t pathW[OS_MAXPATH + 32];

uint64_t hashof(const char* s, int len) {
  uint64_t h = 14695981039346656037ull;
  for (int i = 0; i < len; i++) h = (h ^ static_cast<unsigned char>(s[i])) * 1099511628211ull;
  return h;
}

char kindletter(NameKind kind) {
  return kind == NameKind::morph ? 'm' : kind == NameKind::frame ? 'f' : 'b';
}

// The whole-name line of a row with the table's English name in built; its length, and
// in *group the length of its part before the English name (the tab included). -1 when
// it does not fit.
int rowline(const NtRow& row, int* group) {
  const int jn = ntshow(jpShown, sizeof jpShown, nttext(row, NT_JP), row.len[NT_JP]);
  const int en = ntshow(enShown, sizeof enShown, nttext(row, NT_GIVEN), row.len[NT_GIVEN]);
  if (jn < 0 || en < 0) return -1;
  int n = snprintf(built, sizeof built, "%c\tN\t%.*s\t%.*s", kindletter(row.kind), jn,
                   reinterpret_cast<const char*>(jpShown), en, reinterpret_cast<const char*>(enShown));
  *group = 5 + jn;
  return n > 0 && n <= DICT_LINEMAX ? n : -1;
}

// Why the row's line cannot be a whole-name entry read back verbatim, or null; the line
// is in built when it can.
const char* unfit(const NtRow& row, int* len, int* group) {
  *len = rowline(row, group);
  if (*len < 0) return "the line would be too long";
  const int jn = *group - 5;
  const int en = *len - *group;
  const uint8_t* jp = reinterpret_cast<const uint8_t*>(built) + 4;
  const char* e = built + *group;
  if (jn == 0) return "the Japanese name is empty";
  // The dictionary refuses a whole file for one such line, so none is written.
  int chars = 0;
  for (int i = 0; i < jn; chars++) {
    uint32_t cp = 0;
    const int k = utf8next(jp + i, jn - i, &cp);
    if (k == 0) return "the Japanese name is not UTF-8";
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return "the Japanese name holds a control character";
    i += k;
  }
  if (chars > DICT_JPCHARS) return "the Japanese name is longer than 32 characters";
  // Names are looked up in their Shift-JIS form: a line without one would never be used.
  uint8_t sjis[2 * DICT_JPCHARS];
  if (utf82sjisx(sjis, sizeof sjis, jp, jn, nullptr) < 0) {
    return "the Japanese name has a character without a Shift-JIS code";
  }
  // English is written as it is only when the dictionary would not trim, join or split it.
  if (en == 0 || e[0] == ' ' || e[en - 1] == ' ') return "the English name is empty or starts or ends with a blank";
  for (int i = 0; i < en; i++) {
    if (e[i] < 0x20 || e[i] > 0x7E || e[i] == '|') return "the English name is not plain ASCII (or holds '|')";
    if (e[i] == ' ' && e[i + 1] == ' ') return "the English name holds two blanks in a row";
  }
  if (en == 1 && e[0] == '-') return "the English name is \"-\"";
  return nullptr;
}

// The slot of table t where the entry of hash h is, or the empty one where it would go;
// same(entry) tells whether an entry with that hash is the one looked for.
template <typename Same>
int32_t& slot(int32_t* t, uint64_t h, Same same) {
  for (uint32_t i = static_cast<uint32_t>(h) & (kSlots - 1);; i = (i + 1) & (kSlots - 1)) {
    if (t[i] == 0 || same(t[i] - 1)) return t[i];
  }
}

// Whether row r's line (built again in probe) begins with the n bytes of text.
bool rowmatches(int r, const char* text, int n, bool whole) {
  int group;
  int len = rowline(ntrow(r), &group);
  memcpy(probe, built, static_cast<size_t>(len > 0 ? len : 0));
  return len >= n && (!whole || len == n) && memcmp(probe, text, static_cast<size_t>(n)) == 0;
}

void say(const NtRow& row, const char* why) {
  const int n = ntshow(jpShown, sizeof jpShown, nttext(row, NT_JP), row.len[NT_JP]);
  char text[NT_SHOWMAX + 1], sjis[NT_SHOWMAX + 1];
  memcpy(text, jpShown, static_cast<size_t>(n > 0 ? n : 0));
  text[n > 0 ? n : 0] = 0;
  utf82sjisc(sjis, text);
  conprintf("Not remembered (%s): %s %ld %s \n", why, tbkindname(row.kind),
            static_cast<long>(row.index), sjis);
}

void collect() {
  if (filled) {
    memset(byLine, 0, sizeof byLine);
    memset(byGroup, 0, sizeof byGroup);
    memset(given, 0, sizeof given);
  }
  filled = true;
  candCount = 0;
  for (int r = 0; r < ntcount(); r++) {
    const NtRow& row = ntrow(r);
    if (row.line == 0) continue;
    int group, len = rowline(row, &group);
    if (len < 0) continue;
    const uint64_t h = hashof(built, len);
    char line[sizeof built];
    memcpy(line, built, static_cast<size_t>(len));
    int32_t& g = slot(given, h, [&](int other) { return rowmatches(other, line, len, true); });
    if (g == 0) g = r + 1;
    if (!row.changed) continue;
    const char* why = unfit(row, &len, &group);
    if (why != nullptr) {
      say(row, why);
      continue;
    }
    int32_t& same = slot(byLine, h, [&](int c) { return rowmatches(cands[c].row, line, len, true); });
    if (same != 0) continue;
    const uint64_t gh = hashof(line, group);
    cands[candCount] = Candidate{r, h, gh, nullptr, false};
    same = ++candCount;
    int32_t& first = slot(byGroup, gh, [&](int c) { return rowmatches(cands[c].row, line, group, false); });
    if (first == 0) {
      first = candCount;
    } else {
      cands[first - 1].out = kTwoNames;
      cands[candCount - 1].out = kTwoNames;
    }
  }
}

// One line of the list, without its line end: marks the candidate it repeats, and the
// candidates whose Japanese name it gives another English name that the table keeps.
void seen(char* text, int len, bool first) {
  if (first && len >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
    text += 3;
    len -= 3;
  }
  if (len > 0 && text[len - 1] == '\r') len--;
  int32_t c = slot(byLine, hashof(text, len), [&](int k) { return rowmatches(cands[k].row, text, len, true); });
  if (c != 0) cands[c - 1].there = true;
  // kinds TAB N TAB japanese TAB english: once for each kind letter it has.
  const char* tab = static_cast<const char*>(memchr(text, '\t', static_cast<size_t>(len)));
  if (tab == nullptr || len - (tab - text) < 4 || memcmp(tab, "\tN\t", 3) != 0) return;
  const int kinds = static_cast<int>(tab - text);
  char line[sizeof listed];
  const int rest = len - kinds;  // from the first tab on
  for (int k = 0; k < kinds; k++) {
    line[0] = text[k];
    memcpy(line + 1, tab, static_cast<size_t>(rest));
    const int n = 1 + rest;
    const char* jpEnd = static_cast<const char*>(memchr(line + 4, '\t', static_cast<size_t>(n - 4)));
    if (jpEnd == nullptr) return;
    const int group = static_cast<int>(jpEnd - line) + 1;
    int32_t g = slot(byGroup, hashof(line, group), [&](int x) { return rowmatches(cands[x].row, line, group, false); });
    if (g == 0 || rowmatches(cands[g - 1].row, line, n, true)) continue;
    int32_t kept = slot(given, hashof(line, n), [&](int r) { return rowmatches(r, line, n, true); });
    if (kept == 0) continue;
    for (int x = 0; x < candCount; x++) {
      if (cands[x].group == cands[g - 1].group && cands[x].out == nullptr &&
          rowmatches(cands[x].row, line, group, false))
        cands[x].out = kListed;
    }
  }
}

// Copies the open list to the writer, looking at each of its lines. The line end it
// uses in *eol; *last its last byte (-1 when empty). false when it could not be read.
bool copylist(const char** eol, int* last) {
  int len = 0;
  bool toolong = false, first = true;
  *eol = "\n";
  *last = -1;
  for (int c = rfgetc(); c >= 0; c = rfgetc()) {
    wfputc(c);
    *last = c;
    if (c != '\n') {
      if (len < DICT_LINEMAX + 2) {
        listed[len++] = static_cast<char>(c);
      } else {
        toolong = true;
      }
      continue;
    }
    if (first && len > 0 && listed[len - 1] == '\r') *eol = "\r\n";
    if (!toolong) seen(listed, len, first);
    first = false;
    len = 0;
    toolong = false;
  }
  if (len > 0 && !toolong) seen(listed, len, first);
  return !rfreaderror();
}

bool joinpath(const char* dirA, const char16_t* dirW, bool* okA, bool* okW) {
  *okA = snprintf(pathA, OS_MAXPATH, "%s%s", dirA, TB_WORDLIST) < OS_MAXPATH &&
         strchr(pathA, '?') == nullptr;
  int n = unistrlen(dirW);
  *okW = n + static_cast<int>(sizeof TB_WORDLIST) <= OS_MAXPATH;
  if (*okW) {
    unistrcpy(pathW, dirW);
    for (size_t i = 0; i < sizeof TB_WORDLIST; i++) pathW[n + i] = static_cast<char16_t>(TB_WORDLIST[i]);
  }
  return *okA || *okW;
}

}  // namespace

int tbremember(const char* dirA, const char16_t* dirW, int* already) {
  *already = 0;
  collect();
  if (candCount == 0) return 0;
  bool okA, okW;
  if (!joinpath(dirA, dirW, &okA, &okW)) {
    conputs("The word list's path is too long: nothing was remembered. \n");
    return -1;
  }
  int useW = okA ? 0 : 1;
  bool exists = false;
  if (okA && rftryopen(pathA) == 0) {
    exists = true;
  } else if (okW && rftryopenW(pathW) == 0) {
    exists = true;
    useW = 1;
  }
  rfclose();
  if (exists && (useW ? rfopenW(pathW) : rfopen(pathA)) != 0) return -1;
  if (!wfopentemp(pathA, pathW, useW)) {
    rfclose();
    return -1;
  }
  const char* eol = "\n";
  int last = -1;
  if (exists) {
    bool whole = copylist(&eol, &last);
    rfclose();
    if (!whole) {
      wfdiscard();
      conputs("The word list could not be read to its end: nothing was remembered. \n");
      return -1;
    }
  } else {
    wfwrite(kHead, static_cast<int32_t>(sizeof kHead - 1));
  }
  int added = 0;
  for (int c = 0; c < candCount; c++) {
    const NtRow& row = ntrow(cands[c].row);
    if (cands[c].there) {
      (*already)++;
      continue;
    }
    if (cands[c].out != nullptr) {
      say(row, cands[c].out);
      continue;
    }
    if (added++ == 0 && last >= 0 && last != '\n') wfwrite(eol, static_cast<int32_t>(strlen(eol)));
    int group, len = rowline(row, &group);
    wfwrite(built, len);
    wfwrite(eol, static_cast<int32_t>(strlen(eol)));
  }
  if (added == 0) {
    wfdiscard();  // nothing to add: the list stays as it is
    return 0;
  }
  if (wfflush() != 0 || wferror() != 0) {
    wfdiscard();
    return -1;
  }
  int r = exists ? (useW ? wfcommitoverW(pathW) : wfcommitover(pathA))
                 : (useW ? wfcommitW(pathW) : wfcommit(pathA));
  if (r == 1) {
    wfdiscard();
    conputs("A word list appeared meanwhile: nothing was remembered. \n");
  }
  return r == 0 ? added : -1;
}
