// The real window on the offscreen platform: files are opened through the
// real open dialog (answered by a timer), tabs are switched as a user would,
// and the rows, captions, pictures, labels and error boxes are read back.
#include <QComboBox>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <fstream>
#include <memory>
#include <sstream>

#include "Application.h"
#include "Corpus.h"
#include "DumpFormat.h"
#include "ExifWriter.h"
#include "JpegMaker.h"
#include "MetadataWriter.h"
#include "TempDir.h"
#include "ModalDriver.h"
#include "Unit1.h"

// QSKIP leaves the function it stands in, so it cannot live in a helper.
#define SKIP_WITHOUT_CORPUS_QT()                                                                 \
  do {                                                                                           \
    if (CorpusDir().empty())                                                                     \
      QSKIP("corpus of real photos not found beside the repository (../shared/corpus); skipping"); \
  } while (0)

namespace {

enum TTab {
  tabIFD0, tabEXIF, tabInterop, tabMakerNote, tabIFD1, tabGPS, tabImage, tabThumbnail, tabComment, tabXMP, tabIPTC
};

constexpr uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF;

// 640 x 480 in four coloured quarters: red, green above; blue, white below.
uint32_t Quarters(int X, int Y) {
  if (Y < 240) return X < 320 ? Red : Green;
  return X < 320 ? Blue : White;
}

// A photo with rows in five directories, a comment, and a 16 x 8 thumbnail;
// Orientation -1 leaves the Orientation tag out.
TBytes Photo(int Orientation, std::string_view Comment = "") {
  const TBytes Small = MakeJpeg(16, 8);
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->Short(0x0103, {6}).BlobAt(0x0201, ftLong, 1, Small).Long(0x0202, {uint32_t(Small.size())});
  auto Interop = std::make_shared<TIfd>();
  Interop->Ascii(0x0001, "R98");
  auto Exif = std::make_shared<TIfd>();
  Exif->Rational(0x829A, {{1, 125}}).SubIfd(0xA005, Interop);
  auto Gps = std::make_shared<TIfd>();
  Gps->Ascii(0x0001, "N").Rational(0x0002, {{48, 1}, {30, 1}, {0, 1}});
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Test Camera");
  if (Orientation >= 0) Ifd0.Short(0x0112, {uint16_t(Orientation)});
  Ifd0.SubIfd(0x8769, Exif).SubIfd(0x8825, Gps);
  Ifd0.Next = Ifd1;
  std::vector<TBytes> Segments{ExifSegment(TiffBlock(Ifd0))};
  if (!Comment.empty()) Segments.push_back(CommentSegment(Comment));
  return InsertAfterSoi(MakeJpeg(640, 480, Quarters), Segments);
}

QStringList RowTexts(const QTreeWidget* List) {
  QStringList Rows;
  for (int Index = 0; Index < List->topLevelItemCount(); ++Index) {
    const QTreeWidgetItem* Item = List->topLevelItem(Index);
    Rows << Item->text(0) + QLatin1Char('|') + Item->text(1) + QLatin1Char('|') + Item->text(2);
  }
  return Rows;
}

// Which of the three views shows.
QString VisibleView(const TForm1& Form) {
  QStringList Shown;
  if (Form.List->isVisible()) Shown << QStringLiteral("list");
  if (Form.ImagePanel->isVisible()) Shown << QStringLiteral("image");
  if (Form.Memo->isVisible()) Shown << QStringLiteral("memo");
  return Shown.isEmpty() ? QStringLiteral("none") : Shown.join(QLatin1Char('+'));
}

// Colours within the reach of JPEG's losses.
bool Near(QRgb Pixel, uint32_t Colour) {
  return std::abs(qRed(Pixel) - int(Colour >> 16 & 0xFF)) < 40 &&
         std::abs(qGreen(Pixel) - int(Colour >> 8 & 0xFF)) < 40 &&
         std::abs(qBlue(Pixel) - int(Colour & 0xFF)) < 40;
}

// Mean difference of two pictures per colour channel, leaving out the middle,
// where each orientation photo carries its own number.
double MeanDifferenceOutsideCentre(const QImage& A, const QImage& B) {
  double Sum = 0;
  int64_t Count = 0;
  const QRect Centre(A.width() / 3, A.height() / 4, A.width() / 3, A.height() / 2);
  for (int Y = 0; Y < A.height(); Y += 2)
    for (int X = 0; X < A.width(); X += 2) {
      if (Centre.contains(X, Y)) continue;
      const QRgb P = A.pixel(X, Y), Q = B.pixel(X, Y);
      Sum += std::abs(qRed(P) - qRed(Q)) + std::abs(qGreen(P) - qGreen(Q)) + std::abs(qBlue(P) - qBlue(Q));
      Count += 3;
    }
  return Sum / double(Count);
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void startsEmpty();
  void startsCentred();
  void errorInAnyEventIsReported();
  void anchorsFollowResize();
  void tabsBeforeOpen_data();
  void tabsBeforeOpen();
  void openShowsRows_data();
  void openShowsRows();
  void openDialogOffersPictures();
  void openDialogPreview();
  void openKeepsMakerNoteTab();
  void cancelChangesNothing();
  void secondOpenReplacesName();
  void switchingListsLeavesNoRows();
  void rowTabsShowOnlyWithRows();
  void commentLines();
  void doubleClickShowsValue_data();
  void doubleClickShowsValue();
  void doubleClickOnEmptyAreaDoesNothing();
  void unreadableFileKeepsWindow();
  void picturesTurnedByOrientation_data();
  void picturesTurnedByOrientation();
  void notJpegGivesOneErrorBox();
  void hugePictureGivesErrorBox();
  void heifTurnedOnce();
  void rawFileShowsItsPreview();
  void removedFileShowsNothing();
  void thumbnailAtOwnSize();
  void noThumbnailThenImage();
  void largePictureShrinksToFit();
  void largePictureDecodedForScreen_data();
  void largePictureDecodedForScreen();
  void largeThumbnailDecodedForScreen();
  void fitPicture_data();
  void fitPicture();
  void errorMessageText_data();
  void errorMessageText();
  void corpusThumbnails_data();
  void corpusThumbnails();
  void corpusOrientations();
  void corpusRowsMatchDump();
  void corpusImageMatchesDump();

 private:
  QString Write(const QString& Name, const TBytes& Bytes);
  enum TOutcome { Quietly, WithErrorBox };
  void Open(const QString& File, TOutcome Outcome = Quietly);
  void SelectTab(int Index);

  QTemporaryDir FDir;
  std::unique_ptr<TForm1> FForm;
  std::unique_ptr<TModalDriver> FDriver;
};

QString WindowTest::Write(const QString& Name, const TBytes& Bytes) {
  const QString File = FDir.filePath(Name);
  WriteFile(File.toStdString(), Bytes);
  return File;
}

// Presses "Open image..." and picks File in the dialog; an error box is
// expected after it WithErrorBox.
void WindowTest::Open(const QString& File, TOutcome Outcome) {
  FDriver->AcceptFile(File);
  if (Outcome == WithErrorBox) FDriver->CloseMessageBox();
  QTest::mouseClick(FForm->Button1, Qt::LeftButton);
  QVERIFY(FDriver->Idle());
}

// Clicks the tab's caption.
void WindowTest::SelectTab(int Index) {
  QTabBar* Tabs = FForm->tc->Tabs();
  Tabs->ensurePolished();
  if (!Tabs->tabRect(Index).intersects(Tabs->rect())) {
    Tabs->setCurrentIndex(Index);  // scrolled out of sight on a narrow strip
    return;
  }
  QTest::mouseClick(Tabs, Qt::LeftButton, {}, Tabs->tabRect(Index).center());
  QCOMPARE(FForm->tc->TabIndex(), Index);
}

void WindowTest::init() {
  FForm = std::make_unique<TForm1>();
  FForm->show();
  QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
  FDriver = std::make_unique<TModalDriver>();
}

void WindowTest::cleanup() {
  const QStringList Unexpected = FDriver->Unexpected;
  FDriver.reset();
  FForm.reset();
  QVERIFY2(Unexpected.isEmpty(), qPrintable(Unexpected.join(QLatin1String(", "))));
}

void WindowTest::startsEmpty() {
  TForm1& Form = *FForm;
  QCOMPARE(Form.windowTitle(), QStringLiteral("Lumentag"));
  QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Lumentag Demo"));
  QCOMPARE(Form.size(), QSize(753, 634));
  QCOMPARE(Form.Button1->text(), QStringLiteral("Open image..."));
  QCOMPARE(Form.Button1->geometry(), QRect(16, 7, 100, 25));
  QCOMPARE(Form.Button1->cursor().shape(), Qt::PointingHandCursor);
  QCOMPARE(Form.Edit1->geometry(), QRect(125, 9, 613, 21));
  QVERIFY(Form.Edit1->isReadOnly());
  QCOMPARE(Form.Edit1->text(), QString());
  QCOMPARE(Form.tc->geometry(), QRect(13, 42, 727, 582));
  QCOMPARE(Form.tc->cursor().shape(), Qt::PointingHandCursor);
  QCOMPARE(Form.List->viewport()->cursor().shape(), Qt::ArrowCursor);
  QCOMPARE(Form.Image->cursor().shape(), Qt::ArrowCursor);

  const QStringList Captions{" IFD 0 ", " EXIF Sub IFD", " EXIF Interoperability IFD ", " Maker Note ",
                             " IFD 1", " GPS ", " Image ", " Thumbnail ", " Comment "};
  QStringList Shown;
  for (int Index = 0; Index < Form.tc->Tabs()->count(); ++Index)
    if (Form.tc->Tabs()->isTabVisible(Index)) Shown << Form.tc->Tabs()->tabText(Index);
  QCOMPARE(Shown, Captions);
  QCOMPARE(Form.tc->TabIndex(), 0);
  QVERIFY(Form.tc->Tabs()->font().bold());
  QCOMPARE(Form.font().pixelSize(), 11);
  // The comment's font is fixed-pitch: a narrow and a wide letter take the same room.
  const QFontMetrics MemoFont(Form.Memo->font());
  QCOMPARE(MemoFont.horizontalAdvance(QLatin1Char('i')), MemoFont.horizontalAdvance(QLatin1Char('W')));

  const QTreeWidgetItem* Header = Form.List->headerItem();
  QCOMPARE(Header->text(0), QStringLiteral("Tag"));
  QCOMPARE(Header->text(1), QStringLiteral("Property"));
  QCOMPARE(Header->text(2), QStringLiteral("Value"));
  QCOMPARE(Form.List->columnWidth(0), 50);
  QCOMPARE(Form.List->columnWidth(1), 150);
  QCOMPARE(Form.List->columnWidth(2), 300);
  QVERIFY(!Form.List->header()->sectionsClickable());
  QCOMPARE(Form.List->selectionBehavior(), QAbstractItemView::SelectRows);
  QCOMPARE(Form.List->topLevelItemCount(), 0);

  // The panel lies over the empty list; the comment box is hidden.
  QCOMPARE(VisibleView(Form), QStringLiteral("list+image"));
  QCOMPARE(Form.Label1->text(), QStringLiteral(" "));
  QVERIFY(Form.Image->Picture().isNull());
  QVERIFY(Form.EXIF != nullptr);
  QCOMPARE(Form.EXIF->FileName(), std::string());

  // Tab order: the button, the file name, the tab strip.
  QCOMPARE(Form.Button1->nextInFocusChain(), static_cast<QWidget*>(Form.Edit1));
}

void WindowTest::startsCentred() {
  const TForm1 Form;
  const QRect Room = Form.screen()->availableGeometry();
  QCOMPARE(Form.x(), std::max(Room.left(), Room.left() + (Room.width() - 753) / 2));
  QCOMPARE(Form.y(), std::max(Room.top(), Room.top() + (Room.height() - 634) / 2));
}

namespace {

// A control whose click handler fails.
class TFailingButton : public QPushButton {
 protected:
  void mousePressEvent(QMouseEvent*) override { throw std::runtime_error("Failed in a handler"); }
};

}  // namespace

// An error that escapes any event handler reaches the application's error
// box, and the program goes on.
void WindowTest::errorInAnyEventIsReported() {
  TFailingButton Button;
  Button.show();
  QVERIFY(QTest::qWaitForWindowExposed(&Button));
  FDriver->CloseMessageBox();
  QTest::mouseClick(&Button, Qt::LeftButton);
  QVERIFY(FDriver->Idle());
  QCOMPARE(FDriver->Boxes.size(), 1);
  QCOMPARE(FDriver->Boxes[0].Title, QStringLiteral("Lumentag Demo"));
  QCOMPARE(FDriver->Boxes[0].Text, QStringLiteral("Failed in a handler."));
  // The window still works.
  Open(Write(QStringLiteral("photo.jpg"), Photo(6)));
  QCOMPARE(FForm->List->topLevelItemCount(), 3);
}

void WindowTest::anchorsFollowResize() {
  TForm1& Form = *FForm;
  const QRect List = Form.List->geometry();
  const QRect Panel = Form.ImagePanel->geometry();
  Form.resize(953, 734);
  QTRY_COMPARE(Form.tc->geometry(), QRect(13, 42, 927, 682));
  QCOMPARE(Form.Button1->geometry(), QRect(16, 7, 100, 25));
  QCOMPARE(Form.Edit1->geometry(), QRect(125, 9, 813, 21));
  QCOMPARE(Form.List->geometry(), List.adjusted(0, 0, 200, 100));
  QCOMPARE(Form.ImagePanel->geometry(), Panel.adjusted(0, 0, 200, 100));
  QCOMPARE(Form.Label1->geometry().bottom(), Form.ImagePanel->height() - 1);
  QCOMPARE(Form.Label1->height(), 13);
}

void WindowTest::tabsBeforeOpen_data() {
  QTest::addColumn<int>("Tab");
  QTest::addColumn<QString>("View");
  const char* Views[] = {"list", "list", "list", "list", "list", "list", "none", "none", "memo"};
  for (int Tab = 0; Tab < 9; ++Tab) QTest::addRow("tab %d", Tab) << Tab << QString::fromLatin1(Views[Tab]);
}

void WindowTest::tabsBeforeOpen() {
  QFETCH(int, Tab);
  QFETCH(QString, View);
  if (Tab == 0) SelectTab(tabGPS);
  SelectTab(Tab);
  QCOMPARE(VisibleView(*FForm), View);
  QCOMPARE(FForm->List->topLevelItemCount(), 0);
  QCOMPARE(FForm->List->headerItem()->text(2), QStringLiteral("Value"));
  QCOMPARE(FForm->Memo->toPlainText(), QString());
}

void WindowTest::openShowsRows_data() {
  QTest::addColumn<int>("Tab");
  QTest::addColumn<QStringList>("Rows");
  QTest::newRow("IFD 0") << int(tabIFD0)
                         << QStringList{"0x10F|Equipment Make|Canon", "0x110|Camera Model|Test Camera",
                                        "0x112|Orientation|Right-hand Top (6)"};
  QTest::newRow("EXIF Sub IFD") << int(tabEXIF) << QStringList{"0x829A|Exposure Time|0.008f (1/125) s"};
  QTest::newRow("Interoperability") << int(tabInterop) << QStringList{"0x1|Interoperability Index|R98"};
  QTest::newRow("Maker Note") << int(tabMakerNote) << QStringList{};
  QTest::newRow("IFD 1") << int(tabIFD1)
                         << QStringList{"0x103|Compression|JPEG Compression (thumbnails only)",
                                        "0x201|Jpeg IF Offset|244",
                                        "0x202|Jpeg IF Byte Count|" + QString::number(MakeJpeg(16, 8).size())};
  QTest::newRow("GPS") << int(tabGPS)
                       << QStringList{"0x1|Latitude Ref|North", "0x2|Latitude|48\u00B0 30\u2019"};
}

void WindowTest::openShowsRows() {
  QFETCH(int, Tab);
  QFETCH(QStringList, Rows);
  const QString File = Write(QStringLiteral("photo.jpg"), Photo(6));
  SelectTab(Tab);
  Open(File);
  QCOMPARE(FForm->Edit1->text(), File);
  QCOMPARE(FForm->tc->TabIndex(), Tab);
  QCOMPARE(VisibleView(*FForm), QStringLiteral("list"));
  QCOMPARE(RowTexts(FForm->List).join(QLatin1Char('\n')), Rows.join(QLatin1Char('\n')));
}

void WindowTest::openDialogOffersPictures() {
  FDriver->CancelFile();
  QTest::mouseClick(FForm->Button1, Qt::LeftButton);
  const QStringList Expected{
      "All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf) "
      "(*.png *.gif *.jpg *.jpeg *.bmp *.ico *.emf *.wmf *.tif *.tiff *.heic *.heif *.hif *.avif *.webp "
      "*.cr2 *.cr3 *.nef *.nrw *.arw *.sr2 *.srf *.dng *.orf *.rw2 *.rwl *.pef *.srw *.erf *.3fr *.iiq *.mos *.raf)",
      "Portable Network Graphics (*.png) (*.png)",
      "CompuServe GIF Image (*.gif) (*.gif)",
      "JPEG Image File (*.jpg) (*.jpg *.jpeg)",
      "Bitmaps (*.bmp) (*.bmp)",
      "Icons (*.ico) (*.ico)",
      "Enhanced Metafiles (*.emf) (*.emf)",
      "Metafiles (*.wmf) (*.wmf)",
      "TIFFs (*.tif; *.tiff) (*.tiff *.tif)",
      "HEIF Images (*.heic; *.heif; *.hif; *.avif) (*.heic *.heif *.hif *.avif)",
      "WebP Images (*.webp) (*.webp)",
      "Camera Raw (*.cr2; *.cr3; *.nef; *.arw; *.dng; *.orf; *.rw2; *.pef; *.raf; …) "
      "(*.cr2 *.cr3 *.nef *.nrw *.arw *.sr2 *.srf *.dng *.orf *.rw2 *.rwl *.pef *.srw *.erf *.3fr *.iiq *.mos *.raf)",
  };
  QCOMPARE(FDriver->FileDialogFilters, Expected);
  // With the details hidden, Qt names a filter by its description.
  QCOMPARE(FDriver->FileDialogSelectedFilter,
           QStringLiteral("All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)"));
  QVERIFY(!FDriver->FileDialogNative);
  QCOMPARE(FForm->opd->fileMode(), QFileDialog::ExistingFile);
  QVERIFY(FForm->opd->testOption(QFileDialog::HideNameFilterDetails));
  // What the dialog's filter box shows.
  auto* Box = FForm->opd->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  QVERIFY(Box != nullptr);
  QCOMPARE(Box->itemText(0), QStringLiteral("All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)"));
  QCOMPARE(Box->itemText(8), QStringLiteral("TIFFs (*.tif; *.tiff)"));
  QCOMPARE(Box->itemText(10), QStringLiteral("WebP Images (*.webp)"));
}

// The dialog shows the highlighted picture, at most 160 pixels a side, or
// the embedded thumbnail of a JPEG file that has one.
void WindowTest::openDialogPreview() {
  auto* Preview = FForm->opd->findChild<TPicturePreview*>(QStringLiteral("preview"));
  QVERIFY(Preview != nullptr);
  QVERIFY(Preview->parentWidget() == FForm->opd);
  const QString Wide = Write(QStringLiteral("wide.jpg"), MakeJpeg(640, 320));
  emit FForm->opd->currentChanged(Wide);
  QCOMPARE(Preview->pixmap().size(), QSize(160, 80));
  emit FForm->opd->currentChanged(Write(QStringLiteral("photo.jpg"), Photo(1)));
  QCOMPARE(Preview->pixmap().size(), QSize(16, 8));
  const QString Small = Write(QStringLiteral("small.jpg"), MakeJpeg(40, 30));
  emit FForm->opd->currentChanged(Small);
  QCOMPARE(Preview->pixmap().size(), QSize(40, 30));
  const QString Text = Write(QStringLiteral("text.jpg"), BytesOf("no picture"));
  emit FForm->opd->currentChanged(Text);
  QVERIFY(Preview->pixmap().isNull());
  emit FForm->opd->currentChanged(FDir.path());
  QVERIFY(Preview->pixmap().isNull());
}

void WindowTest::openKeepsMakerNoteTab() {
  SelectTab(tabMakerNote);
  Open(Write(QStringLiteral("photo.jpg"), Photo(6)));
  QCOMPARE(FForm->tc->TabIndex(), int(tabMakerNote));
  QCOMPARE(VisibleView(*FForm), QStringLiteral("list"));
  QCOMPARE(FForm->List->topLevelItemCount(), FForm->EXIF->MakerNoteCount());
}

void WindowTest::cancelChangesNothing() {
  const QString File = Write(QStringLiteral("photo.jpg"), Photo(1));
  Open(File);
  const QStringList Rows = RowTexts(FForm->List);
  FDriver->CancelFile();
  QTest::mouseClick(FForm->Button1, Qt::LeftButton);
  QVERIFY(FDriver->Idle());
  QCOMPARE(FForm->Edit1->text(), File);
  QCOMPARE(RowTexts(FForm->List), Rows);
  QCOMPARE(FForm->EXIF->FileName(), File.toStdString());
}

void WindowTest::secondOpenReplacesName() {
  const QString First = Write(QStringLiteral("first.jpg"), Photo(1));
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "NIKON");
  const QString Second = Write(QStringLiteral("second.jpg"), JpegWith({ExifSegment(TiffBlock(Ifd0))}));
  Open(First);
  Open(Second);
  QCOMPARE(FForm->Edit1->text(), Second);
  QCOMPARE(RowTexts(FForm->List), QStringList{"0x10F|Equipment Make|NIKON"});
}

void WindowTest::switchingListsLeavesNoRows() {
  Open(Write(QStringLiteral("photo.jpg"), Photo(6)));
  SelectTab(tabGPS);
  QCOMPARE(FForm->List->topLevelItemCount(), 2);
  SelectTab(tabIFD0);
  QCOMPARE(FForm->List->topLevelItemCount(), 3);
  QCOMPARE(FForm->List->topLevelItem(0)->text(0), QStringLiteral("0x10F"));
  SelectTab(tabGPS);
  QCOMPARE(FForm->List->topLevelItem(1)->text(1), QStringLiteral("Latitude"));
}

// The XMP and IPTC tabs follow the comment's while the file has rows for
// them; a hidden tab that was selected gives way to the tab before it.
void WindowTest::rowTabsShowOnlyWithRows() {
  const QTabBar* Tabs = FForm->tc->Tabs();
  QCOMPARE(Tabs->tabText(tabXMP), QStringLiteral(" XMP "));
  QCOMPARE(Tabs->tabText(tabIPTC), QStringLiteral(" IPTC "));
  const auto Shown = [&] { return QList<bool>{Tabs->isTabVisible(tabXMP), Tabs->isTabVisible(tabIPTC)}; };
  QCOMPARE(Shown(), (QList<bool>{false, false}));
  const TBytes Xmp = XmpSegment(XmpPacket("<rdf:Description xmp:Rating='3'><dc:subject><rdf:Bag><rdf:li>sea</rdf:li>"
                                          "</rdf:Bag></dc:subject></rdf:Description>"));
  const TBytes Iptc = PhotoshopSegment(PhotoshopResource(0x0404, IptcDataset(2, 25, "sea")));
  Open(Write(QStringLiteral("both.jpg"), InsertAfterSoi(Photo(1), {Xmp, Iptc})));
  QCOMPARE(Shown(), (QList<bool>{true, true}));
  SelectTab(tabXMP);
  QCOMPARE(RowTexts(FForm->List), (QStringList{"xmp:Rating|Rating|3", "dc:subject[1]|Subject|sea"}));
  SelectTab(tabIPTC);
  QCOMPARE(RowTexts(FForm->List), QStringList{"2:25|Keywords|sea"});

  Open(Write(QStringLiteral("iptc.jpg"), InsertAfterSoi(Photo(1), {Iptc})));
  QCOMPARE(Shown(), (QList<bool>{false, true}));
  QCOMPARE(FForm->tc->TabIndex(), int(tabIPTC));
  QCOMPARE(RowTexts(FForm->List), QStringList{"2:25|Keywords|sea"});

  Open(Write(QStringLiteral("plain.jpg"), Photo(1, "note")));
  QCOMPARE(Shown(), (QList<bool>{false, false}));
  QCOMPARE(FForm->tc->TabIndex(), int(tabComment));
  QCOMPARE(VisibleView(*FForm), QStringLiteral("memo"));
  QCOMPARE(FForm->Memo->toPlainText(), QStringLiteral("note"));
}

void WindowTest::commentLines() {
  Open(Write(QStringLiteral("photo.jpg"), Photo(1, "first line\r\nsecond\rthird\nfourth")));
  SelectTab(tabComment);
  QCOMPARE(VisibleView(*FForm), QStringLiteral("memo"));
  QCOMPARE(FForm->Memo->document()->blockCount(), 4);
  QCOMPARE(FForm->Memo->toPlainText(), QStringLiteral("first line\nsecond\nthird\nfourth"));
  QVERIFY(FForm->Memo->isReadOnly());
  // A file without a comment empties the box, which stays visible.
  Open(Write(QStringLiteral("plain.jpg"), Photo(1)));
  QCOMPARE(VisibleView(*FForm), QStringLiteral("memo"));
  QCOMPARE(FForm->Memo->toPlainText(), QString());
}

void WindowTest::doubleClickShowsValue_data() {
  QTest::addColumn<bool>("Accept");
  QTest::newRow("OK after typing") << true;
  QTest::newRow("Cancel") << false;
}

void WindowTest::doubleClickShowsValue() {
  QFETCH(bool, Accept);
  Open(Write(QStringLiteral("photo.jpg"), Photo(6)));
  const QList<QTreeWidgetItem*> Found = FForm->List->findItems(QStringLiteral("0x112"), Qt::MatchExactly, 0);
  QCOMPARE(Found.size(), 1);
  const QRect Row = FForm->List->visualItemRect(Found.first());
  QTest::mouseClick(FForm->List->viewport(), Qt::LeftButton, {}, Row.center());
  FDriver->AnswerInput(QStringLiteral("changed"), Accept);
  QTest::mouseDClick(FForm->List->viewport(), Qt::LeftButton, {}, Row.center());
  QVERIFY(FDriver->Idle());
  QCOMPARE(FDriver->Inputs.size(), 1);
  const TSeenInput& Input = FDriver->Inputs.first();
  QCOMPARE(Input.Title, QStringLiteral("Orientation"));
  QCOMPARE(Input.Label, QStringLiteral("0x112"));
  QCOMPARE(Input.Text, QStringLiteral("Right-hand Top (6)"));
  QCOMPARE(Input.SelectedText, QStringLiteral("Right-hand Top (6)"));
  QCOMPARE(Found.first()->text(2), QStringLiteral("Right-hand Top (6)"));
  QCOMPARE(FForm->List->topLevelItemCount(), 3);
}

void WindowTest::doubleClickOnEmptyAreaDoesNothing() {
  Open(Write(QStringLiteral("photo.jpg"), Photo(6)));
  FForm->List->clearSelection();
  const QPoint Below(20, FForm->List->viewport()->height() - 5);
  QTest::mouseDClick(FForm->List->viewport(), Qt::LeftButton, {}, Below);
  QTest::qWait(50);
  QCOMPARE(FDriver->Seen, QStringList{"QFileDialog"});
}

// /proc/self/mem exists but cannot be read from its start.
void WindowTest::unreadableFileKeepsWindow() {
  const QString Good = Write(QStringLiteral("photo.jpg"), Photo(6));
  Open(Good);
  const QStringList Rows = RowTexts(FForm->List);
  Open(QStringLiteral("/proc/self/mem"), WithErrorBox);
  QCOMPARE(FDriver->Boxes.size(), 1);
  const TSeenBox& Box = FDriver->Boxes.first();
  QCOMPARE(Box.Title, QStringLiteral("Lumentag Demo"));
  QCOMPARE(Box.Text, QStringLiteral("Cannot read file \"/proc/self/mem\". Input/output error."));
  QCOMPARE(Box.Icon, QMessageBox::Critical);
  QCOMPARE(Box.Buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
  QCOMPARE(FForm->Edit1->text(), Good);
  QCOMPARE(RowTexts(FForm->List), Rows);
  QCOMPARE(FForm->EXIF->FileName(), Good.toStdString());
  // Still usable.
  SelectTab(tabGPS);
  QCOMPARE(FForm->List->topLevelItemCount(), 2);
  const QString Other = Write(QStringLiteral("other.jpg"), Photo(1));
  Open(Other);
  QCOMPARE(FForm->Edit1->text(), Other);
}

void WindowTest::picturesTurnedByOrientation_data() {
  QTest::addColumn<int>("Orientation");  // -1: no Orientation tag
  QTest::addColumn<QString>("Label");
  QTest::addColumn<QList<uint32_t>>("Corners");  // top-left, top-right, bottom-left, bottom-right
  const QList<uint32_t> Stored{Red, Green, Blue, White};
  const QList<uint32_t> HalfTurn{White, Blue, Green, Red};
  const QList<uint32_t> Clockwise{Blue, Red, White, Green};
  const QList<uint32_t> CounterClockwise{Green, White, Red, Blue};
  QTest::newRow("no tag") << -1 << "640 x 480" << Stored;
  QTest::newRow("1") << 1 << "640 x 480" << Stored;
  QTest::newRow("2 is not mirrored") << 2 << "640 x 480" << Stored;
  QTest::newRow("3") << 3 << "640 x 480" << HalfTurn;
  QTest::newRow("4 turned like 3") << 4 << "640 x 480" << HalfTurn;
  QTest::newRow("5 turned like 6") << 5 << "480 x 640" << Clockwise;
  QTest::newRow("6") << 6 << "480 x 640" << Clockwise;
  QTest::newRow("7 turned like 8") << 7 << "480 x 640" << CounterClockwise;
  QTest::newRow("8") << 8 << "480 x 640" << CounterClockwise;
  QTest::newRow("9 is unknown") << 9 << "640 x 480" << Stored;
}

void WindowTest::picturesTurnedByOrientation() {
  QFETCH(int, Orientation);
  QFETCH(QString, Label);
  QFETCH(QList<uint32_t>, Corners);
  Open(Write(QStringLiteral("photo.jpg"), Photo(Orientation)));
  SelectTab(tabImage);
  QCOMPARE(VisibleView(*FForm), QStringLiteral("image"));
  QCOMPARE(FForm->Label1->text(), Label);
  const QImage& Shown = FForm->Image->Picture();
  const int R = Shown.width() - 8, B = Shown.height() - 8;
  const QList<QRgb> Seen{Shown.pixel(8, 8), Shown.pixel(R, 8), Shown.pixel(8, B), Shown.pixel(R, B)};
  for (int Corner = 0; Corner < 4; ++Corner)
    QVERIFY2(Near(Seen[Corner], Corners[Corner]), qPrintable(QStringLiteral("corner %1: %2").arg(Corner).arg(Seen[Corner], 0, 16)));
  // 640 x 480 fits the control and is drawn at its own size in the top-left
  // corner; 480 x 640 is shrunk to the control's height.
  const int Room = FForm->Image->height();
  QVERIFY(Room < 640 && Room > 480);
  const QSize Drawn = Shown.width() == 640 ? QSize(640, 480) : QSize(Room * 3 / 4, Room);
  QCOMPARE(FForm->Image->DrawnRect(), QRect(QPoint(0, 0), Drawn));
  // The thumbnail stays as stored, whatever the orientation.
  SelectTab(tabThumbnail);
  QCOMPARE(FForm->Label1->text(), QStringLiteral("16 x 8"));
}

void WindowTest::notJpegGivesOneErrorBox() {
  // A BMP file, which only Qt's own reader would show.
  QImage Bmp(20, 10, QImage::Format_RGB32);
  Bmp.fill(Qt::green);
  const QString File = FDir.filePath(QStringLiteral("green.bmp"));
  QVERIFY(Bmp.save(File, "BMP"));
  Open(File);
  QCOMPARE(FForm->List->topLevelItemCount(), 0);
  FDriver->CloseMessageBox();
  SelectTab(tabImage);
  QCOMPARE(FDriver->Boxes.size(), 1);
  QVERIFY2(QRegularExpression(QStringLiteral("^JPEG error #\\d+\\.$")).match(FDriver->Boxes[0].Text).hasMatch(),
           qPrintable(FDriver->Boxes[0].Text));
  QCOMPARE(FDriver->Boxes[0].Title, QStringLiteral("Lumentag Demo"));
  QCOMPARE(VisibleView(*FForm), QStringLiteral("none"));
  QCOMPARE(FForm->Label1->text(), QStringLiteral(" "));
}

void WindowTest::hugePictureGivesErrorBox() {
  const TBytes Jpeg = WithDeclaredSize(MakeJpeg(8, 8), 60000, 60000);
  SelectTab(tabImage);
  Open(Write(QStringLiteral("huge.jpg"), Jpeg), WithErrorBox);
  QCOMPARE(FDriver->Boxes.size(), 1);
  QCOMPARE(FDriver->Boxes[0].Text, QStringLiteral("The picture is too large to show (60000 x 60000 pixels)"));
  QCOMPARE(VisibleView(*FForm), QStringLiteral("none"));
  // The open itself went through before the view failed.
  QCOMPARE(FForm->Edit1->text(), FDir.filePath(QStringLiteral("huge.jpg")));
}

// A HEIC file whose irot turns it a quarter anticlockwise and whose EXIF
// Orientation says 6: turned by irot alone, so that the stored top-right
// quadrant (green) comes to the top left.
void WindowTest::heifTurnedOnce() {
  QFile Heic(QStringLiteral(LUMENTAG_TEST_DATA "/quadrants-irot-orientation6.heic"));
  QVERIFY(Heic.open(QIODevice::ReadOnly));
  const QByteArray Bytes = Heic.readAll();
  Open(Write(QStringLiteral("turned.heic"), TBytes(Bytes.begin(), Bytes.end())));
  SelectTab(tabImage);
  QCOMPARE(FDriver->Boxes.size(), 0);
  QCOMPARE(FForm->Label1->text(), QStringLiteral("48 x 64"));
  const QColor TopLeft = FForm->Image->Picture().pixelColor(4, 4);
  QVERIFY2(TopLeft.green() > 200 && TopLeft.red() < 60 && TopLeft.blue() < 60, qPrintable(TopLeft.name()));
}

// A raw file shows its largest JPEG preview, turned by IFD 0's Orientation;
// one without a preview keeps its rows and says so in one error box.
void WindowTest::rawFileShowsItsPreview() {
  const auto Preview = [](int Width, int Height) {
    const TBytes Jpeg = MakeJpeg(Width, Height);
    auto Image = std::make_shared<TIfd>();
    Image->Short(0x0103, {6}).BlobAt(0x0201, ftLong, 1, Jpeg).Long(0x0202, {uint32_t(Jpeg.size())});
    return Image;
  };
  TIfd Nef;
  Nef.Ascii(0x010F, "NIKON CORPORATION").Short(0x0112, {6}).SubIfds(0x014A, {Preview(64, 48), Preview(160, 120)});
  SelectTab(tabImage);
  Open(Write(QStringLiteral("photo.nef"), TiffBlock(Nef)));
  QCOMPARE(VisibleView(*FForm), QStringLiteral("image"));
  QCOMPARE(FForm->Label1->text(), QStringLiteral("120 x 160"));
  TIfd Bare;
  Bare.Ascii(0x010F, "OLYMPUS CORPORATION");
  TBytes Orf = TiffBlock(Bare);
  std::copy_n("IIRO", 4, Orf.begin());
  Open(Write(QStringLiteral("bare.orf"), Orf), WithErrorBox);
  QCOMPARE(FDriver->Boxes.size(), 1);
  QCOMPARE(FDriver->Boxes[0].Text, QStringLiteral("No preview picture in this file."));
  SelectTab(tabIFD0);
  QCOMPARE(FForm->List->topLevelItemCount(), 1);
}

void WindowTest::removedFileShowsNothing() {
  const QString File = Write(QStringLiteral("photo.jpg"), Photo(6));
  Open(File);
  QVERIFY(QFile::remove(File));
  SelectTab(tabImage);
  QCOMPARE(VisibleView(*FForm), QStringLiteral("none"));
  QCOMPARE(FForm->Label1->text(), QStringLiteral(" "));
  SelectTab(tabIFD0);
  QCOMPARE(FForm->List->topLevelItemCount(), 3);
}

void WindowTest::thumbnailAtOwnSize() {
  Open(Write(QStringLiteral("photo.jpg"), Photo(6)));
  SelectTab(tabThumbnail);
  QCOMPARE(VisibleView(*FForm), QStringLiteral("image"));
  QCOMPARE(FForm->Label1->text(), QStringLiteral("16 x 8"));
  QCOMPARE(FForm->Image->Picture().size(), QSize(16, 8));
}

void WindowTest::noThumbnailThenImage() {
  TIfd Ifd0;
  Ifd0.Short(0x0112, {1});
  const QString File = Write(QStringLiteral("bare.jpg"),
                             InsertAfterSoi(MakeJpeg(40, 30), {ExifSegment(TiffBlock(Ifd0))}));
  Open(File);
  SelectTab(tabThumbnail);
  QCOMPARE(VisibleView(*FForm), QStringLiteral("none"));
  QCOMPARE(FForm->Label1->text(), QStringLiteral(" "));
  SelectTab(tabImage);
  QCOMPARE(VisibleView(*FForm), QStringLiteral("image"));
  QCOMPARE(FForm->Label1->text(), QStringLiteral("40 x 30"));
}

void WindowTest::largePictureShrinksToFit() {
  const QString File = Write(QStringLiteral("wide.jpg"), MakeJpeg(2000, 1000));
  SelectTab(tabImage);
  Open(File);
  QCOMPARE(FForm->Label1->text(), QStringLiteral("2000 x 1000"));
  const QSize Control = FForm->Image->size();
  QCOMPARE(FForm->Image->DrawnRect(), QRect(0, 0, Control.width(), Control.width() / 2));
  FForm->resize(500, 900);
  QTRY_COMPARE(FForm->Image->width(), 500 - 753 + Control.width());
  QCOMPARE(FForm->Image->DrawnRect().size(), QSize(FForm->Image->width(), FForm->Image->width() / 2));
  FForm->grab();  // paints at the new size
}

void WindowTest::largePictureDecodedForScreen_data() {
  QTest::addColumn<int>("Orientation");
  QTest::addColumn<QSize>("Size");
  QTest::newRow("as stored") << 1 << QSize(2400, 1800);
  QTest::newRow("turned") << 6 << QSize(1800, 2400);
}

// A picture larger than the screen is decoded at a smaller scale, while the
// label and the drawing keep to its full size.
void WindowTest::largePictureDecodedForScreen() {
  QFETCH(int, Orientation);
  QFETCH(QSize, Size);
  TIfd Ifd0;
  Ifd0.Short(0x0112, {uint16_t(Orientation)});
  Open(Write(QStringLiteral("large.jpg"), InsertAfterSoi(MakeJpeg(2400, 1800), {ExifSegment(TiffBlock(Ifd0))})));
  SelectTab(tabImage);
  QCOMPARE(FForm->Label1->text(), QStringLiteral("%1 x %2").arg(Size.width()).arg(Size.height()));
  QCOMPARE(FForm->Image->DrawnRect().size(), FitPicture(Size, FForm->Image->size()));
  const QSize Screen = FForm->screen()->size() * FForm->screen()->devicePixelRatio();
  const int Eighths = DecodeEighths({2400, 1800}, Orientation, {Screen.width(), Screen.height()});
  if (Eighths == 8) QSKIP("the screen is larger than the picture");
  QCOMPARE(FForm->Image->Picture().size(), Size * Eighths / 8);
  // Moving to another screen decodes the picture again, for that screen.
  FForm->Image->SetPicture(QImage(), QSize());
  emit FForm->windowHandle()->screenChanged(FForm->screen());
  QCOMPARE(FForm->Image->Picture().size(), Size * Eighths / 8);
}

// IFD 1 may point at any JPEG data: a thumbnail larger than the screen is
// decoded at the scale the screen needs, and labelled with its own size.
void WindowTest::largeThumbnailDecodedForScreen() {
  const TBytes Thumbnail = MakeJpeg(2400, 1800);
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->BlobAt(0x0201, ftLong, 1, Thumbnail).Long(0x0202, {uint32_t(Thumbnail.size())});
  TIfd Ifd0;
  Ifd0.Short(0x0112, {6});
  Ifd0.Next = Ifd1;
  Open(Write(QStringLiteral("large-thumbnail.tif"), TiffBlock(Ifd0)));
  SelectTab(tabThumbnail);
  QCOMPARE(FForm->Label1->text(), QStringLiteral("2400 x 1800"));
  const QSize Screen = FForm->screen()->size() * FForm->screen()->devicePixelRatio();
  const int Eighths = DecodeEighths({2400, 1800}, 0, {Screen.width(), Screen.height()});
  QCOMPARE(FForm->Image->Picture().size(), QSize(2400, 1800) * Eighths / 8);
}

void WindowTest::fitPicture_data() {
  QTest::addColumn<QSize>("Picture");
  QTest::addColumn<QSize>("Control");
  QTest::addColumn<QSize>("Drawn");
  QTest::newRow("fits") << QSize(160, 120) << QSize(719, 541) << QSize(160, 120);
  QTest::newRow("exactly the control") << QSize(719, 541) << QSize(719, 541) << QSize(719, 541);
  QTest::newRow("wide, limited by width") << QSize(2000, 1000) << QSize(719, 541) << QSize(719, 359);
  QTest::newRow("wide, limited by height") << QSize(1000, 900) << QSize(719, 541) << QSize(601, 541);
  QTest::newRow("tall, limited by height") << QSize(450, 600) << QSize(719, 541) << QSize(405, 541);
  QTest::newRow("tall, limited by width") << QSize(300, 400) << QSize(100, 541) << QSize(100, 133);
  QTest::newRow("square") << QSize(1000, 1000) << QSize(719, 541) << QSize(541, 541);
  QTest::newRow("one row too high") << QSize(100, 542) << QSize(719, 541) << QSize(99, 541);
  QTest::newRow("empty picture") << QSize(0, 0) << QSize(719, 541) << QSize(0, 0);
  QTest::newRow("no room") << QSize(50, 40) << QSize(0, 0) << QSize(0, 0);
}

void WindowTest::fitPicture() {
  QFETCH(QSize, Picture);
  QFETCH(QSize, Control);
  QFETCH(QSize, Drawn);
  QCOMPARE(FitPicture(Picture, Control), Drawn);
}

void WindowTest::errorMessageText_data() {
  QTest::addColumn<QString>("Message");
  QTest::addColumn<QString>("Shown");
  QTest::newRow("letter") << "JPEG error #53" << "JPEG error #53.";
  QTest::newRow("full stop") << "Done." << "Done.";
  QTest::newRow("parenthesis") << "too large (1 x 2)" << "too large (1 x 2)";
  QTest::newRow("exclamation") << "Stop!" << "Stop!";
  QTest::newRow("digit") << "code 7" << "code 7.";
  QTest::newRow("slash, after the full stop") << "a/" << "a/.";
  QTest::newRow("blank") << "a " << "a ";
  QTest::newRow("empty") << "" << "";
  QTest::newRow("accented letter") << QStringLiteral("caf\u00E9") << QStringLiteral("caf\u00E9.");
}

void WindowTest::errorMessageText() {
  QFETCH(QString, Message);
  QFETCH(QString, Shown);
  QCOMPARE(ErrorMessageText(Message), Shown);
}

void WindowTest::corpusThumbnails_data() {
  QTest::addColumn<QString>("Name");
  QTest::newRow("Canon PowerShot S40") << "es-Canon_PowerShot_S40.jpg";
  QTest::newRow("Nikon Coolpix P6000") << "es-DSCN0010.jpg";
}

void WindowTest::corpusThumbnails() {
  QFETCH(QString, Name);
  SKIP_WITHOUT_CORPUS_QT();
  SelectTab(tabThumbnail);
  Open(QString::fromStdString(CorpusFile(Name.toStdString())));
  QCOMPARE(VisibleView(*FForm), QStringLiteral("image"));
  QCOMPARE(FForm->Label1->text(), QStringLiteral("160 x 120"));
  QCOMPARE(FForm->Image->DrawnRect(), QRect(0, 0, 160, 120));
}

// The eight photos store one picture for each orientation code; each shows
// upright, the mirrored codes 2, 4, 5 and 7 as the mirror image.
void WindowTest::corpusOrientations() {
  SKIP_WITHOUT_CORPUS_QT();
  SelectTab(tabImage);
  QImage Upright;
  for (int Code = 1; Code <= 8; ++Code) {
    Open(QString::fromStdString(CorpusFile("es-landscape_" + std::to_string(Code) + ".jpg")));
    QCOMPARE(FForm->Label1->text(), QStringLiteral("600 x 450"));
    const QImage Shown = FForm->Image->Picture();
    if (Code == 1) Upright = Shown;
    const bool Mirrored = Code == 2 || Code == 4 || Code == 5 || Code == 7;
    const QImage Expected = Mirrored ? Upright.mirrored(true, false) : Upright;
    const double Difference = MeanDifferenceOutsideCentre(Shown, Expected);
    QVERIFY2(Difference < 20, qPrintable(QStringLiteral("code %1 differs by %2").arg(Code).arg(Difference)));
    // And clearly differs from the other reading.
    const QImage Other = Mirrored ? Upright : Upright.mirrored(true, false);
    QVERIFY(MeanDifferenceOutsideCentre(Shown, Other) > 2 * Difference + 10);
  }
}

// Every photo of the corpus shows in the six tag lists and the XMP and IPTC
// lists the rows lumentag-dump prints for it; the XMP and IPTC tabs show
// exactly when it prints rows for them.
void WindowTest::corpusRowsMatchDump() {
  SKIP_WITHOUT_CORPUS_QT();
  // The tabs and their sections in the dump: the six tag tabs, the
  // thumbnail's, then XMP and IPTC.
  const std::pair<int, int> Tabs[] = {{tabIFD0, 1}, {tabEXIF, 2}, {tabInterop, 3}, {tabMakerNote, 4},
                                      {tabIFD1, 5}, {tabGPS, 6},  {tabXMP, 8},     {tabIPTC, 9}};
  for (const std::string& Name : CorpusFiles()) {
    TEXIF Doc;
    Doc.LoadFromFile(Name);
    std::ostringstream Dump;
    WriteDumpText(Dump, TDumpInput{Name, Doc});
    QStringList Sections = QString::fromStdString(Dump.str()).split(QRegularExpression(QStringLiteral("\n\\[")));
    Open(QString::fromStdString(Name));
    for (const auto& [Tab, Section] : Tabs) {
      QStringList Expected = Sections[Section].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
      Expected.removeFirst();  // the section's title
      const QString Where = QString::fromStdString(Name) + QStringLiteral(" tab %1").arg(Tab);
      QVERIFY2(FForm->tc->Tabs()->isTabVisible(Tab) == (Tab < tabXMP || !Expected.isEmpty()), qPrintable(Where));
      if (!FForm->tc->Tabs()->isTabVisible(Tab)) continue;
      SelectTab(Tab);
      QStringList Shown;
      for (const QString& Row : RowTexts(FForm->List))
        Shown << QString::fromStdString(EscapeControls(Row.toStdString())).replace(QLatin1Char('|'), QLatin1Char('\t'));
      QVERIFY2(Shown == Expected, qPrintable(Where));
    }
  }
}

// The Image tab shows the size lumentag-dump --image computes without a
// window, and an error box exactly where the dump has no size.
void WindowTest::corpusImageMatchesDump() {
  SKIP_WITHOUT_CORPUS_QT();
  SelectTab(tabImage);
  for (const std::string& Name : CorpusFiles()) {
    TEXIF Doc;
    Doc.LoadFromFile(Name);
    const auto Size = ImageTabSize(Doc);
    FDriver->Boxes.clear();
    FForm->Label1->setText(QStringLiteral(" "));
    Open(QString::fromStdString(Name), Size ? Quietly : WithErrorBox);
    const QString File = QString::fromStdString(Name);
    if (Size) {
      QCOMPARE(FForm->Label1->text(), QStringLiteral("%1 x %2").arg(Size->Width).arg(Size->Height));
      QCOMPARE(VisibleView(*FForm), QStringLiteral("image"));
    } else {
      QVERIFY2(FDriver->Boxes.size() == 1, qPrintable(File));
      QCOMPARE(VisibleView(*FForm), QStringLiteral("none"));
    }
  }
}

int main(int Argc, char** Argv) {
  TApplication Application(Argc, Argv);
  WindowTest Test;
  return QTest::qExec(&Test, Argc, Argv);
}

#include "WindowTest.moc"
