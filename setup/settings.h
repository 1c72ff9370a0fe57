// settings.h - the settings record and the language mode of the run.
//
// One static record, given its defaults by settingsdefaults(), then changed by
// "modsetup.ini" and by the command line. Byte settings are signed and printed widened;
// flags are bytes, 0 for off and -1 (0xFF) for on.
#pragma once
#include <cstdint>

constexpr int8_t FLAG_OFF = 0;
constexpr int8_t FLAG_ON = -1;

struct InfoSettings { int8_t displayLevel; };               // reader verbosity
struct ForceSettings { int8_t display; };                   // replace existing English names
struct ConvSettings { int8_t mode; };                       // stored and reported only
struct CancelSettings { struct { int8_t dialogue; } displaying; };  // 2+: no extension question
// Flag: fill the English names of the model, materials, rigid bodies, joints and soft
// bodies too, not only those of bones, morphs and display frames.
struct FillSettings { int8_t everyKind; };
// Flags: write a names table beside every saved copy; remember the names a table
// applied changed as whole-name lines of the user's word list.
struct TableSettings { int8_t write; int8_t remember; };

extern InfoSettings Info;
extern ForceSettings Force;
extern ConvSettings Conv;
extern CancelSettings Cancel;
extern FillSettings Fill;
extern TableSettings Table;
extern float Accuracy;

// Motion-conversion settings: parsed, checked and echoed from "modsetup.ini", read by
// nothing else in this program.
struct KeyframeSettings { int8_t autoinsert; };             // flag
struct AutocorrectSettings { int8_t autocorrect; };         // flag
struct CheckSettings { int8_t angle; };                     // flag
struct VmdFileSettings { int8_t checkmode; };               // flag
struct VmdPoseSettings { int8_t learningmode; };            // flag
// Conversion mode of each arm, hand and wrist (byte, 2 by default).
struct LimbModes { int8_t LeftArm, LeftHand, LeftWrist, RightArm, RightHand, RightWrist; };
// Unlimit flags ("UnlimitLeftArm" is Unlimit.LeftArm).
struct UnlimitSettings { int8_t LeftArm, LeftHand, RightArm, RightHand; };

extern KeyframeSettings Keyframe;          // Keyframe.autoinsert
extern AutocorrectSettings ArmToElbow;     // ArmToElbow.autocorrect
extern AutocorrectSettings WristToElbow;   // WristToElbow.autocorrect
extern CheckSettings Check;                // Check.angle
extern VmdFileSettings VMDfile;            // VMDfile.checkmode
extern VmdPoseSettings VMDpose;            // VMDpose.learningmode
extern LimbModes Mode;                     // LeftArm mode ... RightWrist mode
extern UnlimitSettings Unlimit;
extern float ElbowHingeAngle;
extern float kLA, kLH, kLW, kRA, kRH, kRW;  // 0.0-1.0
extern int8_t TwistMotionSeparation;       // Twist-motionSeparation, flag
extern float SumAngleStepAdmittance;
extern float SumAngleRatioAdmittance;
extern int8_t Sort;                        // flag
extern float TwistAngleStepAdmittance;
extern float TwistAngleRatioAdmittance;
extern int32_t ConvToFrame;

// The language mode: which language and encoding every text of the run uses.
struct LanguageMode {
  bool japanese;        // the user's language is Japanese
  bool sjisConsole;     // the console shows Shift-JIS as stored
  bool utf8Console;     // the console expects UTF-8
  uint32_t consoleCp;   // the console output code page
};
extern LanguageMode Lang;

// True when texts are shown in Japanese as stored (Japanese user, Shift-JIS console).
inline bool langjapanese() { return Lang.japanese && Lang.sjisConsole; }

// Gives every setting its value at the start of a run.
void settingsdefaults();
