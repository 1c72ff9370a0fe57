// listing.cpp - POSIX: reading a folder's entries, for folders named as models.
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/oschars.h"

namespace {

// The one listing in progress.
DIR* listing = nullptr;
char folder[PATH_MAX];  // UTF-8, with its trailing '/'
size_t folderlen = 0;

int kindof(const dirent* e) {
#ifdef _DIRENT_HAVE_D_TYPE
  if (e->d_type == DT_REG) return OSENTRY_FILE;
  if (e->d_type == DT_DIR) return OSENTRY_FOLDER;
  if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN) return OSENTRY_OTHER;
#endif
  size_t n = strlen(e->d_name);
  if (folderlen + n >= sizeof folder) return OSENTRY_OTHER;
  memcpy(folder + folderlen, e->d_name, n + 1);
  struct stat st;
  int kind = OSENTRY_OTHER;
  if (lstat(folder, &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      kind = OSENTRY_FOLDER;
    } else if (S_ISREG(st.st_mode) || (S_ISLNK(st.st_mode) && stat(folder, &st) == 0 && S_ISREG(st.st_mode))) {
      kind = OSENTRY_FILE;
    }
  }
  folder[folderlen] = 0;
  return kind;
}

}  // namespace

bool osisfolderW(const char16_t* path) {
  char utf8[PATH_MAX];
  struct stat st;
  return unipath2utf8(path, utf8, sizeof utf8) == 0 && utf8[0] != 0 && stat(utf8, &st) == 0 &&
         S_ISDIR(st.st_mode);
}

int oslistopenW(const char16_t* path) {
  oslistclose();
  if (unipath2utf8(path, folder, sizeof folder - 1) != 0 || folder[0] == 0) return -1;
  folderlen = strlen(folder);
  if (folder[folderlen - 1] != '/') folder[folderlen++] = '/', folder[folderlen] = 0;
  listing = opendir(folder);
  return listing != nullptr ? 0 : -1;
}

int oslistnextW(char16_t* name, size_t cap, int* kind) {
  if (listing == nullptr) return -1;
  errno = 0;
  while (dirent* e = readdir(listing)) {
    if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
    int r = utf82unipath(e->d_name, name, cap);
    if (r == -2) {
      int k = kindof(e);
      if (k == OSENTRY_OTHER) continue;
      char shown[NAME_MAX * 4 + 1];
      utf8shown(e->d_name, shown, sizeof shown);
      if (osansi2wide(shown, name, cap) != 0) name[0] = 0;
      *kind = k == OSENTRY_FOLDER ? OSENTRY_BADFOLDER : OSENTRY_BADFILE;
      return 0;
    }
    if (r != 0) continue;
    *kind = kindof(e);
    return 0;
  }
  return errno != 0 ? -2 : -1;
}

void oslistclose() {
  if (listing != nullptr) closedir(listing);
  listing = nullptr;
  folderlen = 0;
}
