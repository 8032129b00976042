// The files lumentag-dump reads, in the order it prints them: the FILE
// operands in their order; with Recursive, an operand that is a folder
// stands for the files under it. A folder's entries come in the byte order
// of their names, a subfolder's files at the subfolder's place (depth
// first). Of a folder's entries only those whose extension the open dialog
// offers are taken (IsOfferedFileName), and symbolic links to folders are
// not followed; an operand is always taken, and one that is a link to a
// folder is walked. The walk is lazy: it holds the names of the folders it
// is in, never a list of every file.
#pragma once

#include <dirent.h>

#include <span>
#include <string>
#include <vector>

// A name to read, or one the walk could not take, with its reason (a
// folder it could not list).
struct TWalkEntry {
  std::string Name;
  std::string Error;  // empty for a name to read
  // A file of a folder whose listing has no name ending in ".xmp" (in any
  // case), so no XMP sidecar beside it: its load need not look for one.
  bool NoSidecar = false;
};

class TFileWalk {
 public:
  TFileWalk(std::span<const std::string> Operands, bool Recursive)
      : FOperands(Operands), FRecursive(Recursive) {}

  // The next name; false when the walk is over.
  bool Next(TWalkEntry& Entry);

 private:
  struct TListedEntry {
    std::string Name;
    unsigned char Type;  // DT_DIR, DT_REG ... as the folder listed it
  };
  // A folder being walked: its entries sorted, and the next to visit.
  struct TFolder {
    std::string Path;  // ends in '/'
    std::vector<TListedEntry> Entries;
    size_t Next = 0;
    bool AnyXmp = false;  // a name ending in ".xmp", in any case
  };

  bool NextOperand(TWalkEntry& Entry);
  // Lists Path into a new innermost folder; false (and Error set) when it
  // cannot be listed.
  bool Enter(const std::string& Path, std::string& Error);
  // Whether the folder's entry is a file to read, a folder to walk, or
  // neither.
  enum TKind { wkSkip, wkFile, wkFolder };
  static TKind KindOf(const std::string& Path, const TListedEntry& Entry);

  std::span<const std::string> FOperands;
  bool FRecursive;
  size_t FNextOperand = 0;
  std::vector<TFolder> FFolders;  // the folders being walked, outermost first
};
