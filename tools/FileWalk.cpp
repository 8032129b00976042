#include "FileWalk.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "FileTypes.h"

namespace {

bool IsFolder(const std::string& Path) {
  struct stat Info{};
  return ::stat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

bool EndsWithXmp(std::string_view Name) {
  constexpr std::string_view Extension = ".xmp";
  if (Name.size() < Extension.size()) return false;
  const std::string_view End = Name.substr(Name.size() - Extension.size());
  return std::equal(End.begin(), End.end(), Extension.begin(),
                    [](char A, char B) { return (A | 0x20) == B; });
}

}  // namespace

bool TFileWalk::Next(TWalkEntry& Entry) {
  Entry.Error.clear();
  Entry.NoSidecar = false;
  for (;;) {
    if (!FFolders.empty()) {
      TFolder& Folder = FFolders.back();
      if (Folder.Next == Folder.Entries.size()) {
        FFolders.pop_back();
        continue;
      }
      const TListedEntry& Listed = Folder.Entries[Folder.Next++];
      std::string Path = Folder.Path + Listed.Name;
      const TKind Kind = KindOf(Path, Listed);
      if (Kind == wkSkip || (Kind == wkFolder && Enter(Path, Entry.Error))) continue;
      Entry.Name = std::move(Path);
      Entry.NoSidecar = !Folder.AnyXmp;
      return true;
    }
    if (FNextOperand == FOperands.size()) return false;
    const std::string& Operand = FOperands[FNextOperand++];
    if (FRecursive && Operand != "-" && IsFolder(Operand) && Enter(Operand, Entry.Error)) continue;
    Entry.Name = Operand;
    return true;
  }
}

bool TFileWalk::Enter(const std::string& Path, std::string& Error) {
  DIR* Listing = ::opendir(Path.c_str());
  if (Listing == nullptr) {
    Error = std::strerror(errno);
    return false;
  }
  TFolder Folder;
  Folder.Path = Path.ends_with('/') ? Path : Path + '/';
  for (;;) {
    errno = 0;
    const dirent* Found = ::readdir(Listing);
    if (Found == nullptr) break;
    const std::string_view Name = Found->d_name;
    if (Name == "." || Name == "..") continue;
    Folder.Entries.push_back({std::string(Name), Found->d_type});
    Folder.AnyXmp = Folder.AnyXmp || EndsWithXmp(Name);
  }
  const int ListError = errno;
  ::closedir(Listing);
  if (ListError != 0) {
    Error = std::strerror(ListError);
    return false;
  }
  std::sort(Folder.Entries.begin(), Folder.Entries.end(),
            [](const TListedEntry& A, const TListedEntry& B) { return A.Name < B.Name; });
  FFolders.push_back(std::move(Folder));
  return true;
}

TFileWalk::TKind TFileWalk::KindOf(const std::string& Path, const TListedEntry& Entry) {
  unsigned char Type = Entry.Type;
  struct stat Info{};
  // Some file systems do not say the type in the listing.
  if (Type == DT_UNKNOWN && ::lstat(Path.c_str(), &Info) == 0) Type = IFTODT(Info.st_mode);
  if (Type == DT_DIR) return wkFolder;
  if (!IsOfferedFileName(Entry.Name)) return wkSkip;
  // A link to a folder is not followed; any other link is read, and one
  // that leads nowhere fails as a missing file does.
  if (Type == DT_LNK && ::stat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode)) return wkSkip;
  return wkFile;
}
