// WebP pictures through libwebp, which shrinks them as it decodes, and
// libwebpdemux for animations, both loaded when the first WebP picture is
// opened. libwebp needs the compressed bytes in memory: they are read
// through the source, from the RIFF header up to the end of the first
// picture's chunk (a still picture, or an animation's first frame), so that
// metadata after it and the later frames of an animation are never read.
#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "LibraryLoader.h"
#include "PictureDecoders.h"
#include "PixelScaler.h"

namespace {

// libwebp's VP8StatusCode values (webp/decode.h), in words, by number.
constexpr std::string_view StatusWords[] = {
    "ok", "out of memory", "invalid parameter", "bitstream error", "unsupported feature",
    "suspended", "user abort", "not enough data",
};

[[noreturn]] void Fail(std::string_view Reason) { throw EPictureError("WebP", Reason); }

// The functions of libwebp and libwebpdemux used here: those that the
// inline functions of their headers call, with the interface versions of
// the headers this is built with.
struct TLibwebp {
  decltype(&WebPGetFeaturesInternal) GetFeaturesInternal;
  decltype(&WebPInitDecoderConfigInternal) InitDecoderConfigInternal;
  decltype(&WebPDecode) Decode;
  decltype(&WebPFreeDecBuffer) FreeDecBuffer;
  decltype(&WebPDemuxInternal) DemuxInternal;
  decltype(&WebPDemuxGetFrame) DemuxGetFrame;
  decltype(&WebPDemuxReleaseIterator) DemuxReleaseIterator;
  decltype(&WebPDemuxDelete) DemuxDelete;

  VP8StatusCode GetFeatures(std::span<const uint8_t> Data, WebPBitstreamFeatures& Features) const {
    return GetFeaturesInternal(Data.data(), Data.size(), &Features, WEBP_DECODER_ABI_VERSION);
  }
  bool InitDecoderConfig(WebPDecoderConfig& Config) const {
    return InitDecoderConfigInternal(&Config, WEBP_DECODER_ABI_VERSION) != 0;
  }
  WebPDemuxer* Demux(const WebPData& Data) const { return DemuxInternal(&Data, 0, nullptr, WEBP_DEMUX_ABI_VERSION); }
};

struct TLoadedLibwebp {
  TLibwebp Functions;
  std::string Failure;
};

TLoadedLibwebp LoadLibwebp() {
  TLoadedLibwebp Loaded;
  TLibwebp& F = Loaded.Functions;
  TLibraryLoader Decoder("libwebp.so.7");
  Decoder.Find(F.GetFeaturesInternal, "WebPGetFeaturesInternal");
  Decoder.Find(F.InitDecoderConfigInternal, "WebPInitDecoderConfigInternal");
  Decoder.Find(F.Decode, "WebPDecode");
  Decoder.Find(F.FreeDecBuffer, "WebPFreeDecBuffer");
  Loaded.Failure = Decoder.Finish();
  if (!Loaded.Failure.empty()) return Loaded;
  TLibraryLoader Demuxer("libwebpdemux.so.2");
  Demuxer.Find(F.DemuxInternal, "WebPDemuxInternal");
  Demuxer.Find(F.DemuxGetFrame, "WebPDemuxGetFrame");
  Demuxer.Find(F.DemuxReleaseIterator, "WebPDemuxReleaseIterator");
  Demuxer.Find(F.DemuxDelete, "WebPDemuxDelete");
  Loaded.Failure = Demuxer.Finish();
  return Loaded;
}

// libwebp, loaded by the first call; a failure to load it is kept and given
// again to every later call.
const TLibwebp& Libwebp() {
  static const TLoadedLibwebp Loaded = LoadLibwebp();
  if (!Loaded.Failure.empty()) Fail("the WebP library cannot be loaded (" + Loaded.Failure + ")");
  return Loaded.Functions;
}

void CheckStatus(VP8StatusCode Status) {
  if (Status == VP8_STATUS_OK) return;
  const auto Index = static_cast<size_t>(Status);
  if (Index < std::size(StatusWords)) Fail(StatusWords[Index]);
  Fail("libwebp status " + std::to_string(Index));
}

// Premultiplied 32-bit pixels that are 0xAARRGGBB words in the machine's
// byte order, which DecodeTo makes 0xFFRRGGBB.
constexpr WEBP_CSP_MODE PixelMode = std::endian::native == std::endian::little ? MODE_bgrA : MODE_Argb;

// A RIFF file: "RIFF", the length of what follows (little-endian), the form
// type "WEBP", then chunks: a four-letter name, the data's length and the
// data, padded to an even length.
constexpr int64_t RiffHeaderBytes = 12;
constexpr int64_t ChunkHeaderBytes = 8;
// The chunks read before the first picture's: VP8X, ICCP, ANIM and ALPH
// come before it in real files. Past this many there is no picture.
constexpr int MaxChunksBeforePicture = 64;
// The bytes read to find the picture's size in its headers (VP8X, or the
// start of a VP8 or VP8L chunk): libwebp needs 30.
constexpr int64_t HeaderBytes = 4096;
// The most bytes the file may have up to the end of its first picture:
// lossless coding spends some 4 bytes a pixel at worst, lossy coding less,
// and an ICC profile before the picture a few megabytes. A file claiming
// more (a sparse file of gigabytes, say) is refused before it is read.
constexpr uint64_t MaxBytesPerPixel = 16;
constexpr uint64_t MaxBytesBesidesPixels = uint64_t{16} << 20;

uint32_t LittleEndian(const uint8_t* Bytes) {
  return uint32_t{Bytes[0]} | uint32_t{Bytes[1]} << 8 | uint32_t{Bytes[2]} << 16 | uint32_t{Bytes[3]} << 24;
}

bool IsPictureChunk(const uint8_t* Name) {
  return std::memcmp(Name, "VP8 ", 4) == 0 || std::memcmp(Name, "VP8L", 4) == 0 || std::memcmp(Name, "ANMF", 4) == 0;
}

// Where the chunk of the first picture ends, walking the chunk headers from
// the first chunk; the RIFF data's end when no picture chunk comes first.
int64_t FirstPictureEnd(const TByteSource& Source) {
  std::array<uint8_t, RiffHeaderBytes> Header;
  if (Source.ReadAt(0, Header) != Header.size() || std::memcmp(Header.data(), "RIFF", 4) != 0 ||
      std::memcmp(&Header[8], "WEBP", 4) != 0)
    Fail("not a WebP file");
  const int64_t RiffEnd = 8 + int64_t{LittleEndian(&Header[4])};
  if (RiffEnd > Source.Size())
    Fail("the file is " + std::to_string(Source.Size()) + " bytes long, but its RIFF header says " +
         std::to_string(RiffEnd));
  int64_t Position = RiffHeaderBytes;
  for (int Chunk = 0; Chunk < MaxChunksBeforePicture && RiffEnd - Position >= ChunkHeaderBytes; ++Chunk) {
    std::array<uint8_t, ChunkHeaderBytes> ChunkHeader;
    if (Source.ReadAt(Position, ChunkHeader) != ChunkHeader.size()) break;
    const uint32_t Length = LittleEndian(&ChunkHeader[4]);
    const int64_t End = Position + ChunkHeaderBytes + Length + (Length & 1);
    if (End > RiffEnd) break;
    if (IsPictureChunk(ChunkHeader.data())) return End;
    Position = End;
  }
  return RiffEnd;
}

// The first Length bytes of the file, with the RIFF length rewritten to say
// that the file ends at End: after the first picture.
std::vector<uint8_t> ReadRiff(const TByteSource& Source, int64_t Length, int64_t End) {
  std::vector<uint8_t> Bytes(static_cast<size_t>(Length));
  if (Source.ReadAt(0, Bytes) != Bytes.size()) Fail("the file ends early");
  const auto RiffLength = static_cast<uint32_t>(End - 8);
  for (size_t Index = 0; Index < 4; ++Index) Bytes[4 + Index] = static_cast<uint8_t>(RiffLength >> (8 * Index));
  return Bytes;
}

// [Start, End) of a written picture of Sides pixels that a span of Length
// pixels at Offset covers in a canvas of CanvasSide: at least one pixel.
std::pair<int, int> ScaledSpan(int Offset, int Length, int CanvasSide, int Sides) {
  const auto Scale = [&](int64_t At) { return static_cast<int>(At * Sides / CanvasSide); };
  const int Start = std::min(Scale(Offset), Sides - 1);
  const int End = std::clamp(static_cast<int>((int64_t{Offset + Length} * Sides + CanvasSide - 1) / CanvasSide),
                             Start + 1, Sides);
  return {Start, End};
}

// Decodes the picture in Data at the size of Area into the pixels of Area,
// whose first pixel is at Pixels[0].
void DecodeInto(std::span<const uint8_t> Data, std::span<uint8_t> Pixels, size_t Stride, TPictureSize Area) {
  const TLibwebp& Webp = Libwebp();
  WebPDecoderConfig Config;
  if (!Webp.InitDecoderConfig(Config)) Fail("libwebp is not the version this was built for");
  WebPBitstreamFeatures& Features = Config.input;
  CheckStatus(Webp.GetFeatures(Data, Features));
  if (Features.width != Area.Width || Features.height != Area.Height) {
    Config.options.use_scaling = 1;
    Config.options.scaled_width = Area.Width;
    Config.options.scaled_height = Area.Height;
  }
  Config.output.colorspace = PixelMode;
  Config.output.is_external_memory = 1;
  Config.output.u.RGBA.rgba = Pixels.data();
  Config.output.u.RGBA.stride = static_cast<int>(Stride);
  Config.output.u.RGBA.size = Stride * static_cast<size_t>(Area.Height - 1) + static_cast<size_t>(Area.Width) * 4;
  const VP8StatusCode Status = Webp.Decode(Data.data(), Data.size(), &Config);
  Webp.FreeDecBuffer(&Config.output);
  CheckStatus(Status);
}

// Lays every pixel over Background: premultiplied samples plus the
// background's share.
void LayOverBackground(std::span<uint8_t> Pixels, size_t Stride, TPictureSize Size, uint32_t Background) {
  for (int Y = 0; Y < Size.Height; ++Y) {
    uint8_t* Row = Pixels.data() + Stride * static_cast<size_t>(Y);
    for (int X = 0; X < Size.Width; ++X) {
      uint32_t Pixel;
      std::memcpy(&Pixel, Row + static_cast<size_t>(X) * 4, 4);
      const uint32_t Alpha = Pixel >> 24;
      if (Alpha == 255) continue;
      uint32_t Laid = 0xFF000000u;
      for (int Shift = 0; Shift < 24; Shift += 8) {
        const uint32_t Sample = (Pixel >> Shift & 0xFF) + ((Background >> Shift & 0xFF) * (255 - Alpha) + 127) / 255;
        Laid |= std::min(Sample, 255u) << Shift;
      }
      std::memcpy(Row + static_cast<size_t>(X) * 4, &Laid, 4);
    }
  }
}

class TWebpDecoder final : public TPictureDecoder {
 public:
  TWebpDecoder(std::vector<uint8_t> Bytes, TPictureSize Size, bool Animated)
      : FBytes(std::move(Bytes)), FSize(Size), FAnimated(Animated) {}

  TPictureSize Size() const override { return FSize; }
  TPictureSize DecodedSize(TPictureSize AtLeast) const override { return ProportionalSizeAtLeast(FSize, AtLeast); }

  void DecodeTo(std::span<uint8_t> Pixels, size_t Stride, TPictureSize AtLeast, uint32_t Background) override {
    const TPictureSize Target = DecodedSize(AtLeast);
    CheckPixelBuffer(Pixels, Stride, Target);
    if (Stride > INT_MAX) throw std::invalid_argument("WebP decoder: rows too long");
    if (FAnimated)
      DecodeFirstFrame(Pixels, Stride, Target, Background);
    else
      DecodeInto(FBytes, Pixels, Stride, Target);
    LayOverBackground(Pixels, Stride, Target, Background);
  }

 private:
  // The first frame over a transparent canvas, which is what an animation
  // shows first: the frame at its place, scaled as the canvas is, and the
  // background around it.
  void DecodeFirstFrame(std::span<uint8_t> Pixels, size_t Stride, TPictureSize Target, uint32_t Background) {
    const TLibwebp& Webp = Libwebp();
    const std::unique_ptr<WebPDemuxer, void (*)(WebPDemuxer*)> Demuxer(Webp.Demux({FBytes.data(), FBytes.size()}),
                                                                      Webp.DemuxDelete);
    if (!Demuxer) Fail("the animation cannot be read");
    WebPIterator Frame;
    if (!Webp.DemuxGetFrame(Demuxer.get(), 1, &Frame)) Fail("the animation has no frame");
    const auto [Left, Right] = ScaledSpan(Frame.x_offset, Frame.width, FSize.Width, Target.Width);
    const auto [Top, Bottom] = ScaledSpan(Frame.y_offset, Frame.height, FSize.Height, Target.Height);
    const std::span<const uint8_t> Fragment(Frame.fragment.bytes, Frame.fragment.size);
    Webp.DemuxReleaseIterator(&Frame);
    const uint32_t Fill = 0xFF000000u | Background;
    for (int Y = 0; Y < Target.Height; ++Y)
      for (int X = 0; X < Target.Width; ++X)
        std::memcpy(Pixels.data() + Stride * static_cast<size_t>(Y) + static_cast<size_t>(X) * 4, &Fill, 4);
    DecodeInto(Fragment, Pixels.subspan(Stride * static_cast<size_t>(Top) + static_cast<size_t>(Left) * 4), Stride,
               {Right - Left, Bottom - Top});
  }

  std::vector<uint8_t> FBytes;
  TPictureSize FSize;
  bool FAnimated;
};

}  // namespace

std::unique_ptr<TPictureDecoder> OpenWebpDecoder(const TByteSource& Source, uint64_t MaxPixels) {
  const int64_t End = FirstPictureEnd(Source);
  WebPBitstreamFeatures Features;
  CheckStatus(Libwebp().GetFeatures(ReadRiff(Source, std::min(End, HeaderBytes), End), Features));
  const TPictureSize Size{Features.width, Features.height};
  if (const std::string Reason = TooManyPixels(Size, MaxPixels); !Reason.empty()) Fail(Reason);
  if (Size.Width <= 0 || Size.Height <= 0) Fail("the picture has no size");
  const uint64_t Pixels = uint64_t(Size.Width) * uint64_t(Size.Height);
  if (static_cast<uint64_t>(End) > MaxBytesPerPixel * Pixels + MaxBytesBesidesPixels)
    Fail(std::to_string(End) + " bytes up to the end of the picture are more than a " + std::to_string(Size.Width) +
         " x " + std::to_string(Size.Height) + " picture can need");
  return std::make_unique<TWebpDecoder>(ReadRiff(Source, End, End), Size, Features.has_animation != 0);
}
