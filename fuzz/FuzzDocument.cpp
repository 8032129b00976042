// Fuzz target: any bytes loaded as a file, then every row's value text, as
// the dump (and so the viewer's tag tabs) would make them; for a camera's
// raw file also the choice of its preview, up to the JPEG header (the JPEG
// decoder has a target of its own).
#include <sstream>

#include "DumpFormat.h"
#include "PictureSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TEXIF Doc;
  Doc.LoadFromBytes(TByteBuffer(Data, Data + Size));
  std::ostringstream Out;
  const std::string Name = "input";
  WriteDumpText(Out, {Name, Doc});
  if (Doc.Picture().FromPreviews) {
    try {
      Out << TPictureSource(Doc, std::span<const uint8_t>(Data, Size)).ShownSize().Width;
    } catch (const EPictureError&) {
    }
  }
  return 0;
}
