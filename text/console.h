// console.h - the program's console output: printf-style text handed to one sink.
//
// Every byte the program shows on the console passes through here, in the program's
// own encoding (Shift-JIS). The platform installs a sink that delivers the bytes to
// the terminal (converting them where the terminal wants another encoding); tests
// install a sink that records them.
#pragma once
#include <cstddef>

using consink = void (*)(const char* bytes, size_t n);

// Formats like printf and hands the result to the sink; returns the byte count.
int conprintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Writes the string without adding a newline.
void conputs(const char* s);
void conwrite(const char* bytes, size_t n);
// Pushes held output to the terminal. Output is fully buffered (a rule listing runs to
// thousands of lines), so the program calls this before every pause, box, question
// and dialog, once per model, and at the end of the run.
void conflush();
// Gives standard output a large buffer that is written only when full or flushed.
// Called once at start, before anything is printed.
void conbuffer();
// Installs a sink; nullptr restores the default (raw bytes to standard output).
// Returns the previous sink.
consink consetsink(consink sink);
// Installs the function that conflush calls on the sink's behalf.
void consetflush(void (*flush)());
