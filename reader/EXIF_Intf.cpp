#include "EXIF_Intf.h"

#include <bit>
#include <cstring>
#include <iterator>

#include "FileBlocks.h"

TEXIF::TEXIF() : FThumbnail(std::make_unique<TJPEGImage>()) {}

TEXIF::~TEXIF() = default;

void TEXIF::Clear() {
  FComment.clear();
  FFilename.clear();
  FTIFF.clear();
  FEXIF.clear();
  FIFD1.clear();
  FINTEROP.clear();
  FGPS.clear();
  FMN.clear();
  FIFD.clear();
}

void TEXIF::LoadFromFile(const std::string& FileName) {
  std::unique_ptr<TFileBlocks> File = TFileBlocks::Open(FileName);
  if (File) LoadFrom(TMemoryStream(std::move(File)), FileName);
}

void TEXIF::LoadFromStream(std::istream& Stream) {
  Stream.clear();
  Stream.seekg(0);
  TByteBuffer Bytes;
  char Chunk[65536];
  while (Stream.read(Chunk, sizeof Chunk) || Stream.gcount() > 0)
    Bytes.insert(Bytes.end(), reinterpret_cast<const uint8_t*>(Chunk),
                 reinterpret_cast<const uint8_t*>(Chunk) + Stream.gcount());
  Stream.clear();
  Stream.seekg(0);
  LoadFromBytes(std::move(Bytes));
}

void TEXIF::LoadFromBytes(TByteBuffer Bytes) { LoadFrom(TMemoryStream(std::move(Bytes))); }

void TEXIF::LoadFrom(TMemoryStream File, std::string FileName) {
  TEXIF Loaded{TForParse{}};
  const std::array<TTagList*, ListsPerDocument> Fresh = Loaded.Lists();
  for (size_t Index = 0; Index < ListsPerDocument; ++Index) *Fresh[Index] = std::move(FSpareLists[Index]);
  Loaded.FFilename = std::move(FileName);
  Loaded.FFile = std::move(File);
  Loaded.Parse();
  // The file's blocks (or the bytes) are not needed once the parse is done.
  Loaded.FFile = TMemoryStream();
  const std::array<TTagList*, ListsPerDocument> Shown = Lists();
  for (size_t Index = 0; Index < ListsPerDocument; ++Index) {
    TTagList& Spare = Loaded.FSpareLists[Index];
    Spare = std::move(*Shown[Index]);
    Spare.clear();
    if (Spare.capacity() > MaxSpareRecords) Spare = TTagList();
  }
  *this = std::move(Loaded);
}

const TJPEGImage* TEXIF::Thumbnail() const {
  if (!FThumbnailBytes.empty()) {
    auto Image = std::make_unique<TJPEGImage>();
    if (Image->TryLoadFromBytes(std::move(FThumbnailBytes))) FThumbnail = std::move(Image);
    FThumbnailBytes = TByteBuffer();
  }
  return FThumbnail.get();
}

TEXIFTag TEXIF::At(const TTagList& List, uint16_t Index) {
  return Index < List.size() ? List[Index] : TEXIFTag{};
}

TEXIFTag TEXIF::Find(const TTagList& List, uint16_t Tag) {
  for (const TEXIFTag& Rec : List)
    if (Rec.Header.Tag == Tag) return Rec;
  return {};
}

int64_t OrientationCode(const TEXIF& Document) {
  constexpr uint16_t OrientationTag = 0x0112;
  return TruncToInt64(Document.FindTIFFTag(OrientationTag).NumericValue[0]);
}
