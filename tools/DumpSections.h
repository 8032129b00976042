// The sections of rows in a file's dump: the viewer's list tabs (TabViews),
// in their order: the six tag tabs, XMP and IPTC. Every writer takes its
// sections from this one list: the text's "[Title]" and rows, the CSV's
// lines and the JSON's arrays of records. A section of another kind of row
// is one more entry, with functions of its own.
#pragma once

#include <span>
#include <string_view>

#include "TagViews.h"

struct TDumpInput;
class TJsonWriter;

// Receives a section's rows, one call a row, as the text prints them
// before escaping: the tag column, the name and the value text.
class TRowSink {
 public:
  virtual void Row(std::string_view Tag, std::string_view Name, std::string_view Value) = 0;

 protected:
  ~TRowSink() = default;
};

struct TDumpSection {
  std::string_view Title;  // the text's section title; the CSV's section column
  std::string_view Key;    // the JSON member holding its records
  const TTabView* Tab;     // the tab whose rows it lists
  void (*Rows)(const TDumpSection& Section, const TDumpInput& Input, TRowSink& Sink);
  // Writes each record as an element of the section's JSON array.
  void (*Records)(const TDumpSection& Section, const TDumpInput& Input, TJsonWriter& Json);
};

std::span<const TDumpSection> DumpSections();

// The section of a list tab (IsList).
const TDumpSection& SectionOfTab(const TTabView& Tab);
