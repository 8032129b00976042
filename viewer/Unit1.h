// Unit1: the main window TForm1 (open command, nine tabs, the tag lists, the
// comment, the picture and the thumbnail) and RotateBitmapInPlace, which
// turns a bitmap about its centre.
#pragma once

#include <QColor>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "Bitmap.h"
#include "Controls.h"
#include "EXIF_Intf.h"

// Turns Bitmap by Angle radians (positive is clockwise on the screen) about
// its centre. With Enlarge the result is large enough for the whole turned
// picture, otherwise it keeps the source's size and the turned picture is
// clipped. Background fills what the turned picture does not cover. The
// result keeps the source's transparency settings.
void RotateBitmapInPlace(TBitmap& Bitmap, float Angle, bool Enlarge, QColor Background);

// The Image tab's picture: the file decoded as a JPEG picture at the
// smallest DCT scale at which, turned by its Orientation code, it is still
// at least as large as its full turned size is drawn on a screen of Screen
// device pixels, then turned (the parts a turn leaves uncovered in
// Background). Size is that full turned size, which the label gives and by
// which the picture is drawn.
struct TShownPicture {
  QImage Picture;
  QSize Size;
};
TShownPicture ScreenPicture(const std::string& FileName, int64_t Orientation, QSize Screen, QColor Background);

// The tabs of the tab strip, in order.
inline constexpr const char* TabCaptions[] = {
    " IFD 0 ", " EXIF Sub IFD", " EXIF Interoperability IFD ", " Maker Note ", " IFD 1",
    " GPS ",   " Image ",       " Thumbnail ",                 " Comment ",
};

class TForm1 : public QWidget {
 public:
  explicit TForm1(QWidget* Parent = nullptr);
  ~TForm1() override;

  // The controls, owned by the window through Qt's parent links.
  QPushButton* Button1;
  QFileDialog* opd;
  TListView* List;
  QLineEdit* Edit1;
  TTabControl* tc;
  TImage* Image;
  QWidget* ImagePanel;
  QLabel* Label1;
  QPlainTextEdit* Memo;
  // The document, made by FormCreate and reused for every file.
  std::unique_ptr<TEXIF> EXIF;

  void FormCreate();
  void cmOpen();
  void ListDblClick();
  void tcChange();

  void DisplayIFD0();
  void DisplayIFD1();
  void DisplayEXIFSubIFD();
  void DisplayEXIFInteropIFD();
  void DisplayEXIFGPSIFD();
  void DisplayMakerNote();
  void DisplayThumbnail();
  void DisplayComment();
  void DisplayImage();
  void FormScreenChange();

 private:
  void CreateControls();
  void CreateViews();
  void CentreOnScreen();
  void ConnectHandlers();
  void SetupOpenDialog();
  void AddPreview();
  void SetupList();
  void WatchScreen();
  QSize ScreenPixels() const;
  void ShowPicture(QImage Picture, QSize Size);
  template <class TValueText>
  void DisplayTags(int32_t Count, TEXIFTag (TEXIF::*Record)(uint16_t) const, TValueText ValueText);
};
