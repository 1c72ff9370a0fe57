// alias.cpp - reads the user's replacement rules from "alias.ini" and lists them.
#include <cstring>

#include "names/namelist.h"
#include "names/rules.h"
#include "setup/settings.h"
#include "setup/textfile.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

constexpr int kLineBuf = 256;
constexpr int kLineLimit = 255;    // tfgetline size: at most 253 bytes of a line
constexpr int kPathBuf = 1040;
constexpr int kShowBuf = 4 * kLineBuf;  // a line converted to UTF-8 (3 bytes per byte at most)

constexpr char kAliasName[] = "alias.ini";
constexpr char16_t kAliasNameW[] = u"alias.ini";

char line[kLineBuf];
char srcText[kLineBuf];   // the tokens as written in the file
char repText[kLineBuf];
char srcSjis[kLineBuf];   // the tokens in Shift-JIS
char repSjis[kLineBuf];
char showBuf[kShowBuf];
char pathA[kPathBuf];
char16_t pathW[kPathBuf];
bool utf8File;

// Printed labels and list headings of the rule kinds, in section order.
constexpr const char* kindLabel[RK_COUNT] = {" b-rep", " m-rep", " bEN-rep", " mEN-rep"};
constexpr const char* kindHeading[RK_COUNT] = {"Bones: \n", "Morphing: \n", "BonesEN: \n",
                                               "MorphingEN: \n"};
static_assert(sizeof(kindLabel) / sizeof(kindLabel[0]) == RK_COUNT);

// What a keyword line does; the table order decides between keywords that begin alike.
enum KeyAction { KA_COMMENT, KA_FORCE, KA_SECTION };
struct Keyword {
  const char* text;
  KeyAction action;
  RuleKind section;
};
constexpr Keyword keywords[] = {
    {"//", KA_COMMENT, RK_BONE},
    {"-ForceReplace", KA_FORCE, RK_BONE},
    {"-BoneEN", KA_SECTION, RK_BONEEN},
    {"-BonesEN", KA_SECTION, RK_BONEEN},
    {"-MorphEN", KA_SECTION, RK_MORPHEN},
    {"-MorphsEN", KA_SECTION, RK_MORPHEN},
    {"-Bone", KA_SECTION, RK_BONE},
    {"-Morph", KA_SECTION, RK_MORPH},
};

bool blank(char c) { return c == ' ' || c == '\t'; }

// Copies a token of the line from *pos into dst and moves *pos behind it (and behind
// the form letters when form is given). -1 after printing the error when it has no end.
int scantoken(int* pos, char* dst, uint8_t* form) {
  int p = *pos;
  int n = 0;
  if (line[p] == '"') {
    const int from = p > 0 ? p - 1 : 0;
    p++;
    while (p < kLineLimit && line[p] != '"' && line[p] != 0) dst[n++] = line[p++];
    if (p >= kLineLimit || line[p] != '"') {
      conprintf("Err: string end not detected: %s \n", line + from);
      return -1;
    }
    p++;
    if (form != nullptr) {
      if (line[p] == 'F') {
        *form = RF_WHOLE;
        p++;
      }
      if (line[p] == 'L') {
        *form = RF_TAIL;
        p++;
      }
    }
  } else {
    const int from = p > 2 ? p - 2 : 0;
    while (p < kLineLimit && line[p] != 0 && !blank(line[p])) dst[n++] = line[p++];
    if (p >= kLineLimit) {
      conprintf("Err: string end not detected: %s \n", line + from);
      return -1;
    }
  }
  dst[n] = 0;
  *pos = p;
  return 0;
}

// The file's text in Shift-JIS.
void tosjis(char* dst, const char* src) {
  if (utf8File) {
    utf82sjisc(dst, src);
  } else {
    memcpy(dst, src, strlen(src) + 1);
  }
}

// Cuts a Shift-JIS text to at most max bytes, never inside a double-byte character.
void cutwhole(char* s, int max) {
  int i = 0;
  while (s[i] != 0) {
    int len = names::isleadbyte(s[i]) && s[i + 1] != 0 ? 2 : 1;
    if (i + len > max) break;
    i += len;
  }
  s[i] = 0;
}

// The rest of a line in the encoding the console shows.
const char* forconsole(const char* text) {
  if (langjapanese()) {
    if (!utf8File) return text;
    utf82sjisc(showBuf, text);
  } else {
    if (utf8File) return text;
    sjis2utf8c(showBuf, text);
  }
  return showBuf;
}

// One rule line, from its first non-blank byte at pos.
void ruleline(RuleKind kind, int pos) {
  uint8_t form = RF_PART;
  if (scantoken(&pos, srcText, &form) != 0) return;
  if (srcText[0] == 0) {
    const unsigned char b = static_cast<unsigned char>(line[pos]);
    if (b == 0 || b == '\r' || b == '\n' || b == ' ' || b == '\t' || b == 0x1E) return;
    conprintf("%02X(%c) ", static_cast<unsigned>(b), b);
    conprintf("Syntax: %s \n", forconsole(line + pos));
    return;
  }
  tosjis(srcSjis, srcText);
  while (pos < kLineLimit && blank(line[pos])) pos++;
  if (scantoken(&pos, repText, nullptr) != 0) return;
  tosjis(repSjis, repText);
  cutwhole(repSjis, RULE_TEXTMAX);
  if (srcSjis[0] == 0) {
    conprintf(" rep \"%s\" \"%s\" ", srcSjis, repSjis);
    conputs(" => (cannot set) \n");
    return;
  }
  conprintf("%s \"%s\" \"%s\" ", kindLabel[kind], srcSjis, repSjis);
  // A source that does not fit an entry is refused rather than stored cut: a cut
  // source would match names the user never wrote.
  if (strlen(srcSjis) > NL_SLOT - 1) {
    conprintf(" => (cannot set: over %d bytes) \n", NL_SLOT - 1);
    return;
  }
  // The rule tables end before the list does; a rule without a slot is refused like
  // one for a full list.
  const int list = ruleList[kind];
  const int n = nlcount(list) < RULE_SLOTS - 1 ? nladd(list, srcSjis) : 0;
  memcpy(ruleText[kind][n], repSjis, strlen(repSjis) + 1);
  ruleForm[kind][n] = form;
  conprintf(" => %d \n", n);
}

// One routine for both path forms; the UTF-16 form shows an empty path.
int aliasfile(const char* path, const char16_t* pathw) {
  const char* shown = pathw != nullptr ? "" : path;
  conprintf("Checking : %s \n", shown);
  if (pathw != nullptr) {
    utf8File = !(chkifutf8W(pathw) == 0 && chkifsjisW(pathw) >= 3);
  } else {
    utf8File = !(chkifutf8(path) == 0 && chkifsjis(path) >= 3);
  }
  conprintf(utf8File ? "Reading (UTF-8): %s \n" : "Reading (SJIS) : %s \n", shown);
  if ((pathw != nullptr ? tfopenW(pathw) : tfopen(path)) != 0) return -1;

  RuleKind section = RK_BONE;
  while (tfeof() == 0) {
    const int c = tfpeek();
    if (c == -1) break;
    if (c == '\r' || c == '\n' || c == 0x1A || c == ' ' || c == '\t') {
      tfgetc();
      continue;
    }
    int len = tfgetline(line, kLineLimit);
    // The rest of a line too long for the buffer goes with it: read as a line of its
    // own, a comment's tail could become a rule.
    const bool cut = tfskiprest() > 0;
    if (len == 0) continue;
    while (len > 1 && (line[len - 1] == ' ' || line[len - 1] == '\r' || line[len - 1] == '\n'))
      line[--len] = 0;
    int pos = 0;
    while (pos < kLineLimit && blank(line[pos])) pos++;
    const Keyword* key = nullptr;
    for (const Keyword& k : keywords) {
      if (keyis(line + pos, k.text) == 0) {
        key = &k;
        break;
      }
    }
    if (key == nullptr && cut) {
      // A rule cut short could say something other than what was written.
      conprintf("Err: line longer than %d bytes, dropped: %s \n", kLineLimit - 2,
                forconsole(line + pos));
    } else if (key == nullptr) {
      ruleline(section, pos);
    } else if (key->action == KA_FORCE) {
      Force.display = 1;
    } else if (key->action == KA_SECTION) {
      section = key->section;
    }
  }
  tfclose();
  return 0;
}

// dir + name into dst; false when it does not fit.
bool join(char* dst, const char* dir, const char* name) {
  size_t a = strlen(dir), b = strlen(name);
  if (a + b + 1 > kPathBuf) return false;
  memcpy(dst, dir, a);
  memcpy(dst + a, name, b + 1);
  return true;
}

bool joinW(char16_t* dst, const char16_t* dir, const char16_t* name) {
  int n = 0;
  for (; dir[n] != 0; n++) {
    if (n >= kPathBuf - 1) return false;
    dst[n] = dir[n];
  }
  for (int i = 0; name[i] != 0; i++, n++) {
    if (n >= kPathBuf - 1) return false;
    dst[n] = name[i];
  }
  dst[n] = 0;
  return true;
}

}  // namespace

int aliasread(const char* path) { return aliasfile(path, nullptr); }
int aliasreadW(const char16_t* path) { return aliasfile(nullptr, path); }

void aliaslist(bool found) {
  for (int k = 0; k < RK_COUNT; k++) {
    conputs(kindHeading[k]);
    int n = nlcount(ruleList[k]);
    if (n > RULE_SLOTS - 1) n = RULE_SLOTS - 1;
    for (int i = 1; i <= n; i++) {
      conprintf(" %d: \"%s\"", i, nlentry(ruleList[k], i));
      conputs(ruleForm[k][i] != RF_PART ? "L " : "  ");
      conprintf("  \"%s\" \n", ruleText[k][i]);
    }
  }
  if (found) {
    conprintf("  => Replace def. bone  strings: %d \n", nlcount(ruleList[RK_BONE]));
    conprintf("  => Replace def. morph strings: %d \n", nlcount(ruleList[RK_MORPH]));
    conprintf("  => Replace def. boneEN  strings: %d \n", nlcount(ruleList[RK_BONEEN]));
    conprintf("  => Replace def. morphEN strings: %d \n", nlcount(ruleList[RK_MORPHEN]));
  }
  conputs("\n");
}

void aliasload(const char* dirA, const char16_t* dirW) {
  nlinit();
  const bool haveA = join(pathA, dirA, kAliasName);
  const bool haveW = joinW(pathW, dirW, kAliasNameW);
  bool foundA = false, foundW = false;
  if (haveA && tftryopen(pathA) == 0) {
    conputs("Alias file found. \n");
    foundA = true;
  } else if (haveW && tftryopenW(pathW) == 0) {
    conputs("Alias file found. (W) \n");
    foundW = true;
  }
  if (foundA && aliasread(pathA) == 0) conputs("Alias file read-in. \n");
  if (foundW && aliasreadW(pathW) == 0) conputs("Alias file read-in. (W) \n");
  aliaslist(foundA || foundW);
}
