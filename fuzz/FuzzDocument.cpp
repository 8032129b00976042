// Fuzz target: any bytes loaded as a file, then every row's value text, as
// the dump (and so the viewer's tag tabs) would make them.
#include <sstream>

#include "DumpFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TEXIF Doc;
  Doc.LoadFromBytes(TByteBuffer(Data, Data + Size));
  std::ostringstream Out;
  const std::string Name = "input";
  WriteDumpText(Out, {Name, Doc});
  return 0;
}
