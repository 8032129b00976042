// PNG pictures through libpng, loaded when the first PNG picture is opened
// (it brings zlib). libpng reads through a callback that takes bytes from
// the source and hands it only the chunks it needs to make pixels (the
// critical ones and tRNS): the text, profile and metadata chunks are
// skipped by their lengths, never read. libpng's errors leave through
// longjmp to a small guarded function and become EPictureError.
#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "LibraryLoader.h"
#include "PictureDecoders.h"
#include "PixelScaler.h"

namespace {

// The widest and highest picture libpng is let read: its own default, so
// that a row of 16-bit RGBA samples stays under 8 MB.
constexpr png_uint_32 MaxSide = 1000000;
// The largest chunk libpng may allocate memory for. It is given no chunk
// larger than a palette (768 bytes), but for critical chunks it does not
// know, which it refuses.
constexpr png_alloc_size_t MaxChunkBytes = png_alloc_size_t{1} << 20;

constexpr std::array<uint8_t, 8> Signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// A chunk's length, type, data and CRC: the length and the CRC take 12 bytes.
constexpr int64_t ChunkFrame = 12;
// The largest chunk length PNG allows.
constexpr uint32_t MaxChunkLength = 0x7FFFFFFF;

constexpr uint32_t ChunkType(const char (&Name)[5]) {
  return uint32_t(uint8_t(Name[0])) << 24 | uint32_t(uint8_t(Name[1])) << 16 | uint32_t(uint8_t(Name[2])) << 8 |
         uint8_t(Name[3]);
}
constexpr uint32_t IDAT = ChunkType("IDAT"), IEND = ChunkType("IEND"), tRNS = ChunkType("tRNS");

// The functions of libpng used here.
struct TLibpng {
  decltype(&png_create_read_struct) CreateReadStruct;
  decltype(&png_create_info_struct) CreateInfoStruct;
  decltype(&png_destroy_read_struct) DestroyReadStruct;
  decltype(&png_set_read_fn) SetReadFn;
  decltype(&png_set_user_limits) SetUserLimits;
  decltype(&png_set_chunk_malloc_max) SetChunkMallocMax;
  decltype(&png_set_longjmp_fn) SetLongjmpFn;
  decltype(&png_get_error_ptr) GetErrorPtr;
  decltype(&png_get_io_ptr) GetIoPtr;
  decltype(&png_error) Error;
  decltype(&png_longjmp) Longjmp;
  decltype(&png_read_info) ReadInfo;
  decltype(&png_get_image_width) GetImageWidth;
  decltype(&png_get_image_height) GetImageHeight;
  decltype(&png_get_interlace_type) GetInterlaceType;
  decltype(&png_set_expand) SetExpand;
  decltype(&png_set_scale_16) SetScale16;
  decltype(&png_set_gray_to_rgb) SetGrayToRgb;
  decltype(&png_read_update_info) ReadUpdateInfo;
  decltype(&png_get_channels) GetChannels;
  decltype(&png_get_rowbytes) GetRowbytes;
  decltype(&png_read_row) ReadRow;
};

struct TLoadedLibpng {
  TLibpng Functions;
  std::string Failure;
};

TLoadedLibpng LoadLibpng() {
  TLoadedLibpng Loaded;
  TLibpng& F = Loaded.Functions;
  TLibraryLoader Library("libpng16.so.16");
  Library.Find(F.CreateReadStruct, "png_create_read_struct");
  Library.Find(F.CreateInfoStruct, "png_create_info_struct");
  Library.Find(F.DestroyReadStruct, "png_destroy_read_struct");
  Library.Find(F.SetReadFn, "png_set_read_fn");
  Library.Find(F.SetUserLimits, "png_set_user_limits");
  Library.Find(F.SetChunkMallocMax, "png_set_chunk_malloc_max");
  Library.Find(F.SetLongjmpFn, "png_set_longjmp_fn");
  Library.Find(F.GetErrorPtr, "png_get_error_ptr");
  Library.Find(F.GetIoPtr, "png_get_io_ptr");
  Library.Find(F.Error, "png_error");
  Library.Find(F.Longjmp, "png_longjmp");
  Library.Find(F.ReadInfo, "png_read_info");
  Library.Find(F.GetImageWidth, "png_get_image_width");
  Library.Find(F.GetImageHeight, "png_get_image_height");
  Library.Find(F.GetInterlaceType, "png_get_interlace_type");
  Library.Find(F.SetExpand, "png_set_expand");
  Library.Find(F.SetScale16, "png_set_scale_16");
  Library.Find(F.SetGrayToRgb, "png_set_gray_to_rgb");
  Library.Find(F.ReadUpdateInfo, "png_read_update_info");
  Library.Find(F.GetChannels, "png_get_channels");
  Library.Find(F.GetRowbytes, "png_get_rowbytes");
  Library.Find(F.ReadRow, "png_read_row");
  Loaded.Failure = Library.Finish();
  return Loaded;
}

// libpng, loaded by the first call; a failure to load it is kept and given
// again to every later call.
const TLibpng& Libpng() {
  static const TLoadedLibpng Loaded = LoadLibpng();
  if (!Loaded.Failure.empty()) throw EPictureError("PNG", "the PNG library cannot be loaded (" + Loaded.Failure + ")");
  return Loaded.Functions;
}

// The jump buffer libpng's errors leave through (png_jmpbuf).
std::jmp_buf& JumpBuffer(const TLibpng& Png, png_structp Read) {
  return *Png.SetLongjmpFn(Read, std::longjmp, sizeof(std::jmp_buf));
}

// The source read through a window of its bytes, so that the many small
// reads of chunk headers, CRCs and small chunks cost one read of the source
// for each window: a file of millions of empty chunks costs what reading it
// once does. Reads of a window's size or more go to the source directly.
class TWindowedSource {
 public:
  explicit TWindowedSource(const TByteSource& Source) : FSource(Source) {}

  size_t ReadAt(int64_t Position, std::span<uint8_t> Buffer) {
    if (Buffer.size() >= FWindow.size()) return FSource.ReadAt(Position, Buffer);
    const bool Inside = Position >= FStart && Position - FStart + static_cast<int64_t>(Buffer.size()) <= FFilled;
    if (!Inside) {
      FFilled = 0;  // empty, should the read throw
      FFilled = static_cast<int64_t>(FSource.ReadAt(Position, FWindow));
      FStart = Position;
    }
    const auto Count = static_cast<size_t>(std::clamp<int64_t>(FFilled - (Position - FStart), 0, static_cast<int64_t>(Buffer.size())));
    std::copy_n(FWindow.begin() + (Position - FStart), Count, Buffer.begin());
    return Count;
  }

  int64_t Size() const { return FSource.Size(); }

 private:
  const TByteSource& FSource;
  std::array<uint8_t, 1024> FWindow;
  int64_t FStart = 0;
  int64_t FFilled = 0;
};

struct TChunkHeader {
  uint32_t Length;
  uint32_t Type;
};

// The length and type of the chunk at Position, or nothing when the data
// end before them.
std::optional<TChunkHeader> ReadChunkHeader(TWindowedSource& Source, int64_t Position) {
  std::array<uint8_t, 8> Bytes;
  if (Source.ReadAt(Position, Bytes) != Bytes.size()) return std::nullopt;
  const auto BigEndian = [&](size_t At) {
    return uint32_t{Bytes[At]} << 24 | uint32_t{Bytes[At + 1]} << 16 | uint32_t{Bytes[At + 2]} << 8 | Bytes[At + 3];
  };
  return TChunkHeader{BigEndian(0), BigEndian(4)};
}

// A chunk type is four ASCII letters.
bool IsChunkType(uint32_t Type) {
  for (int Shift = 0; Shift < 32; Shift += 8) {
    const auto Letter = static_cast<char>(Type >> Shift & 0xDF);  // upper-cased
    if (Letter < 'A' || Letter > 'Z') return false;
  }
  return true;
}

// Critical chunks (IHDR, PLTE, IDAT, IEND, and any libpng must refuse) have
// an upper-case first letter; of the others only tRNS changes the pixels.
// What is not a chunk at all is handed on too, for libpng to refuse.
bool ChunkMakesPixels(const TChunkHeader& Header) {
  return !IsChunkType(Header.Type) || Header.Length > MaxChunkLength || (Header.Type & 0x20000000u) == 0 ||
         Header.Type == tRNS;
}

// The bytes of image data: the IDAT chunks, which follow each other, as far
// as the file holds them. The walk reads only chunk headers and ends at the
// first chunk after the image data, at IEND, at bytes that are no chunk
// (zeros, say) or at the end of the data.
uint64_t ImageDataBytes(const TByteSource& File) {
  TWindowedSource Source(File);
  uint64_t Bytes = 0;
  bool InImageData = false;
  int64_t Position = Signature.size();
  while (const std::optional<TChunkHeader> Header = ReadChunkHeader(Source, Position)) {
    if (Header->Length > MaxChunkLength || !IsChunkType(Header->Type)) break;
    if (Header->Type == IDAT) {
      const int64_t Held = std::max<int64_t>(0, Source.Size() - Position - 8);
      Bytes += std::min<uint64_t>(Header->Length, static_cast<uint64_t>(Held));
      InImageData = true;
    } else if (InImageData || Header->Type == IEND) {
      break;
    }
    Position += ChunkFrame + Header->Length;
  }
  return Bytes;
}

// The byte stream libpng reads: the signature, then the chunks that make
// pixels, one after the other, each with its header and CRC.
class TPngInput {
 public:
  explicit TPngInput(const TByteSource& Source) : FSource(Source) {}

  // Fills Buffer; nullptr when it could, else why not. An exception of the
  // source is kept for RethrowFailure.
  const char* Read(std::span<uint8_t> Buffer) noexcept {
    try {
      while (!Buffer.empty()) {
        if (FChunkLeft == 0 && !NextChunk()) return "the file ends early";
        const auto Count = static_cast<size_t>(std::min<int64_t>(FChunkLeft, static_cast<int64_t>(Buffer.size())));
        if (FSource.ReadAt(FPosition, Buffer.first(Count)) != Count) return "the file ends early";
        FPosition += static_cast<int64_t>(Count);
        FChunkLeft -= static_cast<int64_t>(Count);
        Buffer = Buffer.subspan(Count);
      }
      return nullptr;
    } catch (...) {
      FFailure = std::current_exception();
      return "the file cannot be read";
    }
  }

  void RethrowFailure() const {
    if (FFailure) std::rethrow_exception(FFailure);
  }

 private:
  // Steps over the chunks that make no pixels to the next one that does.
  bool NextChunk() {
    while (const std::optional<TChunkHeader> Header = ReadChunkHeader(FSource, FPosition)) {
      if (ChunkMakesPixels(*Header)) {
        FChunkLeft = ChunkFrame + Header->Length;
        return true;
      }
      FPosition += ChunkFrame + Header->Length;
    }
    return false;
  }

  TWindowedSource FSource;
  int64_t FPosition = 0;
  int64_t FChunkLeft = Signature.size();  // of the chunk being read; the signature comes first
  std::exception_ptr FFailure;
};

// One libpng read: its structures, its input and the message of the error
// that ended it.
class TPngRead {
 public:
  explicit TPngRead(const TByteSource& Source) : Lib(Libpng()), FInput(Source) {
    Png = Lib.CreateReadStruct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning);
    if (Png != nullptr) Info = Lib.CreateInfoStruct(Png);
    if (Info == nullptr) {
      Lib.DestroyReadStruct(&Png, nullptr, nullptr);
      throw EPictureError("PNG", "out of memory");
    }
    Lib.SetReadFn(Png, this, OnRead);
    Lib.SetUserLimits(Png, MaxSide, MaxSide);
    Lib.SetChunkMallocMax(Png, MaxChunkBytes);
  }
  ~TPngRead() { Lib.DestroyReadStruct(&Png, &Info, nullptr); }
  TPngRead(const TPngRead&) = delete;
  TPngRead& operator=(const TPngRead&) = delete;

  // After a guarded call failed: the source's own exception, else libpng's.
  [[noreturn]] void Fail() const {
    FInput.RethrowFailure();
    throw EPictureError("PNG", FMessage);
  }

  const TLibpng& Lib;
  png_structp Png = nullptr;
  png_infop Info = nullptr;

 private:
  static void OnError(png_structp Png, png_const_charp Message) {
    auto* Read = static_cast<TPngRead*>(Libpng().GetErrorPtr(Png));
    std::strncpy(Read->FMessage, Message, sizeof Read->FMessage - 1);
    Read->Lib.Longjmp(Png, 1);
  }
  static void OnWarning(png_structp, png_const_charp) {}
  static void OnRead(png_structp Png, png_bytep Data, size_t Length) {
    auto* Read = static_cast<TPngRead*>(Libpng().GetIoPtr(Png));
    if (const char* Failure = Read->FInput.Read({Data, Length})) Read->Lib.Error(Png, Failure);
  }

  TPngInput FInput;
  char FMessage[200] = {};
};

// The guarded calls: each keeps its setjmp and its libpng calls together,
// with no object that needs a destructor between them, and gives false when
// libpng failed.

bool GuardedReadInfo(TPngRead& Read) {
  if (setjmp(JumpBuffer(Read.Lib, Read.Png))) return false;
  Read.Lib.ReadInfo(Read.Png, Read.Info);
  return true;
}

// Where each decoded row goes: row Y's pixels at columns First, First +
// Step, ...; Samples are 8-bit RGB or RGBA.
struct TRowTarget {
  TAreaScaler* Scaler;
  void Add(int Y, const uint8_t* Samples, int Channels, int First, int Step, int Count) const noexcept {
    Scaler->AddRow(Y, {Samples, static_cast<size_t>(Count) * static_cast<size_t>(Channels)},
                   Channels == 4 ? TSampleLayout::slRGBA : TSampleLayout::slRGB, First, Step);
  }
};

// How many of the pixels along a side of Length an interlace pass holds:
// one in every 1 << Shift, from Start on.
png_uint_32 PassCount(png_uint_32 Length, unsigned Start, unsigned Shift) {
  return Length > Start ? ((Length - Start - 1) >> Shift) + 1 : 0;
}

// Reads every row as 8-bit RGB or RGBA into Row (room for 4 bytes a pixel
// of the picture's width) and hands it to Target. An interlaced picture
// comes as its seven passes, each a small picture of every eighth, fourth
// or second pixel, in the order of the file.
bool GuardedReadRows(TPngRead& Read, uint8_t* Row, const TRowTarget& Target) {
  if (setjmp(JumpBuffer(Read.Lib, Read.Png))) return false;
  const TLibpng& Lib = Read.Lib;
  png_structp Png = Read.Png;
  Lib.SetExpand(Png);  // palette to RGB, grey to 8 bits, tRNS to alpha
  Lib.SetScale16(Png);
  Lib.SetGrayToRgb(Png);
  Lib.ReadUpdateInfo(Png, Read.Info);
  const png_uint_32 Width = Lib.GetImageWidth(Png, Read.Info);
  const png_uint_32 Height = Lib.GetImageHeight(Png, Read.Info);
  const int Channels = Lib.GetChannels(Png, Read.Info);
  if ((Channels != 3 && Channels != 4) || Lib.GetRowbytes(Png, Read.Info) != size_t{Width} * unsigned(Channels))
    Lib.Error(Png, "unexpected row layout");
  if (Lib.GetInterlaceType(Png, Read.Info) == PNG_INTERLACE_NONE) {
    for (png_uint_32 Y = 0; Y < Height; ++Y) {
      Lib.ReadRow(Png, Row, nullptr);
      Target.Add(int(Y), Row, Channels, 0, 1, int(Width));
    }
    return true;
  }
  for (unsigned Pass = 0; Pass < 7; ++Pass) {
    const png_uint_32 Columns = PassCount(Width, PNG_PASS_START_COL(Pass), PNG_PASS_COL_SHIFT(Pass));
    const png_uint_32 Rows = PassCount(Height, PNG_PASS_START_ROW(Pass), PNG_PASS_ROW_SHIFT(Pass));
    if (Columns == 0) continue;
    for (png_uint_32 PassRow = 0; PassRow < Rows; ++PassRow) {
      Lib.ReadRow(Png, Row, nullptr);
      const png_uint_32 Y = PNG_PASS_START_ROW(Pass) + (PassRow << PNG_PASS_ROW_SHIFT(Pass));
      Target.Add(int(Y), Row, Channels, int(PNG_PASS_START_COL(Pass)), 1 << PNG_PASS_COL_SHIFT(Pass), int(Columns));
    }
  }
  return true;
}

class TPngDecoder final : public TPictureDecoder {
 public:
  TPngDecoder(const TByteSource& Source, TPictureSize Size, bool Interlaced)
      : FSource(Source), FSize(Size), FInterlaced(Interlaced) {}

  TPictureSize Size() const override { return FSize; }
  TPictureSize DecodedSize(TPictureSize AtLeast) const override { return ProportionalSizeAtLeast(FSize, AtLeast); }

  void DecodeTo(std::span<uint8_t> Pixels, size_t Stride, TPictureSize AtLeast, uint32_t Background) override {
    TAreaScaler Scaler(FSize, DecodedSize(AtLeast), Pixels, Stride, Background, !FInterlaced);
    TPngRead Read(FSource);
    if (!GuardedReadInfo(Read)) Read.Fail();
    if (Read.Lib.GetImageWidth(Read.Png, Read.Info) != png_uint_32(FSize.Width) ||
        Read.Lib.GetImageHeight(Read.Png, Read.Info) != png_uint_32(FSize.Height))
      throw EPictureError("PNG", "the picture's size changed");
    std::vector<uint8_t> Row(static_cast<size_t>(FSize.Width) * 4);
    if (!GuardedReadRows(Read, Row.data(), TRowTarget{&Scaler})) Read.Fail();
    Scaler.Finish();
  }

 private:
  const TByteSource& FSource;
  TPictureSize FSize;
  bool FInterlaced;
};

}  // namespace

std::unique_ptr<TPictureDecoder> OpenPngDecoder(const TByteSource& Source, uint64_t MaxPixels) {
  std::array<uint8_t, Signature.size()> Start;
  if (Source.ReadAt(0, Start) != Start.size() || Start != Signature)
    throw EPictureError("PNG", "not a PNG file");
  TPngRead Read(Source);
  if (!GuardedReadInfo(Read)) Read.Fail();
  const TPictureSize Size{static_cast<int>(Read.Lib.GetImageWidth(Read.Png, Read.Info)),
                          static_cast<int>(Read.Lib.GetImageHeight(Read.Png, Read.Info))};
  if (const std::string Reason = TooManyPixels(Size, MaxPixels); !Reason.empty()) throw EPictureError("PNG", Reason);
  const uint64_t Pixels = uint64_t(Size.Width) * uint64_t(Size.Height);
  const uint64_t DataBytes = ImageDataBytes(Source);
  if (DataBytes == 0) throw EPictureError("PNG", "the file has no image data (IDAT)");
  // DataBytes above Pixels passes whatever it is: the product stays small.
  if (Pixels > MaxPngPixelsPerDataByte * std::min(DataBytes, Pixels))
    throw EPictureError("PNG", std::to_string(Size.Width) + " x " + std::to_string(Size.Height) +
                                   " pixels cannot come from " + std::to_string(DataBytes) +
                                   " bytes of image data (at most " + std::to_string(MaxPngPixelsPerDataByte) +
                                   " pixels a byte)");
  const bool Interlaced = Read.Lib.GetInterlaceType(Read.Png, Read.Info) != PNG_INTERLACE_NONE;
  return std::make_unique<TPngDecoder>(Source, Size, Interlaced);
}
