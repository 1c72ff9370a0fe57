// setup_files.h - small text files in a temporary folder, named by ANSI or UTF-16 path.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

// Which of the two path forms a test opens its files through.
enum class PathForm { Ansi, Utf16 };

inline const char* formname(PathForm f) { return f == PathForm::Ansi ? "ANSI" : "UTF16"; }

// A file written with exact bytes; removed again when the test ends.
class TextFile {
 public:
  explicit TextFile(const std::string& bytes, const char* name = "nwsetup.txt") {
    path_ = ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
    FILE* f = fopen(path_.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path_;
    if (f == nullptr) return;
    EXPECT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    fclose(f);
    for (char c : path_) pathW_.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  ~TextFile() { remove(path_.c_str()); }
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  const char* path() const { return path_.c_str(); }
  const char16_t* pathW() const { return pathW_.c_str(); }

 private:
  std::string path_;
  std::u16string pathW_;
};

// A path in the temporary folder where no file is.
inline std::string missingpath() {
  return ::testing::TempDir() + std::to_string(getpid()) + "_no_such_file.ini";
}
