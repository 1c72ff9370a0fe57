// tempfile.h - a file of exact bytes in the temporary folder, named by ANSI or UTF-16
// path, removed again when the test ends.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

class TempFile {
 public:
  explicit TempFile(const std::string& bytes, const char* name = "nwtest.txt") {
    path_ = ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
    FILE* f = fopen(path_.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path_;
    if (f == nullptr) return;
    EXPECT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    fclose(f);
    for (char c : path_) pathW_.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  ~TempFile() { remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const char* path() const { return path_.c_str(); }
  const char16_t* pathW() const { return pathW_.c_str(); }

 private:
  std::string path_;
  std::u16string pathW_;
};
