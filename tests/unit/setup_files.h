// setup_files.h - small text files in a temporary folder, named by ANSI or UTF-16 path.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "tests/support/tempfile.h"

// Which of the two path forms a test opens its files through.
enum class PathForm { Ansi, Utf16 };

inline const char* formname(PathForm f) { return f == PathForm::Ansi ? "ANSI" : "UTF16"; }

// A setup file written with exact bytes; removed again when the test ends.
class TextFile : public TempFile {
 public:
  explicit TextFile(const std::string& bytes, const char* name = "nwsetup.txt")
      : TempFile(bytes, name) {}
};

// A path in the temporary folder where no file is.
inline std::string missingpath() {
  return ::testing::TempDir() + std::to_string(getpid()) + "_no_such_file.ini";
}
