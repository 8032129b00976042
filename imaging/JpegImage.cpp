#include "JpegImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstddef>
#include <cstring>
#include <exception>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// After jpeglib.h: the names of libjpeg's message codes, and the marker
// reader's count of bytes it skipped looking for a marker.
#include <jerror.h>
#include <jpegint.h>


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

// libjpeg's source of compressed bytes: the picture's byte source, read a
// chunk at a time as libjpeg asks, so that only the bytes it takes are read.
// At the end of the data it gets an end-of-image marker of our own, as from
// libjpeg's memory source; and so it does once it has skipped MaxSkippedBytes
// looking for a marker (after the last scan of a JPEG start followed by
// gigabytes of zeros, say). A failure to read is kept to be thrown once
// libjpeg has been left.
struct TSourceReader {
  static constexpr unsigned MaxSkippedBytes = 1u << 20;
  jpeg_source_mgr Base;
  const TByteSource* Source;
  int64_t Next;  // the position of the bytes after the buffer's
  bool Ended;
  std::exception_ptr* Failure;
  uint8_t Buffer[65536];
};

// One decompression with its error manager. The guarded functions below keep
// the setjmp and the libjpeg calls together, with no C++ object that needs a
// destructor between the setjmp and a longjmp back to it.
struct TDecompressor {
  jpeg_decompress_struct Info;
  TErrorManager Errors;
  TWorkBudget Budget;
  TSourceReader Reader;
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr Info) {
  auto& Reader = *reinterpret_cast<TSourceReader*>(Info->src);
  size_t Got = 0;
  const bool Hunting = Info->marker != nullptr && Info->marker->discarded_bytes > TSourceReader::MaxSkippedBytes;
  if (!Reader.Ended && !Hunting) {
    try {
      Got = Reader.Source->ReadAt(Reader.Next, Reader.Buffer);
    } catch (...) {
      *Reader.Failure = std::current_exception();
      ERREXIT(Info, JERR_FILE_READ);
    }
  }
  Reader.Next += static_cast<int64_t>(Got);
  if (Got == 0) {
    WARNMS(Info, JWRN_JPEG_EOF);
    Reader.Ended = true;
    Reader.Buffer[0] = 0xFF;
    Reader.Buffer[1] = JPEG_EOI;
    Got = 2;
  }
  Reader.Base.next_input_byte = Reader.Buffer;
  Reader.Base.bytes_in_buffer = Got;
  return TRUE;
}

void SkipInput(j_decompress_ptr Info, long Count) {
  auto& Reader = *reinterpret_cast<TSourceReader*>(Info->src);
  if (Count <= 0) return;
  const auto Skip = static_cast<size_t>(Count);
  if (Skip <= Reader.Base.bytes_in_buffer) {
    Reader.Base.next_input_byte += Skip;
    Reader.Base.bytes_in_buffer -= Skip;
    return;
  }
  Reader.Next += static_cast<int64_t>(Skip - Reader.Base.bytes_in_buffer);
  Reader.Base.bytes_in_buffer = 0;
}

// Bytes already in memory are handed to libjpeg as they are.
void UseSource(TDecompressor& D, const TByteSource& Source, std::exception_ptr& Failure) {
  if (const std::span<const uint8_t> Bytes = Source.InMemory(); !Bytes.empty()) {
    jpeg_mem_src(&D.Info, Bytes.data(), static_cast<unsigned long>(Bytes.size()));
    return;
  }
  D.Reader.Base.init_source = InitSource;
  D.Reader.Base.fill_input_buffer = FillInput;
  D.Reader.Base.skip_input_data = SkipInput;
  D.Reader.Base.resync_to_restart = jpeg_resync_to_restart;
  D.Reader.Base.term_source = TermSource;
  D.Reader.Source = &Source;
  D.Reader.Failure = &Failure;
  D.Info.src = &D.Reader.Base;
}

// Bytes of the Size bytes of data that libjpeg has taken so far.
size_t BytesRead(const jpeg_decompress_struct& Info, size_t Size) {
  if (Info.src == nullptr) return Size;
  const auto* Errors = reinterpret_cast<const TErrorManager*>(Info.err);
  if (Info.src->fill_input_buffer != FillInput) {  // libjpeg's memory source
    if (Errors->DataEnded) return Size;
    return Size - std::min(Size, Info.src->bytes_in_buffer);
  }
  const auto* Reader = reinterpret_cast<const TSourceReader*>(Info.src);
  if (Reader->Ended) return Size;
  const int64_t Taken = Reader->Next - static_cast<int64_t>(Reader->Base.bytes_in_buffer);
  return std::min(Size, static_cast<size_t>(std::max<int64_t>(0, Taken)));
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

// Everything but the source's buffer starts zeroed: clearing 64 KiB for
// each header read would cost more than reading a thumbnail's header.
void InitDecompressor(TDecompressor& D) {
  std::memset(&D, 0, offsetof(TDecompressor, Reader) + offsetof(TSourceReader, Buffer));
  D.Info.err = jpeg_std_error(&D.Errors.Base);
  D.Errors.Base.error_exit = ExitByJump;
  D.Errors.Base.emit_message = CountWarning;
  D.Errors.Base.output_message = Silence;
}

// Reads the header from Source; false when libjpeg failed (the code is in
// D.Errors.Base.msg_code). On success the decompressor must be destroyed by
// the caller with jpeg_destroy_decompress.
bool GuardedReadHeader(TDecompressor& D, const TByteSource& Source, std::exception_ptr& Failure) {
  if (setjmp(D.Errors.Jump)) {
    jpeg_destroy_decompress(&D.Info);
    return false;
  }
  jpeg_create_decompress(&D.Info);
  D.Info.mem->max_memory_to_use = TJPEGImage::MaxDecodeMemory;
  UseSource(D, Source, Failure);
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

bool TJPEGImage::ReadHeader(const TByteSource& Source) {
  FWidth = FHeight = 0;
  FDataStart = 0;
  FSize = Source.Size();
  std::exception_ptr Failure;
  TDecompressor D;
  InitDecompressor(D);
  if (!GuardedReadHeader(D, Source, Failure)) {
    if (Failure) std::rethrow_exception(Failure);
    FErrorCode = D.Errors.Base.msg_code;
    return false;
  }
  FWidth = static_cast<int>(D.Info.image_width);
  FHeight = static_cast<int>(D.Info.image_height);
  FDataStart = BytesRead(D.Info, static_cast<size_t>(FSize));
  jpeg_destroy_decompress(&D.Info);
  return true;
}

bool TJPEGImage::TryLoadFromBytes(TByteBuffer Bytes) {
  FSource = nullptr;
  FBytes = std::move(Bytes);
  if (ReadHeader(TMemorySource(FBytes))) return true;
  FBytes.clear();
  return false;
}

void TJPEGImage::LoadFromBytes(TByteBuffer Bytes) {
  if (!TryLoadFromBytes(std::move(Bytes))) throw EJPEGError(FErrorCode);
}

void TJPEGImage::LoadFromSource(const TByteSource& Source) {
  FBytes.clear();
  FSource = &Source;
  if (!ReadHeader(Source)) {
    FSource = nullptr;
    throw EJPEGError(FErrorCode);
  }
}

void TJPEGImage::CheckDecodable() const {
  const uint64_t Pixels = static_cast<uint64_t>(FWidth) * static_cast<uint64_t>(FHeight);
  if (Pixels > MaxPixels) throw EJPEGTooLarge(FWidth, FHeight);
  const uint64_t Data = static_cast<uint64_t>(FSize) - std::min<uint64_t>(FDataStart, static_cast<uint64_t>(FSize));
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
  const TMemorySource OwnBytes(FBytes);
  const TByteSource& Source = FSource != nullptr ? *FSource : OwnBytes;
  std::exception_ptr Failure;
  TDecompressor D;
  InitDecompressor(D);
  D.Budget.Base.progress_monitor = CheckWork;
  D.Budget.Size = static_cast<size_t>(FSize);
  D.Budget.DataStart = FDataStart;
  bool Decoded = GuardedReadHeader(D, Source, Failure);
  if (Decoded) Decoded = GuardedDecode(D, Layout, Eighths, Scaled, Pixels.data(), Stride, CmykRow.data());
  if (Failure) std::rethrow_exception(Failure);
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
