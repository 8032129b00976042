// A tag record as the reader would store it, for tests of the value texts.
#pragma once

#include <string>
#include <string_view>

#include "EXIF_Defs.h"

inline TEXIFTag Record(uint16_t Tag, uint16_t Typ, double Number, std::string Text = "",
                       std::string_view Units = "") {
  TEXIFTag Rec;
  Rec.Header.Tag = Tag;
  Rec.Header.Dim = 1;
  Rec.Header.Units = Units;
  Rec.Typ = Typ;
  Rec.NumericValue[0] = Number;
  Rec.StringValue = std::move(Text);
  return Rec;
}
