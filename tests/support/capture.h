// capture.h - records what the program prints on the console, for exact comparisons.
#pragma once
#include <string>

#include "text/console.h"

class ConsoleCapture {
 public:
  ConsoleCapture() { previous_ = consetsink(&ConsoleCapture::sink); active() = this; }
  ~ConsoleCapture() {
    consetsink(previous_);
    active() = nullptr;
  }
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  // Everything printed so far, and forgets it.
  std::string take() {
    std::string out;
    out.swap(text_);
    return out;
  }
  const std::string& text() const { return text_; }

 private:
  static ConsoleCapture*& active() {
    static ConsoleCapture* current = nullptr;
    return current;
  }
  static void sink(const char* bytes, size_t n) {
    if (active() != nullptr) active()->text_.append(bytes, n);
  }
  consink previous_;
  std::string text_;
};
