// The window in everyday use, on the offscreen platform: a file from the
// command line or dropped on the window, the keyboard, copying rows, the
// tooltips of cut-off cells, the width of the value dialog and the busy
// cursor; the next and previous photo, the row filter, the GPS commands,
// reloading a file that changes on disk, the Value column of a wider
// window; and --help and --version of the real program without a display.
#include <QClipboard>
#include <QDesktopServices>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <cstdio>
#include <fstream>
#include <memory>

#include "Application.h"
#include "ExifWriter.h"
#include "JpegMaker.h"
#include "MetadataWriter.h"
#include "TempDir.h"
#include "ModalDriver.h"
#include "Unit1.h"

namespace {

constexpr int tabIFD0 = 0, tabGPS = 5, tabImage = 6, tabComment = 8, tabXMP = 9, tabIPTC = 10;

// An XMP row whose path is far wider than the list's Tag column.
constexpr const char* LongPath = "mwg-rs:Regions/mwg-rs:RegionList[1]/mwg-rs:Name";

// A photo whose IFD 0 holds a description (row 0x10E) and a make (row 0x10F);
// WithRows adds an XMP packet and IPTC records.
TBytes Photo(std::string_view Description, std::string_view Comment = "", bool WithRows = false) {
  TIfd Ifd0;
  Ifd0.Ascii(0x010E, Description).Ascii(0x010F, "Canon");
  std::vector<TBytes> Segments{ExifSegment(TiffBlock(Ifd0))};
  if (!Comment.empty()) Segments.push_back(CommentSegment(Comment));
  if (WithRows) {
    Segments.push_back(XmpSegment(XmpPacket(
        "<rdf:Description><mwg-rs:Regions rdf:parseType='Resource'><mwg-rs:RegionList><rdf:Bag>"
        "<rdf:li mwg-rs:Name='Ann'/></rdf:Bag></mwg-rs:RegionList></mwg-rs:Regions></rdf:Description>")));
    Segments.push_back(PhotoshopSegment(PhotoshopResource(0x0404, IptcDataset(2, 25, "sea"))));
  }
  return InsertAfterSoi(MakeJpeg(32, 16), Segments);
}

// A value far wider than the list's Value column.
QString LongValue() { return QStringLiteral("A long description. ").repeated(10).trimmed(); }

QString ShownToolTip() { return QToolTip::isVisible() ? QToolTip::text() : QString(); }

constexpr int Patience = 10000;  // ms for the file watcher and the reload

// Rows 0x10E (Description), 0x10F "Canon" and 0x131 "North Star"; with
// SouthWest, GPS rows of 33° 52' 4" S, 1° 54.85' W (no usable position when
// the seconds' denominator is 0).
TBytes GpsPhoto(std::string_view Description, bool SouthWest = false, uint32_t SecondsDenominator = 1) {
  TIfd Ifd0;
  Ifd0.Ascii(0x010E, Description).Ascii(0x010F, "Canon").Ascii(0x0131, "North Star");
  if (SouthWest) {
    auto Gps = std::make_shared<TIfd>();
    Gps->Ascii(0x0001, "S").Rational(0x0002, {{33, 1}, {52, 1}, {4, SecondsDenominator}});
    Gps->Ascii(0x0003, "W").Rational(0x0004, {{1, 1}, {5485, 100}, {0, 1}});
    Ifd0.SubIfd(0x8825, Gps);
  }
  return InsertAfterSoi(MakeJpeg(32, 16), {ExifSegment(TiffBlock(Ifd0))});
}

QStringList ShownRowTexts(const TListView* List) {
  QStringList Rows;
  for (const QTreeWidgetItem* Row : List->ShownRows()) Rows << Row->text(0) + '|' + Row->text(2);
  return Rows;
}

// Takes the addresses the window asks the desktop to open.
class TUrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> Opened;
 public slots:
  void Open(const QUrl& Url) { Opened << Url; }
};

}  // namespace

class EverydayTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void commandLineFile_data();
  void commandLineFile();
  void helpAndVersionWithoutDisplay_data();
  void helpAndVersionWithoutDisplay();
  void dropOnWindow_data();
  void dropOnWindow();
  void shortcuts_data();
  void shortcuts();
  void copy_data();
  void copy();
  void toolTipOfCutOffCell_data();
  void toolTipOfCutOffCell();
  void valueDialogWidth_data();
  void valueDialogWidth();
  void busyCursorGoneBeforeErrorBox();
  void nextAndPrevious();
  void filterOnTwoTabs();
  void gpsCommands();
  void reloadOnChange();
  void xmpTabFilteredCopiedReloadedAndLeft();
  void valueColumnStretches();

 private:
  QString Write(const QString& Name, const TBytes& Bytes);
  QRect RowRect(const QString& Tag) const;
  void ClickRow(const QString& Tag) {
    QTest::mouseClick(FForm->List->viewport(), Qt::LeftButton, {}, RowRect(Tag).center());
  }
  void ClickTab(int Tab) {
    QTest::mouseClick(FForm->tc->Tabs(), Qt::LeftButton, {}, FForm->tc->Tabs()->tabRect(Tab).center());
  }
  QWidget* FocusOn(const QString& Control);
  QMenu* ContextMenu(int Entry = -1);
  QString Description() const { return FForm->List->findItems("0x10E", Qt::MatchExactly, 0).value(0)->text(2); }

  QTemporaryDir FDir;
  std::unique_ptr<TForm1> FForm;
  std::unique_ptr<TModalDriver> FDriver;
};

QString EverydayTest::Write(const QString& Name, const TBytes& Bytes) {
  const QString File = FDir.filePath(Name);
  WriteFile(File.toStdString(), Bytes);
  return File;
}

QRect EverydayTest::RowRect(const QString& Tag) const {
  const QList<QTreeWidgetItem*> Found = FForm->List->findItems(Tag, Qt::MatchExactly, 0);
  return Found.isEmpty() ? QRect() : FForm->List->visualItemRect(Found.first());
}

void EverydayTest::init() {
  FForm = std::make_unique<TForm1>();
  FForm->show();
  QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
  FDriver = std::make_unique<TModalDriver>();
}

void EverydayTest::cleanup() {
  const QStringList Unexpected = FDriver->Unexpected;
  FDriver.reset();
  FForm.reset();
  QVERIFY2(Unexpected.isEmpty(), qPrintable(Unexpected.join(QLatin1String(", "))));
}

// Names are given relative to the temporary folder; DIR stands for it.
void EverydayTest::commandLineFile_data() {
  QTest::addColumn<QStringList>("Arguments");
  QTest::addColumn<QString>("Shown");  // Edit1; its two rows show when it is set
  QTest::addColumn<QString>("Error");
  QTest::newRow("none") << QStringList{} << "" << "";
  QTest::newRow("relative name made absolute") << QStringList{"photo.jpg"} << "DIR/photo.jpg" << "";
  QTest::newRow("absolute name") << QStringList{"DIR/photo.jpg"} << "DIR/photo.jpg" << "";
  QTest::newRow("after --") << QStringList{"--", "DIR/photo.jpg"} << "DIR/photo.jpg" << "";
  QTest::newRow("missing file") << QStringList{"missing.jpg"} << ""
                                << "Cannot open file \"DIR/missing.jpg\". No such file or directory.";
  QTest::newRow("folder") << QStringList{"folder"} << ""
                          << "Cannot open file \"DIR/folder\". No such file or directory.";
  QTest::newRow("unreadable") << QStringList{"/proc/self/mem"} << ""
                              << "Cannot read file \"/proc/self/mem\". Input/output error.";
}

void EverydayTest::commandLineFile() {
  QFETCH(QStringList, Arguments);
  QFETCH(QString, Shown);
  QFETCH(QString, Error);
  Write(QStringLiteral("photo.jpg"), Photo("x"));
  QVERIFY(QDir(FDir.path()).mkpath(QStringLiteral("folder")));
  const QString Dir = FDir.path(), Here = QDir::currentPath();
  QDir::setCurrent(Dir);
  if (!Error.isEmpty()) FDriver->CloseMessageBox();
  FForm->OpenLater(CommandLineFile(QStringList{"lumentag"} + Arguments.replaceInStrings("DIR", Dir)));
  QCOMPARE(FForm->Edit1->text(), QString());  // not before the event loop runs
  QCoreApplication::processEvents();
  QDir::setCurrent(Here);
  QVERIFY(FDriver->Idle());
  QCOMPARE(FForm->Edit1->text(), Shown.replace("DIR", Dir));
  QCOMPARE(FForm->List->topLevelItemCount(), Shown.isEmpty() ? 0 : 2);
  QCOMPARE(FDriver->Boxes.size(), Error.isEmpty() ? 0 : 1);
  if (!Error.isEmpty()) QCOMPARE(FDriver->Boxes[0].Text, Error.replace("DIR", Dir));
}

// The real program, with no display to connect to.
void EverydayTest::helpAndVersionWithoutDisplay_data() {
  QTest::addColumn<QStringList>("Arguments");
  QTest::addColumn<QString>("Output");  // the start of what it prints
  const QString Version = QStringLiteral("lumentag " LUMENTAG_VERSION "\n");
  QTest::newRow("--help") << QStringList{"--help"}
                          << QStringLiteral("Usage: " LUMENTAG_VIEWER " [options] [FILE]\n");
  QTest::newRow("-h") << QStringList{"-h", "photo.jpg"} << QStringLiteral("Usage: ");
  QTest::newRow("--version") << QStringList{"--version"} << Version;
  QTest::newRow("-v") << QStringList{"-v"} << Version;
  QTest::newRow("Qt's options are no short ones")
      << QStringList{"-platformtheme", "x", "-reverse", "-v"} << Version;
}

void EverydayTest::helpAndVersionWithoutDisplay() {
  QFETCH(QStringList, Arguments);
  QFETCH(QString, Output);
  QProcess Program;
  QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
  for (const char* Name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    Environment.remove(QLatin1String(Name));
  Program.setProcessEnvironment(Environment);
  Program.start(QStringLiteral(LUMENTAG_VIEWER), Arguments);
  QVERIFY(Program.waitForFinished(60000));
  QCOMPARE(Program.exitStatus(), QProcess::NormalExit);
  QCOMPARE(Program.exitCode(), 0);
  const QString Printed = QString::fromLocal8Bit(Program.readAllStandardOutput());
  QVERIFY2(Printed.startsWith(Output), qPrintable(Printed));
}

// Each drop goes through the window as the desktop delivers it: enter and
// move, then the drop when it was taken, else leaving.
void EverydayTest::dropOnWindow_data() {
  QTest::addColumn<QString>("Onto");
  QTest::addColumn<QStringList>("Urls");  // DIR stands for the temporary folder
  QTest::addColumn<int>("Actions");
  QTest::addColumn<QString>("Opened");
  const int CopyOrMove = Qt::CopyAction | Qt::MoveAction;
  QTest::newRow("file on the tag list") << "list" << QStringList{"file://DIR/a.jpg"} << CopyOrMove << "a.jpg";
  QTest::newRow("file on the file name")
      << "edit" << QStringList{"file://DIR/a.jpg"} << CopyOrMove << "a.jpg";
  QTest::newRow("file on the comment")
      << "memo" << QStringList{"file://DIR/a.jpg"} << int(Qt::CopyAction) << "a.jpg";
  QTest::newRow("two files: the first")
      << "tabs" << QStringList{"file://DIR/b.jpg", "file://DIR/a.jpg"} << CopyOrMove << "b.jpg";
  QTest::newRow("text") << "list" << QStringList{} << CopyOrMove << "";
  QTest::newRow("web address") << "list" << QStringList{"https://example.org/a.jpg"} << CopyOrMove << "";
  QTest::newRow("file that may only be moved")
      << "list" << QStringList{"file://DIR/a.jpg"} << int(Qt::MoveAction) << "";
}

void EverydayTest::dropOnWindow() {
  QFETCH(QString, Onto);
  QFETCH(QStringList, Urls);
  QFETCH(int, Actions);
  QFETCH(QString, Opened);
  Write(QStringLiteral("a.jpg"), Photo("a"));
  Write(QStringLiteral("b.jpg"), Photo("b"));
  if (Onto == QLatin1String("memo")) FForm->tc->SetTabIndex(tabComment);
  const QMap<QString, QWidget*> Targets{
      {"list", FForm->List}, {"edit", FForm->Edit1}, {"memo", FForm->Memo}, {"tabs", FForm->tc->Tabs()}};
  QWidget* Target = Targets.value(Onto);
  QVERIFY(Target->isVisible());
  QMimeData Data;
  Data.setText(QStringLiteral("a.jpg"));
  QList<QUrl> Links;
  for (const QString& Url : Urls) Links << QUrl(QString(Url).replace("DIR", FDir.path()));
  if (!Links.isEmpty()) Data.setUrls(Links);
  QWindow* Window = FForm->windowHandle();
  const QPoint At = Target->mapTo(FForm.get(), Target->rect().center());
  const auto Possible = Qt::DropActions(Actions);
  QDragEnterEvent Enter(At, Possible, &Data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(Window, &Enter);
  QDragMoveEvent Move(At, Possible, &Data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(Window, &Move);
  QCOMPARE(Move.isAccepted(), !Opened.isEmpty());
  if (Move.isAccepted()) {
    QDropEvent Drop(At, Possible, &Data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(Window, &Drop);
    QVERIFY(Drop.isAccepted());
    QCOMPARE(Drop.dropAction(), Qt::CopyAction);
  } else {
    QDragLeaveEvent Leave;
    QCoreApplication::sendEvent(Window, &Leave);
  }
  QCoreApplication::processEvents();
  QCOMPARE(FForm->Edit1->text(), Opened.isEmpty() ? QString() : FDir.filePath(Opened));
}

void EverydayTest::shortcuts_data() {
  QTest::addColumn<int>("Key");
  QTest::addColumn<int>("Modifiers");
  QTest::addColumn<int>("FromTab");
  QTest::addColumn<int>("ToTab");
  QTest::addColumn<QString>("Opens");  // the modal dialog it opens, or "closed"
  QTest::addColumn<bool>("WithRows");  // the file has XMP and IPTC rows
  const int Ctrl = Qt::ControlModifier, Alt = Qt::AltModifier, CtrlShift = Ctrl | Qt::ShiftModifier;
  QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << Ctrl << tabIFD0 << 1 << "" << false;
  QTest::newRow("Ctrl+Tab wraps") << int(Qt::Key_Tab) << Ctrl << tabComment << tabIFD0 << "" << false;
  // X11 delivers Ctrl+Shift+Tab as any of these three.
  QTest::newRow("Ctrl+Shift+Tab as Backtab wraps")
      << int(Qt::Key_Backtab) << CtrlShift << tabIFD0 << tabComment << "" << false;
  QTest::newRow("Ctrl+Shift+Tab as Tab wraps") << int(Qt::Key_Tab) << CtrlShift << tabIFD0 << tabComment << ""
                                               << false;
  QTest::newRow("Ctrl+Backtab wraps") << int(Qt::Key_Backtab) << Ctrl << tabIFD0 << tabComment << "" << false;
  QTest::newRow("Ctrl+Tab to XMP") << int(Qt::Key_Tab) << Ctrl << tabComment << tabXMP << "" << true;
  QTest::newRow("Ctrl+Tab wraps after IPTC") << int(Qt::Key_Tab) << Ctrl << tabIPTC << tabIFD0 << "" << true;
  QTest::newRow("Ctrl+Shift+Tab as Backtab to IPTC")
      << int(Qt::Key_Backtab) << CtrlShift << tabIFD0 << tabIPTC << "" << true;
  QTest::newRow("Ctrl+Shift+Tab as Tab to IPTC") << int(Qt::Key_Tab) << CtrlShift << tabIFD0 << tabIPTC << ""
                                                 << true;
  QTest::newRow("Alt+9 with XMP and IPTC") << int(Qt::Key_9) << Alt << tabXMP << tabComment << "" << true;
  QTest::newRow("Ctrl+PageDown") << int(Qt::Key_PageDown) << Ctrl << tabGPS << tabImage << "" << false;
  QTest::newRow("Ctrl+PageUp") << int(Qt::Key_PageUp) << Ctrl << tabImage << tabGPS << "" << false;
  QTest::newRow("Alt+1") << int(Qt::Key_1) << Alt << tabGPS << tabIFD0 << "" << false;
  QTest::newRow("Alt+9") << int(Qt::Key_9) << Alt << tabIFD0 << tabComment << "" << false;
  QTest::newRow("Ctrl+O") << int(Qt::Key_O) << Ctrl << tabGPS << tabGPS << "QFileDialog" << false;
  QTest::newRow("Return on a row") << int(Qt::Key_Return) << 0 << tabIFD0 << tabIFD0 << "QInputDialog" << false;
  QTest::newRow("Enter on a row") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << tabIFD0 << tabIFD0
                                  << "QInputDialog" << false;
  QTest::newRow("Ctrl+W") << int(Qt::Key_W) << Ctrl << tabIFD0 << tabIFD0 << "closed" << false;
  QTest::newRow("Ctrl+Q") << int(Qt::Key_Q) << Ctrl << tabIFD0 << tabIFD0 << "closed" << false;
}

void EverydayTest::shortcuts() {
  QFETCH(int, Key);
  QFETCH(int, Modifiers);
  QFETCH(int, FromTab);
  QFETCH(int, ToTab);
  QFETCH(QString, Opens);
  QFETCH(bool, WithRows);
  FForm->OpenFile(Write(QStringLiteral("photo.jpg"), Photo("x", "", WithRows)));
  FForm->tc->SetTabIndex(FromTab);
  if (Opens == QLatin1String("QInputDialog")) {
    QTest::mouseClick(FForm->List->viewport(), Qt::LeftButton, {}, RowRect(QStringLiteral("0x10F")).center());
    FDriver->AnswerInput(QString(), false);
  }
  if (Opens == QLatin1String("QFileDialog")) FDriver->CancelFile();
  QWidget* Focus = QApplication::focusWidget();
  QTest::keyClick(Focus != nullptr ? Focus : FForm.get(), Qt::Key(Key), Qt::KeyboardModifiers(Modifiers));
  QVERIFY(FDriver->Idle());
  QCOMPARE(FForm->tc->TabIndex(), ToTab);
  QCOMPARE(FForm->isVisible(), Opens != QLatin1String("closed"));
  QCOMPARE(FDriver->Seen, Opens.startsWith('Q') ? QStringList{Opens} : QStringList{});
  if (Opens == QLatin1String("QInputDialog"))
    QCOMPARE(FDriver->Inputs[0].Title, QStringLiteral("Equipment Make"));
}

void EverydayTest::copy_data() {
  QTest::addColumn<QString>("How");
  QTest::addColumn<QString>("Copied");
  const QString Row = QStringLiteral("0x10E\tImage Description\ttwo cells  and lines");
  QTest::newRow("Ctrl+C") << "Ctrl+C" << Row;
  QTest::newRow("Copy Value") << "Copy Value" << QStringLiteral("two cells  and lines");
  QTest::newRow("Copy Row") << "Copy Row" << Row;
  QTest::newRow("Copy All Rows") << "Copy All Rows"
                                 << "Tag\tProperty\tValue\n" + Row + "\n0x10F\tEquipment Make\tCanon\n";
  QTest::newRow("Ctrl+C in the comment") << "comment" << QStringLiteral("the comment");
}

void EverydayTest::copy() {
  QFETCH(QString, How);
  QFETCH(QString, Copied);
  FForm->OpenFile(Write(QStringLiteral("photo.jpg"), Photo("two\tcells\r\nand lines", "the comment")));
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  QWidget* Cells = FForm->List->viewport();
  if (How == QLatin1String("comment")) {
    FForm->tc->SetTabIndex(tabComment);
    FForm->Memo->setFocus();
    FForm->Memo->selectAll();
    QTest::keyClick(FForm->Memo, Qt::Key_C, Qt::ControlModifier);
  } else if (How == QLatin1String("Ctrl+C")) {
    QTest::mouseClick(Cells, Qt::LeftButton, {}, RowRect(QStringLiteral("0x10E")).center());
    QTest::keyClick(FForm->List, Qt::Key_C, Qt::ControlModifier);
  } else {
    // A right click on the window selects the row under it and opens the menu.
    const QPoint At = Cells->mapTo(FForm.get(), RowRect(QStringLiteral("0x10E")).center());
    QTest::mouseClick(FForm->windowHandle(), Qt::RightButton, {}, At);
    auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(Menu != nullptr);
    QStringList Entries;
    QAction* Chosen = nullptr;
    for (QAction* Action : Menu->actions()) {
      Entries << Action->text();
      if (Action->text() == How) Chosen = Action;
    }
    QCOMPARE(Entries, (QStringList{"Copy Value", "Copy Row", "Copy All Rows"}));
    QTest::mouseClick(Menu, Qt::LeftButton, {}, Menu->actionGeometry(Chosen).center());
  }
  QCOMPARE(QGuiApplication::clipboard()->text(), Copied);
}

void EverydayTest::toolTipOfCutOffCell_data() {
  QTest::addColumn<QString>("Tag");
  QTest::addColumn<int>("Column");
  QTest::addColumn<int>("Width");  // 0: as the window makes it
  QTest::addColumn<QString>("Tip");
  QTest::addColumn<int>("Tab");
  QTest::newRow("long value") << "0x10E" << 2 << 0 << LongValue() << tabIFD0;
  QTest::newRow("short value") << "0x10F" << 2 << 0 << "" << tabIFD0;
  QTest::newRow("property in a narrowed column") << "0x10F" << 1 << 40 << "Equipment Make" << tabIFD0;
  QTest::newRow("whole property") << "0x10F" << 1 << 0 << "" << tabIFD0;
  QTest::newRow("XMP path") << LongPath << 0 << 0 << LongPath << tabXMP;
  QTest::newRow("IPTC dataset") << "2:25" << 0 << 0 << "" << tabIPTC;
}

void EverydayTest::toolTipOfCutOffCell() {
  QFETCH(QString, Tag);
  QFETCH(int, Column);
  QFETCH(int, Width);
  QFETCH(QString, Tip);
  QFETCH(int, Tab);
  FForm->OpenFile(Write(QStringLiteral("photo.jpg"), Photo(LongValue().toStdString(), "", true)));
  FForm->tc->SetTabIndex(Tab);
  if (Width > 0) FForm->List->setColumnWidth(Column, Width);
  const QRect Row = RowRect(Tag);
  const int Left = FForm->List->columnViewportPosition(Column);
  const QPoint At(Left + 10, Row.center().y());
  QHelpEvent Help(QEvent::ToolTip, At, FForm->List->viewport()->mapToGlobal(At));
  QCoreApplication::sendEvent(FForm->List->viewport(), &Help);
  QTRY_COMPARE(ShownToolTip(), Tip);
}

void EverydayTest::valueDialogWidth_data() {
  QTest::addColumn<int>("Length");
  QTest::addColumn<bool>("WholeTextShown");
  QTest::addColumn<bool>("Capped");  // 80 % of the screen's width
  QTest::newRow("short") << 5 << true << false;
  QTest::newRow("wider than the usual dialog") << 60 << true << false;
  QTest::newRow("wider than the screen") << 250 << false << true;
}

void EverydayTest::valueDialogWidth() {
  QFETCH(int, Length);
  QFETCH(bool, WholeTextShown);
  QFETCH(bool, Capped);
  std::string Text;
  while (Text.size() < size_t(Length)) Text += "Lorem ipsum dolor sit amet. ";
  Text.resize(size_t(Length));
  FForm->OpenFile(Write(QStringLiteral("photo.jpg"), Photo(Text)));
  const QPoint Row = RowRect(QStringLiteral("0x10E")).center();
  QTest::mouseClick(FForm->List->viewport(), Qt::LeftButton, {}, Row);
  FDriver->AnswerInput(QString(), false);
  QTest::mouseDClick(FForm->List->viewport(), Qt::LeftButton, {}, Row);
  QVERIFY(FDriver->Idle());
  const TSeenInput& Input = FDriver->Inputs.first();
  QCOMPARE(Input.Text, QString::fromStdString(Text));
  QCOMPARE(Input.SelectedText, Input.Text);
  QCOMPARE(Input.WholeTextShown, WholeTextShown);
  const int Cap = FForm->screen()->availableGeometry().width() * 4 / 5;
  QCOMPARE(Input.Width == Cap, Capped);
  if (Length <= 5) QVERIFY(Input.Width < Cap / 2);  // the usual size
}

void EverydayTest::busyCursorGoneBeforeErrorBox() {
  FForm->OpenFile(Write(QStringLiteral("text.jpg"), BytesOf("no picture")));
  FDriver->CloseMessageBox();
  FForm->tc->SetTabIndex(tabImage);
  QVERIFY(FDriver->Idle());
  QCOMPARE(FDriver->Boxes.size(), 1);
  QVERIFY(!FDriver->Boxes[0].BusyCursor);
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

// Puts the keyboard focus on a control as a user would, and returns it.
QWidget* EverydayTest::FocusOn(const QString& Control) {
  if (Control == "list") ClickRow("0x131");
  if (Control == "tabs") ClickTab(tabIFD0);
  if (Control == "memo") ClickTab(tabComment);
  if (Control == "memo") QTest::mouseClick(FForm->Memo->viewport(), Qt::LeftButton);
  if (Control == "filter") QTest::keyClick(FForm->List, Qt::Key_F, Qt::ControlModifier);
  const QMap<QString, QWidget*> Controls{{"list", FForm->List}, {"tabs", FForm->tc->Tabs()},
                                         {"memo", FForm->Memo}, {"filter", FForm->FilterEdit},
                                         {"edit", FForm->Edit1}, {"button", FForm->Button1}};
  if (Control == "edit" || Control == "button") Controls[Control]->setFocus(Qt::TabFocusReason);
  return Controls[Control];
}

// A right click below the list's rows, then a click on entry Entry unless it
// is -1.
QMenu* EverydayTest::ContextMenu(int Entry) {
  const QPoint Below(20, FForm->List->viewport()->height() - 5);
  const QPoint At = FForm->List->viewport()->mapTo(FForm.get(), Below);
  QTest::mouseClick(FForm->windowHandle(), Qt::RightButton, {}, At);
  auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (Menu != nullptr && Entry >= 0)
    QTest::mouseClick(Menu, Qt::LeftButton, {}, Menu->actionGeometry(Menu->actions().value(Entry)).center());
  return Menu;
}

// Offered files in natural order, whatever the case of their extension;
// others and folders are passed over; at either end nothing happens. Where
// the focus is decides whether Space and Backspace browse.
void EverydayTest::nextAndPrevious() {
  QTemporaryDir Folder;
  for (const char* Name : {"p1.jpg", "p2.JPG", "p10.jpg", "p3.jpeg.txt"})
    WriteFile(Folder.filePath(Name).toStdString(), GpsPhoto(Name));
  QVERIFY(QDir(Folder.path()).mkpath("p4.jpg"));
  FForm->OpenFile(Folder.filePath("p1.jpg"));
  const struct {
    const char* Focus;
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
    const char* Shown;
  } Steps[] = {
      {"list", Qt::Key_Space, {}, "p2.JPG"},        {"list", Qt::Key_Right, Qt::AltModifier, "p10.jpg"},
      {"list", Qt::Key_Space, {}, "p10.jpg"},       {"tabs", Qt::Key_Backspace, {}, "p2.JPG"},
      {"memo", Qt::Key_Left, Qt::AltModifier, "p1.jpg"}, {"memo", Qt::Key_Backspace, {}, "p1.jpg"},
      {"tabs", Qt::Key_Space, {}, "p2.JPG"},        {"filter", Qt::Key_Space, {}, "p2.JPG"},
      {"edit", Qt::Key_Backspace, {}, "p2.JPG"},    {"button", Qt::Key_Space, {}, "p2.JPG"},
  };
  for (const auto& Step : Steps) {
    const QString Focus = Step.Focus;
    QWidget* Control = FocusOn(Focus);
    QCOMPARE(QApplication::focusWidget(), Control);
    if (Focus == "button") FDriver->CancelFile();
    const int Tab = FForm->tc->TabIndex();
    QTest::keyClick(Control, Step.Key, Step.Modifiers);
    QVERIFY(FDriver->Idle());
    QCOMPARE(FForm->Edit1->text(), Folder.filePath(Step.Shown));
    QCOMPARE(FForm->tc->TabIndex(), Tab);
    if (Focus != "button") QCOMPARE(QApplication::focusWidget(), Control);
    if (Focus == "list") QCOMPARE(FForm->List->currentItem()->text(0), QStringLiteral("0x131"));
  }
  QCOMPARE(FForm->FilterEdit->text(), QStringLiteral(" "));  // the filter typed its Space
  QCOMPARE(FDriver->Seen, QStringList{"QFileDialog"});         // the button was pressed
}

void EverydayTest::filterOnTwoTabs() {
  FForm->OpenFile(Write("gps.jpg", GpsPhoto("a photo", true)));
  const QRect ListPlace = FForm->List->geometry();
  ClickRow("0x10E");
  QTest::keyClick(FForm->List, Qt::Key_F, Qt::ControlModifier);
  QCOMPARE(QApplication::focusWidget(), FForm->FilterEdit);
  QCOMPARE(FForm->FilterEdit->geometry().top(), ListPlace.top());
  QVERIFY(FForm->List->geometry().top() > FForm->FilterEdit->geometry().bottom());
  QTest::keyClicks(FForm->FilterEdit, "tH");
  QCOMPARE(ShownRowTexts(FForm->List), QStringList{"0x131|North Star"});
  ClickTab(tabGPS);
  QCOMPARE(ShownRowTexts(FForm->List), QStringList{"0x1|South"});
  ClickTab(tabImage);  // the filter hides with the list, and comes back with it
  QVERIFY(!FForm->FilterEdit->isVisible());
  ClickTab(tabIFD0);
  QCOMPARE(ShownRowTexts(FForm->List), QStringList{"0x131|North Star"});
  ContextMenu(2);  // Copy All Rows
  QCOMPARE(QGuiApplication::clipboard()->text(),
           QStringLiteral("Tag\tProperty\tValue\n0x131\tSoftware\tNorth Star\n"));
  // Escape, in the list and in the field, clears the filter and hides it.
  for (QWidget* Escaped : {static_cast<QWidget*>(FForm->List), static_cast<QWidget*>(FForm->FilterEdit)}) {
    QTest::keyClick(FForm->List, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(FForm->FilterEdit, "0x10f");
    QCOMPARE(ShownRowTexts(FForm->List), QStringList{"0x10F|Canon"});
    if (Escaped == FForm->List) ClickRow("0x10F");
    QTest::keyClick(Escaped, Qt::Key_Escape);
    QVERIFY(!FForm->FilterEdit->isVisible());
    QCOMPARE(FForm->FilterEdit->text(), QString());
    QCOMPARE(FForm->List->geometry(), ListPlace);
    QCOMPARE(FForm->List->ShownRows().size(), 3);
    QCOMPARE(QApplication::focusWidget(), FForm->List);
  }
}

// The GPS tab's menu adds the position's commands, disabled when the file
// has no usable position; the menu shows the copy key beside Copy Row.
void EverydayTest::gpsCommands() {
  const auto MenuEntries = [this] {
    QMenu* Menu = ContextMenu();
    QStringList Entries;  // " -" marks the disabled ones
    for (QAction* Action : Menu->actions())
      if (!Action->isSeparator()) Entries << Action->text() + (Action->isEnabled() ? "" : " -");
    const QAction* CopyRow = Menu->actions().value(1);
    if (CopyRow->isShortcutVisibleInContextMenu()) Entries[1] += "\t" + CopyRow->shortcut().toString();
    Menu->close();
    return Entries;
  };
  const QStringList Copy{"Copy Value -", "Copy Row -\tCtrl+C", "Copy All Rows"};
  FForm->OpenFile(Write("gps.jpg", GpsPhoto("x", true)));
  QCOMPARE(MenuEntries(), Copy);
  FForm->tc->SetTabIndex(tabGPS);
  QCOMPARE(MenuEntries(), Copy + QStringList("Copy Coordinates") << "Show on Map");
  ContextMenu(4);
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("-33.867778, -1.914167"));
  TUrlCatcher Catcher;
  QDesktopServices::setUrlHandler("https", &Catcher, "Open");
  ContextMenu(5);
  QDesktopServices::unsetUrlHandler("https");
  QCOMPARE(Catcher.Opened, QList<QUrl>{QUrl("https://www.openstreetmap.org/?mlat=-33.867778&mlon=-1.914167"
                                            "#map=15/-33.867778/-1.914167")});
  FForm->OpenFile(Write("gps.jpg", GpsPhoto("x", true, 0)));  // a zero denominator
  QCOMPARE(MenuEntries(), Copy + QStringList("Copy Coordinates -") << "Show on Map -");
}

// A rewrite and a rename over the file are read at once, keeping the row; a
// file removed leaves its tags, and is read again when put back.
void EverydayTest::reloadOnChange() {
  QTemporaryDir Folder;
  const auto Save = [&Folder](const char* Name, std::string_view Description) {
    WriteFile(Folder.filePath(Name).toStdString(), GpsPhoto(Description));
    return Folder.filePath(Name);
  };
  const QString File = Save("photo.jpg", "first");
  FForm->OpenFile(File);
  ClickRow("0x131");
  Save("other.jpg", "unrelated");  // reported by the folder, changes nothing
  Save("photo.jpg", "rewritten");
  QTRY_COMPARE_WITH_TIMEOUT(Description(), QStringLiteral("rewritten"), Patience);
  QCOMPARE(std::rename(qPrintable(Save(".saving", "renamed")), qPrintable(File)), 0);
  QTRY_COMPARE_WITH_TIMEOUT(Description(), QStringLiteral("renamed"), Patience);
  QVERIFY(QFile::remove(File));
  QTRY_COMPARE_WITH_TIMEOUT(FForm->Edit1->toolTip(), QStringLiteral("File no longer exists"), Patience);
  QCOMPARE(Description(), QStringLiteral("renamed"));
  Save("photo.jpg", "put back");
  QTRY_COMPARE_WITH_TIMEOUT(Description(), QStringLiteral("put back"), Patience);
  QCOMPARE(FForm->Edit1->toolTip(), QString());
  QCOMPARE(FForm->List->currentItem()->text(0), QStringLiteral("0x131"));
  QCOMPARE(QApplication::focusWidget(), FForm->List);
  QCOMPARE(FDriver->Seen, QStringList());
}

// The XMP tab takes the filter and the copy commands as a tag tab does; a
// rewrite of the file is read again on that tab, filter kept; the next photo,
// without XMP, leaves it for the tab before it.
void EverydayTest::xmpTabFilteredCopiedReloadedAndLeft() {
  QTemporaryDir Folder;
  const auto Save = [&Folder](const char* Name, std::string_view Label) {
    std::vector<TBytes> Segments;
    if (!Label.empty())
      Segments.push_back(XmpSegment(XmpPacket("<rdf:Description xmp:Label='" + std::string(Label) + "' xmp:Rating='3'/>")));
    WriteFile(Folder.filePath(Name).toStdString(), InsertAfterSoi(MakeJpeg(32, 16), Segments));
    return Folder.filePath(Name);
  };
  Save("b.jpg", "");
  FForm->OpenFile(Save("a.jpg", "first"));
  FForm->tc->SetTabIndex(tabXMP);
  QCOMPARE(ShownRowTexts(FForm->List), (QStringList{"xmp:Label|first", "xmp:Rating|3"}));
  ClickRow("xmp:Rating");
  QTest::keyClick(FForm->List, Qt::Key_F, Qt::ControlModifier);
  QTest::keyClicks(FForm->FilterEdit, "lab");
  QCOMPARE(ShownRowTexts(FForm->List), QStringList{"xmp:Label|first"});
  ContextMenu(2);  // Copy All Rows
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Tag\tProperty\tValue\nxmp:Label\tLabel\tfirst\n"));
  Save("a.jpg", "second");
  QTRY_COMPARE_WITH_TIMEOUT(ShownRowTexts(FForm->List), QStringList{"xmp:Label|second"}, Patience);
  QCOMPARE(FForm->tc->TabIndex(), tabXMP);
  QTest::keyClick(FForm->List, Qt::Key_Right, Qt::AltModifier);
  QCOMPARE(FForm->Edit1->text(), Folder.filePath("b.jpg"));
  QVERIFY(!FForm->tc->Tabs()->isTabVisible(tabXMP));
  QCOMPARE(FForm->tc->TabIndex(), tabComment);
}

// At the design size and narrower the Value column keeps its width; wider,
// it reaches the list's right edge.
void EverydayTest::valueColumnStretches() {
  TListView* List = FForm->List;
  FForm->resize(1200, 634);
  QTRY_COMPARE(List->header()->sectionPosition(2) + List->columnWidth(2), List->viewport()->width());
  FForm->resize(600, 634);
  QTRY_COMPARE(List->columnWidth(2), 300);
}

int main(int Argc, char** Argv) {
  TApplication Application(Argc, Argv);
  EverydayTest Test;
  return QTest::qExec(&Test, Argc, Argv);
}

#include "EverydayTest.moc"
