// io_support.h - temporary folders, file contents and both open modes for the io tests.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

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
