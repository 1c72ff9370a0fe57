// settings.cpp - the settings record, its start-of-run values, and the language mode.
#include "setup/settings.h"

InfoSettings Info;
ForceSettings Force;
ConvSettings Conv;
CancelSettings Cancel;
FillSettings Fill;
TableSettings Table;
float Accuracy;

KeyframeSettings Keyframe;
AutocorrectSettings ArmToElbow;
AutocorrectSettings WristToElbow;
CheckSettings Check;
VmdFileSettings VMDfile;
VmdPoseSettings VMDpose;
LimbModes Mode;
UnlimitSettings Unlimit;
float ElbowHingeAngle;
float kLA, kLH, kLW, kRA, kRH, kRW;
int8_t TwistMotionSeparation;
float SumAngleStepAdmittance;
float SumAngleRatioAdmittance;
int8_t Sort;
float TwistAngleStepAdmittance;
float TwistAngleRatioAdmittance;
int32_t ConvToFrame;

LanguageMode Lang = {false, false, false, 0};

void settingsdefaults() {
  Info.displayLevel = 0;
  Accuracy = 1.5f;
  Force.display = 0;
  Conv.mode = 15;
  Cancel.displaying.dialogue = 0;
  Fill.everyKind = FLAG_OFF;
  Table = {FLAG_OFF, FLAG_OFF};

  Keyframe.autoinsert = FLAG_OFF;
  ArmToElbow.autocorrect = FLAG_OFF;
  WristToElbow.autocorrect = FLAG_OFF;
  Check.angle = FLAG_OFF;
  VMDfile.checkmode = FLAG_OFF;
  VMDpose.learningmode = FLAG_OFF;
  Mode = {2, 2, 2, 2, 2, 2};
  Unlimit = {FLAG_OFF, FLAG_OFF, FLAG_OFF, FLAG_OFF};
  ElbowHingeAngle = 10.0f;
  kLA = kLH = kLW = kRA = kRH = kRW = 1.0f;
  TwistMotionSeparation = FLAG_ON;
  SumAngleStepAdmittance = 90.0f;
  SumAngleRatioAdmittance = 5.5f;
  Sort = FLAG_OFF;
  TwistAngleStepAdmittance = 140.0f;
  TwistAngleRatioAdmittance = 3.0f;
  ConvToFrame = 9999999;
}
