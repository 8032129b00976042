#include "PictureSource.h"

#include <optional>
#include <utility>
#include <vector>

#include "FileBytes.h"
#include "JpegFrame.h"
#include "JpegImage.h"
#include "PictureDecoders.h"

namespace {

// A regular file read where the decoder asks.
class TFileSource final : public TByteSource {
 public:
  explicit TFileSource(TOpenFile File) : FFile(std::move(File)) {}
  int64_t Size() const override { return FFile.Size(); }
  size_t ReadAt(int64_t Position, std::span<uint8_t> Buffer) const override {
    if (Position < 0 || Position >= Size()) return 0;
    const auto Count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(Buffer.size()), Size() - Position));
    return FFile.ReadAt(Position, Buffer.first(Count));
  }

 private:
  TOpenFile FFile;
};

using TOpenDecoder = std::unique_ptr<TPictureDecoder> (*)(const TByteSource&);

// The decoder of each picture format.
TOpenDecoder DecoderOf(TPictureFormat Format) {
  switch (Format) {
    case TPictureFormat::JPEG: break;
    case TPictureFormat::PNG: return OpenPngDecoder;
    case TPictureFormat::WebP: return OpenWebpDecoder;
    case TPictureFormat::HEIF: return OpenHeifDecoder;
  }
  return OpenJpegDecoder;
}

// The preview a raw file shows: of the JPEG previews whose frame header
// says they are pictures to show (the raw sensor data, lossless or of more
// than 8 bits a sample, are not), the one with most pixels, the first of
// equals. A preview whose frame header cannot be found is broken: it is
// taken, and fails to decode, only when no other can be shown. None when the
// file has no preview at all.
std::optional<TByteRange> LargestPreview(const TByteSource& File, const std::vector<TByteRange>& Previews) {
  std::optional<TByteRange> Largest, Broken;
  uint64_t MostPixels = 0;
  for (const TByteRange& Preview : Previews) {
    const std::optional<TJpegFrame> Frame = ReadJpegFrame(TRangeSource(File, Preview.Position, Preview.Length));
    if (!Frame) {
      if (!Broken) Broken = Preview;
      continue;
    }
    if (!Frame->IsShownPicture()) continue;
    const uint64_t Pixels = uint64_t(Frame->Size.Width) * uint64_t(Frame->Size.Height);
    if (!Largest || Pixels > MostPixels) Largest = Preview, MostPixels = Pixels;
  }
  return Largest ? Largest : Broken;
}

}  // namespace

TPictureSource::TPictureSource(const TEXIF& Doc)
    : FFile(std::make_unique<TFileSource>(OpenExistingFile(Doc.FileName()))) {
  Open(Doc);
}

TPictureSource::TPictureSource(const TEXIF& Doc, std::span<const uint8_t> FileBytes)
    : FFile(std::make_unique<TMemorySource>(FileBytes)) {
  Open(Doc);
}

TPictureSource::~TPictureSource() = default;
TPictureSource::TPictureSource(TPictureSource&&) noexcept = default;
TPictureSource& TPictureSource::operator=(TPictureSource&&) noexcept = default;

void TPictureSource::Open(const TEXIF& Doc) {
  const TPictureLocation& Where = Doc.Picture();
  const std::string_view Format = PictureFormatName(Where.Format);
  FOrientation = Where.ContainerOrientation.value_or(OrientationCode(Doc));
  // A size the container gives is checked before any decoder is loaded.
  if (Where.StoredSize &&
      uint64_t(std::max(Where.StoredSize->Width, 0)) * uint64_t(std::max(Where.StoredSize->Height, 0)) > MaxPicturePixels)
    throw EPictureError(Format, "the picture is too large to show (" + std::to_string(Where.StoredSize->Width) +
                                    " x " + std::to_string(Where.StoredSize->Height) + " pixels)");
  const TOpenDecoder OpenDecoder = DecoderOf(Where.Format);
  TByteRange Picture{Where.Position, Where.Length < 0 ? FFile->Size() - Where.Position : Where.Length};
  if (Where.FromPreviews) {
    const std::optional<TByteRange> Preview = LargestPreview(*FFile, Where.Previews);
    if (!Preview) throw ENoPreviewPicture();
    Picture = *Preview;
  }
  FPicture = std::make_unique<TRangeSource>(*FFile, Picture.Position, Picture.Length);
  FDecoder = OpenDecoder(*FPicture);
}

TPictureSize TPictureSource::StoredSize() const { return FDecoder->Size(); }

TPictureSize TPictureSource::DecodedSize(TPictureSize Screen) const {
  return FDecoder->DecodedSize(DecodeAtLeast(StoredSize(), FOrientation, Screen));
}

void TPictureSource::DecodeTo(std::span<uint8_t> Pixels, size_t Stride, TPictureSize Screen, uint32_t Background) {
  FDecoder->DecodeTo(Pixels, Stride, DecodeAtLeast(StoredSize(), FOrientation, Screen), Background);
}
