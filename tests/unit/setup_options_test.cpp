// setup_options_test.cpp - "modsetup.ini": the outer loop, every option, and the settings it leaves.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>

#include "setup/settings.h"
#include "setup/setupfile.h"
#include "setup/textfile.h"
#include "setup_files.h"
#include "support/capture.h"

namespace {

const char UTF8LINE[] = " -- (UTF-8 setup reading ...) \n";
const char SJISLINE[] = " -- (SJIS setup reading ...) \n";

// Every setting as one line of text, so that a difference anywhere shows by name.
std::string describe() {
  char buf[1024];
  snprintf(buf, sizeof buf,
           "Info.displayLevel=%d Force.display=%d Conv.mode=%d Cancel=%d Accuracy=%g\n"
           "Keyframe=%d ArmToElbow=%d WristToElbow=%d Check.angle=%d VMDfile=%d VMDpose=%d\n"
           "modes=%d,%d,%d,%d,%d,%d k=%g,%g,%g,%g,%g,%g\n"
           "Unlimit=%d,%d,%d,%d ElbowHinge=%g Twist=%d Sort=%d\n"
           "SumStep=%g SumRatio=%g TwistStep=%g TwistRatio=%g ConvToFrame=%d\n",
           Info.displayLevel, Force.display, Conv.mode, Cancel.displaying.dialogue,
           static_cast<double>(Accuracy), Keyframe.autoinsert, ArmToElbow.autocorrect,
           WristToElbow.autocorrect, Check.angle, VMDfile.checkmode, VMDpose.learningmode,
           Mode.LeftArm, Mode.LeftHand, Mode.LeftWrist, Mode.RightArm, Mode.RightHand,
           Mode.RightWrist, static_cast<double>(kLA), static_cast<double>(kLH),
           static_cast<double>(kLW), static_cast<double>(kRA), static_cast<double>(kRH),
           static_cast<double>(kRW), Unlimit.LeftArm, Unlimit.LeftHand, Unlimit.RightArm,
           Unlimit.RightHand, static_cast<double>(ElbowHingeAngle), TwistMotionSeparation, Sort,
           static_cast<double>(SumAngleStepAdmittance), static_cast<double>(SumAngleRatioAdmittance),
           static_cast<double>(TwistAngleStepAdmittance),
           static_cast<double>(TwistAngleRatioAdmittance), ConvToFrame);
  return buf;
}

TEST(Settings, StartOfRunValues) {
  settingsdefaults();
  EXPECT_EQ(describe(),
            "Info.displayLevel=0 Force.display=0 Conv.mode=15 Cancel=0 Accuracy=1.5\n"
            "Keyframe=0 ArmToElbow=0 WristToElbow=0 Check.angle=0 VMDfile=0 VMDpose=0\n"
            "modes=2,2,2,2,2,2 k=1,1,1,1,1,1\n"
            "Unlimit=0,0,0,0 ElbowHinge=10 Twist=-1 Sort=0\n"
            "SumStep=90 SumRatio=5.5 TwistStep=140 TwistRatio=3 ConvToFrame=9999999\n");
}

struct SetupCase {
  const char* name;
  std::string text;
  std::string console;            // after the encoding line
  std::function<void()> change;   // applied to the defaults: the settings expected
};

void nochange() {}

class SetupFile : public ::testing::TestWithParam<PathForm> {
 protected:
  void TearDown() override {
    tfclose();
    settingsdefaults();
  }

  int read(const TextFile& f) {
    return GetParam() == PathForm::Ansi ? readsetup(f.path()) : readsetupW(f.pathW());
  }

  void run(const SetupCase* cases, size_t n) {
    for (size_t i = 0; i < n; i++) {
      const SetupCase& c = cases[i];
      settingsdefaults();
      c.change();
      std::string expected = describe();
      settingsdefaults();
      TextFile f(c.text);
      ConsoleCapture con;
      EXPECT_EQ(read(f), 0) << c.name;
      EXPECT_EQ(con.text(), UTF8LINE + c.console) << c.name;
      EXPECT_EQ(describe(), expected) << c.name;
      EXPECT_EQ(tfclose(), 0) << c.name;  // the file was closed
    }
  }
};

INSTANTIATE_TEST_SUITE_P(BothPaths, SetupFile, ::testing::Values(PathForm::Ansi, PathForm::Utf16),
                         [](const auto& info) { return std::string(formname(info.param)); });

#define RUN(cases) run(cases, std::size(cases))

TEST_P(SetupFile, WhiteSpaceCommentsAndStrayCharacters) {
  const std::string longComment = "#" + std::string(255, 'c') + "-D 2" + std::string(40, ' ') + "\n";
  const SetupCase cases[] = {
      {"empty", "", "", nochange},
      {"blanks", " \t\r\n\r\n", "", nochange},
      {"hash", "# -D 5\n-D 1\n", "Info.displayLevel = 1. \n", [] { Info.displayLevel = 1; }},
      {"slashes", "// -D 5\r\n-D 1", "-D: first parameter (integer) retriving error. \n", nochange},
      {"dash slash", "-/ -D 5\n/d 1\n", "Info.displayLevel = 1. \n", [] { Info.displayLevel = 1; }},
      {"comment at the end", "-D 1 #", "Info.displayLevel = 1. \n", [] { Info.displayLevel = 1; }},
      {"300 characters", longComment, "Info.displayLevel = 2. \n", [] { Info.displayLevel = 2; }},
      {"255 characters", "#" + std::string(254, 'c') + "\n-D 3\n", "Info.displayLevel = 3. \n",
       [] { Info.displayLevel = 3; }},
      {"stray x at line 4", "-D 1\n\r\n\n  x -F 2\n",
       "Info.displayLevel = 1. \n"
       "Error reading setup file at ('x') (78) at line 4. \n"
       "Force.display = 2. \n",
       [] {
         Info.displayLevel = 1;
         Force.display = 2;
       }},
      {"stray bytes", "=\x1A\xC2\xA0\n",
       "Error reading setup file at ('=') (3D) at line 1. \n"
       "Error reading setup file at ('\x1A') (1A) at line 1. \n"
       "Error reading setup file at ('\xC2') (C2) at line 1. \n"
       "Error reading setup file at ('\xA0') (A0) at line 1. \n",
       nochange},
      {"unknown letters", "-B /g -x -? -\n-",
       "  Option -[B]: could not be recognized. \n"
       "  Option -[g]: could not be recognized. \n"
       "  Option -[x]: could not be recognized. \n"
       "  Option -[?]: could not be recognized. \n"
       "  Option -[\n]: could not be recognized. \n"
       "  Option -[\xFF]: could not be recognized. \n",
       nochange},
  };
  RUN(cases);
}

TEST_P(SetupFile, IntegerOptions) {
  const SetupCase cases[] = {
      {"-D 2", "-D 2\n", "Info.displayLevel = 2. \n", [] { Info.displayLevel = 2; }},
      {"-D=2", "-D=2\n", "Info.displayLevel = 2. \n", [] { Info.displayLevel = 2; }},
      {"-D= \\n 2", "-D= \n 2\n", "Info.displayLevel = 2. \n", [] { Info.displayLevel = 2; }},
      {"/D 1", "/D 1\n", "Info.displayLevel = 1. \n", [] { Info.displayLevel = 1; }},
      {"-d 1", "-d 1\n", "Info.displayLevel = 1. \n", [] { Info.displayLevel = 1; }},
      {"-D 300 keeps the low byte", "-D 300\n", "Info.displayLevel = 44. \n",
       [] { Info.displayLevel = 44; }},
      {"-D 200 is a negative byte", "-D 200\n", "Info.displayLevel = -56. \n",
       [] { Info.displayLevel = -56; }},
      {"-D without digits", "-D x\n",
       "Info.displayLevel = 0. \nError reading setup file at ('x') (78) at line 1. \n", nochange},
      {"-D 3 at the end", "-M 4\n-D 3", "Conv.mode = 4. \n-D: first parameter (integer) retriving error. \n",
       [] { Conv.mode = 4; }},
      {"-D 123456", "-D 123456\n-M 4\n",
       "Integer too Large.\n-D: first parameter (integer) retriving error. \n", nochange},
      {"-M 3", "-M 3\n", "Conv.mode = 3. \n", [] { Conv.mode = 3; }},
      {"-M=3", "-M=3\n",
       "Conv.mode = 0. \n"
       "Error reading setup file at ('=') (3D) at line 1. \n"
       "Error reading setup file at ('3') (33) at line 1. \n",
       [] { Conv.mode = 0; }},
      {"-M at the end", "-M", "-M: first parameter (integer) retriving error. \n", nochange},
      {"-F alone", "-F\n-D 1\n", "Force.display = -1. \nInfo.displayLevel = 1. \n",
       [] {
         Force.display = -1;
         Info.displayLevel = 1;
       }},
      {"-F before an option", "-F -D 1\n", "Force.display = -1. \nInfo.displayLevel = 1. \n",
       [] {
         Force.display = -1;
         Info.displayLevel = 1;
       }},
      {"-F 0", "-F 0\n", "Force.display = 0. \n", nochange},
      {"-F=5", "-f=5\n", "Force.display = 5. \n", [] { Force.display = 5; }},
      {"-F 5 at the end", "-F 5", "-F: first parameter (integer) retriving error. \n", nochange},
      {"-F 123456", "-F 123456",
       "Integer too Large.\n-F: first parameter (integer) retriving error. \n", nochange},
      {"-T 99999", "-T 99999\n", "  conv to   Frame = 99999. \n", [] { ConvToFrame = 99999; }},
      {"-T -300", "-t -300\n", "  conv to   Frame = -300. \n", [] { ConvToFrame = -300; }},
      {"-T 100000", "-T 100000\n-D 1\n",
       "Integer too Large.\n-T: first parameter (long integer) retriving error. \n", nochange},
      {"-T at the end", "-T 12", "-T: first parameter (long integer) retriving error. \n", nochange},
      {"-S 12", "-S 12\n", "  Option -S[1]: could not be recognized. \n", nochange},
      {"-S=1", "-S=1\n",
       "  Option -S[=]: could not be recognized. \n"
       "Error reading setup file at ('=') (3D) at line 1. \n"
       "Error reading setup file at ('1') (31) at line 1. \n",
       nochange},
      {"-S 123456", "-S 123456\n-D 1\n",
       "Integer too Large.\n-S: first parameter (long integer) retriving error. \n", nochange},
      {"-S at the end", "-S ", "-S: first parameter (long integer) retriving error. \n", nochange},
  };
  RUN(cases);
}

TEST_P(SetupFile, FloatOptions) {
  const SetupCase cases[] = {
      {"-A 2.5", "-A 2.5\n", "Accuracy = 2.5 (deg) \n", [] { Accuracy = 2.5f; }},
      {"-a.75 at the end", "-a.75", "Accuracy = 0.75 (deg) \n", [] { Accuracy = 0.75f; }},
      {"-A=1.5", "-A=1.5\n-D 1\n", "-A: first parameter (floating point) retriving error. \n",
       nochange},
      {"-EA 0.25", "-EA 0.25\n", "ErrorAdmittance = 0.25 \n", [] { Accuracy = 0.25f; }},
      {"-EA=0.25", "-ea=0.25\n", "ErrorAdmittance = 0.25 \n", [] { Accuracy = 0.25f; }},
      {"-EA x", "-EA x\n-D 1\n", "-EA: first parameter (floating point) retriving error. \n",
       nochange},
      {"-EHA 20", "-EHA 20\n", "ElbowHingeAngle = 20 \n", [] { ElbowHingeAngle = 20.0f; }},
      {"-EHA=2e1", "-EHA=2e1\n", "ElbowHingeAngle = 20 \n", [] { ElbowHingeAngle = 20.0f; }},
      {"-EHA= at the end", "-EHA=\n", "-EHA: first parameter (floating point) retriving error. \n",
       nochange},
      {"-AEH 12.5", "-AEH 12.5\n", "ElbowHingeAngle = 12.5 \n", [] { ElbowHingeAngle = 12.5f; }},
      {"-AEHA 12.5", "-aeha\n12.5\n", "ElbowHingeAngle = 12.5 \n", [] { ElbowHingeAngle = 12.5f; }},
      {"-AEH=1", "-AEH=1\n-D 1\n",
       "-AEH(A): first parameter (floating point) retriving error. \n", nochange},
      {"-SA 45", "-SA 45\n", "SumAngleStepAdmittance = 45 \n", [] { SumAngleStepAdmittance = 45.0f; }},
      {"-SA=45", "-SA=45\n", "SumAngleStepAdmittance = 45 \n", [] { SumAngleStepAdmittance = 45.0f; }},
      {"-SA=", "-SA=", "-SA: first parameter (floating point) retriving error. \n", nochange},
      {"-SR 2.5", "-SR 2.5\n", "SumAngleRatioAdmittance = 2.5 \n", [] { SumAngleRatioAdmittance = 2.5f; }},
      {"-SR=2.5", "-sr=2.5\n", "SumAngleRatioAdmittance = 2.5 \n", [] { SumAngleRatioAdmittance = 2.5f; }},
      {"-SR .", "-SR .", "-SR: first parameter (floating point) retriving error. \n", nochange},
      {"-TA 100", "-TA 100\n", "TwistAngleStepAdmittance = 100 \n", [] { TwistAngleStepAdmittance = 100.0f; }},
      {"-TA=100", "-TA=100\n", "TwistAngleStepAdmittance = 100 \n", [] { TwistAngleStepAdmittance = 100.0f; }},
      {"-TA -", "-TA -\n", "-TA: first parameter (floating point) retriving error. \n", nochange},
      {"-TR 1.5", "-TR 1.5\n", "TwistAngleRatioAdmittance = 1.5 \n", [] { TwistAngleRatioAdmittance = 1.5f; }},
      {"-TR=1.5", "-tr=1.5\n", "TwistAngleRatioAdmittance = 1.5 \n", [] { TwistAngleRatioAdmittance = 1.5f; }},
      {"-TR x", "-TR x", "-TR: first parameter (floating point) retriving error. \n", nochange},
  };
  RUN(cases);
}

TEST_P(SetupFile, FlagOptions) {
  const SetupCase cases[] = {
      {"-AI", "-AI\n", "Keyframe.autoinsert = ON \n", [] { Keyframe.autoinsert = -1; }},
      {"-AI=", "-AI=\n", "Keyframe.autoinsert = ON \nError reading setup file at ('=') (3D) at line 1. \n",
       [] { Keyframe.autoinsert = -1; }},
      {"-KI", "-ki\n", "Keyframe.autoinsert = ON \n", [] { Keyframe.autoinsert = -1; }},
      {"-AK", "-AK\n", "Keyframe.autoinsert = ON \n", [] { ArmToElbow.autocorrect = -1; }},
      {"-ATE", "-ATE\n", "ArmToElbow.autocorrect = ON \n", [] { ArmToElbow.autocorrect = -1; }},
      {"-ATX", "-ATX", "Error reading setup file at ('X') (58) at line 1. \n", nochange},
      {"-AEX", "-AEX", "Error reading setup file at ('X') (58) at line 1. \n", nochange},
      {"-CA", "-CA\n", "Check.angle = ON \n", [] { Check.angle = -1; }},
      {"-CA=", "-ca=\n", "Check.angle = ON \n", [] { Check.angle = -1; }},
      {"-C", "-C\n", "VMDfile.checkmode = ON. \n", [] { VMDfile.checkmode = -1; }},
      {"-CX", "-CX", "VMDfile.checkmode = ON. \nError reading setup file at ('X') (58) at line 1. \n",
       [] { VMDfile.checkmode = -1; }},
      {"-R", "-R\n", "VMDpose.learningmode = ON. \n", [] { VMDpose.learningmode = -1; }},
      {"-NS", "-NS\n", "Twist-motionSeparation. = OFF \n", [] { TwistMotionSeparation = 0; }},
      {"-SORT", "-SORT\n", "Sort = ON (-1) \n", [] { Sort = -1; }},
      {"-SORT=", "-sort=\n", "Sort = ON (-1) \n", [] { Sort = -1; }},
      {"-SOX", "-SOX", "Error reading setup file at ('X') (58) at line 1. \n", nochange},
      {"-SORX", "-SORX", "Error reading setup file at ('X') (58) at line 1. \n", nochange},
      {"-WTE", "-WTE\n", "WristToElbow.autocorrect = ON \n", [] { WristToElbow.autocorrect = -1; }},
      {"-WTX", "-wtx", "Error reading setup file at ('x') (78) at line 1. \n", nochange},
      {"-WX", "-WX", "Error reading setup file at ('X') (58) at line 1. \n", nochange},
      {"-EC=5", "-EC=5\n", "", nochange},
      {"-EC", "-EC\n", "", nochange},
      {"-EC 5", "-EC 5\n", "Error reading setup file at ('5') (35) at line 1. \n", nochange},
      {"-EH without A", "-EH 5\n", "Error reading setup file at ('5') (35) at line 1. \n", nochange},
      {"-EX", "-EX\n",
       "  Option -E[X]: could not be recognized. \nError reading setup file at ('X') (58) at line 1. \n",
       nochange},
      {"-NX", "-nx\n",
       "  Option -N[x]: could not be recognized. \nError reading setup file at ('x') (78) at line 1. \n",
       nochange},
      {"-ND at a line end", "-ND\n-D 1\n", "Displaying.dialogue = OFF. \nInfo.displayLevel = 1. \n",
       [] {
         Cancel.displaying.dialogue = -1;
         Info.displayLevel = 1;
       }},
      {"-ND=0", "-ND=0\n", "Displaying.dialogue = ON (Level 0). \n", nochange},
      {"-ND2", "-nd2\n", "Displaying.dialogue = partially OFF (Level 2). \n",
       [] { Cancel.displaying.dialogue = 2; }},
      {"-ND=9", "-ND=9\n", "Displaying.dialogue = partially OFF (Level 9). \n",
       [] { Cancel.displaying.dialogue = 9; }},
      {"-ND 2", "-ND 2\n", "Displaying.dialogue = OFF. \nError reading setup file at ('2') (32) at line 1. \n",
       [] { Cancel.displaying.dialogue = -1; }},
  };
  RUN(cases);
}

TEST_P(SetupFile, UnlimitOptions) {
  const SetupCase cases[] = {
      {"-ULA", "-ULA\n", "UnlimitArm (Left and Right) = ON \n",
       [] { Unlimit.LeftArm = Unlimit.RightArm = -1; }},
      {"-ULH", "-ulh\n", "UnlimitHand (Left and Right) = ON \n",
       [] { Unlimit.LeftHand = Unlimit.RightHand = -1; }},
      {"-ULLA", "-ULLA\n", "UnlimitLeftArm = ON \n", [] { Unlimit.LeftArm = -1; }},
      {"-ULLH", "-ULLH\n", "UnlimitLeftHand = ON \n", [] { Unlimit.LeftHand = -1; }},
      {"-ULL", "-ULL\n", "UnlimitLeft (Arm and Hand) = ON \n",
       [] { Unlimit.LeftArm = Unlimit.LeftHand = -1; }},
      {"-ULRA", "-ULRA\n", "UnlimitRightArm = ON \n", [] { Unlimit.RightArm = -1; }},
      {"-ULRH", "-ULRH\n", "UnlimitRightHand = ON \n", [] { Unlimit.RightHand = -1; }},
      {"-ULR", "-ULR x", "UnlimitRight (Arm and Hand) = ON \nError reading setup file at ('x') (78) at line 1. \n",
       [] { Unlimit.RightArm = Unlimit.RightHand = -1; }},
      {"-UL", "-UL\n", "Unlimit (all) = ON \n", [] { Unlimit = {-1, -1, -1, -1}; }},
      {"-ULX", "-ULX\n", "Unlimit (all) = ON \nError reading setup file at ('X') (58) at line 1. \n",
       [] { Unlimit = {-1, -1, -1, -1}; }},
      {"-UX", "-UX\n", "Error reading setup file at ('X') (58) at line 1. \n", nochange},
  };
  RUN(cases);
}

// The six limbs share one pattern; each row names its letters, texts and settings.
struct LimbRow {
  const char* letters;   // after -K, and after -L / -R for the mode
  const char* weight;    // printed name of the weight
  const char* mode;      // printed name of the mode
  float* k;
  int8_t* m;
};

const LimbRow limbRows[] = {
    {"LA", "kLA", "LeftArm", &kLA, &Mode.LeftArm},
    {"LH", "kLH", "LeftHand", &kLH, &Mode.LeftHand},
    {"LW", "kLW", "LeftWrist", &kLW, &Mode.LeftWrist},
    {"RA", "kRA", "RightArm", &kRA, &Mode.RightArm},
    {"RH", "kRH", "RightHand", &kRH, &Mode.RightHand},
    {"RW", "kRW", "RightWrist", &kRW, &Mode.RightWrist},
};

TEST_P(SetupFile, LimbWeightsAndModes) {
  for (const LimbRow& r : limbRows) {
    const std::string K = std::string("-K") + r.letters;
    const std::string k = std::string("-k") + static_cast<char>(r.letters[0] + 32) +
                          static_cast<char>(r.letters[1] + 32);
    const std::string w = r.weight;
    const std::string mode = std::string(r.mode) + " mode = ";
    float* kp = r.k;
    int8_t* mp = r.m;
    const SetupCase cases[] = {
        {"weight 0 lowers the mode", K + " 0\n", w + " = 0 \n", [=] { *kp = 0.0f, *mp = 1; }},
        {"weight 0.5", k + "=0.5\n", w + " = 0.5 \n", [=] { *kp = 0.5f; }},
        {"weight .25", K + "=\n.25\n", w + " = 0.25 \n", [=] { *kp = 0.25f; }},
        {"weight 1", K + " 1\n", w + " = 1 \n", nochange},
        {"weight 1.5", K + " 1.5\n", "-" + w + ": illegal value 1.5. \n", nochange},
        {"weight x", K + " x\n",
         "-" + w + ": syntax error. \nError reading setup file at ('x') (78) at line 1. \n", nochange},
        {"weight -1", K + " -1\n",
         "-" + w + ": syntax error. \n"
         "  Option -[1]: could not be recognized. \n",  // the '-' starts an option
         nochange},
        {"weight .", K + " .\n-D 1\n", "-" + w + ": parameter retriving error. \n", nochange},
        {"weight at the end", K, "-" + w + ": syntax error. \n", nochange},
        {"mode 1 stays at weight 0", "-" + std::string(r.letters) + "1 " + K + " 0\n",
         mode + "1 \n" + w + " = 0 \n", [=] { *mp = 1, *kp = 0.0f; }},
        {"mode 3 lowered at weight 0", "-" + std::string(r.letters) + K + " 0\n",
         mode + "3 \n" + w + " = 0 \n", [=] { *mp = 1, *kp = 0.0f; }},
        {"mode 0 stays at weight 0", "-" + std::string(r.letters) + "=0" + K + " 0\n",
         mode + "0 \n" + w + " = 0 \n", [=] { *mp = 0, *kp = 0.0f; }},
        {"mode digit", "-" + std::string(r.letters) + "5\n", mode + "5 \n", [=] { *mp = 5; }},
        {"mode at a line end", "-" + std::string(r.letters) + "\n-D 1\n",
         mode + "3 \nInfo.displayLevel = 1. \n",
         [=] {
           *mp = 3;
           Info.displayLevel = 1;
         }},
        {"mode after = and blanks", "-" + std::string(r.letters) + "= \n 4\n", mode + "4 \n",
         [=] { *mp = 4; }},
    };
    SCOPED_TRACE(r.weight);
    RUN(cases);
  }
}

TEST_P(SetupFile, PartialLimbOptions) {
  const SetupCase cases[] = {
      {"-KLX", "-KLX\n", "-kL: syntax error. \nError reading setup file at ('X') (58) at line 1. \n",
       nochange},
      {"-krx", "-krx\n", "-kR: syntax error. \nError reading setup file at ('x') (78) at line 1. \n",
       nochange},
      {"-KX", "-KX\n",
       "  Option -K[X]: could not be recognized. \nError reading setup file at ('X') (58) at line 1. \n",
       nochange},
      {"-LX", "-LX\n",
       "  Option -L[X]: could not be recognized. \nError reading setup file at ('X') (58) at line 1. \n",
       nochange},
      {"-RX", "-RX\n", "VMDpose.learningmode = ON. \nError reading setup file at ('X') (58) at line 1. \n",
       [] { VMDpose.learningmode = -1; }},
  };
  RUN(cases);
}

TEST_P(SetupFile, MissingFileIsNotRead) {
  std::string missing = missingpath();
  std::u16string missingW(missing.begin(), missing.end());
  settingsdefaults();
  ConsoleCapture con;
  EXPECT_EQ(GetParam() == PathForm::Ansi ? readsetup(missing.c_str()) : readsetupW(missingW.c_str()), -1);
  EXPECT_EQ(con.text(), "");
}

// The same options in UTF-8 and in Shift-JIS, each with a Japanese comment.
TEST_P(SetupFile, EncodingIsReportedAndChangesNothingElse) {
  const std::string options = "\n-D 2 -F\n-kla 0.5 -ND1\n";
  const std::string commentUtf8 = "# \xE8\xA8\xAD\xE5\xAE\x9A\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB";
  const std::string commentSjis = "# \x90\xDD\x92\xE8\x83\x74\x83\x40\x83\x43\x83\x8B";
  const std::string printed =
      "Info.displayLevel = 2. \nForce.display = -1. \nkLA = 0.5 \n"
      "Displaying.dialogue = partially OFF (Level 1). \n";
  std::string settings[2];
  const std::pair<std::string, std::string> files[] = {{commentUtf8, UTF8LINE}, {commentSjis, SJISLINE}};
  for (int i = 0; i < 2; i++) {
    settingsdefaults();
    TextFile f(files[i].first + options);
    ConsoleCapture con;
    EXPECT_EQ(read(f), 0);
    EXPECT_EQ(con.text(), files[i].second + printed);
    settings[i] = describe();
  }
  EXPECT_EQ(settings[0], settings[1]);
  EXPECT_NE(settings[0].find("Info.displayLevel=2 Force.display=-1"), std::string::npos);
}

}  // namespace
