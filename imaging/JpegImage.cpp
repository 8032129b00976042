#include "JpegImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// After jpeglib.h: the names of libjpeg's message codes.
#include <jerror.h>


namespace {

// libjpeg's default error_exit ends the process. Ours jumps back to the
// setjmp of the guarded call that is running and keeps the message code.
struct TErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
  int Warnings;
  bool DataEnded;  // libjpeg asked for bytes past the last one
};

void ExitByJump(j_common_ptr Info) {
  auto* Manager = reinterpret_cast<TErrorManager*>(Info->err);
  std::longjmp(Manager->Jump, 1);
}

// Corrupt-data warnings are counted, never printed. The memory source warns
// when it runs out of bytes and gives libjpeg an end marker of its own.
void CountWarning(j_common_ptr Info, int Level) {
  auto* Manager = reinterpret_cast<TErrorManager*>(Info->err);
  if (Level >= 0) return;
  ++Manager->Warnings;
  if (Manager->Base.msg_code == JWRN_JPEG_EOF) Manager->DataEnded = true;
}

void Silence(j_common_ptr) {}

static_assert(TJPEGImage::ImplausibleDataError > JMSG_LASTMSGCODE);

// Ends the decode through the error manager, as a libjpeg failure of Code.
void Refuse(j_common_ptr Info, int Code) {
  Info->err->msg_code = Code;
  Info->err->error_exit(Info);
}

// The blocks a decode has visited, scan by scan, held against the bytes it
// has read (see TJPEGImage::MaxBlockVisitsPerByte). libjpeg calls the
// monitor before each row of blocks it reads, inside jpeg_start_decompress
// for pictures of several scans and inside jpeg_read_scanlines otherwise.
struct TWorkBudget {
  jpeg_progress_mgr Base;
  size_t Size;            // of the data
  size_t DataStart;       // where the first scan's data begin
  int Scan;               // the scan counted in ScanBlocks
  uint64_t EarlierBlocks; // the blocks of the scans before it
  uint64_t ScanBlocks;    // its blocks
  uint64_t RowBlocks;     // the blocks of one of its rows (an iMCU row)
};

// One decompression with its error manager. The guarded functions below keep
// the setjmp and the libjpeg calls together, with no C++ object that needs a
// destructor between the setjmp and a longjmp back to it.
struct TDecompressor {
  jpeg_decompress_struct Info;
  TErrorManager Errors;
  TWorkBudget Budget;
};

// Bytes of the Size bytes of data that libjpeg has taken so far.
size_t BytesRead(const jpeg_decompress_struct& Info, size_t Size) {
  const auto* Errors = reinterpret_cast<const TErrorManager*>(Info.err);
  if (Errors->DataEnded || Info.src == nullptr) return Size;
  return Size - std::min(Size, Info.src->bytes_in_buffer);
}

void StartScanCount(const jpeg_decompress_struct& Info, TWorkBudget& Budget) {
  Budget.EarlierBlocks += Budget.ScanBlocks;
  Budget.Scan = Info.input_scan_number;
  Budget.ScanBlocks = Budget.RowBlocks = 0;
  for (int Index = 0; Index < Info.comps_in_scan; ++Index) {
    const jpeg_component_info* Component = Info.cur_comp_info[Index];
    const uint64_t Across = Component->width_in_blocks;
    Budget.ScanBlocks += Across * Component->height_in_blocks;
    Budget.RowBlocks += Across * static_cast<unsigned>(Component->v_samp_factor);
  }
}

void CheckWork(j_common_ptr Common) {
  auto* Info = reinterpret_cast<j_decompress_ptr>(Common);
  auto& Budget = *reinterpret_cast<TWorkBudget*>(Info->progress);
  if (Info->input_scan_number != Budget.Scan) StartScanCount(*Info, Budget);
  const uint64_t InScan = std::min(uint64_t{Info->input_iMCU_row} * Budget.RowBlocks, Budget.ScanBlocks);
  const size_t Taken = BytesRead(*Info, Budget.Size);
  const size_t Read = Taken - std::min(Budget.DataStart, Taken);
  const uint64_t Allowed = TJPEGImage::MaxBlockVisitsPerByte * (Read + TJPEGImage::DataAllowance);
  if (Budget.EarlierBlocks + InScan > Allowed) Refuse(Common, TJPEGImage::ImplausibleDataError);
}

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
  D.Info.mem->max_memory_to_use = TJPEGImage::MaxDecodeMemory;
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

// Decodes every row into Pixels at Eighths/8 of the picture's size, which
// must come out as Expected; false when libjpeg failed. CmykRow is scratch
// space of 4 bytes per pixel, used only for CMYK pictures.
bool GuardedDecode(TDecompressor& D, TPixelLayout Layout, int Eighths, TPictureSize Expected,
                   uint8_t* Pixels, size_t Stride, uint8_t* CmykRow) {
  if (setjmp(D.Errors.Jump)) {
    jpeg_destroy_decompress(&D.Info);
    return false;
  }
  const J_COLOR_SPACE Space = OutputSpace(D, Layout);
  D.Info.out_color_space = Space;
  D.Info.scale_num = static_cast<unsigned>(Eighths);
  D.Info.scale_denom = 8;
  jpeg_calc_output_dimensions(&D.Info);
  if (D.Info.output_width != static_cast<JDIMENSION>(Expected.Width) ||
      D.Info.output_height != static_cast<JDIMENSION>(Expected.Height))
    Refuse(reinterpret_cast<j_common_ptr>(&D.Info), JERR_BUFFER_SIZE);
  D.Info.progress = &D.Budget.Base;
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

EJPEGError::EJPEGError(int Code) : EPictureError("JPEG error #" + std::to_string(Code)), FCode(Code) {}

EJPEGTooLarge::EJPEGTooLarge(int Width, int Height)
    : EPictureError("The picture is too large to show (" + std::to_string(Width) + " x " +
                         std::to_string(Height) + " pixels)") {}

bool TJPEGImage::TryLoadFromBytes(TByteBuffer Bytes) {
  FBytes.clear();
  FWidth = FHeight = 0;
  FDataStart = 0;
  TDecompressor D;
  InitDecompressor(D);
  if (!GuardedReadHeader(D, Bytes.data(), Bytes.size())) {
    FErrorCode = D.Errors.Base.msg_code;
    return false;
  }
  FWidth = static_cast<int>(D.Info.image_width);
  FHeight = static_cast<int>(D.Info.image_height);
  FDataStart = BytesRead(D.Info, Bytes.size());
  jpeg_destroy_decompress(&D.Info);
  FBytes = std::move(Bytes);
  return true;
}

void TJPEGImage::LoadFromBytes(TByteBuffer Bytes) {
  if (!TryLoadFromBytes(std::move(Bytes))) throw EJPEGError(FErrorCode);
}

void TJPEGImage::LoadFromSource(const TByteSource& Source) {
  if (Source.Size() > MaxSourceBytes) throw EJPEGError(JERR_OUT_OF_MEMORY);
  TByteBuffer Bytes(static_cast<size_t>(std::max<int64_t>(0, Source.Size())));
  Bytes.resize(Source.ReadAt(0, Bytes));
  LoadFromBytes(std::move(Bytes));
}

void TJPEGImage::CheckDecodable() const {
  const uint64_t Pixels = static_cast<uint64_t>(FWidth) * static_cast<uint64_t>(FHeight);
  if (Pixels > MaxPixels) throw EJPEGTooLarge(FWidth, FHeight);
  const uint64_t Data = FBytes.size() - std::min(FDataStart, FBytes.size());
  if (Pixels > MaxPixelsPerByte * (Data + DataAllowance)) throw EJPEGError(ImplausibleDataError);
}

void TJPEGImage::DecodeTo(TPixelLayout Layout, std::span<uint8_t> Pixels, size_t Stride, int Eighths) const {
  CheckDecodable();
  if (Eighths < 1 || Eighths > 8) throw std::invalid_argument("TJPEGImage::DecodeTo: scale out of range");
  const TPictureSize Scaled = ScaledSize(Size(), Eighths);
  const size_t RowBytes = static_cast<size_t>(Scaled.Width) * BytesPerPixel(Layout);
  if (Stride < RowBytes || Pixels.size() < Stride * static_cast<size_t>(Scaled.Height))
    throw std::invalid_argument("TJPEGImage::DecodeTo: buffer too small for the picture");
  TByteBuffer CmykRow(static_cast<size_t>(Scaled.Width) * 4);
  TDecompressor D;
  InitDecompressor(D);
  D.Budget.Base.progress_monitor = CheckWork;
  D.Budget.Size = FBytes.size();
  D.Budget.DataStart = FDataStart;
  if (!GuardedReadHeader(D, FBytes.data(), FBytes.size())) throw EJPEGError(D.Errors.Base.msg_code);
  const bool Decoded = GuardedDecode(D, Layout, Eighths, Scaled, Pixels.data(), Stride, CmykRow.data());
  // Without a backing store (Debian's libjpeg has none), needing more than
  // the memory allowed is libjpeg's "no backing store": out of memory.
  if (!Decoded && D.Errors.Base.msg_code == JERR_NO_BACKING_STORE) throw EJPEGError(JERR_OUT_OF_MEMORY);
  if (!Decoded) throw EJPEGError(D.Errors.Base.msg_code);
}

int EighthsAtLeast(TPictureSize Stored, TPictureSize AtLeast) {
  for (int Eighths = 1; Eighths < 8; ++Eighths) {
    const TPictureSize Scaled = ScaledSize(Stored, Eighths);
    if (Scaled.Width >= AtLeast.Width && Scaled.Height >= AtLeast.Height) return Eighths;
  }
  return 8;
}

namespace {

class TJpegDecoder final : public TPictureDecoder {
 public:
  // A picture above the limits is refused here, before anyone allocates
  // memory for its pixels.
  explicit TJpegDecoder(const TByteSource& Source) {
    FImage.LoadFromSource(Source);
    FImage.CheckDecodable();
  }

  TPictureSize Size() const override { return FImage.Size(); }
  TPictureSize DecodedSize(TPictureSize AtLeast) const override {
    return ScaledSize(FImage.Size(), EighthsAtLeast(FImage.Size(), AtLeast));
  }
  void DecodeTo(std::span<uint8_t> Pixels, size_t Stride, TPictureSize AtLeast, uint32_t) override {
    FImage.DecodeTo(TPixelLayout::BGRX32, Pixels, Stride, EighthsAtLeast(FImage.Size(), AtLeast));
  }

 private:
  TJPEGImage FImage;
};

}  // namespace

std::unique_ptr<TPictureDecoder> OpenJpegDecoder(const TByteSource& Source) {
  return std::make_unique<TJpegDecoder>(Source);
}
