// The window's building blocks beyond Qt's stock widgets: a layout that keeps
// controls anchored to their parent's sides, a tab strip whose tabs only
// choose a view, a report list with a double-click on its whole area, the
// picture control that shrinks its picture to fit, and a drop target for
// files.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QTabBar>
#include <QTreeWidget>
#include <QWidget>
#include <QWindow>
#include <functional>

// The sides of its parent whose distance a control keeps when the parent is
// resized.
enum TAnchor { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
inline constexpr int akAll = akLeft | akTop | akRight | akBottom;

// Places each control at its rectangle of the parent's design size; an
// anchored side keeps its distance to the same side of the parent, and a
// control anchored on two opposite sides stretches with the parent.
class TAnchorLayout : public QLayout {
 public:
  TAnchorLayout(QWidget* Parent, QSize DesignSize);
  ~TAnchorLayout() override;

  void Place(QWidget* Control, QRect DesignRect, int Anchors);
  // Gives a placed control another rectangle of the design size, at once.
  void Move(QWidget* Control, QRect DesignRect);

  void addItem(QLayoutItem* Item) override;
  QLayoutItem* itemAt(int Index) const override;
  QLayoutItem* takeAt(int Index) override;
  int count() const override { return static_cast<int>(FEntries.size()); }
  QSize sizeHint() const override { return FDesignSize; }
  QSize minimumSize() const override { return {0, 0}; }
  void setGeometry(const QRect& Rect) override;

 private:
  struct TEntry {
    QLayoutItem* Item;
    QRect Rect;
    int Anchors;
  };
  QList<TEntry> FEntries;
  QSize FDesignSize;
};

// A strip of tabs over a framed display area. The tabs own no pages: the
// views are ordinary children of the control, and the change signal tells
// which view to fill.
class TTabControl : public QWidget {
  Q_OBJECT
 public:
  explicit TTabControl(QWidget* Parent);

  QTabBar* Tabs() const { return FTabs; }
  int TabIndex() const { return FTabs->currentIndex(); }
  void SetTabIndex(int Index) { FTabs->setCurrentIndex(Index); }
  // The top of the display area, below the tabs.
  int DisplayTop() const;

 signals:
  void Change();

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

 private:
  QTabBar* FTabs;
};

// A report list whose double click is reported wherever it lands, on a row
// or on the empty area below the rows. Return and Enter, and the copy key,
// are reported too; a cell whose text is cut off shows its whole text as a
// tooltip.
class TListView : public QTreeWidget {
  Q_OBJECT
 public:
  using QTreeWidget::QTreeWidget;

  // While the list is wider than DesignWidth, its last column stretches to
  // its right edge; at that width or narrower the column keeps the width it
  // has when this is called.
  void StretchLastColumnBeyond(int DesignWidth);
  // Shows only the rows one of whose cells contains Text, without regard to
  // case (all rows for an empty text); a selected row that is hidden is no
  // longer selected.
  void FilterRows(const QString& Text);
  // The rows shown, in order.
  QList<QTreeWidgetItem*> ShownRows() const;

 signals:
  void DblClick();
  void ReturnKey();
  void CopyKey();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  bool viewportEvent(QEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

 private:
  bool IsCutOff(const QModelIndex& Cell) const;
  void FitLastColumn();

  int FDesignWidth = 0;  // 0: the last column keeps its width
  int FDesignLastWidth = 0;
};

// The size a picture is drawn at in a control: its own size when it fits,
// else shrunk to fit, keeping its proportions (never enlarged).
QSize FitPicture(QSize Picture, QSize Control);

// Shows one picture at the control's top-left corner, at the size
// FitPicture gives its size for the control's present size.
class TImage : public QWidget {
 public:
  using QWidget::QWidget;

  // Picture is drawn as a picture of Size pixels would be; its bitmap may be
  // smaller (a picture decoded at a reduced scale) and is scaled to the
  // drawn size either way.
  void SetPicture(QImage Picture, QSize Size);
  const QImage& Picture() const { return FPicture; }
  // Where the picture is drawn now.
  QRect DrawnRect() const { return {QPoint(0, 0), FitPicture(FSize, size())}; }

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  QImage FPicture;
  QSize FSize;
  QPixmap FScaled;  // FPicture at the drawn size, made when that size changes
};

// A small picture of the file highlighted in the open dialog; empty for a
// file that is no picture. A JPEG file shows its embedded thumbnail when it
// has one, else its picture decoded at the smallest DCT scale that still
// fills the preview, under the decoder's limits; other files are read by Qt
// within an allocation limit.
class TPicturePreview : public QLabel {
 public:
  explicit TPicturePreview(QWidget* Parent);
  void ShowFile(const QString& FileName);

  static constexpr int Side = 160;             // the largest width and height shown
  static constexpr int AllocationLimitMB = 64;  // for pictures Qt reads
};

// Calls Moved whenever Window, a top-level widget, goes to another screen.
// Qt makes a widget's native window (whose screen changes) when the widget
// is first shown; the watch follows it from then on.
class TScreenWatch : public QObject {
 public:
  TScreenWatch(QWidget* Window, std::function<void()> Moved);

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  QWidget* FWindow;
  std::function<void()> FMoved;
  QPointer<QWindow> FWatched;
};

// Lets a window take files dropped anywhere on it (on any control that takes
// no drops of its own): a drop that carries a local file and may be copied
// is taken as a copy, and its first local file is handed to Open. Any other
// drop is refused, and the cursor shows it.
class TFileDropTarget : public QObject {
 public:
  TFileDropTarget(QWidget* Window, std::function<void(const QString&)> Open);

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  std::function<void(const QString&)> FOpen;
};

// Runs a command when one of its keys is pressed, without modifiers, in one
// of the controls it watches; the control does not see that key press.
class TControlKeys : public QObject {
 public:
  explicit TControlKeys(QObject* Owner) : QObject(Owner) {}
  void Add(Qt::Key Key, std::function<void()> Command);
  void Watch(QWidget* Control) { Control->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  QList<std::pair<Qt::Key, std::function<void()>>> FCommands;
};

// Family at a height in pixels; the desktop's font of the same kind when
// Family is not installed (for FixedFont, one whose letters all take the same
// room).
QFont DesignFont(const QString& Family, QFontDatabase::SystemFont Fallback, int PixelSize);
