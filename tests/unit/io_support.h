// io_support.h - temporary folders, file contents and both open modes for the io tests.
#pragma once
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "io/binfile.h"
#include "tests/support/capture.h"

enum class Mode { Handle, Stream };

inline std::u16string wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }
inline int openread(Mode m, const std::string& p) {
  return m == Mode::Handle ? rfopenW(wide(p).c_str()) : rfopen(p.c_str());
}
inline int openwrite(Mode m, const std::string& p) {
  return m == Mode::Handle ? wfopenW(wide(p).c_str()) : wfopen(p.c_str());
}

// The writer only ever creates new files, so a full disk (/dev/full) or a sink that
// takes 2 GiB (/dev/null) is put under the descriptor of the file it has just created.
inline bool swapdevice(const std::string& created, const char* device) {
  std::error_code ec;
  const auto target = std::filesystem::canonical(created, ec);
  if (ec) return false;
  for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
    if (std::filesystem::read_symlink(e.path(), ec) != target || ec) continue;
    int fd = std::stoi(e.path().filename().string());
    int dev = open(device, O_WRONLY | O_CLOEXEC);
    bool ok = dev >= 0 && dup2(dev, fd) == fd;
    if (dev >= 0) close(dev);
    return ok;
  }
  return false;
}

// Opens the writer on a new file in folder, then puts the device under it.
inline int openwriteto(Mode m, const std::string& folder, const char* device) {
  static int serial = 0;
  std::string p = folder + "/device" + std::to_string(++serial);
  if (openwrite(m, p) != 0) return -1;
  return swapdevice(p, device) ? 0 : -1;
}

// A fresh folder per test; the reader and writer closed before and after.
class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/nwioXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    rfclose();
    wfclose();
  }
  void TearDown() override {
    rfclose();
    wfclose();
    std::filesystem::remove_all(dir_);
  }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  std::string make(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }
  static std::string contents(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string dir_;
};

// Bytes that do not repeat with the buffer size, so a misplaced block shows.
inline std::string pattern(size_t n) {
  std::string s(n, '\0');
  uint32_t x = 12345;
  for (auto& c : s) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
  return s;
}

inline const auto bothModes = ::testing::Values(Mode::Handle, Mode::Stream);
inline std::string modename(const ::testing::TestParamInfo<Mode>& info) {
  return info.param == Mode::Handle ? "Handle" : "Stream";
}
