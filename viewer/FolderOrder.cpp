#include "FolderOrder.h"

namespace {

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

unsigned char Folded(char C) {
  const auto Byte = static_cast<unsigned char>(C);
  return Byte >= 'A' && Byte <= 'Z' ? static_cast<unsigned char>(Byte - 'A' + 'a') : Byte;
}

// The run of digits starting at Start, without its leading zeros; Start is
// moved past the run.
std::string_view Number(std::string_view Text, size_t& Start) {
  while (Start < Text.size() && Text[Start] == '0') ++Start;
  const size_t First = Start;
  while (Start < Text.size() && IsDigit(Text[Start])) ++Start;
  return Text.substr(First, Start - First);
}

// Compares two digit runs without leading zeros as numbers, however long:
// the longer is the larger, and runs of one length compare digit by digit.
int CompareNumbers(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return A.size() < B.size() ? -1 : 1;
  const int Digits = A.compare(B);
  return Digits < 0 ? -1 : Digits > 0 ? 1 : 0;
}

int NaturalCompare(std::string_view A, std::string_view B) {
  size_t I = 0, J = 0;
  while (I < A.size() && J < B.size()) {
    if (IsDigit(A[I]) && IsDigit(B[J])) {
      const std::string_view NumberA = Number(A, I), NumberB = Number(B, J);
      if (const int Order = CompareNumbers(NumberA, NumberB); Order != 0) return Order;
      continue;
    }
    const unsigned char X = Folded(A[I++]), Y = Folded(B[J++]);
    if (X != Y) return X < Y ? -1 : 1;
  }
  const bool AEnded = I == A.size(), BEnded = J == B.size();
  return AEnded == BEnded ? 0 : AEnded ? -1 : 1;
}

}  // namespace

bool NaturalLess(std::string_view A, std::string_view B) {
  const int Order = NaturalCompare(A, B);
  return Order != 0 ? Order < 0 : A < B;  // char_traits<char> compares bytes as unsigned
}

std::optional<std::string> NeighbourName(const std::vector<std::string>& Names, std::string_view Current,
                                         bool Forward) {
  const std::string* Best = nullptr;
  for (const std::string& Name : Names) {
    const bool Beyond = Forward ? NaturalLess(Current, Name) : NaturalLess(Name, Current);
    if (!Beyond) continue;
    if (Best == nullptr || (Forward ? NaturalLess(Name, *Best) : NaturalLess(*Best, Name))) Best = &Name;
  }
  if (Best == nullptr) return std::nullopt;
  return *Best;
}
