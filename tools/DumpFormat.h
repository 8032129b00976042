// What lumentag-dump prints for a loaded document: a section for each tab of
// the viewer (TabViews): the rows of the tag, XMP and IPTC tabs, the
// thumbnail's size, the picture's when asked for, and the comment, as text,
// as JSON (an element of an array, or one line) or as CSV rows. Each writer
// appends one file's part to a string (DumpFormat.cpp, DumpJson.cpp,
// DumpCsv.cpp).
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "EXIF_Intf.h"
#include "JsonWriter.h"
#include "PictureSize.h"
#include "TagViews.h"

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

// The size of the document's thumbnail, when it has one libjpeg can read.
std::optional<TPictureSize> ThumbnailSize(const TEXIF& Document);

// Control characters written as \xNN (the code point: below 32, DEL and the
// C1 controls U+0080 to U+009F), and the line and paragraph separators as
// \u2028 and \u2029, so that a row stays one line for any line splitter.
std::string EscapeControls(std::string_view Text);
void AppendEscapedControls(std::string& Out, std::string_view Text);

// "== FILE", then each tab's section headed by its "[Title]", in the tabs'
// order but the comment's last: a list's rows (tag, name and value
// separated by tabs), the Image tab's size (with --image), the thumbnail's
// size, the XMP and IPTC rows, the comment's lines.
void AppendDumpText(std::string& Out, const TDumpInput& Input);
void WriteDumpText(std::ostream& Out, const TDumpInput& Input);

// The file's JSON object, its keys in alphabetical order. Pretty, it is an
// element of the top-level array: two spaces in, no line break after it;
// compact, it is one line's text, without the line break.
void AppendDumpJson(std::string& Out, const TDumpInput& Input, TJsonLayout Layout);
void WriteDumpJson(std::ostream& Out, const TDumpInput& Input);

// One CSV line (RFC 4180, LF) per row of every section, under CsvHeader,
// and with --image a row Image, size for the picture's size. Fields are the
// text's, escaped alike, quoted when they hold a comma or a quote.
inline constexpr std::string_view CsvHeader = "file,section,tag,name,value\n";
void AppendDumpCsv(std::string& Out, const TDumpInput& Input);
