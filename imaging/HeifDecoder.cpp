// HEIF pictures (HEIC, AVIF) through libheif, loaded the first time one is
// opened: linking libheif would load it and its codecs (HEVC, AV1 and more)
// at every start of every program, some 4.5 ms each time. libheif reads the
// file through a reader over the source, so it reads only the boxes and the
// item data it needs (each item's at most 512 MB, a limit of its own).
#include <libheif/heif.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "LibraryLoader.h"
#include "PictureDecoders.h"
#include "PixelScaler.h"

namespace {

constexpr const char* LibraryName = "libheif.so.1";

// Any image of the file (the primary one, its tiles, thumbnails, alpha and
// depth images) with a side this long or longer is refused by libheif as it
// reads the file; the primary image's pixels are counted afterwards.
constexpr int MaxSide = 1 << 16;

[[noreturn]] void Fail(const std::string& Reason) { throw EPictureError("HEIF", Reason); }

// The functions of libheif used here.
struct THeifLibrary {
  decltype(&heif_init) Init;
  decltype(&heif_context_alloc) ContextAlloc;
  decltype(&heif_context_free) ContextFree;
  decltype(&heif_context_set_maximum_image_size_limit) SetMaximumImageSizeLimit;
  decltype(&heif_context_read_from_reader) ReadFromReader;
  decltype(&heif_context_get_primary_image_handle) GetPrimaryImageHandle;
  decltype(&heif_image_handle_release) HandleRelease;
  decltype(&heif_image_handle_get_ispe_width) IspeWidth;
  decltype(&heif_image_handle_get_ispe_height) IspeHeight;
  decltype(&heif_image_handle_has_alpha_channel) HasAlphaChannel;
  decltype(&heif_decoding_options_alloc) DecodingOptionsAlloc;
  decltype(&heif_decoding_options_free) DecodingOptionsFree;
  decltype(&heif_decode_image) DecodeImage;
  decltype(&heif_image_get_plane_readonly) PlaneReadonly;
  decltype(&heif_image_get_width) ImageWidth;
  decltype(&heif_image_get_height) ImageHeight;
  decltype(&heif_image_get_bits_per_pixel_range) BitsPerPixelRange;
  decltype(&heif_image_is_premultiplied_alpha) IsPremultipliedAlpha;
  decltype(&heif_image_release) ImageRelease;
};

std::atomic<bool> LibheifLoaded{false};

struct TLoadedLibheif {
  THeifLibrary Functions;
  std::string Failure;
};

TLoadedLibheif LoadLibheif() {
  TLoadedLibheif Loaded;
  THeifLibrary& F = Loaded.Functions;
  TLibraryLoader Library(LibraryName);
  Library.Find(F.Init, "heif_init");
  Library.Find(F.ContextAlloc, "heif_context_alloc");
  Library.Find(F.ContextFree, "heif_context_free");
  Library.Find(F.SetMaximumImageSizeLimit, "heif_context_set_maximum_image_size_limit");
  Library.Find(F.ReadFromReader, "heif_context_read_from_reader");
  Library.Find(F.GetPrimaryImageHandle, "heif_context_get_primary_image_handle");
  Library.Find(F.HandleRelease, "heif_image_handle_release");
  Library.Find(F.IspeWidth, "heif_image_handle_get_ispe_width");
  Library.Find(F.IspeHeight, "heif_image_handle_get_ispe_height");
  Library.Find(F.HasAlphaChannel, "heif_image_handle_has_alpha_channel");
  Library.Find(F.DecodingOptionsAlloc, "heif_decoding_options_alloc");
  Library.Find(F.DecodingOptionsFree, "heif_decoding_options_free");
  Library.Find(F.DecodeImage, "heif_decode_image");
  Library.Find(F.PlaneReadonly, "heif_image_get_plane_readonly");
  Library.Find(F.ImageWidth, "heif_image_get_width");
  Library.Find(F.ImageHeight, "heif_image_get_height");
  Library.Find(F.BitsPerPixelRange, "heif_image_get_bits_per_pixel_range");
  Library.Find(F.IsPremultipliedAlpha, "heif_image_is_premultiplied_alpha");
  Library.Find(F.ImageRelease, "heif_image_release");
  Loaded.Failure = Library.Finish();
  if (!Loaded.Failure.empty()) {
    Loaded.Failure = "the HEIF library cannot be loaded (" + Loaded.Failure + ")";
    return Loaded;
  }
  // Registers the codecs; the library stays loaded, so it is never undone.
  const heif_error Error = F.Init(nullptr);
  if (Error.code != heif_error_Ok) Loaded.Failure = "the HEIF library cannot start: " + std::string(Error.message);
  LibheifLoaded = Loaded.Failure.empty();
  return Loaded;
}

// libheif, loaded by the first call; a failure to load it is kept and given
// again to every later call.
const THeifLibrary& HeifLibrary() {
  static const TLoadedLibheif Library = LoadLibheif();
  if (!Library.Failure.empty()) Fail(Library.Failure);
  return Library.Functions;
}

// libheif's reader: a position in the source. libheif asks for no byte
// beyond what wait_for_file_size allowed; an exception of the source is
// kept to be thrown again when libheif has given up.
struct THeifInput {
  const TByteSource* Source;
  int64_t Position = 0;
  std::exception_ptr Failure;
};

THeifInput& InputOf(void* UserData) { return *static_cast<THeifInput*>(UserData); }

int64_t GetPosition(void* UserData) { return InputOf(UserData).Position; }

int Read(void* Data, size_t Size, void* UserData) {
  THeifInput& Input = InputOf(UserData);
  try {
    const size_t Count = Input.Source->ReadAt(Input.Position, {static_cast<uint8_t*>(Data), Size});
    Input.Position += static_cast<int64_t>(Count);
    return Count == Size ? 0 : 1;
  } catch (...) {
    Input.Failure = std::current_exception();
    return 1;
  }
}

int Seek(int64_t Position, void* UserData) {
  THeifInput& Input = InputOf(UserData);
  if (Position < 0 || Position > Input.Source->Size()) return 1;
  Input.Position = Position;
  return 0;
}

heif_reader_grow_status WaitForFileSize(int64_t Size, void* UserData) {
  return Size <= InputOf(UserData).Source->Size() ? heif_reader_grow_status_size_reached
                                                  : heif_reader_grow_status_size_beyond_eof;
}

constexpr heif_reader Reader = {1, GetPosition, Read, Seek, WaitForFileSize};

// What libheif owns, each released through the library's own function.
template <typename T, auto THeifLibrary::*Release>
struct THeifReleaser {
  void operator()(T* Object) const { (HeifLibrary().*Release)(Object); }
};
using TContext = std::unique_ptr<heif_context, THeifReleaser<heif_context, &THeifLibrary::ContextFree>>;
using THandle = std::unique_ptr<const heif_image_handle, THeifReleaser<const heif_image_handle, &THeifLibrary::HandleRelease>>;
using TImage = std::unique_ptr<const heif_image, THeifReleaser<const heif_image, &THeifLibrary::ImageRelease>>;
using TOptions = std::unique_ptr<heif_decoding_options, THeifReleaser<heif_decoding_options, &THeifLibrary::DecodingOptionsFree>>;

class THeifDecoder final : public TPictureDecoder {
 public:
  // Reads the file's boxes and finds the primary image.
  THeifDecoder(const TByteSource& Source, uint64_t MaxPixels) : FInput{&Source} {
    const THeifLibrary& Heif = HeifLibrary();
    FContext.reset(Heif.ContextAlloc());
    if (!FContext) Fail("out of memory");
    Heif.SetMaximumImageSizeLimit(FContext.get(), MaxSide);
    Check(Heif.ReadFromReader(FContext.get(), &Reader, &FInput, nullptr));
    heif_image_handle* Handle = nullptr;
    Check(Heif.GetPrimaryImageHandle(FContext.get(), &Handle));
    FHandle.reset(Handle);
    FSize = {Heif.IspeWidth(Handle), Heif.IspeHeight(Handle)};
    if (const std::string Reason = TooManyPixels(FSize, MaxPixels); !Reason.empty()) Fail(Reason);
    if (FSize.Width <= 0 || FSize.Height <= 0) Fail("the primary image has no size (ispe)");
  }

  TPictureSize Size() const override { return FSize; }
  TPictureSize DecodedSize(TPictureSize AtLeast) const override { return ProportionalSizeAtLeast(FSize, AtLeast); }

  // Decodes the primary image whole into 8-bit RGB (RGBA when it has
  // alpha), as stored, and shrinks that into Pixels.
  void DecodeTo(std::span<uint8_t> Pixels, size_t Stride, TPictureSize AtLeast, uint32_t Background) override {
    const THeifLibrary& Heif = HeifLibrary();
    const TPictureSize Target = DecodedSize(AtLeast);
    CheckPixelBuffer(Pixels, Stride, Target);
    const TOptions Options(Heif.DecodingOptionsAlloc());
    if (!Options) Fail("out of memory");
    Options->ignore_transformations = 1;
    Options->convert_hdr_to_8bit = 1;
    const bool Alpha = Heif.HasAlphaChannel(FHandle.get()) != 0;
    heif_image* Decoded = nullptr;
    Check(Heif.DecodeImage(FHandle.get(), &Decoded, heif_colorspace_RGB,
                           Alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, Options.get()));
    const TImage Image(Decoded);
    const TPictureSize Stored{Heif.ImageWidth(Decoded, heif_channel_interleaved),
                              Heif.ImageHeight(Decoded, heif_channel_interleaved)};
    int PlaneStride = 0;
    const uint8_t* Plane = Heif.PlaneReadonly(Decoded, heif_channel_interleaved, &PlaneStride);
    if (Plane == nullptr || Stored.Width <= 0 || Stored.Height <= 0 ||
        Heif.BitsPerPixelRange(Decoded, heif_channel_interleaved) != 8)
      Fail("the decoded image is not 8-bit RGB");
    // libheif gives the image at the size its codec decoded, which should
    // be the size the file records (ispe): it is shrunk from whatever it is,
    // but never enlarged.
    if (Stored.Width < Target.Width || Stored.Height < Target.Height)
      Fail("the image decodes at " + std::to_string(Stored.Width) + " x " + std::to_string(Stored.Height) +
           " pixels, smaller than its recorded size");
    const TSampleLayout Layout = !Alpha ? TSampleLayout::slRGB
                                 : Heif.IsPremultipliedAlpha(Decoded) ? TSampleLayout::slPremultipliedRGBA
                                                                       : TSampleLayout::slRGBA;
    const size_t RowBytes = static_cast<size_t>(Stored.Width) * (Alpha ? 4 : 3);
    if (PlaneStride < 0 || static_cast<size_t>(PlaneStride) < RowBytes) Fail("the decoded image has short rows");
    TAreaScaler Scaler(Stored, Target, Pixels, Stride, Background, true);
    for (int Y = 0; Y < Stored.Height; ++Y)
      Scaler.AddRow(Y, {Plane + static_cast<size_t>(PlaneStride) * static_cast<size_t>(Y), RowBytes}, Layout);
    Scaler.Finish();
  }

 private:
  void Check(const heif_error& Error) const {
    if (Error.code == heif_error_Ok) return;
    if (FInput.Failure) std::rethrow_exception(FInput.Failure);
    Fail(Error.message != nullptr ? Error.message : "unknown error");
  }

  THeifInput FInput;
  TContext FContext;
  THandle FHandle;
  TPictureSize FSize;
};

}  // namespace

std::unique_ptr<TPictureDecoder> OpenHeifDecoder(const TByteSource& Source, uint64_t MaxPixels) {
  // Every HEIF file starts with its ftyp box: libheif is not loaded for
  // bytes that are no HEIF file at all.
  std::array<uint8_t, 8> Start;
  if (Source.ReadAt(0, Start) != Start.size() || std::memcmp(&Start[4], "ftyp", 4) != 0) Fail("not a HEIF file");
  return std::make_unique<THeifDecoder>(Source, MaxPixels);
}

bool HeifLibraryLoaded() { return LibheifLoaded; }
