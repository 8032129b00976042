#include "FileTypes.h"

namespace {

char Lower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

bool EndsWithIgnoringCase(std::string_view Text, std::string_view Lowercase) {
  if (Text.size() < Lowercase.size()) return false;
  const std::string_view End = Text.substr(Text.size() - Lowercase.size());
  for (size_t Index = 0; Index < End.size(); ++Index)
    if (Lower(End[Index]) != Lowercase[Index]) return false;
  return true;
}

}  // namespace

bool IsOfferedFileName(std::string_view FileName) {
  const size_t Slash = FileName.rfind('/');
  const std::string_view Base = Slash == std::string_view::npos ? FileName : FileName.substr(Slash + 1);
  std::string_view Patterns = OpenFileFilters.front().Patterns;
  while (!Patterns.empty()) {
    const size_t Blank = Patterns.find(' ');
    const std::string_view Pattern = Patterns.substr(0, Blank);
    const std::string_view Extension = Pattern.substr(1);  // ".jpg" of "*.jpg"
    if (Base.size() > Extension.size() && EndsWithIgnoringCase(Base, Extension)) return true;
    if (Blank == std::string_view::npos) break;
    Patterns.remove_prefix(Blank + 1);
  }
  return false;
}
