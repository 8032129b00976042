#include "Unit1.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QMenu>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QUrl>
#include <algorithm>
#include <climits>
#include <stdexcept>
#include <utility>

#include <sys/stat.h>

#include "Application.h"
#include "FileBytes.h"
#include "FileTypes.h"
#include "FolderOrder.h"
#include "GpsPosition.h"
#include "PictureSize.h"
#include "ValueFormat.h"

namespace {

// The window's layout, in pixels at 96 dots per inch; Qt scales them with the
// screen's resolution.
constexpr QSize ClientSize(753, 634);
constexpr QSize TabControlSize(727, 582);
constexpr QSize ImagePanelSize(719, 554);
constexpr int FontPixels = 11;  // 8 points at 96 dots per inch
constexpr int LabelHeight = 13;
constexpr int ListDesignWidth = 696;
constexpr int FilterHeight = 21;  // as high as the file name box
constexpr int FilterGap = 3;      // between the filter and the list below it
// How long the watcher's reports are gathered before the file is looked at:
// a save is a burst of them (truncate, write, close; or write a copy, rename).
constexpr int FileCheckDelayMs = 200;

QString FromUtf8(std::string_view Text) {
  return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

// Qt reads a filter's patterns from its last parenthesised group, and with
// HideNameFilterDetails shows only what stands before that group, so the
// descriptions appear exactly as written in the table.
QStringList OpenNameFilters() {
  QStringList Filters;
  for (const TFileTypeFilter& Entry : OpenFileFilters)
    Filters << QStringLiteral("%1 (%2)").arg(FromUtf8(Entry.Description), FromUtf8(Entry.Patterns));
  return Filters;
}

// Keeps a control from redrawing until the end of a scope, however it ends.
class TUpdateBlock {
 public:
  explicit TUpdateBlock(QWidget* Control) : FControl(Control) { FControl->setUpdatesEnabled(false); }
  ~TUpdateBlock() { FControl->setUpdatesEnabled(true); }
  TUpdateBlock(const TUpdateBlock&) = delete;
  TUpdateBlock& operator=(const TUpdateBlock&) = delete;

 private:
  QWidget* FControl;
};

// Shows the busy cursor for as long as it lives: it is restored however the
// work ends, and before any error box.
class TBusyCursor {
 public:
  TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// A cell for the clipboard: a tab, CR or LF inside it becomes a blank, so
// that a row stays one line of tab-separated cells.
QString ClipboardCell(QString Text) {
  for (QChar& Char : Text)
    if (Char == QLatin1Char('\t') || Char == QLatin1Char('\r') || Char == QLatin1Char('\n'))
      Char = QLatin1Char(' ');
  return Text;
}

QString ClipboardRow(const QTreeWidgetItem& Row) {
  QStringList Cells;
  for (int Column = 0; Column < Row.columnCount(); ++Column) Cells << ClipboardCell(Row.text(Column));
  return Cells.join(QLatin1Char('\t'));
}

// Widens the value dialog until its field shows the whole text, up to
// MaxWidth; narrower than it was made it never gets.
void WidenForText(QInputDialog& Dialog, const QLineEdit& Field, int MaxWidth) {
  const QSize Hint = Dialog.sizeHint();
  // A line edit's width hint is room for 17 "x" besides its frame and
  // margins; a blank's width more leaves room for the cursor after the text.
  const QFontMetrics Metrics = Field.fontMetrics();
  const int FieldFrame = Field.sizeHint().width() - Metrics.horizontalAdvance(QString(17, QLatin1Char('x')));
  const QMargins Margins = Dialog.layout() != nullptr ? Dialog.layout()->contentsMargins() : QMargins();
  const int Needed = Margins.left() + FieldFrame +
                     Metrics.horizontalAdvance(Field.text() + QLatin1Char(' ')) + Margins.right();
  if (Needed > Hint.width()) Dialog.resize(std::min(Needed, MaxWidth), Hint.height());
}

// Which row is selected, to find it again among the rows of the file read
// anew: its tag and property, and which of the rows with both it is; and how
// far the list was scrolled.
struct TRowPlace {
  QString Tag, Property;
  int Occurrence = -1;  // -1: no row selected
  int Scroll = 0;
};

TRowPlace RowPlace(const TListView& List) {
  TRowPlace Place;
  Place.Scroll = List.verticalScrollBar()->value();
  const QList<QTreeWidgetItem*> Selected = List.selectedItems();
  if (Selected.isEmpty()) return Place;
  Place.Tag = Selected.first()->text(0);
  Place.Property = Selected.first()->text(1);
  Place.Occurrence = 0;
  for (int Index = 0; Index < List.indexOfTopLevelItem(Selected.first()); ++Index) {
    const QTreeWidgetItem* Row = List.topLevelItem(Index);
    if (Row->text(0) == Place.Tag && Row->text(1) == Place.Property) ++Place.Occurrence;
  }
  return Place;
}

void RestoreRowPlace(TListView& List, const TRowPlace& Place) {
  List.verticalScrollBar()->setValue(Place.Scroll);
  int Occurrence = Place.Occurrence;
  for (int Index = 0; Index < List.topLevelItemCount() && Occurrence >= 0; ++Index) {
    QTreeWidgetItem* Row = List.topLevelItem(Index);
    if (Row->text(0) != Place.Tag || Row->text(1) != Place.Property || Occurrence-- > 0) continue;
    if (Row->isHidden()) return;
    List.setCurrentItem(Row);
    List.scrollToItem(Row);
  }
}

// A rectangle of the tab strip's display area whose top lies Offset below the
// area's design top (Top), but never under the tabs.
QRect ViewRect(int Left, int Top, int Width, int BottomMargin, int TabsBottom, int Offset) {
  const int Y = std::max(Top, TabsBottom + Offset);
  return {Left, Y, Width, TabControlSize.height() - BottomMargin - Y};
}

}  // namespace

// ---------------------------------------------------------------------------
// RotateBitmapInPlace

void RotateBitmapInPlace(TBitmap& Bitmap, float Angle, bool Enlarge, QColor Background) {
  const TRotationGeometry Geometry = RotationGeometry(Bitmap.Width(), Bitmap.Height(), Angle, Enlarge);
  if (Geometry.Width > INT_MAX || Geometry.Height > INT_MAX)
    throw std::length_error("The turned picture is too large");
  const QImage::Format Format = ThirtyTwoBitFormat(Bitmap.Picture);
  if (!Bitmap.Picture.isNull() && Bitmap.Picture.format() != Format)
    Bitmap.Picture.convertTo(Format);
  TBitmap Turned;  // released on every path by its scope
  Turned.CopyTransparency(Bitmap);
  Turned.BrushColor = Background;
  Turned.SetSize(static_cast<int>(Geometry.Width), static_cast<int>(Geometry.Height), Format);
  DrawParallelogram(Turned.Pixels(), std::as_const(Bitmap).Pixels(), Geometry, Turned.BrushPixel());
  Bitmap.Assign(std::move(Turned));
}

TShownPicture ScreenPicture(TPictureSource& Source, QSize Screen, QColor Background) {
  const TPictureSize Box{Screen.width(), Screen.height()};
  TBitmap Bitmap;
  Bitmap.Picture = PictureToImage(Source, Box, Background);
  if (const double Angle = OrientationAngle(Source.Orientation()); Angle != 0.0)
    RotateBitmapInPlace(Bitmap, static_cast<float>(Angle), true, Background);
  const TPictureSize Full = Source.ShownSize();
  return {std::move(Bitmap.Picture), QSize(Full.Width, Full.Height)};
}

// ---------------------------------------------------------------------------
// TForm1: construction

TForm1::TForm1(QWidget* Parent)
    : QWidget(Parent), FWatcher(new QFileSystemWatcher(this)), FFileCheck(new QTimer(this)) {
  CreateControls();
  ConnectHandlers();
  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::CreateControls() {
  setWindowTitle(QStringLiteral("Lumentag"));
  setFont(DesignFont(QStringLiteral("Tahoma"), QFontDatabase::GeneralFont, FontPixels));
  QPalette Colours = palette();
  Colours.setColor(QPalette::Window, Colours.color(QPalette::Button));
  setPalette(Colours);
  setAutoFillBackground(true);
  resize(ClientSize);
  CentreOnScreen();

  auto* Layout = new TAnchorLayout(this, ClientSize);
  Button1 = new QPushButton(QStringLiteral("Open image..."), this);
  Button1->setCursor(Qt::PointingHandCursor);
  Layout->Place(Button1, {16, 7, 100, 25}, akLeft | akTop);

  opd = new QFileDialog(this);
  SetupOpenDialog();

  Edit1 = new QLineEdit(this);
  Edit1->setReadOnly(true);
  QPalette EditColours = Edit1->palette();
  EditColours.setColor(QPalette::Base, Colours.color(QPalette::Button));
  Edit1->setPalette(EditColours);
  Layout->Place(Edit1, {125, 9, 613, 21}, akLeft | akTop | akRight);

  tc = new TTabControl(this);
  tc->setCursor(Qt::PointingHandCursor);
  QFont TabFont = font();
  TabFont.setBold(true);
  tc->Tabs()->setFont(TabFont);
  for (const TTabView& Tab : TabViews) tc->Tabs()->addTab(FromUtf8(Tab.Caption));
  tc->SetTabIndex(0);
  ShowRowTabs();
  Layout->Place(tc, {13, 42, TabControlSize.width(), TabControlSize.height()}, akAll);

  CreateViews();

  setTabOrder(Button1, Edit1);
  setTabOrder(Edit1, tc);
}

// The three views lie one over the other inside the tab strip: the comment
// lowest, then the list, then the picture panel on top.
void TForm1::CreateViews() {
  auto* Views = new TAnchorLayout(tc, TabControlSize);
  const int TabsBottom = tc->DisplayTop();
  Memo = new QPlainTextEdit(tc);
  Memo->setFont(DesignFont(QStringLiteral("Courier New"), QFontDatabase::FixedFont, FontPixels));
  Memo->setReadOnly(true);
  Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo->setCursor(Qt::IBeamCursor);
  Memo->hide();
  Views->Place(Memo, ViewRect(19, 57, 692, 20, TabsBottom, 33), akAll);

  // The hand cursor belongs to the tab strip's captions, not to its views.
  List = new TListView(tc);
  List->setCursor(Qt::ArrowCursor);
  SetupList();
  FListRect = ViewRect(15, 33, ListDesignWidth, 18, TabsBottom, 9);
  Views->Place(List, FListRect, akAll);

  ImagePanel = new QWidget(tc);
  ImagePanel->setCursor(Qt::ArrowCursor);
  Views->Place(ImagePanel, ViewRect(4, 24, ImagePanelSize.width(), 4, TabsBottom, 0), akAll);
  auto* PanelLayout = new TAnchorLayout(ImagePanel, ImagePanelSize);
  Image = new TImage(ImagePanel);
  const int LabelTop = ImagePanelSize.height() - LabelHeight;
  PanelLayout->Place(Image, {0, 0, ImagePanelSize.width(), LabelTop}, akAll);
  Label1 = new QLabel(QStringLiteral(" "), ImagePanel);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  PanelLayout->Place(Label1, {0, LabelTop, ImagePanelSize.width(), LabelHeight},
                     akLeft | akRight | akBottom);
  FViews = Views;
  CreateFilter();
}

// The filter field lies over the top of the list's place, hidden; shown, it
// pushes the list's top down below it.
void TForm1::CreateFilter() {
  FilterEdit = new QLineEdit(tc);
  FilterEdit->setPlaceholderText(QStringLiteral("Filter"));
  FilterEdit->setClearButtonEnabled(true);
  FilterEdit->setCursor(Qt::IBeamCursor);
  FilterEdit->hide();
  FViews->Place(FilterEdit, {FListRect.topLeft(), QSize(FListRect.width(), FilterHeight)},
                akLeft | akTop | akRight);
  setTabOrder(FilterEdit, List);
}

// Centred on the screen, but never with its top-left corner off it.
void TForm1::CentreOnScreen() {
  const QScreen* Screen = QGuiApplication::primaryScreen();
  if (Screen == nullptr) return;
  const QRect Room = Screen->availableGeometry();
  QRect Frame(QPoint(0, 0), size());
  Frame.moveCenter(Room.center());
  move(std::max(Room.left(), Frame.left()), std::max(Room.top(), Frame.top()));
}

void TForm1::SetupOpenDialog() {
  // Qt's own dialog on every desktop, so the window behaves the same
  // everywhere and can be driven by tests.
  opd->setOption(QFileDialog::DontUseNativeDialog);
  opd->setOption(QFileDialog::HideNameFilterDetails);
  opd->setAcceptMode(QFileDialog::AcceptOpen);
  opd->setFileMode(QFileDialog::ExistingFile);
  opd->setSizeGripEnabled(true);
  const QStringList Filters = OpenNameFilters();
  opd->setNameFilters(Filters);
  opd->selectNameFilter(Filters.first());
  AddPreview();
}

// Qt's own file dialog lays its parts out in a grid, the folder tree and the
// file list side by side in one splitter; the preview takes a new column to
// their right.
void TForm1::AddPreview() {
  auto* Grid = qobject_cast<QGridLayout*>(opd->layout());
  auto* Files = opd->findChild<QSplitter*>();
  if (Grid == nullptr || Files == nullptr) return;
  const int Index = Grid->indexOf(Files);
  if (Index < 0) return;
  int Row, Column, RowSpan, ColumnSpan;
  Grid->getItemPosition(Index, &Row, &Column, &RowSpan, &ColumnSpan);
  auto* Preview = new TPicturePreview(opd);
  Grid->addWidget(Preview, Row, Grid->columnCount(), RowSpan, 1);
  connect(opd, &QFileDialog::currentChanged, Preview, &TPicturePreview::ShowFile);
}

void TForm1::SetupList() {
  List->setColumnCount(3);
  List->setHeaderLabels({QStringLiteral("Tag"), QStringLiteral("Property"), QStringLiteral("Value")});
  List->setColumnWidth(0, 50);
  List->setColumnWidth(1, 150);
  List->setColumnWidth(2, 300);
  List->header()->setStretchLastSection(false);
  List->header()->setSectionsClickable(false);
  List->setSortingEnabled(false);
  List->setRootIsDecorated(false);
  List->setItemsExpandable(false);
  List->setUniformRowHeights(true);
  List->setAllColumnsShowFocus(true);
  List->setSelectionMode(QAbstractItemView::SingleSelection);
  List->setSelectionBehavior(QAbstractItemView::SelectRows);
  List->setEditTriggers(QAbstractItemView::NoEditTriggers);
  List->setContextMenuPolicy(Qt::CustomContextMenu);
  List->StretchLastColumnBeyond(ListDesignWidth);
}

void TForm1::ConnectHandlers() {
  // The value dialog only lets the user read and copy a long value: no
  // failure there is worth a message.
  connect(Button1, &QPushButton::clicked, this, Handler([this] { cmOpen(); }));
  connect(tc, &TTabControl::Change, this, Handler([this] { tcChange(); }));
  connect(List, &TListView::DblClick, this, Handler([this] { ListDblClick(); }, THandlerErrors::Dropped));
  connect(List, &TListView::ReturnKey, this, Handler([this] { ListDblClick(); }, THandlerErrors::Dropped));
  connect(List, &TListView::CopyKey, this, Handler([this] { cmCopyRow(); }));
  connect(List, &TListView::customContextMenuRequested, this,
          [this](const QPoint& Position) { RunHandler([&] { ListContextPopup(Position); }); });
  connect(FilterEdit, &QLineEdit::textChanged, this, Handler([this] { FilterChange(); }));
  new TFileDropTarget(this, [this](const QString& File) { OpenLater(File); });
  FFileCheck->setSingleShot(true);
  FFileCheck->setInterval(FileCheckDelayMs);
  connect(FWatcher, &QFileSystemWatcher::fileChanged, this, [this] {
    FFileTouched = true;
    ScheduleFileCheck();
  });
  connect(FWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { ScheduleFileCheck(); });
  connect(FFileCheck, &QTimer::timeout, this, Handler([this] { FileChange(); }));
  CreateShortcuts();
  WatchScreen();
}

// Each command has the platform's standard keys for it and the keys named
// here, which it has on every platform.
void TForm1::CreateShortcuts() {
  AddShortcut(QKeySequence::Open, QStringLiteral("Ctrl+O"), [this] { cmOpen(); });
  AddShortcut(QKeySequence::NextChild, QStringLiteral("Ctrl+Tab; Ctrl+PgDown"), [this] { StepTab(1); });
  // X11 delivers Ctrl+Shift+Tab as Backtab with Control, with or without
  // Shift, or as Tab with both.
  AddShortcut(QKeySequence::PreviousChild,
              QStringLiteral("Ctrl+Shift+Tab; Ctrl+Backtab; Ctrl+Shift+Backtab; Ctrl+PgUp"),
              [this] { StepTab(-1); });
  AddShortcut(QKeySequence::Close, QStringLiteral("Ctrl+W"), [this] { close(); });
  AddShortcut(QKeySequence::Quit, QStringLiteral("Ctrl+Q"), [this] { close(); });
  for (int Tab = 0; Tab < std::min(tc->Tabs()->count(), 9); ++Tab)
    AddShortcut(QKeySequence::UnknownKey, QStringLiteral("Alt+%1").arg(Tab + 1),
                [this, Tab] { tc->SetTabIndex(Tab); });
  AddShortcut(QKeySequence::UnknownKey, QStringLiteral("Alt+Right"), [this] { cmNextFile(); });
  AddShortcut(QKeySequence::UnknownKey, QStringLiteral("Alt+Left"), [this] { cmPreviousFile(); });
  AddShortcut(QKeySequence::Find, QStringLiteral("Ctrl+F"), [this] { cmFind(); });
  // Space and Backspace step through the folder only where they type
  // nothing: in the list, the tab strip and the read-only comment. The open
  // button keeps Space, the filter and the file name box keep both.
  auto* Browse = new TControlKeys(this);
  Browse->Add(Qt::Key_Space, Handler([this] { cmNextFile(); }));
  Browse->Add(Qt::Key_Backspace, Handler([this] { cmPreviousFile(); }));
  Browse->Watch(List);
  Browse->Watch(tc->Tabs());
  Browse->Watch(Memo);
  auto* CloseFilter = new TControlKeys(this);
  CloseFilter->Add(Qt::Key_Escape, Handler([this] { cmCloseFilter(); }));
  CloseFilter->Watch(FilterEdit);
  CloseFilter->Watch(List);
}

void TForm1::AddShortcut(QKeySequence::StandardKey Standard, const QString& Keys,
                         std::function<void()> Command) {
  QList<QKeySequence> Sequences = QKeySequence::keyBindings(Standard);
  for (const QKeySequence& Key : QKeySequence::listFromString(Keys))
    if (!Sequences.contains(Key)) Sequences << Key;
  auto* Shortcut = new QShortcut(this);
  Shortcut->setKeys(Sequences);
  connect(Shortcut, &QShortcut::activated, this, Handler(std::move(Command)));
}

// Next or previous tab shown, round the strip; the tab strip's change
// rebuilds the view.
void TForm1::StepTab(int Step) {
  const QTabBar* Tabs = tc->Tabs();
  const int Count = Tabs->count();
  int Index = tc->TabIndex();
  for (int Tried = 0; Tried < Count; ++Tried) {
    Index = ((Index + Step) % Count + Count) % Count;
    if (Tabs->isTabVisible(Index)) {
      tc->SetTabIndex(Index);
      return;
    }
  }
}

void TForm1::WatchScreen() {
  new TScreenWatch(this, Handler([this] { FormScreenChange(); }));
}

// ---------------------------------------------------------------------------
// Handlers

void TForm1::FormCreate() { EXIF = std::make_unique<TEXIF>(); }

void TForm1::cmOpen() {
  if (opd->exec() != QDialog::Accepted) return;
  const QStringList Files = opd->selectedFiles();
  if (Files.isEmpty()) return;
  LoadFile(Files.first());
}

// The file's stamp is taken before it is read: a change while it is read
// is then seen as a change.
void TForm1::LoadFile(const QString& FileName) {
  const TFileStamp Stamp = FileStamp(FileName);
  // A file that cannot be read throws here, before anything is shown.
  EXIF->LoadFromFile(QFile::encodeName(FileName).toStdString());
  ShowLoaded(FileName, Stamp);
}

void TForm1::ShowLoaded(const QString& FileName, const TFileStamp& Stamp) {
  Edit1->setText(FileName);
  Edit1->setToolTip(QString());
  FBrowsePosition = FileName;
  FLoadedStamp = Stamp;
  WatchFile(FileName);
  ShowRowTabs();
  tcChange();
}

// Hiding the selected tab selects another; the strip's change is held back,
// as the caller rebuilds the view of whichever tab is selected then. Before
// the document is made there are no rows.
void TForm1::ShowRowTabs() {
  const QSignalBlocker Quiet(tc->Tabs());
  for (size_t Index = 0; Index < TabViews.size(); ++Index)
    if (TabViews[Index].OnlyWithRows)
      tc->Tabs()->setTabVisible(static_cast<int>(Index), EXIF && RowCount(*EXIF, TabViews[Index]) > 0);
}

void TForm1::OpenFile(const QString& FileName) {
  const QString Name = QFileInfo(FileName).absoluteFilePath();
  const TFileStamp Stamp = FileStamp(Name);
  // A file that cannot be read, or is no file at all, throws here, before
  // anything is shown.
  EXIF->LoadExistingFile(QFile::encodeName(Name).toStdString());
  ShowLoaded(Name, Stamp);
}

void TForm1::OpenFileInPlace(const QString& FileName) {
  const QPointer<QWidget> Focus = QApplication::focusWidget();
  const TRowPlace Place = RowPlace(*List);
  OpenFile(FileName);
  if (ListShown()) RestoreRowPlace(*List, Place);
  // Hiding the views while the tab is rebuilt took the focus from the list.
  if (Focus != nullptr && isAncestorOf(Focus) && Focus->isVisible()) Focus->setFocus();
}

void TForm1::OpenLater(const QString& FileName) {
  if (FileName.isEmpty()) return;
  QTimer::singleShot(0, this, Handler([this, FileName] { OpenFile(FileName); }));
}

void TForm1::tcChange() {
  List->hide();
  ImagePanel->hide();
  Memo->hide();
  FShownView = nullptr;
  const int Index = tc->TabIndex();
  if (Index >= 0 && Index < static_cast<int>(TabViews.size())) {
    const TTabView& Tab = TabViews[static_cast<size_t>(Index)];
    switch (Tab.Kind) {
      case tkTags:
      case tkXmp:
      case tkIptc: DisplayList(Tab); break;
      case tkImage: DisplayImage(); break;
      case tkThumbnail: DisplayThumbnail(); break;
      case tkComment: DisplayComment(); break;
    }
  }
  // Whichever list a tab shows, the open filter applies to it.
  const bool Filtered = FFilterOpen && ListShown();
  if (Filtered) List->FilterRows(FilterEdit->text());
  ShowFilterBar(Filtered);
}

// The list is the view shown (at start the empty picture panel covers it).
bool TForm1::ListShown() const { return List->isVisibleTo(this) && !ImagePanel->isVisibleTo(this); }

// The Image tab's picture is decoded for the screen it is shown on.
void TForm1::FormScreenChange() {
  const int Index = tc->TabIndex();
  if (Index >= 0 && Index < static_cast<int>(TabViews.size()) && TabViews[static_cast<size_t>(Index)].Kind == tkImage)
    tcChange();
}

// The dialog only lets the user read and copy a long value; whatever is done
// in it changes nothing.
void TForm1::ListDblClick() {
  const QTreeWidgetItem* Row = SelectedRow();
  if (Row == nullptr) return;
  QInputDialog Dialog(this);
  Dialog.setInputMode(QInputDialog::TextInput);
  Dialog.setWindowTitle(Row->text(1));
  Dialog.setLabelText(Row->text(0));
  Dialog.setTextValue(Row->text(2));
  Dialog.setSizeGripEnabled(true);
  if (auto* Field = Dialog.findChild<QLineEdit*>()) {
    Field->selectAll();
    WidenForText(Dialog, *Field, screen()->availableGeometry().width() * 4 / 5);
  }
  Dialog.exec();
}

// A row the filter hides is never the selected one.
QTreeWidgetItem* TForm1::SelectedRow() const {
  const QList<QTreeWidgetItem*> Selected = List->selectedItems();
  return Selected.isEmpty() || Selected.first()->isHidden() ? nullptr : Selected.first();
}

void TForm1::cmCopyValue() {
  if (const QTreeWidgetItem* Row = SelectedRow())
    QGuiApplication::clipboard()->setText(ClipboardCell(Row->text(2)));
}

void TForm1::cmCopyRow() {
  if (const QTreeWidgetItem* Row = SelectedRow()) QGuiApplication::clipboard()->setText(ClipboardRow(*Row));
}

// Every row the list shows, one per line, under a line of the column headers.
void TForm1::cmCopyAllRows() {
  QString Text = ClipboardRow(*List->headerItem()) + QLatin1Char('\n');
  for (const QTreeWidgetItem* Row : List->ShownRows()) Text += ClipboardRow(*Row) + QLatin1Char('\n');
  QGuiApplication::clipboard()->setText(Text);
}

// Made afresh for each request, with the commands that have something to
// copy enabled; it deletes itself once closed. The GPS tab adds its
// position's commands.
void TForm1::ListContextPopup(const QPoint& Position) {
  auto* Menu = new QMenu(List);
  Menu->setAttribute(Qt::WA_DeleteOnClose);
  const bool HasRow = SelectedRow() != nullptr;
  Menu->addAction(QStringLiteral("Copy Value"), this, &TForm1::cmCopyValue)->setEnabled(HasRow);
  QAction* CopyRow = Menu->addAction(QStringLiteral("Copy Row"), this, &TForm1::cmCopyRow);
  CopyRow->setEnabled(HasRow);
  // The list's own copy key, shown beside the command; the menu takes it too
  // while it is open.
  CopyRow->setShortcuts(QKeySequence::Copy);
  CopyRow->setShortcutVisibleInContextMenu(true);
  Menu->addAction(QStringLiteral("Copy All Rows"), this, &TForm1::cmCopyAllRows)
      ->setEnabled(!List->ShownRows().isEmpty());
  if (FShownView == &TagViews[tvGPS]) {
    const bool HasPosition = GpsPosition(*EXIF).has_value();
    Menu->addSeparator();
    Menu->addAction(QStringLiteral("Copy Coordinates"), this, Handler([this] { cmCopyCoordinates(); }))
        ->setEnabled(HasPosition);
    Menu->addAction(QStringLiteral("Show on Map"), this, Handler([this] { cmShowOnMap(); }))
        ->setEnabled(HasPosition);
  }
  Menu->popup(List->viewport()->mapToGlobal(Position));
}

void TForm1::cmCopyCoordinates() {
  if (const auto Position = GpsPosition(*EXIF))
    QGuiApplication::clipboard()->setText(QString::fromStdString(CoordinatesText(*Position)));
}

// The desktop's web browser shows the map.
void TForm1::cmShowOnMap() {
  const auto Position = GpsPosition(*EXIF);
  if (!Position) return;
  const std::string Address = OpenStreetMapAddress(*Position);
  if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(Address))))
    throw std::runtime_error("Cannot open \"" + Address + "\"");
}

// ---------------------------------------------------------------------------
// The row filter

void TForm1::cmFind() {
  if (!ListShown()) return;
  FFilterOpen = true;
  ShowFilterBar(true);
  FilterEdit->setFocus(Qt::ShortcutFocusReason);
  FilterEdit->selectAll();
}

void TForm1::cmCloseFilter() {
  if (!FFilterOpen) return;
  const bool Typing = FilterEdit->hasFocus();
  FFilterOpen = false;
  FilterEdit->clear();  // shows every row again
  ShowFilterBar(false);
  if (Typing && List->isVisible()) List->setFocus(Qt::OtherFocusReason);
}

void TForm1::FilterChange() { List->FilterRows(FilterEdit->text()); }

void TForm1::ShowFilterBar(bool Shown) {
  if (FilterEdit->isVisibleTo(tc) == Shown) return;
  FViews->Move(List, Shown ? FListRect.adjusted(0, FilterHeight + FilterGap, 0, 0) : FListRect);
  FilterEdit->setVisible(Shown);
}

// ---------------------------------------------------------------------------
// The folder of the open file

void TForm1::cmNextFile() { BrowseFolder(true); }

void TForm1::cmPreviousFile() { BrowseFolder(false); }

// The offered file whose name comes next (Forward) or before in natural
// order, among the files of the folder; nothing happens at either end.
void TForm1::BrowseFolder(bool Forward) {
  if (FBrowsePosition.isEmpty()) return;
  const QFileInfo Current(FBrowsePosition);
  std::vector<std::string> Names;
  QDirIterator Files(Current.absolutePath(), QDir::Files);
  while (Files.hasNext()) {
    Files.next();
    std::string Name = QFile::encodeName(Files.fileName()).toStdString();
    if (IsOfferedFileName(Name)) Names.push_back(std::move(Name));
  }
  const std::optional<std::string> Next =
      NeighbourName(Names, QFile::encodeName(Current.fileName()).toStdString(), Forward);
  if (!Next) return;
  FBrowsePosition = Current.absoluteDir().filePath(QFile::decodeName(QByteArray::fromStdString(*Next)));
  OpenFileInPlace(FBrowsePosition);
}

// ---------------------------------------------------------------------------
// Changes on disk

TForm1::TFileStamp TForm1::FileStamp(const QString& FileName) {
  struct stat Status {};
  if (::stat(QFile::encodeName(FileName).constData(), &Status) != 0 || S_ISDIR(Status.st_mode)) return {};
  constexpr int64_t Billion = 1000000000;
  return {true,
          static_cast<uint64_t>(Status.st_dev),
          static_cast<uint64_t>(Status.st_ino),
          static_cast<int64_t>(Status.st_size),
          int64_t{Status.st_mtim.tv_sec} * Billion + Status.st_mtim.tv_nsec,
          int64_t{Status.st_ctim.tv_sec} * Billion + Status.st_ctim.tv_nsec};
}

// The file itself, for a rewrite in place, and its folder, for a file
// renamed over it (the watch of a path follows the file it named then) or
// removed. Watched afresh after each load.
void TForm1::WatchFile(const QString& FileName) {
  if (const QStringList Watched = FWatcher->files() + FWatcher->directories(); !Watched.isEmpty())
    FWatcher->removePaths(Watched);
  FWatcher->addPaths({FileName, QFileInfo(FileName).absolutePath()});
}

void TForm1::ScheduleFileCheck() {
  if (!FFileCheck->isActive()) FFileCheck->start();
}

// A report on the file itself always reloads it: a rewrite may keep its
// size and, within the file system's clock tick, its time. A report on the
// folder reloads it only when it is another file now (the folder reports
// every file in it). A file gone leaves its tags shown.
void TForm1::FileChange() {
  const bool Touched = std::exchange(FFileTouched, false);
  const QString FileName = Edit1->text();
  if (FileName.isEmpty()) return;
  const TFileStamp Now = FileStamp(FileName);
  if (Now.Exists && !Touched && Now == FLoadedStamp) return;
  if (Now.Exists) {
    try {
      OpenFileInPlace(FileName);
      return;
    } catch (...) {
      if (FileStamp(FileName).Exists) throw;  // gone while it was read: no error for that
    }
  }
  FLoadedStamp = {};  // so that a file put back under the name is read
  Edit1->setToolTip(QStringLiteral("File no longer exists"));
}

// ---------------------------------------------------------------------------
// Views

// The rows are made first and handed to the list at once: inserting them one
// by one costs the list a notice each, which for an XMP packet of 100,000
// values is most of the work.
void TForm1::DisplayList(const TTabView& Tab) {
  {
    const TUpdateBlock Batch(List);
    List->clear();
    QList<QTreeWidgetItem*> Rows;
    Rows.reserve(static_cast<qsizetype>(RowCount(*EXIF, Tab)));
    try {
      ForEachRow(*EXIF, Tab, [&](std::string_view Tag, std::string_view Name, std::string_view Value) {
        Rows.append(new QTreeWidgetItem(QStringList{FromUtf8(Tag), FromUtf8(Name), FromUtf8(Value)}));
      });
    } catch (...) {
      qDeleteAll(Rows);
      throw;
    }
    List->addTopLevelItems(Rows);
  }
  FShownView = Tab.Tags;
  List->show();
}

// The six tag tabs lead TabViews, in the order of TagViews.
void TForm1::DisplayIFD0() { DisplayList(TabViews[tvIFD0]); }

void TForm1::DisplayIFD1() { DisplayList(TabViews[tvIFD1]); }

void TForm1::DisplayEXIFSubIFD() { DisplayList(TabViews[tvEXIF]); }

void TForm1::DisplayEXIFInteropIFD() { DisplayList(TabViews[tvInterop]); }

void TForm1::DisplayEXIFGPSIFD() { DisplayList(TabViews[tvGPS]); }

void TForm1::DisplayMakerNote() { DisplayList(TabViews[tvMakerNote]); }

void TForm1::DisplayXMP() { DisplayList(*FindTab(tkXmp)); }

void TForm1::DisplayIPTC() { DisplayList(*FindTab(tkIptc)); }

void TForm1::DisplayComment() {
  Memo->show();
  // CR LF, CR and LF each end a line.
  QString Text = QString::fromStdString(EXIF->Comment());
  Text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  Memo->setPlainText(Text);
}

void TForm1::ShowPicture(QImage Picture, QSize Size) {
  Image->SetPicture(std::move(Picture), Size);
  ImagePanel->show();
  Label1->setText(QString::asprintf("%d x %d", Size.width(), Size.height()));
}

// The screen the window is on, in device pixels.
QSize TForm1::ScreenPixels() const {
  const QScreen* Screen = screen();
  if (Screen == nullptr) return {INT_MAX, INT_MAX};
  return Screen->size() * Screen->devicePixelRatio();
}

void TForm1::DisplayImage() {
  const TBusyCursor Busy;
  // The file is decoded afresh on every visit, whatever its extension says,
  // at the size the window's screen needs. No file under the document's name
  // (none opened yet, or removed since) shows nothing.
  std::optional<TPictureSource> Source = PictureOfFile(*EXIF);
  if (!Source) return;
  TShownPicture Shown = ScreenPicture(*Source, ScreenPixels(), palette().color(QPalette::Button));
  ShowPicture(std::move(Shown.Picture), Shown.Size);
}

void TForm1::DisplayThumbnail() {
  const TJPEGImage* Thumbnail = EXIF->Thumbnail();
  if (Thumbnail == nullptr || Thumbnail->Height() <= 0) return;
  // Shown as stored (a thumbnail is never turned), decoded at the scale the
  // screen needs, like the picture: IFD 1 may point at any JPEG data.
  const TPictureSize Stored = Thumbnail->Size();
  const QSize Screen = ScreenPixels();
  QImage Picture = JpegToImage(*Thumbnail, DecodeEighths(Stored, 0, TPictureSize{Screen.width(), Screen.height()}));
  ShowPicture(std::move(Picture), QSize(Stored.Width, Stored.Height));
}
