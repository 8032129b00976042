// TBitmap: a picture in memory with the settings that say how it is drawn
// (transparency and the fill colour used when it is sized), and the decoding
// of a JPEG picture into one.
#pragma once

#include <QColor>
#include <QImage>
#include <optional>

#include "JpegImage.h"
#include "PictureSource.h"
#include "Rotation.h"

// How the transparent colour of a bitmap is chosen: tmAuto takes the colour
// of the bottom-left pixel, tmFixed the stored TransparentColor.
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap {
 public:
  // Pixels are 32 bits each (QImage::Format_RGB32 unless the picture has an
  // alpha channel).
  QImage Picture;
  bool Transparent = false;
  QColor TransparentColor = QColor(Qt::white);
  TTransparentMode TransparentMode = tmAuto;
  // The colour that fills the bitmap where nothing is drawn.
  QColor BrushColor = QColor(Qt::white);

  int Width() const { return Picture.width(); }
  int Height() const { return Picture.height(); }

  // Copies the transparency settings (not the pixels) of Source.
  void CopyTransparency(const TBitmap& Source);
  // Allocates Width x Height pixels of Format; their contents are undefined
  // until drawn. Throws std::bad_alloc when the memory cannot be had.
  void SetSize(int Width, int Height, QImage::Format Format);
  // Takes Source's size, pixels and settings; Source is left empty.
  void Assign(TBitmap&& Source);

  // The pixels as a 32-bit view; the picture must be in a 32-bit format.
  TPixels Pixels();
  TConstPixels Pixels() const;
  // BrushColor as a pixel of the picture's format.
  uint32_t BrushPixel() const;
};

// A new Width x Height image of a 32-bit Format whose pixels are not yet
// set; a null image when its memory cannot be had.
QImage NewImage(int Width, int Height, QImage::Format Format);

// A 32-bit format holding Image's pixels unchanged: Image's own when it is
// one, else RGB32 or ARGB32.
QImage::Format ThirtyTwoBitFormat(const QImage& Image);

// Decodes Jpeg at Eighths/8 of its size (8: full size) straight into the
// memory of a new RGB32 image. Throws EJPEGTooLarge or EJPEGError before
// allocating when the picture is above the decoder's limits, std::bad_alloc
// when its memory cannot be had, and EJPEGError when libjpeg fails.
QImage JpegToImage(const TJPEGImage& Jpeg, int Eighths = 8);

// Decodes Source at the size it takes for a screen of Screen pixels straight
// into the memory of a new RGB32 image, transparent parts laid over
// Background. Throws EPictureError, or std::bad_alloc when the memory cannot
// be had.
QImage PictureToImage(TPictureSource& Source, TPictureSize Screen, QColor Background);

// The picture source of Doc's file; none when there is no file under its
// name (none was opened, or it was removed since). Throws when the file
// cannot be opened or its picture cannot be read.
std::optional<TPictureSource> PictureOfFile(const TEXIF& Doc);
