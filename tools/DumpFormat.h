// What lumentag-dump prints for a loaded document: a section for each tab of
// the viewer (TabViews): the rows of the tag, XMP and IPTC tabs, the
// thumbnail's size, the picture's when asked for, and the comment, as text
// or as JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "EXIF_Intf.h"
#include "TagViews.h"
#include "PictureSize.h"

// The file's contribution to the output. Image is the size the Image tab
// would show, when it was asked for.
struct TDumpInput {
  const std::string& FileName;
  const TEXIF& Document;
  bool WithImage = false;
  std::optional<TPictureSize> Image;
};

// The size the Image tab shows for the document's file: the file's picture
// turned by its orientation (a quarter turn swaps width and height). The
// picture is decoded as the window decodes it, at the smallest size its
// decoder offers, so that a file the window refuses gives nothing here
// either: nothing when there is no such file or it cannot be decoded, which
// the window reports as an error instead.
std::optional<TPictureSize> ImageTabSize(const TEXIF& Document);
// The same for the document's bytes, already read (standard input).
std::optional<TPictureSize> ImageTabSize(const TEXIF& Document, std::span<const uint8_t> FileBytes);


// Control characters written as \xNN (the code point: below 32, DEL and the
// C1 controls U+0080 to U+009F), and the line and paragraph separators as
// \u2028 and \u2029, so that a row stays one line for any line splitter.
std::string EscapeControls(std::string_view Text);

void WriteDumpText(std::ostream& Out, const TDumpInput& Input);

// Writes the file's JSON object as an element of the top-level array (two
// spaces in), record by record: no JSON tree of the whole file is built.
// Keys stand in alphabetical order; invalid UTF-8 becomes U+FFFD.
void WriteDumpJson(std::ostream& Out, const TDumpInput& Input);
