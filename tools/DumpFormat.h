// What lumentag-dump prints for a loaded document: the rows of the six tag
// tabs, the thumbnail's size and the comment, as text or as JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "EXIF_Intf.h"
#include "PictureSize.h"

// The file's contribution to the output. Image is the size the Image tab
// would show, when it was asked for.
struct TDumpInput {
  const std::string& FileName;
  const TEXIF& Document;
  bool WithImage = false;
  std::optional<TPictureSize> Image;
};

// The size the Image tab shows for the document's file: the file's JPEG
// picture turned by its Orientation tag (a quarter turn swaps width and
// height). The picture is decoded as the window decodes it, at the smallest
// scale (1/8), so that a file the window refuses gives nothing here either:
// nothing when there is no such file or it cannot be decoded, which the
// window reports as an error instead.
std::optional<TPictureSize> ImageTabSize(const TEXIF& Document);

// The "Tag" column: "0x" and the tag number in upper-case hexadecimal.
std::string TagColumnText(uint16_t Tag);

// Characters below code 32 written as \xNN, so a row stays one line.
std::string EscapeControls(std::string_view Text);

void WriteDumpText(std::ostream& Out, const TDumpInput& Input);
nlohmann::json DumpJson(const TDumpInput& Input);
