// bench.cpp - nw_bench: reading and rewriting a large model, against a plain file copy.
//
//   nw_bench [--vertices=N] [--benchmark_repetitions=N] [other --benchmark_ flags]
//
// Generates the model (UTF-16LE and UTF-8 texts) into a temporary folder ($TMPDIR, best
// a tmpfs such as /dev/shm, so that the disk's writeback does not decide the times),
// loads the shipped rules, discards the console, and times on both paths (stream: ANSI
// path, handle: UTF-16 path) the reading pass and the rewrite, and beside them plain
// read/write copies of the same file into the same folder in blocks of 64 KiB, 256 KiB
// and 1 MiB. The repetitions of all of them are interleaved at random. Ends with
// read+rewrite time over the time of the fastest copy, in CPU time (user + system).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/bigmodel.h"
#include "names/namelist.h"
#include "names/rules.h"
#include "pmx/pmx.h"
#include "pmx/pmxmodel.h"
#include "setup/settings.h"
#include "text/console.h"

namespace {

namespace fs = std::filesystem;

struct Model {
  const char* label;  // "utf16" / "utf8"
  std::string path, out, copy;
  std::u16string pathW, outW;
  int64_t bytes = 0;
};
Model models[2] = {{"utf16", {}, {}, {}, {}, {}, 0}, {"utf8", {}, {}, {}, {}, {}, 0}};
fs::path tmpdir;

void nosink(const char*, size_t) {}

std::u16string widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

int readmodel(const Model& m, bool handle) {
  pmxModel.nameChangeCount = 0;
  int r = handle ? pmdinforeadW(m.pathW.c_str()) : pmdinforeadA(m.path.c_str());
  return r == 0 && pmdinforeadstatus() == 0 ? 0 : -1;
}

void BM_read(benchmark::State& st, const Model* m, bool handle) {
  for (auto _ : st) {
    if (readmodel(*m, handle) != 0) {
      st.SkipWithError("the model was not read");
      break;
    }
  }
  st.SetBytesProcessed(st.iterations() * m->bytes);
}

void BM_rewrite(benchmark::State& st, const Model* m, bool handle) {
  // The writer works from the offsets that the reading pass recorded.
  if (readmodel(*m, handle) != 0 || pmxModel.nameChangeCount == 0) {
    st.SkipWithError("the model was not read");
    return;
  }
  for (auto _ : st) {
    // The writer never replaces a file: the last copy goes first, outside the timing.
    st.PauseTiming();
    unlink(m->out.c_str());
    st.ResumeTiming();
    int r = handle ? pmxrewriteW(m->outW.c_str(), m->pathW.c_str())
                   : pmxrewriteA(m->out.c_str(), m->path.c_str());
    if (r != 0) {
      st.SkipWithError("the rewrite failed");
      break;
    }
  }
  st.SetBytesProcessed(st.iterations() * m->bytes);
}

// The yardstick: what any program pays to read and write the file once, in blocks of
// the given size straight through the system calls.
void BM_copy(benchmark::State& st, const Model* m, size_t block) {
  std::vector<char> buf(block);
  for (auto _ : st) {
    int in = open(m->path.c_str(), O_RDONLY);
    int out = open(m->copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    bool ok = in >= 0 && out >= 0;
    for (ssize_t got; ok && (got = read(in, buf.data(), block)) != 0;) {
      ok = got > 0 && write(out, buf.data(), static_cast<size_t>(got)) == got;
    }
    if (in >= 0) close(in);
    if (out >= 0 && close(out) != 0) ok = false;
    if (!ok) {
      st.SkipWithError("the copy failed");
      break;
    }
  }
  st.SetBytesProcessed(st.iterations() * m->bytes);
}

// Shows only the summaries of repeated runs, and keeps every run's CPU time per
// iteration for the ratios at the end.
class Reporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, std::vector<double>> seconds;

  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> shown;
    for (const Run& r : runs) {
      const bool repeated = r.repetitions > 1;
      if (r.run_type == Run::RT_Iteration && !r.error_occurred && r.iterations > 0) {
        seconds[r.run_name.function_name].push_back(r.cpu_accumulated_time /
                                                    static_cast<double>(r.iterations));
      }
      if (!repeated || r.run_type == Run::RT_Aggregate) shown.push_back(r);
    }
    ConsoleReporter::ReportRuns(shown);
  }

  double median(const std::string& name) const {
    auto it = seconds.find(name);
    if (it == seconds.end() || it->second.empty()) return 0;
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  }
};

std::string name(const char* what, const char* path, const Model& m) {
  return std::string(what) + "/" + path + "/" + m.label;
}

struct Block {
  const char* label;
  size_t bytes;
};
constexpr Block blocks[] = {{"64KiB", 64 << 10}, {"256KiB", 256 << 10}, {"1MiB", 1 << 20}};

void ratios(const Reporter& rep) {
  printf("\nCPU time, medians:\n");
  for (const auto& [what, runs] : rep.seconds) {
    printf("  %-22s %8.1f ms (%zu runs)\n", what.c_str(), rep.median(what) * 1e3, runs.size());
  }
  printf("\nRead + rewrite CPU time over the fastest copy's (medians):\n");
  for (const Model& m : models) {
    double copy = 0;
    const char* best = nullptr;
    for (const Block& b : blocks) {
      double t = rep.median(name("copy", b.label, m));
      if (t > 0 && (best == nullptr || t < copy)) copy = t, best = b.label;
    }
    for (const char* path : {"stream", "handle"}) {
      double read = rep.median(name("read", path, m));
      double rewrite = rep.median(name("rewrite", path, m));
      if (read <= 0 || rewrite <= 0 || best == nullptr) {
        printf("  %-6s path, %-5s model: not measured\n", path, m.label);
        continue;
      }
      double ratio = (read + rewrite) / copy;
      printf("  %-6s path, %-5s model: read %.0f MB/s, rewrite %.0f MB/s, copy (%s) %.0f MB/s;"
             " (read+rewrite)/copy = %.2f (target 2: %s)\n",
             path, m.label, m.bytes / read / 1e6, m.bytes / rewrite / 1e6, best,
             m.bytes / copy / 1e6, ratio, ratio <= 2.0 ? "met" : "MISSED");
    }
  }
}

int prepare(int vertices) {
  // ASCII paths, so that the ANSI and the UTF-16 forms name the same file.
  const char* base = getenv("TMPDIR");
  std::string templ = std::string(base != nullptr && *base != 0 ? base : "/tmp") + "/nwbench.XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back(0);
  if (mkdtemp(buf.data()) == nullptr) {
    fprintf(stderr, "nw_bench: cannot make a folder in %s\n", templ.c_str());
    return -1;
  }
  tmpdir = buf.data();
  for (int e = 0; e < 2; e++) {
    Model& m = models[e];
    std::string stem = (tmpdir / m.label).string();
    m.path = stem + ".pmx";
    m.out = stem + "-new.pmx";
    m.copy = stem + "-copy.pmx";
    m.pathW = widen(m.path);
    m.outW = widen(m.out);
    pmxb::Bytes file = bench::bigmodel(vertices, e == 1);
    m.bytes = static_cast<int64_t>(file.size());
    if (!pmxb::writefile(m.path, file)) {
      fprintf(stderr, "nw_bench: cannot write %s\n", m.path.c_str());
      return -1;
    }
    printf("Model %s: %.1f MB, %d vertices, 5000 bones, 9000 morphs, 1100 frames\n",
           m.path.c_str(), m.bytes / 1e6, vertices);
  }

  // A realistic setup: default settings, English messages, the shipped rules.
  settingsdefaults();
  Lang = {false, true, false, 932};
  nlinit();
  consetsink(nosink);
  int r = aliasread(NW_SOURCE_DIR "/data/alias.ini");
  consetsink(nullptr);
  if (r != 0 || nlcount(ruleList[RK_BONE]) == 0) {
    fprintf(stderr, "nw_bench: cannot read %s\n", NW_SOURCE_DIR "/data/alias.ini");
    return -1;
  }
  printf("Rules: %d bone, %d morph\n", nlcount(ruleList[RK_BONE]), nlcount(ruleList[RK_MORPH]));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int vertices = 2700000;  // about 213 MB
  bool repetitions = false, interleaving = false;
  std::vector<char*> args;
  static char defaultReps[] = "--benchmark_repetitions=7";
  static char defaultInterleaving[] = "--benchmark_enable_random_interleaving=true";
  for (int i = 0; i < argc; i++) {
    if (strncmp(argv[i], "--vertices=", 11) == 0) {
      vertices = atoi(argv[i] + 11);
      continue;
    }
    if (strncmp(argv[i], "--benchmark_repetitions", 23) == 0) repetitions = true;
    if (strncmp(argv[i], "--benchmark_enable_random_interleaving", 38) == 0) interleaving = true;
    args.push_back(argv[i]);
  }
  if (!repetitions) args.push_back(defaultReps);
  if (!interleaving) args.push_back(defaultInterleaving);
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  if (benchmark::ReportUnrecognizedArguments(n, args.data()) || vertices < 3) return 2;

  if (prepare(vertices) != 0) return 1;
  // Side by side in one run, so that all see the same state of the machine.
  for (const Model& m : models) {
    for (const char* path : {"stream", "handle"}) {
      const bool handle = strcmp(path, "handle") == 0;
      benchmark::RegisterBenchmark(name("read", path, m).c_str(), BM_read, &m, handle)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(name("rewrite", path, m).c_str(), BM_rewrite, &m, handle)
          ->Unit(benchmark::kMillisecond);
    }
    for (const Block& b : blocks) {
      benchmark::RegisterBenchmark(name("copy", b.label, m).c_str(), BM_copy, &m, b.bytes)
          ->Unit(benchmark::kMillisecond);
    }
  }

  Reporter rep;
  consetsink(nosink);  // one line per name would otherwise dominate the timings
  benchmark::RunSpecifiedBenchmarks(&rep);
  consetsink(nullptr);
  ratios(rep);
  benchmark::Shutdown();

  std::error_code ec;
  fs::remove_all(tmpdir, ec);
  return 0;
}
