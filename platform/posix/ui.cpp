// ui.cpp - POSIX: message boxes and the File-Open dialog on the controlling terminal.
//
// A question box and the dialog talk on /dev/tty, so they work while standard output
// goes to a file; without a terminal a question is refused and the dialog cancelled.
// A report box adds nothing: the program has already printed its text on the console.
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/oschars.h"
#include "text/sjis.h"

namespace {

constexpr int kIdCancel = 2;
constexpr uint32_t kBufferTooSmall = 0x3003;  // FNERR_BUFFERTOOSMALL

uint32_t dlgError = 0;

// Output to the terminal, gathered in a small buffer.
struct Tty {
  int fd;
  size_t n;
  char buf[512];
};

void ttyflush(Tty* t) {
  size_t done = 0;
  while (done < t->n) {
    ssize_t w = write(t->fd, t->buf + done, t->n - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) break;
    done += static_cast<size_t>(w);
  }
  t->n = 0;
}

void ttyput(Tty* t, const char* s, size_t len) {
  for (size_t i = 0; i < len; i++) {
    if (t->n == sizeof t->buf) ttyflush(t);
    t->buf[t->n++] = s[i];
  }
}

void ttyputs(Tty* t, const char* utf8) { ttyput(t, utf8, strlen(utf8)); }

void ttyputcp(Tty* t, unsigned cp) {
  char seq[4];
  ttyput(t, seq, static_cast<size_t>(utf8encode(cp, seq)));
}

// Text in the program's forms, converted to UTF-8; "\r\n" becomes a line end.
void ttytext(Tty* t, const char* sjis) {
  const auto* p = reinterpret_cast<const unsigned char*>(sjis);
  while (*p != 0) {
    unsigned cp;
    if (*p == '\r' && p[1] == '\n') {
      p++;
      continue;
    }
    if (*p < 0x80) {
      cp = *p++;
    } else if (sysleadbyte(*p) && p[1] != 0) {
      cp = sjisch2unichc(static_cast<unsigned>(p[0]) << 8 | p[1]);
      p += 2;
    } else {
      cp = sjisch2unich(*p++);
    }
    ttyputcp(t, cp != 0 ? cp : 0xFFFD);
  }
}

void ttytext(Tty* t, const char16_t* w) {
  for (size_t i = 0; w[i] != 0; i++) {
    unsigned cp = w[i];
    if (cp == '\r' && w[i + 1] == '\n') continue;
    if (cp >= 0xD800 && cp <= 0xDBFF && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp & 0x3FF) << 10 | (w[i + 1] & 0x3FFu));
      i++;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    ttyputcp(t, cp);
  }
}

// One answer line from the terminal, without its line end; -1 at its end. The rest of
// an overlong line is dropped.
int ttyline(Tty* t, char* line, size_t cap) {
  ttyflush(t);
  size_t n = 0;
  for (;;) {
    char c;
    ssize_t r = read(t->fd, &c, 1);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) {
      if (n == 0) return -1;
      break;
    }
    if (c == '\n') break;
    if (n + 1 < cap) line[n++] = c;
  }
  if (n > 0 && line[n - 1] == '\r') n--;
  line[n] = 0;
  return 0;
}

bool ttyopen(Tty* t) {
  t->fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  t->n = 0;
  return t->fd >= 0;
}

void ttyclose(Tty* t) {
  ttyflush(t);
  close(t->fd);
}

bool oneof(const char* answer, const char* const* words) {
  for (; *words != nullptr; words++) {
    if (strcasecmp(answer, *words) == 0) return true;
  }
  return false;
}

template <typename Ch>
int msgbox(const Ch* text, const Ch* caption, unsigned kind) {
  if ((kind & 0xF) == OSMB_OK) return OSID_OK;  // a report: already on the console
  Tty t;
  if (!ttyopen(&t)) return 0;
  static const char* const yes[] = {"o", "ok", "y", "yes", nullptr};
  static const char* const no[] = {"c", "cancel", "n", "no", nullptr};
  ttyputs(&t, "\n[ ");
  ttytext(&t, caption);
  ttyputs(&t, " ]\n");
  ttytext(&t, text);
  ttyputs(&t, "\n");
  int answer = kIdCancel;  // the box closed
  char line[64];
  for (;;) {
    ttyputs(&t, "[OK / Cancel] ");
    if (ttyline(&t, line, sizeof line) != 0) break;
    if (oneof(line, yes)) {
      answer = OSID_OK;
      break;
    }
    if (oneof(line, no)) break;
  }
  ttyputs(&t, "\n");
  ttyclose(&t);
  return answer;
}

// The caller's path forms to and from UTF-8.
int toutf8(const char* s, char* out, size_t cap) { return sjispath2utf8(s, out, cap); }
int toutf8(const char16_t* s, char* out, size_t cap) { return unipath2utf8(s, out, cap); }
int fromutf8(const char* s, char* out, size_t cap) {
  // A name without a Shift-JIS form comes back with '?': not a usable ANSI path.
  if (utf82sjispath(s, out, cap) != 0) return -1;
  char back[PATH_MAX];
  return sjispath2utf8(out, back, sizeof back) == 0 && strcmp(back, s) == 0 ? 0 : 1;
}
int fromutf8(const char* s, char16_t* out, size_t cap) { return utf82unipath(s, out, cap); }

bool appendstr(char* dst, size_t cap, const char* s) {
  size_t n = strlen(dst);
  size_t len = strlen(s);
  if (n + len >= cap) return false;
  memcpy(dst + n, s, len + 1);
  return true;
}

// The answer made a full UTF-8 path: relative to the starting folder, with the default
// extension on a name that has none. false when it does not fit.
template <typename Dlg>
bool fullpath(const Dlg* dlg, const char* answer, char* full, size_t cap) {
  full[0] = 0;
  if (answer[0] != '/') {
    char dir[PATH_MAX];
    bool have = dlg->initialDir != nullptr && toutf8(dlg->initialDir, dir, sizeof dir) == 0;
    if (!have && getcwd(dir, sizeof dir) == nullptr) return false;
    if (!appendstr(full, cap, dir)) return false;
    size_t n = strlen(full);
    if ((n == 0 || full[n - 1] != '/') && !appendstr(full, cap, "/")) return false;
  }
  if (!appendstr(full, cap, answer)) return false;
  const char* name = strrchr(full, '/');
  name = name != nullptr ? name + 1 : full;
  if (strchr(name, '.') == nullptr && dlg->defExt != nullptr && dlg->defExt[0] != 0) {
    char ext[32];
    if (toutf8(dlg->defExt, ext, sizeof ext) != 0) return false;
    if (!appendstr(full, cap, ".") || !appendstr(full, cap, ext)) return false;
  }
  return true;
}

template <typename Dlg>
void showdlg(Tty* t, const Dlg* dlg) {
  ttyputs(t, "\n");
  if (dlg->title != nullptr) ttytext(t, dlg->title);
  ttyputs(t, "\n");
  unsigned index = 1;
  for (auto p = dlg->filter; p != nullptr && p[0] != 0; index++) {
    auto pattern = p;
    while (*pattern != 0) pattern++;
    pattern++;
    bool chosen = index == (dlg->filterIndex == 0 ? 1u : dlg->filterIndex);
    ttyputs(t, chosen ? "  * " : "    ");
    ttytext(t, p);
    ttyputs(t, "   ");
    ttytext(t, pattern);
    ttyputs(t, "\n");
    p = pattern;
    while (*p != 0) p++;
    p++;
  }
  ttyputs(t, "Folder: ");
  char cwd[PATH_MAX];
  if (dlg->initialDir != nullptr) {
    ttytext(t, dlg->initialDir);
  } else if (getcwd(cwd, sizeof cwd) != nullptr) {
    ttyputs(t, cwd);
  }
  ttyputs(t, "\n");
  if (dlg->file != nullptr && dlg->file[0] != 0) {
    ttyputs(t, "Proposed: ");
    ttytext(t, dlg->file);
    ttyputs(t, "\n");
  }
}

template <typename Dlg>
int openfile(Dlg* dlg) {
  dlgError = 0;
  Tty t;
  if (!ttyopen(&t)) return 0;
  showdlg(&t, dlg);
  int chosen = 0;
  char answer[PATH_MAX];
  char full[PATH_MAX];
  for (;;) {
    ttyputs(&t, "File name (an empty answer cancels): ");
    if (ttyline(&t, answer, sizeof answer) != 0 || answer[0] == 0) break;
    struct stat st;
    if (!fullpath(dlg, answer, full, sizeof full) || stat(full, &st) != 0 || S_ISDIR(st.st_mode)) {
      ttyputs(&t, "No such file: ");
      ttyputs(&t, full[0] != 0 ? full : answer);
      ttyputs(&t, "\n");
      continue;
    }
    int r = fromutf8(full, dlg->file, dlg->maxFile);
    if (r < 0) {
      dlgError = kBufferTooSmall;
      dlg->file[0] = 0;
      break;
    }
    if (r > 0) {
      ttyputs(&t, "The name cannot be written in Shift-JIS: ");
      ttyputs(&t, full);
      ttyputs(&t, "\n");
      continue;
    }
    chosen = 1;
    break;
  }
  ttyclose(&t);
  return chosen;
}

}  // namespace

int osmsgbox(const char* text, const char* caption, unsigned kind) {
  return msgbox(text, caption, kind);
}

int osmsgboxW(const char16_t* text, const char16_t* caption, unsigned kind) {
  return msgbox(text, caption, kind);
}

int osopenfiledlg(OsOpenDlg* dlg) { return openfile(dlg); }
int osopenfiledlgW(OsOpenDlgW* dlg) { return openfile(dlg); }
uint32_t oscommdlgerror() { return dlgError; }
