// dictbench.cpp - nwdictbench: the time to load a dictionary and to generate a name.
//
//   nwdictbench [--entries=N] [--dict=FILE] [--compiled] [--names=FILE] [--src]
//
// Without --dict, writes a dictionary of N entries (default 100000) of made-up Japanese
// words of one to four characters over the kanji and kana rows, into $TMPDIR, and loads
// it; with --dict, loads that file (a ".bin" one as compiled). With --compiled, the text
// is compiled into $TMPDIR first and the compiled file is loaded (mapped and checked).
// Prints the median of 15 loads, the best and the first. Then generates the
// bone, morph and frame names of --names (lines kind TAB japanese, as the name
// references hold; default: made-up names of two to eight characters) over and over and
// prints the nanoseconds per name. With --src, each name is passed with its UTF-8
// spelling too, as the PMX writer passes it (the script of the name, the characters
// Shift-JIS cannot spell).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "names/dict.h"
#include "names/dictbin.h"
#include "names/namegen.h"
#include "names/namelist.h"
#include "names/rules.h"
#include "setup/settings.h"
#include "text/console.h"
#include "text/sjis.h"

namespace {

using Clock = std::chrono::steady_clock;

void nosink(const char*, size_t) {}

// A character of a made-up word, UTF-8: mostly kanji, some kana.
std::string randomchar(std::mt19937& rng) {
  uint32_t cp;
  int r = static_cast<int>(rng() % 10);
  if (r < 6) {
    cp = 0x4E00 + rng() % 0x2000;  // common kanji block, most have Shift-JIS codes
  } else if (r < 8) {
    cp = 0x3042 + rng() % 0x50;  // hiragana
  } else {
    cp = 0x30A2 + rng() % 0x50;  // katakana
  }
  char out[4] = {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                 static_cast<char>(0x80 | (cp & 0x3F)), 0};
  return out;
}

bool converts(const std::string& utf8) {
  for (size_t i = 0; i < utf8.size(); i += 3) {
    uint32_t cp = (utf8[i] & 0x0F) << 12 | (utf8[i + 1] & 0x3F) << 6 | (utf8[i + 2] & 0x3F);
    if (unich2sjischc(cp) == 0) return false;
  }
  return true;
}

std::string makedict(int entries, std::mt19937& rng) {
  const char* tmp = getenv("TMPDIR");
  std::string path = std::string(tmp != nullptr ? tmp : "/tmp") + "/nwdictbench.txt";
  FILE* f = fopen(path.c_str(), "wb");
  if (f == nullptr) return "";
  fputs("# made-up entries for timing\nnamewright-dictionary 1\n", f);
  static const char* words[] = {"hair",   "tip", "parent", "skirt",
                                "ribbon", "eye", "light",  "bare legs"};
  for (int n = 0; n < entries;) {
    std::string jp;
    const int chars = 1 + static_cast<int>(rng() % 4);
    for (int c = 0; c < chars; c++) jp += randomchar(rng);
    if (!converts(jp)) continue;
    const char* cls = chars == 1 && rng() % 2 ? "K" : "W";
    fprintf(f, "bmf\t%s\t%s\t%s | %s\n", cls, jp.c_str(), words[rng() % 8], words[rng() % 8]);
    n++;
  }
  fclose(f);
  return path;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int entries = 100000;
  std::string dict, names;
  bool compiled = false, withSrc = false;
  for (int i = 1; i < argc; i++) {
    if (strncmp(argv[i], "--entries=", 10) == 0) {
      entries = atoi(argv[i] + 10);
    } else if (strncmp(argv[i], "--dict=", 7) == 0) {
      dict = argv[i] + 7;
    } else if (strcmp(argv[i], "--compiled") == 0) {
      compiled = true;
    } else if (strncmp(argv[i], "--names=", 8) == 0) {
      names = argv[i] + 8;
    } else if (strcmp(argv[i], "--src") == 0) {
      withSrc = true;
    } else {
      fprintf(stderr, "usage: nwdictbench [--entries=N] [--dict=FILE] [--compiled] [--names=FILE] [--src]\n");
      return 2;
    }
  }
  settingsdefaults();
  nlinit();
  consetsink(nosink);
  std::mt19937 rng(20241208);
  const bool made = dict.empty();
  if (made) dict = makedict(entries, rng);
  const std::string madePath = made ? dict : "";
  std::string binPath;
  if (compiled) {
    if (dictread(dict.c_str(), nullptr, dict.c_str()) != 0) return 1;
    const unsigned char* image = nullptr;
    uint64_t size = 0;
    if (dict::bincompile(0, &image, &size) != 0) return 1;
    const char* tmp = getenv("TMPDIR");
    binPath = std::string(tmp != nullptr ? tmp : "/tmp") + "/nwdictbench.bin";
    remove(binPath.c_str());
    FILE* f = fopen(binPath.c_str(), "wb");
    if (f == nullptr || fwrite(image, 1, size, f) != size) return 1;
    fclose(f);
    printf("compiled: %llu bytes\n", static_cast<unsigned long long>(size));
    dict = binPath;
  }
  const bool bin = dict.size() > 4 && dict.compare(dict.size() - 4, 4, ".bin") == 0;
  std::vector<double> loads;
  for (int k = 0; k < 15; k++) {
    auto t0 = Clock::now();
    int r = bin ? dictreadbin(dict.c_str(), nullptr, dict.c_str())
                : dictread(dict.c_str(), nullptr, dict.c_str());
    auto t1 = Clock::now();
    if (r != 0) {
      fprintf(stderr, "nwdictbench: %s is not read (%d)\n", dict.c_str(), r);
      return 1;
    }
    loads.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  // The first load is the one a run pays: the later ones find the file in the caches.
  printf("load %s%s: %d entries, median of 15: %.2f ms (best %.2f ms, first %.2f ms)\n",
         made ? "(made up)" : dict.c_str(), compiled ? " compiled" : "", dictcount(), median(loads),
         *std::min_element(loads.begin(), loads.end()), loads[0]);

  // The names: Shift-JIS, with their kinds and their UTF-8 spelling.
  struct Name {
    NameKind kind;
    std::string sjis, utf8;
  };
  std::vector<Name> list;
  char sj[1024];
  if (!names.empty()) {
    FILE* f = fopen(names.c_str(), "rb");
    char line[2048];
    while (f != nullptr && fgets(line, sizeof line, f) != nullptr) {
      char* tab = strchr(line, '\t');
      if (line[0] == '#' || tab == nullptr) continue;
      *tab = 0;
      char* jp = tab + 1;
      jp[strcspn(jp, "\t\r\n")] = 0;
      if (strlen(jp) > 500) continue;
      utf82sjisc(sj, jp);
      NameKind kind = strcmp(line, "bone") == 0    ? NameKind::bone
                      : strcmp(line, "morph") == 0 ? NameKind::morph
                                                   : NameKind::frame;
      list.push_back({kind, sj, jp});
    }
    if (f != nullptr) fclose(f);
  }
  if (list.empty()) {
    for (int i = 0; i < 2000; i++) {
      std::string jp;
      const int chars = 2 + static_cast<int>(rng() % 7);
      for (int c = 0; c < chars; c++) jp += randomchar(rng);
      utf82sjisc(sj, jp.c_str());
      list.push_back({static_cast<NameKind>(i % 3), sj, jp});
    }
  }
  char out[REP_BUFSIZE];
  const int rounds = std::max(1, 200000 / static_cast<int>(list.size()));
  size_t sink = 0;
  auto t0 = Clock::now();
  for (int r = 0; r < rounds; r++) {
    for (const Name& n : list) {
      genname(n.kind, n.sjis.c_str(), out, withSrc ? n.utf8.c_str() : nullptr);
      sink += strlen(out);
    }
  }
  auto t1 = Clock::now();
  const double ns = std::chrono::duration<double, std::nano>(t1 - t0).count() /
                    (static_cast<double>(rounds) * static_cast<double>(list.size()));
  printf("genname%s: %zu names x %d rounds: %.0f ns per name (%zu bytes made)\n",
         withSrc ? " (with the UTF-8 spelling)" : "", list.size(), rounds, ns, sink);
  dictclear();
  if (!binPath.empty()) remove(binPath.c_str());
  if (made) remove(madePath.c_str());
  return 0;
}
