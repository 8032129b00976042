// The line on standard error that says how far a long run has come,
// "1,234 / 5,520 files, 41,000 files/s", rewritten in place (a carriage
// return, then blanks over what is left of the longer line before) at most
// ten times a second, and erased at the end and before any message is
// written to standard error.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class TProgressLine {
 public:
  // Shows nothing unless Shown.
  TProgressLine(bool Shown, uint64_t Total);
  ~TProgressLine() { Clear(); }
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  // Done files of the total are finished.
  void Update(uint64_t Done);
  // Erases the line; the next Update draws it again.
  void Clear();

 private:
  using TClock = std::chrono::steady_clock;

  bool FShown;
  uint64_t FTotal;
  TClock::time_point FStart;
  TClock::time_point FDrawn;  // when the line was last drawn
  size_t FWidth = 0;          // the length of the line on the screen; 0 when there is none
};

// 1234567 as "1,234,567".
std::string GroupedThousands(uint64_t Value);
// "1,234 / 5,520 files, 41,000 files/s"
std::string ProgressText(uint64_t Done, uint64_t Total, double FilesPerSecond);

// Whether the progress line belongs on standard error: it is a terminal,
// and standard output does not write to that same terminal, whose lines the
// progress line would break into.
bool ProgressWanted();

// Writes Text to standard error at once (unbuffered), all of it.
void WriteStandardError(std::string_view Text);
