// translit.h - word-by-word English rendering of Japanese bone names for the console.
#pragma once

constexpr int ENG_BUFSIZE = 260;  // output buffer; the rendering is bounded to fit

// Writes the rendering of the Shift-JIS name followed by two zero bytes.
void sjis2eng(char* out, const char* name);
