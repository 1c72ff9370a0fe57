// settings.h - the settings record and the language mode of the run.
//
// One static record, given its defaults by settingsdefaults(), then changed by
// "modsetup.ini" and by the command line. Byte settings are signed and printed widened.
#pragma once
#include <cstdint>

struct InfoSettings { int8_t displayLevel; };               // reader verbosity
struct ForceSettings { int8_t display; };                   // replace existing English names
struct ConvSettings { int8_t mode; };                       // stored and reported only
struct CancelSettings { struct { int8_t dialogue; } displaying; };  // 2+: no extension question

extern InfoSettings Info;
extern ForceSettings Force;
extern ConvSettings Conv;
extern CancelSettings Cancel;
extern float Accuracy;

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
