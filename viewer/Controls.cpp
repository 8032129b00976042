#include "Controls.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleOptionTabWidgetFrame>
#include <QToolTip>
#include <QWidgetItem>
#include <algorithm>
#include <cmath>
#include <utility>

#include "Bitmap.h"
#include "EXIF_Intf.h"
#include "PictureSize.h"

// ---------------------------------------------------------------------------
// TAnchorLayout

TAnchorLayout::TAnchorLayout(QWidget* Parent, QSize DesignSize)
    : QLayout(Parent), FDesignSize(DesignSize) {
  setContentsMargins(0, 0, 0, 0);
}

TAnchorLayout::~TAnchorLayout() {
  while (QLayoutItem* Item = takeAt(0)) delete Item;
}

void TAnchorLayout::Place(QWidget* Control, QRect DesignRect, int Anchors) {
  addChildWidget(Control);
  FEntries.append({new QWidgetItem(Control), DesignRect, Anchors});
  invalidate();
}

void TAnchorLayout::Move(QWidget* Control, QRect DesignRect) {
  for (TEntry& Entry : FEntries)
    if (Entry.Item->widget() == Control) Entry.Rect = DesignRect;
  invalidate();
  activate();
}

void TAnchorLayout::addItem(QLayoutItem* Item) {
  FEntries.append({Item, QRect(QPoint(0, 0), Item->sizeHint()), akLeft | akTop});
}

QLayoutItem* TAnchorLayout::itemAt(int Index) const {
  return Index >= 0 && Index < FEntries.size() ? FEntries[Index].Item : nullptr;
}

QLayoutItem* TAnchorLayout::takeAt(int Index) {
  if (Index < 0 || Index >= FEntries.size()) return nullptr;
  return FEntries.takeAt(Index).Item;
}

namespace {

// One axis of an anchored rectangle: its start and length once the parent
// has grown by Growth.
void AnchorAxis(int Start, int Length, bool Near, bool Far, int Growth, int& NewStart,
                int& NewLength) {
  NewStart = Start;
  NewLength = Length;
  if (Near && Far)
    NewLength = std::max(0, Length + Growth);
  else if (Far)
    NewStart = Start + Growth;
}

}  // namespace

void TAnchorLayout::setGeometry(const QRect& Rect) {
  QLayout::setGeometry(Rect);
  const int GrowX = Rect.width() - FDesignSize.width();
  const int GrowY = Rect.height() - FDesignSize.height();
  for (const TEntry& Entry : FEntries) {
    int X, Y, W, H;
    AnchorAxis(Entry.Rect.x(), Entry.Rect.width(), Entry.Anchors & akLeft, Entry.Anchors & akRight,
               GrowX, X, W);
    AnchorAxis(Entry.Rect.y(), Entry.Rect.height(), Entry.Anchors & akTop, Entry.Anchors & akBottom,
               GrowY, Y, H);
    // The rectangle as it stands: a control's own size hints do not apply.
    const QRect Place(Rect.x() + X, Rect.y() + Y, W, H);
    if (QWidget* Control = Entry.Item->widget())
      Control->setGeometry(Place);
    else
      Entry.Item->setGeometry(Place);
  }
}

// ---------------------------------------------------------------------------
// TTabControl

namespace {

// The desktop's style with less space beside each tab's caption: the nine
// captions carry blanks of their own, and with the usual padding they would
// not fit the strip side by side.
class TCompactTabStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override {
    if (Metric == PM_TabBarTabHSpace) return QProxyStyle::pixelMetric(Metric, Option, Widget) / 3;
    return QProxyStyle::pixelMetric(Metric, Option, Widget);
  }
};

}  // namespace

TTabControl::TTabControl(QWidget* Parent) : QWidget(Parent), FTabs(new QTabBar(this)) {
  auto* Style = new TCompactTabStyle;
  Style->setParent(FTabs);
  FTabs->setStyle(Style);
  FTabs->setDrawBase(false);
  FTabs->setExpanding(false);
  FTabs->setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(FTabs);
  connect(FTabs, &QTabBar::currentChanged, this, &TTabControl::Change);
}

int TTabControl::DisplayTop() const { return FTabs->sizeHint().height(); }

void TTabControl::resizeEvent(QResizeEvent*) {
  FTabs->setGeometry(0, 0, width(), DisplayTop());
}

void TTabControl::paintEvent(QPaintEvent*) {
  QPainter Painter(this);
  QStyleOptionTabWidgetFrame Frame;
  Frame.initFrom(this);
  const int Overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
  Frame.rect = rect().adjusted(0, DisplayTop() - Overlap, 0, 0);
  Frame.tabBarSize = FTabs->size();
  Frame.shape = FTabs->shape();
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &Frame, &Painter, this);
}

// ---------------------------------------------------------------------------
// TListView

void TListView::mouseDoubleClickEvent(QMouseEvent* Event) {
  QTreeWidget::mouseDoubleClickEvent(Event);
  emit DblClick();
}

void TListView::keyPressEvent(QKeyEvent* Event) {
  // The whole row is copied, not Qt's one current cell.
  if (Event->matches(QKeySequence::Copy)) {
    emit CopyKey();
    return;
  }
  if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
    emit ReturnKey();
    return;
  }
  QTreeWidget::keyPressEvent(Event);
}

bool TListView::viewportEvent(QEvent* Event) {
  if (Event->type() != QEvent::ToolTip) return QTreeWidget::viewportEvent(Event);
  const auto* Help = static_cast<QHelpEvent*>(Event);
  const QModelIndex Cell = indexAt(Help->pos());
  if (Cell.isValid() && IsCutOff(Cell))
    QToolTip::showText(Help->globalPos(), Cell.data().toString(), viewport(), visualRect(Cell));
  else
    QToolTip::hideText();
  return true;
}

void TListView::resizeEvent(QResizeEvent* Event) {
  QTreeWidget::resizeEvent(Event);
  FitLastColumn();
}

void TListView::StretchLastColumnBeyond(int DesignWidth) {
  FDesignWidth = DesignWidth;
  FDesignLastWidth = columnWidth(columnCount() - 1);
  FitLastColumn();
}

// The last column ends at the viewport's right edge (the room a vertical
// scroll bar takes is left to it), but never gets narrower than it was made.
void TListView::FitLastColumn() {
  if (FDesignWidth <= 0 || columnCount() == 0) return;
  const int Last = columnCount() - 1;
  int Width = FDesignLastWidth;
  if (width() > FDesignWidth) Width = std::max(Width, viewport()->width() - header()->sectionPosition(Last));
  if (columnWidth(Last) != Width) setColumnWidth(Last, Width);
}

void TListView::FilterRows(const QString& Text) {
  for (int Index = 0; Index < topLevelItemCount(); ++Index) {
    QTreeWidgetItem* Row = topLevelItem(Index);
    bool Matches = Text.isEmpty();
    for (int Column = 0; Column < columnCount() && !Matches; ++Column)
      Matches = Row->text(Column).contains(Text, Qt::CaseInsensitive);
    Row->setHidden(!Matches);
    if (!Matches) Row->setSelected(false);
  }
}

QList<QTreeWidgetItem*> TListView::ShownRows() const {
  QList<QTreeWidgetItem*> Rows;
  for (int Index = 0; Index < topLevelItemCount(); ++Index)
    if (!topLevelItem(Index)->isHidden()) Rows << topLevelItem(Index);
  return Rows;
}

// The cell's text needs more room than the cell has, so it is drawn elided.
bool TListView::IsCutOff(const QModelIndex& Cell) const {
  QStyleOptionViewItem Option;
  initViewItemOption(&Option);
  return itemDelegateForIndex(Cell)->sizeHint(Option, Cell).width() > visualRect(Cell).width();
}

// ---------------------------------------------------------------------------
// TImage

QSize FitPicture(QSize Picture, QSize Control) {
  const TPictureSize Drawn =
      FitPicture(TPictureSize{Picture.width(), Picture.height()}, TPictureSize{Control.width(), Control.height()});
  return {Drawn.Width, Drawn.Height};
}

void TImage::SetPicture(QImage Picture, QSize Size) {
  FPicture = std::move(Picture);
  FSize = Size;
  FScaled = QPixmap();
  update();
}

void TImage::paintEvent(QPaintEvent*) {
  const QSize Drawn = DrawnRect().size();
  if (Drawn.isEmpty()) return;
  // A shrunk picture is scaled once per size, at the screen's own pixels.
  const qreal Ratio = devicePixelRatioF();
  const QSize Device(static_cast<int>(Drawn.width() * Ratio), static_cast<int>(Drawn.height() * Ratio));
  if (FScaled.size() != Device) {
    const QImage Scaled = Device == FPicture.size()
                              ? FPicture
                              : FPicture.scaled(Device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    FScaled = QPixmap::fromImage(Scaled);
  }
  FScaled.setDevicePixelRatio(Ratio);
  QPainter Painter(this);
  Painter.drawPixmap(QPoint(0, 0), FScaled);
}

// ---------------------------------------------------------------------------
// TPicturePreview

TPicturePreview::TPicturePreview(QWidget* Parent) : QLabel(Parent) {
  setObjectName(QStringLiteral("preview"));
  setFixedWidth(Side + 8);
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

namespace {

// Jpeg decoded at the smallest DCT scale that still fills a square of Side.
QImage PreviewPicture(const TJPEGImage& Jpeg, int Side) {
  return JpegToImage(Jpeg, DecodeEighths(Jpeg.Size(), 0, TPictureSize{Side, Side}));
}

// A file the reader can show: a JPEG file's embedded thumbnail, or else its
// picture through the picture source, filling a square of Side as stored
// (not turned); a camera's raw file shows its thumbnail or its preview. Null
// for a file of another kind, and when it fails.
QImage ReaderPreview(const QString& FileName, int Side) {
  try {
    TEXIF Document;
    Document.LoadFromFile(QFile::encodeName(FileName).toStdString());
    const std::string_view Format = Document.FileFormat();
    if (Format == "unknown" || (Format == "TIFF" && !Document.Picture().FromPreviews)) return {};
    if (const TJPEGImage* Thumbnail = Document.Thumbnail(); Thumbnail != nullptr && Thumbnail->Height() > 0)
      return PreviewPicture(*Thumbnail, Side);
    // A square box asks for the same size whichever way the picture turns.
    std::optional<TPictureSource> Source = PictureOfFile(Document);
    if (!Source) return {};
    return PictureToImage(*Source, TPictureSize{Side, Side}, QColor(Qt::white));
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

void TPicturePreview::ShowFile(const QString& FileName) {
  clear();
  const QFileInfo Info(FileName);
  if (!Info.isFile() || Info.size() == 0) return;
  QImageReader Reader(FileName);
  Reader.setAllocationLimit(AllocationLimitMB);
  const QSize Bounds(Side, Side);
  QImage Picture = ReaderPreview(FileName, Side);
  if (Picture.isNull() && Reader.format() != "jpeg") {
    const QSize Size = Reader.size();
    if (Size.isValid() && (Size.width() > Side || Size.height() > Side) &&
        Reader.supportsOption(QImageIOHandler::ScaledSize))
      Reader.setScaledSize(Size.scaled(Bounds, Qt::KeepAspectRatio));
    Picture = Reader.read();
  }
  if (Picture.isNull()) return;
  if (Picture.width() > Side || Picture.height() > Side)
    Picture = Picture.scaled(Bounds, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  setPixmap(QPixmap::fromImage(Picture));
}

// ---------------------------------------------------------------------------
// TFileDropTarget

namespace {

// The first local file of a drop that may be copied; empty for any other
// drop. The file is only read, so a drop is never taken as a move, which
// would tell the program it came from to delete it.
QString DroppedFile(const QDropEvent& Drop) {
  if (!(Drop.possibleActions() & Qt::CopyAction) || Drop.mimeData() == nullptr) return {};
  for (const QUrl& Url : Drop.mimeData()->urls())
    if (Url.isLocalFile()) return Url.toLocalFile();
  return {};
}

}  // namespace

TFileDropTarget::TFileDropTarget(QWidget* Window, std::function<void(const QString&)> Open)
    : QObject(Window), FOpen(std::move(Open)) {
  Window->setAcceptDrops(true);
  Window->installEventFilter(this);
}

bool TFileDropTarget::eventFilter(QObject* Watched, QEvent* Event) {
  const QEvent::Type Type = Event->type();
  if (Type != QEvent::DragEnter && Type != QEvent::DragMove && Type != QEvent::Drop)
    return QObject::eventFilter(Watched, Event);
  // Entering and moving ask whether a drop would be taken; the drop takes it.
  auto* Drop = static_cast<QDropEvent*>(Event);
  const QString File = DroppedFile(*Drop);
  if (File.isEmpty()) {
    Drop->ignore();
    return true;
  }
  Drop->setDropAction(Qt::CopyAction);
  Drop->accept();
  if (Type == QEvent::Drop) FOpen(File);
  return true;
}

// ---------------------------------------------------------------------------
// TScreenWatch

TScreenWatch::TScreenWatch(QWidget* Window, std::function<void()> Moved)
    : QObject(Window), FWindow(Window), FMoved(std::move(Moved)) {
  FWindow->installEventFilter(this);
}

bool TScreenWatch::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == FWindow && Event->type() == QEvent::Show && FWindow->windowHandle() != FWatched) {
    FWatched = FWindow->windowHandle();
    connect(FWatched, &QWindow::screenChanged, this, [this] { FMoved(); });
  }
  return QObject::eventFilter(Watched, Event);
}

// ---------------------------------------------------------------------------
// TControlKeys

void TControlKeys::Add(Qt::Key Key, std::function<void()> Command) {
  FCommands.append({Key, std::move(Command)});
}

bool TControlKeys::eventFilter(QObject* Watched, QEvent* Event) {
  if (Event->type() != QEvent::KeyPress) return QObject::eventFilter(Watched, Event);
  const auto* Press = static_cast<QKeyEvent*>(Event);
  if ((Press->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  for (const auto& [Key, Command] : FCommands)
    if (Press->key() == Key) {
      Command();
      return true;
    }
  return false;
}

// ---------------------------------------------------------------------------

QFont DesignFont(const QString& Family, QFontDatabase::SystemFont Fallback, int PixelSize) {
  const bool Installed = QFontDatabase::hasFamily(Family);
  QFont Font = Installed ? QFont(Family) : QFontDatabase::systemFont(Fallback);
  // The desktop's fixed font is not always fixed-pitch by Qt's measure (Noto
  // Sans Mono is not); asked for by kind, Qt picks one that is.
  if (!Installed && Fallback == QFontDatabase::FixedFont) {
    Font.setStyleHint(QFont::TypeWriter);
    Font.setFixedPitch(true);
  }
  Font.setPixelSize(PixelSize);
  return Font;
}
