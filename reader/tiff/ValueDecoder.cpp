// Value decoding: one directory entry (in host order) into the Typ,
// NumericValue and StringValue of the record just stored for it.
//
// Values of up to 4 bytes sit in the entry's value field; larger ones at an
// offset from the TIFF header (in a maker note, from where that maker's
// offsets count: see ReadMakerNote). Rationals and doubles decode as many values as the dictionary's
// Dim says; the other numeric types decode their first value only.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>

#include "TextCodec.h"
#include "ValueFormat.h"
#include "TiffData.h"
#include "TiffParser.h"

namespace {

constexpr size_t MaxTextBytes = 256;

size_t FieldTypeSize(uint16_t Type) {
  switch (Type) {
    case ftShort:
    case ftSShort: return 2;
    case ftLong:
    case ftSLong:
    case ftFloat: return 4;
    default: return 1;
  }
}

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= 32; }

void Trim(std::string& Text) {
  const auto Last = std::find_if_not(Text.rbegin(), Text.rend(), IsBlank).base();
  Text.erase(Last, Text.end());
  Text.erase(Text.begin(), std::find_if_not(Text.begin(), Text.end(), IsBlank));
}

// Components Configuration: each component code 1 to 6 among the value's
// bytes adds bit <code>; so 1, 2, 3, 0 (Y, Cb, Cr) gives 14.
double ComponentBits(std::span<const uint8_t> Bytes) {
  uint32_t Sum = 0;
  for (const uint8_t Byte : Bytes)
    if (Byte >= 1 && Byte <= 6) Sum += 1u << Byte;
  return Sum;
}

// The first number of a value field whose 4 bytes, in host order, make Long
// (its first byte lowest).
double NumberFromBytes(uint16_t Type, uint32_t Long) {
  switch (Type) {
    case ftByte: return static_cast<uint8_t>(Long);
    case ftSByte: return static_cast<int8_t>(static_cast<uint8_t>(Long));
    case ftShort: return static_cast<uint16_t>(Long);
    case ftSShort: return static_cast<int16_t>(static_cast<uint16_t>(Long));
    case ftLong: return Long;
    case ftSLong: return static_cast<int32_t>(Long);
    case ftFloat: return std::bit_cast<float>(Long);
    default: return 0;
  }
}

// Appends "numerator/denominator " for one pair: unsigned for RATIONAL; for
// SRATIONAL as signed numbers, or with one minus sign before the two
// magnitudes when the quotient is negative, whichever part carried the sign.
void AppendRationalPair(std::string& Out, uint32_t Numerator, uint32_t Denominator, bool Signed,
                        double Quotient) {
  int64_t Top = Numerator, Bottom = Denominator;
  char Text[32];
  char* End = Text;
  if (Signed) {
    Top = static_cast<int32_t>(Numerator);
    Bottom = static_cast<int32_t>(Denominator);
    if (Quotient < 0) {
      *End++ = '-';
      Top = Top < 0 ? -Top : Top;
      Bottom = Bottom < 0 ? -Bottom : Bottom;
    }
  }
  End = std::to_chars(End, Text + 12, Top).ptr;  // at most 11 characters each
  *End++ = '/';
  End = std::to_chars(End, End + 11, Bottom).ptr;
  *End++ = ' ';
  Out.append(Text, End);
}

}  // namespace

void TTiffParser::DecodeValue(const TDirectoryEntry& Entry, TDirectoryKind Kind, TEXIFTag& Target) {
  const TPositionGuard Resume(FFile);
  const int64_t Base = Kind == dkMakerNote ? FMakerNoteBase : int64_t{FIFD0Offset};
  FFile.Seek(Base + Entry.ValueLong());
  Target.Typ = Entry.Type;
  Target.StringValue.clear();
  if (Kind == dkMakerNote && Target.Header.Dim > 1 && IsWholeNumberType(Entry.Type)) {
    DecodeNumberList(Entry, Target);
  } else if (IsWholeNumberType(Entry.Type) || Entry.Type == ftFloat) {
    DecodeFirstNumber(Entry, Target);
  } else if (Entry.Type == ftAscii || Entry.Type == ftUndefined) {
    DecodeText(Entry, Target);
  } else if (Entry.Type == ftRational || Entry.Type == ftSRational) {
    DecodeRationals(Target, Entry.Type == ftSRational);
  } else if (Entry.Type == ftDouble) {
    DecodeDoubles(Target);
  }
  Trim(Target.StringValue);
}

// Texts: at most 256 bytes, up to the first zero byte, from the value field
// when the count is 4 or less, else from the offset.
void TTiffParser::DecodeText(const TDirectoryEntry& Entry, TEXIFTag& Target) {
  const size_t Count = std::min<size_t>(Entry.Count, MaxTextBytes);
  uint8_t Buffer[MaxTextBytes] = {};
  if (Entry.Count <= 4)
    std::memcpy(Buffer, Entry.Value, Count);
  else
    FFile.Read(std::span<uint8_t>(Buffer, Count));
  const std::span<const uint8_t> Value(Buffer, Count);
  const auto Zero = std::find(Value.begin(), Value.end(), 0);
  const auto Length = static_cast<size_t>(Zero - Value.begin());
  if (Target.Header.Tag == 0x9101) Target.NumericValue[0] = ComponentBits(Value);
  // Texts past the load's text limit stay empty; bytes that alone exceed
  // what is left are not even decoded.
  if (static_cast<int64_t>(Length) > FBudget.TextBytesLeft) return;
  const bool Cut = Entry.Count > MaxTextBytes && Length == MaxTextBytes;
  // A text is cut to its first Count characters; it is never longer, since
  // it comes from at most Count bytes and every byte makes at most one
  // character, whether the bytes are UTF-8 or Windows-1252.
  std::string Text = TextFromFileBytes(Value.first(Length), Cut);
  const auto Size = static_cast<int64_t>(Text.size());
  if (Size <= FBudget.TextBytesLeft) {
    FBudget.TextBytesLeft -= Size;
    Target.StringValue = std::move(Text);
  }
}

// Maker-note tags of several whole numbers (a size, a white-balance shift):
// up to Dim of the values the entry holds, each into NumericValue in turn and
// all of them, separated by blanks, into StringValue ("4000 3000"). Values
// of up to 4 bytes sit in the value field: a 16-bit pair keeps its second
// value as stored, in the note's byte order.
void TTiffParser::DecodeNumberList(const TDirectoryEntry& Entry, TEXIFTag& Target) {
  const size_t Size = FieldTypeSize(Entry.Type);
  const size_t Values = std::min<size_t>({Target.Header.Dim, Target.NumericValue.size(), Entry.Count});
  const bool Inline = uint64_t{Entry.Count} * Size <= 4;
  TTiffNumbers Tiff = Numbers();
  for (size_t Index = 0; Index < Values; ++Index) {
    uint32_t Value = 0;
    if (Inline && Size == 1) {
      Value = Entry.Value[Index];
    } else if (Inline && Index == 0) {
      Value = Entry.ValueLong();
    } else if (Inline) {  // the second of two 16-bit values
      Value = FSwap ? uint32_t{Entry.Value[2]} << 8 | Entry.Value[3] : Entry.Value[2] | uint32_t{Entry.Value[3]} << 8;
    } else {
      Value = ReadStoredNumber(Tiff, Size);
    }
    Target.NumericValue[Index] = NumberFromBytes(Entry.Type, Value);
    if (Index > 0) Target.StringValue += ' ';
    AppendG(Target.StringValue, Target.NumericValue[Index]);
  }
}

// Numerator/denominator pairs, each number in the file's byte order. A zero
// denominator gives 0; the text keeps the raw pair.
void TTiffParser::DecodeRationals(TEXIFTag& Target, bool Signed) {
  TTiffNumbers Tiff = Numbers();
  const size_t Values = std::min<size_t>(Target.Header.Dim, Target.NumericValue.size());
  for (size_t Index = 0; Index < Values; ++Index) {
    uint32_t Numerator = 0, Denominator = 0;
    Tiff.U32(Numerator);
    Tiff.U32(Denominator);
    double Quotient = 0;
    if (Denominator != 0) {
      Quotient = Signed ? static_cast<double>(static_cast<int32_t>(Numerator)) /
                              static_cast<int32_t>(Denominator)
                        : static_cast<double>(Numerator) / Denominator;
    }
    Target.NumericValue[Index] = Quotient;
    AppendRationalPair(Target.StringValue, Numerator, Denominator, Signed, Quotient);
  }
}

void TTiffParser::DecodeDoubles(TEXIFTag& Target) {
  TTiffNumbers Tiff = Numbers();
  const size_t Values = std::min<size_t>(Target.Header.Dim, Target.NumericValue.size());
  for (size_t Index = 0; Index < Values; ++Index) Tiff.F64(Target.NumericValue[Index]);
}

// The first value of a number array. When the values take more than 4 bytes
// they lie at the offset, where the first one is read in the file's byte
// order. A BYTE tag whose Dim is not 1 (the GPS version) takes the whole
// 4-byte field as one number, its first byte lowest.
void TTiffParser::DecodeFirstNumber(const TDirectoryEntry& Entry, TEXIFTag& Target) {
  if (Entry.Type == ftByte && Target.Header.Dim != 1) {
    Target.NumericValue[0] = Entry.ValueLong();
    return;
  }
  const size_t Size = FieldTypeSize(Entry.Type);
  if (uint64_t{Entry.Count} * Size <= 4) {
    Target.NumericValue[0] = NumberFromBytes(Entry.Type, Entry.ValueLong());
    return;
  }
  // Read in the file's byte order and laid out as a value field holds it.
  TTiffNumbers Tiff = Numbers();
  Target.NumericValue[0] = NumberFromBytes(Entry.Type, ReadStoredNumber(Tiff, Size));
}

// One number of Size bytes (1, 2 or 4) from the position, in the file's byte
// order; 0 where the data ends.
uint32_t TTiffParser::ReadStoredNumber(TTiffNumbers& Tiff, size_t Size) {
  uint32_t Value = 0;
  if (Size == 4) {
    Tiff.U32(Value);
  } else if (Size == 2) {
    uint16_t Short = 0;
    Tiff.U16(Short);
    Value = Short;
  } else {
    uint8_t Byte[1] = {};
    FFile.ReadExact(Byte);
    Value = Byte[0];
  }
  return Value;
}
