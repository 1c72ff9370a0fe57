// pmd_util.h - shared set-up of the PMD tests: a temporary folder, a clean run state,
// runs of the reader and the writer with their console output captured, and a small
// model with every block.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "names/namelist.h"
#include "names/rules.h"
#include "pmd/pmd.h"
#include "pmd/pmdmodel.h"
#include "setup/settings.h"
#include "support/capture.h"
#include "support/pmdbuild.h"
#include "support/pmxbuild.h"

namespace pmdtest {

using pmdb::Builder;
using pmdb::Bytes;
using pmdb::sj;

struct Outcome {
  int rc;
  int status;  // the reader's, after a read
  std::string console;
};

class PmdTest : public ::testing::Test {
 protected:
  std::string dir;

  void SetUp() override {
    char tmpl[] = "/tmp/nwpmd.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    settingsdefaults();
    Info.displayLevel = 0;
    Force.display = 0;
    Lang = LanguageMode{false, false, false, 437};
    pmdsetfillmodelname(false);
    nlinit();
  }
  void TearDown() override {
    pmdsetfillmodelname(false);
    std::filesystem::remove_all(dir);
  }

  std::string path(const std::string& name) const { return dir + "/" + name; }

  Outcome read(const Bytes& model, const std::string& name = "m.pmd") {
    EXPECT_TRUE(pmxb::writefile(path(name), model));
    ConsoleCapture cap;
    int rc = pmdreadA(path(name).c_str());
    return {rc, pmdreadstatus(), cap.take()};
  }
  // The writer never replaces a file, so an earlier output goes first.
  Outcome write(const std::string& out, const std::string& src) {
    std::filesystem::remove(path(out));
    ConsoleCapture cap;
    int rc = pmdrewriteA(path(out).c_str(), path(src).c_str());
    return {rc, 0, cap.take()};
  }
  // Reads and rewrites the model; the input must stay as it was.
  Outcome save(const Bytes& model) {
    Outcome r = read(model);
    EXPECT_EQ(r.status, 0) << r.console;
    Outcome w = write("out.pmd", "m.pmd");
    EXPECT_EQ(pmxb::readfile(path("m.pmd")), model);
    return w;
  }
  Bytes output() { return pmxb::readfile(path("out.pmd")); }
  // Loads rules from the text of an "alias.ini".
  void rules(const std::string& text) {
    std::string p = path("alias.ini");
    ASSERT_TRUE(pmxb::writefile(p, Bytes(text.begin(), text.end())));
    ConsoleCapture quiet;
    nlinit();
    aliasread(p.c_str());
  }
};

// A model with an element in every block; some English names vacant, the others with
// bytes after their terminators.
inline Builder everyblock() {
  Builder b;
  for (int i = 0; i < 3; i++) b.addVertex();
  b.addFace(0, 1, 2);
  b.addMaterial(3);
  b.addBone(sj("センター"), "");
  b.addBone(sj("左腕"), pmdb::field("arm_L", 20, '\xFD'));
  b.addBone(sj("頭"), "");
  b.addIk(1, 2, 2);
  b.addMorph(sj("base"), "");
  b.addMorph(sj("まばたき"), "", 2);
  b.addMorph(sj("笑い"), pmdb::field("smile", 20, 'x'));
  b.addMorphDisplay(1);
  b.addFrame(sj("表情") + "\n", "");
  b.addFrame(sj("腕") + "\n", pmdb::field("arms\n", 50, '\x01'));
  b.addBoneDisplay(1, 1);
  b.addRigidBody();
  b.addJoint();
  b.trailing = {9, 8, 7};
  return b;
}

}  // namespace pmdtest
