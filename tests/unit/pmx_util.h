// pmx_util.h - shared set-up of the PMX tests: a temporary folder, a clean run state,
// and runs of the reader and the writer with their console output captured.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "names/namelist.h"
#include "names/rules.h"
#include "pmx/pmx.h"
#include "pmx/pmxmodel.h"
#include "setup/settings.h"
#include "support/capture.h"
#include "support/pmxbuild.h"

namespace pmxtest {

using pmxb::Builder;
using pmxb::Bytes;

struct Outcome {
  int rc;
  int status;  // the reader's, after a read
  std::string console;
};

class PmxTest : public ::testing::Test {
 protected:
  std::string dir;

  void SetUp() override {
    char tmpl[] = "/tmp/nwpmx.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    settingsdefaults();
    Info.displayLevel = 0;
    Force.display = 0;
    Lang = LanguageMode{false, false, false, 437};
    nlinit();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string path(const std::string& name) const { return dir + "/" + name; }

  // Writes the model and reads it.
  Outcome read(const Bytes& model, const std::string& name = "m.pmx") {
    EXPECT_TRUE(pmxb::writefile(path(name), model));
    return readfile(name);
  }
  Outcome readfile(const std::string& name) {
    ConsoleCapture cap;
    pmxModel.nameChangeCount = 0;
    int rc = pmdinforeadA(path(name).c_str());
    return {rc, pmdinforeadstatus(), cap.take()};
  }
  // The writer never replaces a file, so an earlier output goes first.
  Outcome write(const std::string& out, const std::string& src) {
    std::filesystem::remove(path(out));
    ConsoleCapture cap;
    int rc = pmxrewriteA(path(out).c_str(), path(src).c_str());
    return {rc, 0, cap.take()};
  }
  // Loads rules from the text of an "alias.ini".
  void rules(const std::string& text) {
    std::string p = path("alias.ini");
    ASSERT_TRUE(pmxb::writefile(p, Bytes(text.begin(), text.end())));
    ConsoleCapture quiet;
    nlinit();
    aliasread(p.c_str());
  }
};

// The reader's console text from "Reading from" to the end, for a path.
inline std::string readhead(const std::string& p) { return "Reading from: " + p + " \n"; }

}  // namespace pmxtest
