// What lumentag-dump prints for a loaded document: the rows of the six tag
// tabs, the thumbnail's size and the comment, as text or as JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "EXIF_Intf.h"

struct TPictureSize {
  int Width = 0;
  int Height = 0;
};

// The file's contribution to the output. Image is the size the Image tab
// would show, when it was asked for.
struct TDumpInput {
  const std::string& FileName;
  const TEXIF& Document;
  bool WithImage = false;
  std::optional<TPictureSize> Image;
};

// The "Tag" column: "0x" and the tag number in upper-case hexadecimal.
std::string TagColumnText(uint16_t Tag);

// Characters below code 32 written as \xNN, so a row stays one line.
std::string EscapeControls(std::string_view Text);

void WriteDumpText(std::ostream& Out, const TDumpInput& Input);
nlohmann::json DumpJson(const TDumpInput& Input);
