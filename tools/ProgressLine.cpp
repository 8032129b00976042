#include "ProgressLine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>

namespace {

constexpr auto RedrawInterval = std::chrono::milliseconds(100);

bool SameFile(int A, int B) {
  struct stat InfoA{}, InfoB{};
  return ::fstat(A, &InfoA) == 0 && ::fstat(B, &InfoB) == 0 && InfoA.st_dev == InfoB.st_dev &&
         InfoA.st_ino == InfoB.st_ino && InfoA.st_rdev == InfoB.st_rdev;
}

}  // namespace

void WriteStandardError(std::string_view Text) {
  while (!Text.empty()) {
    const ssize_t Written = ::write(STDERR_FILENO, Text.data(), Text.size());
    if (Written < 0 && errno == EINTR) continue;
    if (Written <= 0) return;  // nowhere left to say it
    Text.remove_prefix(static_cast<size_t>(Written));
  }
}

bool ProgressWanted() {
  return ::isatty(STDERR_FILENO) == 1 && !(::isatty(STDOUT_FILENO) == 1 && SameFile(STDOUT_FILENO, STDERR_FILENO));
}

std::string GroupedThousands(uint64_t Value) {
  std::string Digits = std::to_string(Value);
  for (size_t At = Digits.size(); At > 3; At -= 3) Digits.insert(At - 3, 1, ',');
  return Digits;
}

std::string ProgressText(uint64_t Done, uint64_t Total, double FilesPerSecond) {
  return GroupedThousands(Done) + " / " + GroupedThousands(Total) + " files, " +
         GroupedThousands(static_cast<uint64_t>(std::llround(std::max(0.0, FilesPerSecond)))) + " files/s";
}

TProgressLine::TProgressLine(bool Shown, uint64_t Total)
    : FShown(Shown), FTotal(Total), FStart(TClock::now()), FDrawn(FStart) {}

void TProgressLine::Update(uint64_t Done) {
  if (!FShown) return;
  const TClock::time_point Now = TClock::now();
  if (FWidth != 0 && Now - FDrawn < RedrawInterval) return;
  if (FWidth == 0 && Now - FStart < RedrawInterval) return;  // a short run shows none
  const double Seconds = std::chrono::duration<double>(Now - FStart).count();
  const std::string Text = ProgressText(Done, FTotal, static_cast<double>(Done) / Seconds);
  std::string Line = "\r" + Text;
  if (Text.size() < FWidth) Line.append(FWidth - Text.size(), ' ');
  WriteStandardError(Line);
  FWidth = Text.size();
  FDrawn = Now;
}

void TProgressLine::Clear() {
  if (FWidth == 0) return;
  std::string Blanks(FWidth + 2, ' ');
  Blanks.front() = Blanks.back() = '\r';
  WriteStandardError(Blanks);
  FWidth = 0;
}
