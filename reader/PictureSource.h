// The picture the Image tab shows for a loaded document: the file's picture,
// found where its container says, decoded by the decoder of its format, and
// the turn it is shown with. The window's Image tab, the open dialog's
// preview and lumentag-dump --image all go through it, so that the bounds,
// the size a picture is decoded at and the errors are the same everywhere.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ByteSource.h"
#include "EXIF_Intf.h"
#include "PictureDecoder.h"
#include "PictureSize.h"

// A camera's raw file that holds no JPEG preview the viewer can show.
class ENoPreviewPicture : public EPictureError {
 public:
  ENoPreviewPicture() : EPictureError(std::string("No preview picture in this file")) {}
};

class TPictureSource {
 public:
  // The picture of Doc's file, read again from the file under its name.
  // Throws EFileOpenError when there is no such file (NoFile()) or it cannot
  // be opened, and EPictureError when the picture's header cannot be read or
  // the picture is larger than its decoder takes (ENoPreviewPicture for a
  // raw file without a preview).
  explicit TPictureSource(const TEXIF& Doc);
  // The same for the file's bytes, already in memory (they must outlive the
  // source).
  TPictureSource(const TEXIF& Doc, std::span<const uint8_t> FileBytes);
  ~TPictureSource();
  TPictureSource(TPictureSource&&) noexcept;
  TPictureSource& operator=(TPictureSource&&) noexcept;

  TPictureSize StoredSize() const;
  // The Orientation code the picture is turned by: the container's own turn
  // where it has one (HEIF), else IFD 0's Orientation tag; never both.
  int64_t Orientation() const { return FOrientation; }
  // The size the Image tab gives: the stored size turned.
  TPictureSize ShownSize() const { return OrientedSize(StoredSize(), FOrientation); }

  // The size DecodeTo makes for a screen of Screen pixels: the smallest the
  // picture's decoder offers at which the turned picture, shrunk to fit any
  // control on that screen, draws what a full-size decode would.
  TPictureSize DecodedSize(TPictureSize Screen) const;
  // Decodes the picture at DecodedSize(Screen) into 32-bit pixels (see
  // TPictureDecoder::DecodeTo), not yet turned. Throws EPictureError.
  void DecodeTo(std::span<uint8_t> Pixels, size_t Stride, TPictureSize Screen, uint32_t Background);

 private:
  void Open(const TEXIF& Doc);

  std::unique_ptr<TByteSource> FFile;
  std::unique_ptr<TByteSource> FPicture;  // the picture's bytes within the file
  std::unique_ptr<TPictureDecoder> FDecoder;
  int64_t FOrientation = 0;
};
