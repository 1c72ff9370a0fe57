// bench.cpp - nw_bench: reading and rewriting a large model, against a plain file copy.
//
//   nw_bench [--vertices=N] [--benchmark_repetitions=N] [other --benchmark_ flags]
//
// Generates the model (UTF-16LE and UTF-8 texts) into a temporary folder, loads the
// shipped rules, discards the console, and times on both paths (stream: ANSI path,
// handle: UTF-16 path) the reading pass, the rewrite and an 8 KiB fread/fwrite copy of
// the same file into the same folder. Ends with read+rewrite time over copy time.
#include <benchmark/benchmark.h>

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
    int r = handle ? pmxrewriteW(m->outW.c_str(), m->pathW.c_str())
                   : pmxrewriteA(m->out.c_str(), m->path.c_str());
    if (r != 0) {
      st.SkipWithError("the rewrite failed");
      break;
    }
  }
  st.SetBytesProcessed(st.iterations() * m->bytes);
}

// The yardstick: what any program pays to read and write the file once.
void BM_copy(benchmark::State& st, const Model* m) {
  static char buf[8192];
  for (auto _ : st) {
    FILE* in = fopen(m->path.c_str(), "rb");
    FILE* out = fopen(m->copy.c_str(), "wb");
    bool ok = in != nullptr && out != nullptr;
    // 8 KiB stream buffers as the program's streams have, not the library's 4 KiB.
    static char inBuf[8192], outBuf[8192];
    ok = ok && setvbuf(in, inBuf, _IOFBF, sizeof inBuf) == 0 &&
         setvbuf(out, outBuf, _IOFBF, sizeof outBuf) == 0;
    for (size_t got; ok && (got = fread(buf, 1, sizeof buf, in)) > 0;) {
      ok = fwrite(buf, 1, got, out) == got;
    }
    if (in != nullptr) fclose(in);
    if (out != nullptr && fclose(out) != 0) ok = false;
    if (!ok) {
      st.SkipWithError("the copy failed");
      break;
    }
  }
  st.SetBytesProcessed(st.iterations() * m->bytes);
}

// Shows only the summaries of repeated runs, and keeps every run's time per iteration
// for the ratios at the end.
class Reporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, std::vector<double>> seconds;

  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> shown;
    for (const Run& r : runs) {
      const bool repeated = r.repetitions > 1;
      if (r.run_type == Run::RT_Iteration && !r.error_occurred && r.iterations > 0) {
        seconds[r.run_name.function_name].push_back(r.real_accumulated_time /
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

void ratios(const Reporter& rep) {
  printf("\nRead + rewrite time over copy time (medians):\n");
  for (int p = 0; p < 2; p++) {
    const char* path = p == 0 ? "stream" : "handle";
    const double target = p == 0 ? 2.0 : 4.0;
    for (const Model& m : models) {
      double read = rep.median(name("read", path, m));
      double rewrite = rep.median(name("rewrite", path, m));
      double copy = rep.median(name("copy", path, m));
      if (read <= 0 || rewrite <= 0 || copy <= 0) {
        printf("  %-6s path, %-5s model: not measured\n", path, m.label);
        continue;
      }
      double ratio = (read + rewrite) / copy;
      printf("  %-6s path, %-5s model: read %.0f MB/s, rewrite %.0f MB/s, copy %.0f MB/s;"
             " (read+rewrite)/copy = %.2f (target %.0f: %s)\n",
             path, m.label, m.bytes / read / 1e6, m.bytes / rewrite / 1e6, m.bytes / copy / 1e6,
             ratio, target, ratio <= target ? "met" : "MISSED");
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
  int vertices = 1500000;
  bool repetitions = false;
  std::vector<char*> args;
  static char defaultReps[] = "--benchmark_repetitions=5";
  for (int i = 0; i < argc; i++) {
    if (strncmp(argv[i], "--vertices=", 11) == 0) {
      vertices = atoi(argv[i] + 11);
      continue;
    }
    if (strncmp(argv[i], "--benchmark_repetitions", 23) == 0) repetitions = true;
    args.push_back(argv[i]);
  }
  if (!repetitions) args.push_back(defaultReps);
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  if (benchmark::ReportUnrecognizedArguments(n, args.data()) || vertices < 3) return 2;

  if (prepare(vertices) != 0) return 1;
  for (int p = 0; p < 2; p++) {
    const bool handle = p == 1;
    const char* path = handle ? "handle" : "stream";
    for (const Model& m : models) {
      // Side by side, so that the three see the same state of the machine.
      benchmark::RegisterBenchmark(name("read", path, m).c_str(), BM_read, &m, handle)
          ->UseRealTime()->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(name("rewrite", path, m).c_str(), BM_rewrite, &m, handle)
          ->UseRealTime()->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(name("copy", path, m).c_str(), BM_copy, &m)
          ->UseRealTime()->Unit(benchmark::kMillisecond);
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
