#include "ExifWriter.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

class TWriter {
 public:
  explicit TWriter(TByteOrder Order) : FBig(Order == TByteOrder::Big) {}

  TBytes Bytes;

  size_t Here() const { return Bytes.size(); }
  void Put(uint64_t Value, size_t Size) {
    for (size_t Index = 0; Index < Size; ++Index) {
      const size_t Shift = 8 * (FBig ? Size - 1 - Index : Index);
      Bytes.push_back(static_cast<uint8_t>(Value >> Shift));
    }
  }
  void PutAt(size_t At, uint64_t Value, size_t Size) {
    for (size_t Index = 0; Index < Size; ++Index) {
      const size_t Shift = 8 * (FBig ? Size - 1 - Index : Index);
      Bytes[At + Index] = static_cast<uint8_t>(Value >> Shift);
    }
  }
  void PutElements(const TIfd::TEntry& Entry) {
    for (uint64_t Element : Entry.Elements) Put(Element, Entry.ElementSize);
  }

  // Writes Ifd at the current end and everything it points at after it;
  // returns the directory's offset.
  uint32_t WriteIfd(const TIfd& Ifd) {
    const auto Start = static_cast<uint32_t>(Here());
    Put(Ifd.CountOverride.value_or(static_cast<uint16_t>(Ifd.Entries.size())), 2);
    std::vector<size_t> Fields;
    for (const TIfd::TEntry& Entry : Ifd.Entries) {
      Put(Entry.Tag, 2);
      Put(Entry.Type, 2);
      Put(Entry.Count, 4);
      Fields.push_back(Here());
      if (Entry.RawField) {
        Put(*Entry.RawField, 4);
      } else if (!Entry.Child && Entry.Children.empty() && !Entry.Blob && Entry.Inline()) {
        PutElements(Entry);
        while (Here() < Fields.back() + 4) Bytes.push_back(0);
      } else {
        Put(0, 4);
      }
    }
    const size_t Link = Here();
    Put(0, 4);
    for (size_t Index = 0; Index < Ifd.Entries.size(); ++Index) {
      const TIfd::TEntry& Entry = Ifd.Entries[Index];
      if (Entry.RawField) continue;
      if (Entry.Child) {
        PutAt(Fields[Index], WriteIfd(*Entry.Child), 4);
      } else if (Entry.Children.size() == 1) {
        PutAt(Fields[Index], WriteIfd(*Entry.Children[0]), 4);
      } else if (!Entry.Children.empty()) {
        const size_t Offsets = Here();
        PutAt(Fields[Index], Offsets, 4);
        Bytes.resize(Bytes.size() + 4 * Entry.Children.size());
        for (size_t Child = 0; Child < Entry.Children.size(); ++Child)
          PutAt(Offsets + 4 * Child, WriteIfd(*Entry.Children[Child]), 4);
      } else if (Entry.Blob) {
        PutAt(Fields[Index], Here(), 4);
        Bytes.insert(Bytes.end(), Entry.Blob->begin(), Entry.Blob->end());
      } else if (!Entry.Inline()) {
        PutAt(Fields[Index], Here(), 4);
        PutElements(Entry);
      }
    }
    if (Ifd.Next) PutAt(Link, WriteIfd(*Ifd.Next), 4);
    return Start;
  }

 private:
  bool FBig;
};

TIfd::TEntry MakeEntry(uint16_t Tag, uint16_t Type, size_t ElementSize, std::vector<uint64_t> Elements,
                       uint32_t Count) {
  TIfd::TEntry Entry;
  Entry.Tag = Tag;
  Entry.Type = Type;
  Entry.Count = Count;
  Entry.ElementSize = ElementSize;
  Entry.Elements = std::move(Elements);
  return Entry;
}

}  // namespace

TIfd& TIfd::Byte(uint16_t Tag, std::vector<uint8_t> Values, uint16_t Type) {
  const auto Count = static_cast<uint32_t>(Values.size());
  Entries.push_back(MakeEntry(Tag, Type, 1, {Values.begin(), Values.end()}, Count));
  return *this;
}

TIfd& TIfd::Ascii(uint16_t Tag, std::string_view Text) {
  TBytes Bytes(Text.begin(), Text.end());
  Bytes.push_back(0);
  return Byte(Tag, Bytes, ftAscii);
}

TIfd& TIfd::Undefined(uint16_t Tag, TBytes Bytes) { return Byte(Tag, std::move(Bytes), ftUndefined); }

TIfd& TIfd::Short(uint16_t Tag, std::vector<uint16_t> Values, uint16_t Type) {
  const auto Count = static_cast<uint32_t>(Values.size());
  Entries.push_back(MakeEntry(Tag, Type, 2, {Values.begin(), Values.end()}, Count));
  return *this;
}

TIfd& TIfd::Long(uint16_t Tag, std::vector<uint32_t> Values, uint16_t Type) {
  const auto Count = static_cast<uint32_t>(Values.size());
  Entries.push_back(MakeEntry(Tag, Type, 4, {Values.begin(), Values.end()}, Count));
  return *this;
}

TIfd& TIfd::Rational(uint16_t Tag, std::vector<std::pair<uint32_t, uint32_t>> Values, uint16_t Type) {
  std::vector<uint64_t> Elements;
  for (const auto& [Numerator, Denominator] : Values) {
    Elements.push_back(Numerator);
    Elements.push_back(Denominator);
  }
  Entries.push_back(MakeEntry(Tag, Type, 4, Elements, static_cast<uint32_t>(Values.size())));
  return *this;
}

TIfd& TIfd::Float(uint16_t Tag, float Value) {
  Entries.push_back(MakeEntry(Tag, ftFloat, 4, {std::bit_cast<uint32_t>(Value)}, 1));
  return *this;
}

TIfd& TIfd::Double(uint16_t Tag, std::vector<double> Values) {
  std::vector<uint64_t> Elements;
  for (double Value : Values) Elements.push_back(std::bit_cast<uint64_t>(Value));
  Entries.push_back(MakeEntry(Tag, ftDouble, 8, Elements, static_cast<uint32_t>(Values.size())));
  return *this;
}

TIfd& TIfd::Raw(uint16_t Tag, uint16_t Type, uint32_t Count, uint32_t ValueField) {
  TEntry Entry = MakeEntry(Tag, Type, 1, {}, Count);
  Entry.RawField = ValueField;
  Entries.push_back(Entry);
  return *this;
}

TIfd& TIfd::SubIfd(uint16_t Tag, std::shared_ptr<TIfd> Child) {
  TEntry Entry = MakeEntry(Tag, ftLong, 4, {}, 1);
  Entry.Child = std::move(Child);
  Entries.push_back(Entry);
  return *this;
}

TIfd& TIfd::SubIfds(uint16_t Tag, std::vector<std::shared_ptr<TIfd>> Children) {
  TEntry Entry = MakeEntry(Tag, ftLong, 4, {}, static_cast<uint32_t>(Children.size()));
  Entry.Children = std::move(Children);
  Entries.push_back(Entry);
  return *this;
}

TIfd& TIfd::BlobAt(uint16_t Tag, uint16_t Type, uint32_t Count, TBytes Bytes) {
  TEntry Entry = MakeEntry(Tag, Type, 1, {}, Count);
  Entry.Blob = std::move(Bytes);
  Entries.push_back(Entry);
  return *this;
}

TBytes TiffBlock(const TIfd& IFD0, TByteOrder Order, size_t Gap) {
  TWriter Writer(Order);
  const bool Big = Order == TByteOrder::Big;
  Writer.Bytes = {static_cast<uint8_t>(Big ? 'M' : 'I'), static_cast<uint8_t>(Big ? 'M' : 'I')};
  Writer.Put(42, 2);
  Writer.Put(8 + Gap, 4);
  Writer.Bytes.insert(Writer.Bytes.end(), Gap, 0xAB);
  Writer.WriteIfd(IFD0);
  return Writer.Bytes;
}

TBytes TiffWithMakerNote(const std::string& Make, const std::function<TBytes(uint32_t)>& Note,
                         TByteOrder Order, const std::string& Model) {
  const auto Build = [&](const TBytes& NoteBytes) {
    auto Exif = std::make_shared<TIfd>();
    Exif->BlobAt(0x927C, ftUndefined, static_cast<uint32_t>(NoteBytes.size()), NoteBytes);
    TIfd Ifd0;
    Ifd0.Ascii(0x010F, Make);
    if (!Model.empty()) Ifd0.Ascii(0x0110, Model);
    Ifd0.SubIfd(0x8769, Exif);
    return TiffBlock(Ifd0, Order);
  };
  // The note is the last thing written, so it ends the data.
  const TBytes Probe = Note(0);
  const auto At = static_cast<uint32_t>(Build(Probe).size() - Probe.size());
  return Build(Note(At));
}

TBytes U16(uint16_t Value, TByteOrder Order) {
  TWriter Writer(Order);
  Writer.Put(Value, 2);
  return Writer.Bytes;
}

TBytes U32(uint32_t Value, TByteOrder Order) {
  TWriter Writer(Order);
  Writer.Put(Value, 4);
  return Writer.Bytes;
}

TBytes Segment(uint8_t Marker, const TBytes& Payload) {
  const size_t Length = Payload.size() + 2;
  TBytes Out(Payload.size() + 4);
  Out[0] = 0xFF;
  Out[1] = Marker;
  Out[2] = static_cast<uint8_t>(Length >> 8);
  Out[3] = static_cast<uint8_t>(Length);
  std::copy(Payload.begin(), Payload.end(), Out.begin() + 4);
  return Out;
}

TBytes ExifSegment(const TBytes& Tiff, std::string_view Identifier) {
  return Segment(0xE1, Concat({BytesOf(Identifier), {0, 0}, Tiff}));
}

TBytes CommentSegment(std::string_view Text) { return Segment(0xFE, BytesOf(Text)); }

TBytes JpegWith(const std::vector<TBytes>& Segments) {
  TBytes Out = {0xFF, 0xD8};
  for (const TBytes& Part : Segments) Out.insert(Out.end(), Part.begin(), Part.end());
  const TBytes Scan = {0xFF, 0xDA, 0x00, 0x02, 0x12, 0x34, 0x56, 0xFF, 0xD9};
  Out.insert(Out.end(), Scan.begin(), Scan.end());
  return Out;
}

TBytes InsertAfterSoi(const TBytes& Jpeg, const std::vector<TBytes>& Segments) {
  TBytes Out(Jpeg.begin(), Jpeg.begin() + 2);
  for (const TBytes& Part : Segments) Out.insert(Out.end(), Part.begin(), Part.end());
  Out.insert(Out.end(), Jpeg.begin() + 2, Jpeg.end());
  return Out;
}

TBytes Concat(const std::vector<TBytes>& Parts) {
  TBytes Out;
  for (const TBytes& Part : Parts) Out.insert(Out.end(), Part.begin(), Part.end());
  return Out;
}

TBytes BytesOf(std::string_view Text) { return TBytes(Text.begin(), Text.end()); }

void LoadBytes(TEXIF& Doc, const TBytes& Bytes) { Doc.LoadFromBytes(TByteBuffer(Bytes.begin(), Bytes.end())); }
