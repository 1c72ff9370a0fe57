// setupfile.cpp - "modsetup.ini": options written as on a command line, one letter at a time.
#include "setup/setupfile.h"

#include <cstdint>
#include <iterator>

#include "setup/settings.h"
#include "setup/textfile.h"
#include "text/console.h"

namespace {

constexpr int CH_EOF = -1;
constexpr int COMMENTMAX = 255;  // a longer comment line goes on as setup text

// What an option tells the outer loop: go on, or stop reading the file.
constexpr int GOON = 0;
constexpr int STOP = -1;

// One arm, hand or wrist: its -K weight and its -L / -R conversion mode.
struct Limb {
  char side;              // 'L' or 'R', the letter after -K, and the option -L or -R
  char part;              // 'A' arm, 'H' hand, 'W' wrist
  const char* weightName;  // as printed: "kLA"
  const char* modeName;    // as printed: "LeftArm"
  float* weight;
  int8_t* mode;
};

constexpr Limb limbs[] = {
    {'L', 'A', "kLA", "LeftArm", &kLA, &Mode.LeftArm},
    {'L', 'H', "kLH", "LeftHand", &kLH, &Mode.LeftHand},
    {'L', 'W', "kLW", "LeftWrist", &kLW, &Mode.LeftWrist},
    {'R', 'A', "kRA", "RightArm", &kRA, &Mode.RightArm},
    {'R', 'H', "kRH", "RightHand", &kRH, &Mode.RightHand},
    {'R', 'W', "kRW", "RightWrist", &kRW, &Mode.RightWrist},
};
static_assert(std::size(limbs) == 6, "three limbs a side");

int upper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

bool isdigitch(int c) { return c >= '0' && c <= '9'; }

// Consumes the look-ahead when it is the letter, in either case.
bool accept(int letter) {
  if (upper(tfpeek()) != letter) return false;
  tfgetc();
  return true;
}

bool acceptch(int c) {
  if (tfpeek() != c) return false;
  tfgetc();
  return true;
}

// Lead-ins between the option letters and the parameter.
void leadeq() {
  acceptch('=');
  tfskipspace();
}
void leadsp() { tfskipspace(); }

// One optional digit: its value, or -1 when none follows.
int optdigit() {
  int c = tfpeek();
  if (!isdigitch(c)) return -1;
  tfgetc();
  return c - '0';
}

int8_t lowbyte(int32_t v) { return static_cast<int8_t>(v); }

void flagon(int8_t& flag, const char* line) {
  flag = FLAG_ON;
  conputs(line);
}

// Parameter readers: on failure they print the option's error and the file ends.
int floatparam(float* out, const char* option) {
  if (tfgetfloat(out) == 0) return GOON;
  conprintf("-%s: first parameter (floating point) retriving error. \n", option);
  return STOP;
}

int intparam(int32_t* out, const char* option, const char* kind) {
  if (tfgetint(out) == 0) return GOON;
  conprintf("-%s: first parameter (%s) retriving error. \n", option, kind);
  return STOP;
}

// A float setting echoed as "<name> = <value> ".
int floatsetting(float& setting, const char* option, const char* name) {
  float v = 0.0f;
  if (floatparam(&v, option) != GOON) return STOP;
  setting = v;
  conprintf("%s = %g \n", name, static_cast<double>(v));
  return GOON;
}

void unrecognised(const char* option, int c) {
  conprintf("  Option -%s[%c]: could not be recognized. \n", option, c);
}

// The limb of the given side whose part letter is the look-ahead (consumed), or nullptr.
const Limb* acceptlimb(char side) {
  int c = upper(tfpeek());
  for (const Limb& limb : limbs) {
    if (limb.side == side && limb.part == c) {
      tfgetc();
      return &limb;
    }
  }
  return nullptr;
}

// -LA ... -RW: the mode is the digit, or 3 without one.
int limbmode(const Limb& limb) {
  leadeq();
  int d = optdigit();
  *limb.mode = static_cast<int8_t>(d >= 0 ? d : 3);
  conprintf("%s mode = %d \n", limb.modeName, static_cast<int>(*limb.mode));
  return GOON;
}

// -KLA ... -KRW: a weight within 0.0-1.0; a weight of 0 lowers a mode of 2 or more to 1.
int limbweight(const Limb& limb) {
  leadeq();
  int c = tfpeek();
  if (!isdigitch(c) && c != '.') {
    conprintf("-%s: syntax error. \n", limb.weightName);
    return GOON;
  }
  float v = 0.0f;
  if (tfgetfloat(&v) != 0) {
    conprintf("-%s: parameter retriving error. \n", limb.weightName);
    return STOP;
  }
  if (!(v >= 0.0f && v <= 1.0f)) {
    conprintf("-%s: illegal value %g. \n", limb.weightName, static_cast<double>(v));
    return GOON;
  }
  *limb.weight = v;
  conprintf("%s = %g \n", limb.weightName, static_cast<double>(v));
  if (v == 0.0f && *limb.mode >= 2) *limb.mode = 1;
  return GOON;
}

int optionA() {
  if (accept('E')) {
    if (!accept('H')) return GOON;
    accept('A');
    leadsp();
    return floatsetting(ElbowHingeAngle, "AEH(A)", "ElbowHingeAngle");
  }
  if (accept('I')) {
    leadsp();
    flagon(Keyframe.autoinsert, "Keyframe.autoinsert = ON \n");
    return GOON;
  }
  if (accept('K')) {
    leadsp();
    flagon(ArmToElbow.autocorrect, "Keyframe.autoinsert = ON \n");
    return GOON;
  }
  if (accept('T')) {
    if (!accept('E')) return GOON;
    leadsp();
    flagon(ArmToElbow.autocorrect, "ArmToElbow.autocorrect = ON \n");
    return GOON;
  }
  leadsp();
  float v = 0.0f;
  if (floatparam(&v, "A") != GOON) return STOP;
  Accuracy = v;
  conprintf("Accuracy = %g (deg) \n", static_cast<double>(v));
  return GOON;
}

int optionC() {
  if (accept('A')) {
    leadeq();
    flagon(Check.angle, "Check.angle = ON \n");
  } else {
    flagon(VMDfile.checkmode, "VMDfile.checkmode = ON. \n");
  }
  return GOON;
}

int optionD() {
  leadeq();
  int32_t v = 0;
  if (intparam(&v, "D", "integer") != GOON) return STOP;
  Info.displayLevel = lowbyte(v);
  conprintf("Info.displayLevel = %ld. \n", static_cast<long>(Info.displayLevel));
  return GOON;
}

int optionE() {
  if (accept('A')) {
    leadeq();
    return floatsetting(Accuracy, "EA", "ErrorAdmittance");
  }
  if (accept('C')) {  // accepted for compatibility, changes nothing
    acceptch('=');
    optdigit();
    return GOON;
  }
  if (accept('H')) {
    if (!accept('A')) return GOON;
    leadeq();
    return floatsetting(ElbowHingeAngle, "EHA", "ElbowHingeAngle");
  }
  unrecognised("E", tfpeek());
  return GOON;
}

int optionF() {
  leadeq();
  int32_t v = -1;
  if (isdigitch(tfpeek()) && intparam(&v, "F", "integer") != GOON) return STOP;
  Force.display = lowbyte(v);
  conprintf("Force.display = %ld. \n", static_cast<long>(Force.display));
  return GOON;
}

int optionK() {
  if (accept('I')) {
    flagon(Keyframe.autoinsert, "Keyframe.autoinsert = ON \n");
    return GOON;
  }
  char side = 0;
  if (accept('L')) {
    side = 'L';
  } else if (accept('R')) {
    side = 'R';
  } else {
    unrecognised("K", tfpeek());
    return GOON;
  }
  const Limb* limb = acceptlimb(side);
  if (limb == nullptr) {
    conprintf("-k%c: syntax error. \n", side);
    return GOON;
  }
  return limbweight(*limb);
}

int optionL() {
  const Limb* limb = acceptlimb('L');
  if (limb == nullptr) {
    unrecognised("L", tfpeek());
    return GOON;
  }
  return limbmode(*limb);
}

int optionM() {
  leadsp();
  int32_t v = 0;
  if (intparam(&v, "M", "integer") != GOON) return STOP;
  Conv.mode = lowbyte(v);
  conprintf("Conv.mode = %ld. \n", static_cast<long>(Conv.mode));
  return GOON;
}

int optionN() {
  if (accept('D')) {
    acceptch('=');
    int d = optdigit();
    if (d < 0) {
      Cancel.displaying.dialogue = -1;
      conputs("Displaying.dialogue = OFF. \n");
    } else if (d == 0) {
      Cancel.displaying.dialogue = 0;
      conprintf("Displaying.dialogue = ON (Level %d). \n", d);
    } else {
      Cancel.displaying.dialogue = static_cast<int8_t>(d);
      conprintf("Displaying.dialogue = partially OFF (Level %d). \n", d);
    }
    return GOON;
  }
  if (accept('S')) {
    TwistMotionSeparation = FLAG_OFF;
    conputs("Twist-motionSeparation. = OFF \n");
    return GOON;
  }
  unrecognised("N", tfpeek());
  return GOON;
}

// -O: other kinds of names are filled too; -O0 turns that off again.
int optionO() {
  leadeq();
  int32_t v = 1;
  if (isdigitch(tfpeek()) && intparam(&v, "O", "integer") != GOON) return STOP;
  Fill.everyKind = v != 0 ? FLAG_ON : FLAG_OFF;
  conputs(v != 0 ? "Fill.everyKind = ON \n" : "Fill.everyKind = OFF \n");
  return GOON;
}

// -V: a names table beside every copy; -J: corrections remembered. 0 turns either off.
int tableflag(int8_t& flag, const char* letter, const char* name) {
  leadeq();
  int32_t v = 1;
  if (isdigitch(tfpeek()) && intparam(&v, letter, "integer") != GOON) return STOP;
  flag = v != 0 ? FLAG_ON : FLAG_OFF;
  conprintf("%s = %s \n", name, v != 0 ? "ON" : "OFF");
  return GOON;
}

int optionR() {
  const Limb* limb = acceptlimb('R');
  if (limb != nullptr) return limbmode(*limb);
  flagon(VMDpose.learningmode, "VMDpose.learningmode = ON. \n");
  return GOON;
}

int optionS() {
  if (accept('A')) {
    leadeq();
    return floatsetting(SumAngleStepAdmittance, "SA", "SumAngleStepAdmittance");
  }
  if (accept('O')) {
    if (!accept('R') || !accept('T')) return GOON;
    leadeq();
    Sort = FLAG_ON;
    conprintf("Sort = ON (%d) \n", static_cast<int>(Sort));
    return GOON;
  }
  if (accept('R')) {
    leadeq();
    return floatsetting(SumAngleRatioAdmittance, "SR", "SumAngleRatioAdmittance");
  }
  leadsp();
  int first = tfpeek();
  int32_t v = 0;
  if (intparam(&v, "S", "long integer") != GOON) return STOP;
  unrecognised("S", first);
  return GOON;
}

int optionT() {
  if (accept('A')) {
    leadeq();
    return floatsetting(TwistAngleStepAdmittance, "TA", "TwistAngleStepAdmittance");
  }
  if (accept('R')) {
    leadeq();
    return floatsetting(TwistAngleRatioAdmittance, "TR", "TwistAngleRatioAdmittance");
  }
  leadsp();
  int32_t v = 0;
  if (intparam(&v, "T", "long integer") != GOON) return STOP;
  ConvToFrame = v;
  conprintf("  conv to   Frame = %ld. \n", static_cast<long>(ConvToFrame));
  return GOON;
}

// -ULL... or -ULR...: arm, hand, or both of one side.
void unlimitside(int8_t& arm, int8_t& hand, const char* side) {
  if (accept('A')) {
    leadsp();
    arm = FLAG_ON;
    conprintf("Unlimit%sArm = ON \n", side);
  } else if (accept('H')) {
    leadsp();
    hand = FLAG_ON;
    conprintf("Unlimit%sHand = ON \n", side);
  } else {
    tfskipspace();
    arm = hand = FLAG_ON;
    conprintf("Unlimit%s (Arm and Hand) = ON \n", side);
  }
}

int optionU() {
  if (!accept('L')) return GOON;
  if (accept('A')) {
    leadsp();
    Unlimit.LeftArm = Unlimit.RightArm = FLAG_ON;
    conputs("UnlimitArm (Left and Right) = ON \n");
  } else if (accept('H')) {
    leadsp();
    Unlimit.LeftHand = Unlimit.RightHand = FLAG_ON;
    conputs("UnlimitHand (Left and Right) = ON \n");
  } else if (accept('L')) {
    unlimitside(Unlimit.LeftArm, Unlimit.LeftHand, "Left");
  } else if (accept('R')) {
    unlimitside(Unlimit.RightArm, Unlimit.RightHand, "Right");
  } else {
    Unlimit = {FLAG_ON, FLAG_ON, FLAG_ON, FLAG_ON};
    conputs("Unlimit (all) = ON \n");
  }
  return GOON;
}

int optionW() {
  if (!accept('T') || !accept('E')) return GOON;
  leadsp();
  flagon(WristToElbow.autocorrect, "WristToElbow.autocorrect = ON \n");
  return GOON;
}

// The option after '-' or '/': GOON, or STOP after a parameter error.
int option() {
  int c = tfgetc();
  switch (upper(c)) {
    case 'A': return optionA();
    case 'C': return optionC();
    case 'D': return optionD();
    case 'E': return optionE();
    case 'F': return optionF();
    case 'K': return optionK();
    case 'L': return optionL();
    case 'M': return optionM();
    case 'N': return optionN();
    case 'O': return optionO();
    case 'R': return optionR();
    case 'S': return optionS();
    case 'T': return optionT();
    case 'U': return optionU();
    case 'V': return tableflag(Table.write, "V", "Table.write");
    case 'J': return tableflag(Table.remember, "J", "Table.remember");
    case 'W': return optionW();
    default:
      unrecognised("", c);
      return GOON;
  }
}

// Comment text up to the line end (consumed with it), or COMMENTMAX characters.
void skipcomment() {
  for (int i = 0; i < COMMENTMAX; i++) {
    int c = tfgetc();
    if (c == CH_EOF || c == '\r' || c == '\n') return;
  }
}

// Reads the open setup file to its end or to a parameter error, then closes it.
int parse() {
  for (int c = tfpeek(); c != CH_EOF; c = tfpeek()) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      tfgetc();
    } else if (c == '#') {
      tfgetc();
      skipcomment();
    } else if (c == '-' || c == '/') {
      tfgetc();
      if (acceptch('/')) {
        skipcomment();
      } else if (option() != GOON) {
        break;
      }
    } else {
      conprintf("Error reading setup file at ('%c') (%02X) at line %ld. \n", c, c,
                static_cast<long>(tfline()));
      tfgetc();
    }
  }
  tfclose();
  return 0;
}

// The setup syntax is ASCII; the encoding is only reported.
void encodingline(int utf8verdict) {
  conputs(utf8verdict > 2 ? " -- (UTF-8 setup reading ...) \n" : " -- (SJIS setup reading ...) \n");
}

}  // namespace

int readsetup(const char* path) {
  if (tftryopen(path) != 0) return -1;
  encodingline(chkifutf8(path));
  if (tfopen(path) != 0) return -1;
  return parse();
}

int readsetupW(const char16_t* path) {
  if (tftryopenW(path) != 0) return -1;
  encodingline(chkifutf8W(path));
  if (tfopenW(path) != 0) return -1;
  return parse();
}
