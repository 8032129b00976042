// Fuzz target: any bytes loaded as a file from the disk, read in blocks of
// 4 KiB of which four are held, so that directories, values and segments
// fall across block boundaries and blocks are dropped and read again; then
// every row's value text.
#include <sys/mman.h>
#include <unistd.h>

#include <sstream>
#include <string>

#include "DocumentInternals.h"
#include "DumpFormat.h"
#include "FileBlocks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  // A file in memory, opened again by its name as any file is.
  const int File = ::memfd_create("lumentag-fuzz", MFD_CLOEXEC);
  if (File < 0) return 0;
  for (size_t Done = 0; Done < Size;) {
    const ssize_t Written = ::write(File, Data + Done, Size - Done);
    if (Written <= 0) break;
    Done += static_cast<size_t>(Written);
  }
  const std::string Name = "/proc/self/fd/" + std::to_string(File);
  TEXIF Doc;
  TEXIFInternals::LoadFrom(Doc, TMemoryStream(TFileBlocks::Open(Name, 4096, 4 * 4096)), Name);
  std::ostringstream Out;
  WriteDumpText(Out, {Name, Doc});
  ::close(File);
  return 0;
}
