#include "EXIF_Intf.h"

#include <bit>
#include <cstring>
#include <iterator>

#include "Containers.h"
#include "FileBlocks.h"
#include "TiffParser.h"

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
  FXmp.clear();
  FIptc.clear();
}

void TEXIF::LoadFromFile(const std::string& FileName) {
  std::unique_ptr<TFileBlocks> File = TFileBlocks::Open(FileName);
  if (File) LoadFrom(TMemoryStream(std::move(File)), FileName);
}

void TEXIF::LoadExistingFile(const std::string& FileName, TSidecarLookup Sidecar) {
  LoadFrom(TMemoryStream(TFileBlocks::FromFile(OpenExistingFile(FileName))), FileName, Sidecar);
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

void TEXIF::LoadFromMemory(std::span<const uint8_t> Bytes) { LoadFrom(TMemoryStream(Bytes)); }

// The container reader of the file's kind finds its TIFF blocks and the rest;
// the TIFF parser reads each block into the lists.
void TEXIF::LoadFrom(TMemoryStream File, std::string FileName, TSidecarLookup Sidecar) {
  TEXIF Loaded{TForParse{}};
  const std::array<TTagList*, ListsPerDocument> Fresh = Loaded.Lists();
  for (size_t Index = 0; Index < ListsPerDocument; ++Index) *Fresh[Index] = std::move(FSpareLists[Index]);
  Loaded.FFilename = std::move(FileName);
  Loaded.FFile = std::move(File);
  Loaded.Parse();
  if (Sidecar == slLook) Loaded.ReadSidecar();
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

void TEXIF::Parse() {
  uint8_t Start[2] = {};
  FFile.Seek(0);
  FFile.ReadExact(Start);
  FSOI = static_cast<uint16_t>(Start[0] | (Start[1] << 8));
  TMetadataLayout Layout = ReadLayout(FFile);
  TLoadBudget Budget{RecordLimit(FFile.Size()), TextLimit(FFile.Size())};
  for (const TTiffBlock& Block : Layout.TiffBlocks) {
    if (Block.Decoded) {
      TMemoryStream Bytes(TByteBuffer(Block.Decoded->begin(), Block.Decoded->end()));
      TTiffParser(*this, Bytes, Budget, &Layout).Parse(Block);
    } else {
      TTiffParser(*this, FFile, Budget, &Layout).Parse(Block);
    }
  }
  FFile.Seek(0);
  TakeLayout(Layout);
}

void TEXIF::TakeLayout(TMetadataLayout& Layout) {
  FFormat = Layout.Format;
  if (Layout.Comment) FComment = std::move(*Layout.Comment);
  FPicture = std::move(Layout.Picture);
  const std::optional<TByteRange>& Thumbnail = Layout.Thumbnail;
  if (FThumbnailBytes.empty() && Thumbnail && Thumbnail->Length > 0 && Thumbnail->Length <= MaxThumbnailBytes)
    FThumbnailBytes = FFile.Copy(Thumbnail->Position, Thumbnail->Length);
  ReadXmp(Layout);
  ReadIptc(Layout);
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
