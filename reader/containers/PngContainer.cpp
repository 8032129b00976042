// PNG files: the signature, then chunks of a 32-bit big-endian length, a
// four-letter type, the data and a CRC. EXIF is the eXIf chunk (a TIFF block),
// before or after the image data. Older writers keep it in a text chunk
// (tEXt, zTXt or iTXt) keyed "Raw profile type exif" or "Raw profile type
// APP1", hex-coded; that is read only when there is no eXIf chunk. XMP is
// the iTXt chunk keyed "XML:com.adobe.xmp", compressed or not. The walk reads chunk headers by
// their lengths and never the image data. Chunk types and layouts: the PNG
// standard (W3C, third edition), sections 5.3 and 11.3; the raw profile
// text: ImageMagick's PNG coder.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "ByteOrder.h"
#include "Containers.h"
#include "Inflate.h"
#include "XmpReader.h"

namespace {

constexpr uint8_t Signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// A chunk walk ends after this many chunks: a real PNG has a few dozen, or
// some thousands when its image data come in small pieces.
constexpr int MaxChunks = 1 << 20;
// Text chunks holding EXIF are read whole up to this size; their decoded
// bytes may not exceed MaxExifBytes.
constexpr size_t MaxProfileText = size_t{32} << 20;
constexpr size_t MaxExifBytes = size_t{16} << 20;

struct TChunk {
  int64_t Data = 0;  // position of the data
  uint32_t Length = 0;
  char Type[4] = {};
  bool Is(std::string_view Name) const { return std::string_view(Type, 4) == Name; }
};

bool ReadChunkHeader(TMemoryStream& File, TChunk& Chunk) {
  uint8_t Header[8];
  if (!File.ReadExact(Header)) return false;
  Chunk.Length = Big32(Header);
  std::memcpy(Chunk.Type, Header + 4, 4);
  Chunk.Data = File.Position();
  return Chunk.Length <= 0x7FFFFFFF;  // PNG lengths are 31-bit
}

// The TIFF block of EXIF bytes, which may start with the "Exif\0\0" of a
// JPEG segment.
int64_t TiffStart(std::span<const uint8_t> Bytes) {
  constexpr uint8_t ExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
  return Bytes.size() >= 6 && std::equal(Bytes.begin(), Bytes.begin() + 6, ExifHeader) ? 6 : 0;
}

// The keyword of a text chunk and where its text (or its iTXt fields) starts.
std::optional<std::string_view> Keyword(std::span<const uint8_t> Data, size_t& After) {
  const auto Zero = std::find(Data.begin(), Data.begin() + std::min<ptrdiff_t>(std::ssize(Data), 80), 0);
  if (Zero == Data.end() || *Zero != 0) return std::nullopt;
  After = static_cast<size_t>(Zero - Data.begin()) + 1;
  return std::string_view(reinterpret_cast<const char*>(Data.data()), After - 1);
}

// The text of a tEXt, zTXt or iTXt chunk, inflated where it is compressed.
std::optional<TByteBuffer> ChunkText(const TChunk& Chunk, std::span<const uint8_t> Data, size_t At) {
  const auto Rest = [&](size_t From) { return Data.subspan(std::min(From, Data.size())); };
  if (Chunk.Is("tEXt")) return TByteBuffer(Rest(At).begin(), Rest(At).end());
  if (Chunk.Is("zTXt")) return At < Data.size() ? InflateBounded(Rest(At + 1), MaxProfileText) : std::nullopt;
  // iTXt: a compression flag and method, a language tag and a translated
  // keyword, each ended by a zero byte, then the text.
  if (At + 2 > Data.size()) return std::nullopt;
  const bool Compressed = Data[At] != 0;
  size_t Text = At + 2;
  for (int Field = 0; Field < 2; ++Field) {
    const auto Zero = std::find(Data.begin() + static_cast<ptrdiff_t>(Text), Data.end(), 0);
    if (Zero == Data.end()) return std::nullopt;
    Text = static_cast<size_t>(Zero - Data.begin()) + 1;
  }
  if (Compressed) return InflateBounded(Rest(Text), MaxProfileText);
  return TByteBuffer(Rest(Text).begin(), Rest(Text).end());
}

int HexDigit(uint8_t C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// A raw profile: a line break, a line with the profile's name, a line with
// its length in bytes, then that many bytes as hex digits, broken into lines.
std::optional<TByteBuffer> DecodeRawProfile(std::span<const uint8_t> Bytes) {
  const std::string_view Text(reinterpret_cast<const char*>(Bytes.data()), Bytes.size());
  const size_t BlankLine = Text.find('\n');
  const size_t NameLine = BlankLine == std::string_view::npos ? BlankLine : Text.find('\n', BlankLine + 1);
  if (NameLine == std::string_view::npos) return std::nullopt;
  size_t At = Text.find_first_not_of(' ', NameLine + 1);
  uint64_t Length = 0;
  for (; At < Text.size() && Text[At] >= '0' && Text[At] <= '9' && Length <= MaxExifBytes; ++At)
    Length = Length * 10 + static_cast<uint64_t>(Text[At] - '0');
  if (Length == 0 || Length > MaxExifBytes || Length > Text.size() / 2) return std::nullopt;
  TByteBuffer Exif;
  Exif.reserve(Length);
  int High = -1;
  for (; At < Text.size() && Exif.size() < Length; ++At) {
    const int Digit = HexDigit(static_cast<uint8_t>(Text[At]));
    if (Digit < 0) continue;  // line breaks
    if (High < 0) {
      High = Digit;
    } else {
      Exif.push_back(static_cast<uint8_t>(High << 4 | Digit));
      High = -1;
    }
  }
  if (Exif.size() != Length) return std::nullopt;
  return Exif;
}

bool IsRawExifProfile(std::string_view Key) {
  return Key == "Raw profile type exif" || Key == "Raw profile type APP1";
}

// A text chunk's EXIF block, when it is one.
std::optional<TTiffBlock> TextChunkExif(TMemoryStream& File, const TChunk& Chunk) {
  // The keyword first: only a raw profile's text is worth reading.
  size_t At = 0;
  const TByteBuffer Head = File.Copy(Chunk.Data, std::min<int64_t>(Chunk.Length, 80));
  const std::optional<std::string_view> Key = Keyword(Head, At);
  if (!Key || !IsRawExifProfile(*Key) || Chunk.Length > MaxProfileText) return std::nullopt;
  const TByteBuffer Data = File.Copy(Chunk.Data, Chunk.Length);
  const std::optional<TByteBuffer> Text = ChunkText(Chunk, Data, At);
  if (!Text) return std::nullopt;
  std::optional<TByteBuffer> Exif = DecodeRawProfile(*Text);
  if (!Exif) return std::nullopt;
  const int64_t Start = TiffStart(*Exif);
  const auto Size = static_cast<int64_t>(Exif->size());
  return TTiffBlock{{Start, Size - Start},
                    TFirstDirectory::IFD0,
                    TTiffRules::TiffFile,
                    std::make_shared<const TByteBuffer>(std::move(*Exif))};
}

// An iTXt chunk keyed "XML:com.adobe.xmp": the packet is its text, after a
// compression flag and method, a language tag and a translated keyword (the
// last two ended by a zero byte, and empty in XMP's chunks); compressed text
// is inflated first. The fields are looked for in the chunk's first bytes.
void NoteXmp(TMemoryStream& File, const TChunk& Chunk, TMetadataLayout& Layout) {
  constexpr std::string_view Key{"XML:com.adobe.xmp\0", 18};
  constexpr int64_t MaxFields = 1024;
  const TByteBuffer Head = File.Copy(Chunk.Data, std::min<int64_t>(Chunk.Length, MaxFields));
  if (Head.size() < Key.size() + 2 || !std::equal(Key.begin(), Key.end(), Head.begin(), [](char A, uint8_t B) {
        return static_cast<uint8_t>(A) == B;
      }))
    return;
  const bool Compressed = Head[Key.size()] != 0;
  const bool Zlib = Head[Key.size() + 1] == 0;
  auto Text = Head.begin() + static_cast<ptrdiff_t>(Key.size() + 2);
  for (int Field = 0; Field < 2; ++Field) {
    Text = std::find(Text, Head.end(), 0);
    if (Text == Head.end()) return;
    ++Text;
  }
  const int64_t Start = Chunk.Data + (Text - Head.begin());
  const int64_t Length = Chunk.Data + Chunk.Length - Start;
  if (!Compressed) {
    Layout.XmpPackets.push_back({{Start, Length}, {}});
    return;
  }
  if (!Zlib || Length > MaxPacketBytes) return;
  std::optional<TByteBuffer> Packet = InflateBounded(File.Copy(Start, Length), static_cast<size_t>(MaxPacketBytes));
  if (!Packet) return;
  const auto Size = static_cast<int64_t>(Packet->size());
  Layout.XmpPackets.push_back({{0, Size}, std::make_shared<const TByteBuffer>(std::move(*Packet))});
}

}  // namespace

bool IsPng(std::span<const uint8_t> First) {
  return First.size() >= sizeof Signature && std::equal(std::begin(Signature), std::end(Signature), First.begin());
}

void ReadPngLayout(TMemoryStream& File, TMetadataLayout& Layout) {
  Layout.Picture.Format = TPictureFormat::PNG;
  std::optional<TTiffBlock> FromText;
  File.Seek(sizeof Signature);
  TChunk Chunk;
  for (int Count = 0; Count < MaxChunks && ReadChunkHeader(File, Chunk); ++Count) {
    if (Chunk.Is("eXIf") && Layout.TiffBlocks.empty()) {
      uint8_t Head[6] = {};
      File.Read(Head);
      const int64_t Start = Chunk.Data + TiffStart(Head);
      Layout.TiffBlocks.push_back(
          {{Start, Chunk.Data + Chunk.Length - Start}, TFirstDirectory::IFD0, TTiffRules::TiffFile, {}});
    } else if ((Chunk.Is("tEXt") || Chunk.Is("zTXt") || Chunk.Is("iTXt")) && !FromText) {
      FromText = TextChunkExif(File, Chunk);
      if (Chunk.Is("iTXt")) NoteXmp(File, Chunk, Layout);
    } else if (Chunk.Is("iTXt")) {
      NoteXmp(File, Chunk, Layout);
    } else if (Chunk.Is("IEND")) {
      break;
    }
    File.Seek(Chunk.Data + int64_t{Chunk.Length} + 4);  // past the data and the CRC
  }
  if (Layout.TiffBlocks.empty() && FromText) Layout.TiffBlocks.push_back(std::move(*FromText));
}
