// wordlist.cpp - remembering the corrections of an applied table in the user's word list.
//
// The list is never opened for writing: its bytes are copied unchanged to a new file
// beside it, the new lines follow, and once that file is on the disk it takes the
// list's name in one step. A run cut off at any point leaves the old list as it was.
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
    "# namedict-user.txt - your own whole names, read after namedict.txt: a later line\n"
    "# wins. Namewright adds a line for every name you correct in a names table (-J).\n"
    "namewright-dictionary 1\n";

// The lines to add: one per corrected row, the same line once.
struct Candidate {
  int32_t row;
  uint64_t hash;
  bool there;  // the list has it already
};
Candidate cands[NT_ROWS];
int candCount;
constexpr int kSlots = 1 << 19;
static_assert(kSlots >= 2 * NT_ROWS, "the look-up table stays at most half full");
int32_t slots[kSlots];  // candidate + 1, 0 when empty

// A candidate's line and a line of the list (longer ones cannot be an entry).
char built[DICT_LINEMAX + 8];
char listed[DICT_LINEMAX + 8];
uint8_t jpShown[NT_SHOWMAX], enShown[NT_SHOWMAX];
char pathA[OS_MAXPATH + 32];
char16_t pathW[OS_MAXPATH + 32];

uint64_t hashof(const char* s, int len) {
  uint64_t h = 14695981039346656037ull;
  for (int i = 0; i < len; i++) h = (h ^ static_cast<unsigned char>(s[i])) * 1099511628211ull;
  return h;
}

// The whole-name line of a corrected row in built, as the dictionary reads it back
// verbatim; its length, or -1 with *why when the names cannot make one.
int buildline(const NtRow& row, const char** why) {
  const int jn = ntshow(jpShown, sizeof jpShown, nttext(row, NT_JP), row.len[NT_JP]);
  const int en = ntshow(enShown, sizeof enShown, nttext(row, NT_GIVEN), row.len[NT_GIVEN]);
  uint8_t sjis[DICT_JPMAX + 1];
  *why = nullptr;
  for (int i = 0; i < jn && *why == nullptr; i++) {
    if (jpShown[i] < 0x20 || jpShown[i] == 0x7F) *why = "the Japanese name holds a control character";
  }
  if (jn <= 0) *why = "the Japanese name is empty";
  if (*why == nullptr) {
    int n = utf82sjisx(sjis, DICT_JPMAX, jpShown, jn, nullptr);
    if (n == -2) *why = "the Japanese name has a character without a Shift-JIS code";
    if (n == -1) *why = "the Japanese name is longer than 63 bytes in Shift-JIS";
  }
  // English is written as it is only when the dictionary would not trim, join or split it.
  if (*why == nullptr && (en <= 0 || enShown[0] == ' ' || enShown[en - 1] == ' ')) {
    *why = "the English name is empty or starts or ends with a blank";
  }
  for (int i = 0; i < en && *why == nullptr; i++) {
    if (enShown[i] < 0x20 || enShown[i] > 0x7E || enShown[i] == '|') {
      *why = "the English name is not plain ASCII (or holds '|')";
    } else if (enShown[i] == ' ' && enShown[i + 1] == ' ') {
      *why = "the English name holds two blanks in a row";
    }
  }
  if (*why == nullptr && en == 1 && enShown[0] == '-') *why = "the English name is \"-\"";
  if (*why != nullptr) return -1;
  const char kind = row.kind == NameKind::morph ? 'm' : row.kind == NameKind::frame ? 'f' : 'b';
  int n = snprintf(built, sizeof built, "%c\tN\t%.*s\t%.*s", kind, jn,
                   reinterpret_cast<const char*>(jpShown), en, reinterpret_cast<const char*>(enShown));
  if (n < 0 || n > DICT_LINEMAX) {
    *why = "the line would be too long";
    return -1;
  }
  return n;
}

// The candidate whose line is text, or -1 (built is overwritten).
int findline(const char* text, int len, uint64_t h) {
  for (uint32_t i = static_cast<uint32_t>(h) & (kSlots - 1);; i = (i + 1) & (kSlots - 1)) {
    int c = slots[i] - 1;
    if (c < 0) return -1;
    const char* why;
    if (cands[c].hash == h && buildline(ntrow(cands[c].row), &why) == len &&
        memcmp(built, text, static_cast<size_t>(len)) == 0)
      return c;
  }
}

void addcandidate(int r, uint64_t h) {
  uint32_t i = static_cast<uint32_t>(h) & (kSlots - 1);
  while (slots[i] != 0) i = (i + 1) & (kSlots - 1);
  cands[candCount] = Candidate{r, h, false};
  slots[i] = ++candCount;
}

void collect() {
  if (candCount > 0) memset(slots, 0, sizeof slots);
  candCount = 0;
  for (int r = 0; r < ntcount(); r++) {
    const NtRow& row = ntrow(r);
    if (!row.changed) continue;
    const char* why;
    int len = buildline(row, &why);
    if (len < 0) {
      const int n = ntshow(jpShown, sizeof jpShown, nttext(row, NT_JP), row.len[NT_JP]);
      char text[NT_SHOWMAX + 1], sjis[NT_SHOWMAX + 1];
      memcpy(text, jpShown, static_cast<size_t>(n > 0 ? n : 0));
      text[n > 0 ? n : 0] = 0;
      utf82sjisc(sjis, text);
      conprintf("Not remembered (%s): %s %ld %s \n", why, tbkindname(row.kind),
                static_cast<long>(row.index), sjis);
      continue;
    }
    const uint64_t h = hashof(built, len);
    char line[sizeof built];
    memcpy(line, built, static_cast<size_t>(len));
    if (findline(line, len, h) < 0) addcandidate(r, h);
  }
}

// One line of the list, without its line end: marks the candidate it repeats.
void seen(const char* text, int len, bool first) {
  if (first && len >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
    text += 3;
    len -= 3;
  }
  if (len > 0 && text[len - 1] == '\r') len--;
  int c = findline(text, len, hashof(text, len));
  if (c >= 0) cands[c].there = true;
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
    if (cands[c].there) {
      (*already)++;
      continue;
    }
    if (added++ == 0 && last >= 0 && last != '\n') wfwrite(eol, static_cast<int32_t>(strlen(eol)));
    const char* why;
    int len = buildline(ntrow(cands[c].row), &why);
    wfwrite(built, len);
    wfwrite(eol, static_cast<int32_t>(strlen(eol)));
  }
  if (added == 0) {
    wfdiscard();  // the list has every line: it stays as it is
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
