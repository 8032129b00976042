// The sidecar file of XMP that editors write beside a photo (Lightroom,
// darktable, digiKam): NAME.EXT.xmp, or NAME.xmp in place of the extension.
#include <sys/stat.h>

#include <algorithm>
#include <array>

#include "FileBytes.h"
#include "XmpReader.h"

namespace {

// The names a sidecar of FileName may have, in the order they are tried;
// a name met before, or the file's own, is left empty.
std::array<std::string, 4> SidecarNames(const std::string& FileName) {
  const size_t Slash = FileName.rfind('/');
  const size_t Dot = FileName.rfind('.');
  const bool HasExtension = Dot != std::string::npos && Dot > (Slash == std::string::npos ? 0 : Slash + 1);
  const std::string Stem = HasExtension ? FileName.substr(0, Dot) : FileName;
  std::array<std::string, 4> Names{FileName + ".xmp", FileName + ".XMP", Stem + ".xmp", Stem + ".XMP"};
  for (size_t Index = 0; Index < Names.size(); ++Index)
    if (Names[Index] == FileName || std::find(Names.begin(), Names.begin() + static_cast<std::ptrdiff_t>(Index),
                                              Names[Index]) != Names.begin() + static_cast<std::ptrdiff_t>(Index))
      Names[Index].clear();
  return Names;
}

}  // namespace

std::optional<TByteBuffer> ReadXmpSidecar(const std::string& FileName) {
  if (FileName.empty()) return std::nullopt;
  for (const std::string& Name : SidecarNames(FileName)) {
    struct stat Info {};
    if (Name.empty() || ::stat(Name.c_str(), &Info) != 0) continue;
    // The first name that exists is the sidecar, whatever it holds.
    try {
      const std::optional<TOpenFile> File = OpenRegularFile(Name);
      if (!File || File->Size() > MaxPacketBytes) return std::nullopt;
      TByteBuffer Bytes(static_cast<size_t>(File->Size()));
      Bytes.resize(File->ReadAt(0, Bytes));
      return Bytes;
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}
