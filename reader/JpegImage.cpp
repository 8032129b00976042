#include "JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "FileBytes.h"

namespace {

// libjpeg's default error_exit ends the process. Ours jumps back to the
// setjmp of the guarded call that is running and keeps the message code.
struct TErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
  int Warnings;
};

void ExitByJump(j_common_ptr Info) {
  auto* Manager = reinterpret_cast<TErrorManager*>(Info->err);
  std::longjmp(Manager->Jump, 1);
}

// Corrupt-data warnings are counted, never printed.
void CountWarning(j_common_ptr Info, int Level) {
  auto* Manager = reinterpret_cast<TErrorManager*>(Info->err);
  if (Level < 0) ++Manager->Warnings;
}

void Silence(j_common_ptr) {}

// One decompression with its error manager. The guarded functions below keep
// the setjmp and the libjpeg calls together, with no C++ object that needs a
// destructor between the setjmp and a longjmp back to it.
struct TDecompressor {
  jpeg_decompress_struct Info;
  TErrorManager Errors;
};

void InitDecompressor(TDecompressor& D) {
  std::memset(&D, 0, sizeof D);
  D.Info.err = jpeg_std_error(&D.Errors.Base);
  D.Errors.Base.error_exit = ExitByJump;
  D.Errors.Base.emit_message = CountWarning;
  D.Errors.Base.output_message = Silence;
}

// Reads the header of Bytes; false when libjpeg failed (the code is in
// D.Errors.Base.msg_code). On success the decompressor must be destroyed by
// the caller with jpeg_destroy_decompress.
bool GuardedReadHeader(TDecompressor& D, const uint8_t* Bytes, size_t Size) {
  if (setjmp(D.Errors.Jump)) {
    jpeg_destroy_decompress(&D.Info);
    return false;
  }
  jpeg_create_decompress(&D.Info);
  jpeg_mem_src(&D.Info, Bytes, static_cast<unsigned long>(Size));
  jpeg_read_header(&D.Info, TRUE);
  return true;
}

// Output colour space for a layout; CMYK pictures are decoded as CMYK and
// converted row by row.
J_COLOR_SPACE OutputSpace(const TDecompressor& D, TPixelLayout Layout) {
  if (D.Info.jpeg_color_space == JCS_CMYK || D.Info.jpeg_color_space == JCS_YCCK) return JCS_CMYK;
  return Layout == TPixelLayout::RGB24 ? JCS_RGB : JCS_EXT_BGRX;
}

// Adobe writes CMYK JPEG data inverted, which is what nearly every CMYK JPEG
// in the wild is; the plain product turns it into RGB.
void CmykRowToLayout(const uint8_t* Cmyk, uint8_t* Out, JDIMENSION Width, TPixelLayout Layout) {
  for (JDIMENSION X = 0; X < Width; ++X, Cmyk += 4) {
    const unsigned K = Cmyk[3];
    const auto R = static_cast<uint8_t>(Cmyk[0] * K / 255);
    const auto G = static_cast<uint8_t>(Cmyk[1] * K / 255);
    const auto B = static_cast<uint8_t>(Cmyk[2] * K / 255);
    if (Layout == TPixelLayout::RGB24) {
      *Out++ = R, *Out++ = G, *Out++ = B;
    } else {
      *Out++ = B, *Out++ = G, *Out++ = R, *Out++ = 0xFF;
    }
  }
}

// Decodes every row into Pixels; false when libjpeg failed. CmykRow is
// scratch space of 4 bytes per pixel, used only for CMYK pictures.
bool GuardedDecode(TDecompressor& D, TPixelLayout Layout, uint8_t* Pixels, size_t Stride,
                   uint8_t* CmykRow) {
  if (setjmp(D.Errors.Jump)) {
    jpeg_destroy_decompress(&D.Info);
    return false;
  }
  const J_COLOR_SPACE Space = OutputSpace(D, Layout);
  D.Info.out_color_space = Space;
  jpeg_start_decompress(&D.Info);
  while (D.Info.output_scanline < D.Info.output_height) {
    uint8_t* Row = Pixels + Stride * D.Info.output_scanline;
    JSAMPROW Target = Space == JCS_CMYK ? CmykRow : Row;
    jpeg_read_scanlines(&D.Info, &Target, 1);
    if (Space == JCS_CMYK) CmykRowToLayout(CmykRow, Row, D.Info.output_width, Layout);
  }
  jpeg_finish_decompress(&D.Info);
  jpeg_destroy_decompress(&D.Info);
  return true;
}

}  // namespace

EJPEGError::EJPEGError(int Code)
    : std::runtime_error("JPEG error #" + std::to_string(Code)), FCode(Code) {}

EJPEGTooLarge::EJPEGTooLarge(int Width, int Height)
    : std::runtime_error("The picture is too large to show (" + std::to_string(Width) + " x " +
                         std::to_string(Height) + " pixels)") {}

bool TJPEGImage::TryLoadFromBytes(TByteBuffer Bytes) {
  FBytes.clear();
  FWidth = FHeight = 0;
  TDecompressor D;
  InitDecompressor(D);
  if (!GuardedReadHeader(D, Bytes.data(), Bytes.size())) {
    FErrorCode = D.Errors.Base.msg_code;
    return false;
  }
  FWidth = static_cast<int>(D.Info.image_width);
  FHeight = static_cast<int>(D.Info.image_height);
  jpeg_destroy_decompress(&D.Info);
  FBytes = std::move(Bytes);
  return true;
}

void TJPEGImage::LoadFromBytes(TByteBuffer Bytes) {
  if (!TryLoadFromBytes(std::move(Bytes))) throw EJPEGError(FErrorCode);
}

void TJPEGImage::LoadFromFile(const std::string& FileName) { LoadFromBytes(ReadWholeFile(FileName)); }

void TJPEGImage::CheckDecodable() const {
  const uint64_t Pixels = static_cast<uint64_t>(FWidth) * static_cast<uint64_t>(FHeight);
  if (Pixels > MaxPixels) throw EJPEGTooLarge(FWidth, FHeight);
}

void TJPEGImage::DecodeTo(TPixelLayout Layout, std::span<uint8_t> Pixels, size_t Stride) const {
  CheckDecodable();
  const size_t RowBytes = static_cast<size_t>(FWidth) * BytesPerPixel(Layout);
  if (Stride < RowBytes || Pixels.size() < Stride * static_cast<size_t>(FHeight))
    throw std::invalid_argument("TJPEGImage::DecodeTo: buffer too small for the picture");
  TByteBuffer CmykRow(static_cast<size_t>(FWidth) * 4);
  TDecompressor D;
  InitDecompressor(D);
  if (!GuardedReadHeader(D, FBytes.data(), FBytes.size())) throw EJPEGError(D.Errors.Base.msg_code);
  const bool Decoded = GuardedDecode(D, Layout, Pixels.data(), Stride, CmykRow.data());
  FWarnings = D.Errors.Warnings;
  if (!Decoded) throw EJPEGError(D.Errors.Base.msg_code);
}
