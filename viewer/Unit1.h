// Unit1: the main window TForm1 (open command, the tabs of TabViews: the tag
// lists, the picture, the thumbnail, the comment, and the XMP and IPTC rows
// while the file has some; files from the command line and by drag and
// drop, the next and previous photo of the folder, keyboard shortcuts,
// filtering and copying rows, the GPS position on a map, reloading a file
// that changes on disk) and RotateBitmapInPlace, which turns a bitmap about
// its centre.
#pragma once

#include <QColor>
#include <QFileDialog>
#include <QFileSystemWatcher>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "Application.h"
#include "Bitmap.h"
#include "Controls.h"
#include "EXIF_Intf.h"
#include "PictureSource.h"
#include "TagViews.h"

// Turns Bitmap by Angle radians (positive is clockwise on the screen) about
// its centre. With Enlarge the result is large enough for the whole turned
// picture, otherwise it keeps the source's size and the turned picture is
// clipped. Background fills what the turned picture does not cover. The
// result keeps the source's transparency settings.
void RotateBitmapInPlace(TBitmap& Bitmap, float Angle, bool Enlarge, QColor Background);

// The Image tab's picture: Source decoded at the smallest size at which,
// turned by its orientation, it is still at least as large as its full
// turned size is drawn on a screen of Screen device pixels, then turned (the
// parts a turn leaves uncovered, and transparent ones, in Background). Size
// is that full turned size, which the label gives and by which the picture
// is drawn.
struct TShownPicture {
  QImage Picture;
  QSize Size;
};
TShownPicture ScreenPicture(TPictureSource& Source, QSize Screen, QColor Background);

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
  // The row filter above the list, shown by Ctrl+F.
  QLineEdit* FilterEdit;
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
  void DisplayXMP();
  void DisplayIPTC();
  void FormScreenChange();

  // What the open command does once it has a file's full name: loads it,
  // shows its name in Edit1, watches it for changes and rebuilds the
  // selected tab's view. A file that cannot be read throws before anything
  // changes.
  void LoadFile(const QString& FileName);
  // Opens a file named from outside the dialog (the command line, a drop,
  // the next photo, a reload): the name is made absolute, and a name that is
  // no file (missing, or a folder) is an error, which the open command
  // passes over silently.
  void OpenFile(const QString& FileName);
  // OpenFile, keeping the keyboard focus, the selected row (where a row of
  // the same tag and property is found) and the list's scroll position.
  void OpenFileInPlace(const QString& FileName);
  // OpenFile once the events waiting now are handled, reporting its errors;
  // nothing for an empty name. For the command line it runs after the
  // window shows, for a drop after the drop has ended.
  void OpenLater(const QString& FileName);

  // The list's row commands; cells are separated by tabs.
  void cmCopyValue();
  void cmCopyRow();
  void cmCopyAllRows();
  void ListContextPopup(const QPoint& Position);

  // The next and previous photo of the open file's folder.
  void cmNextFile();
  void cmPreviousFile();
  // The row filter: Ctrl+F opens it, Escape closes it and shows all rows.
  void cmFind();
  void cmCloseFilter();
  void FilterChange();
  // The GPS tab's position, as decimal degrees and on a map.
  void cmCopyCoordinates();
  void cmShowOnMap();
  // The open file changed on disk, or went away.
  void FileChange();

 private:
  void CreateControls();
  void CreateViews();
  void CentreOnScreen();
  void ConnectHandlers();
  // Every event the window handles runs through here, which decides what
  // becomes of its errors (RunHandler).
  template <class TBody>
  auto Handler(TBody Body, THandlerErrors Errors = THandlerErrors::Reported) {
    return [Body = std::move(Body), Errors] { RunHandler(Body, Errors); };
  }
  void CreateShortcuts();
  void AddShortcut(QKeySequence::StandardKey Standard, const QString& Keys, std::function<void()> Command);
  void StepTab(int Step);
  QTreeWidgetItem* SelectedRow() const;
  void SetupOpenDialog();
  void AddPreview();
  void SetupList();
  void WatchScreen();
  QSize ScreenPixels() const;
  void ShowPicture(QImage Picture, QSize Size);
  // Fills the list with the rows of a tag, XMP or IPTC tab.
  void DisplayList(const TTabView& Tab);
  // Shows the tabs that show only while the file has rows for them, or hides
  // them, for the document loaded now.
  void ShowRowTabs();
  void CreateFilter();
  bool ListShown() const;
  void ShowFilterBar(bool Shown);
  void BrowseFolder(bool Forward);
  void WatchFile(const QString& FileName);
  void ScheduleFileCheck();

  // The file system's word on a file: a file replaced by a rename has
  // another inode, a rewritten one mostly another size or time.
  struct TFileStamp {
    bool Exists = false;
    uint64_t Device = 0, Inode = 0;
    int64_t Size = 0, Modified = 0, Changed = 0;  // times in nanoseconds
    bool operator==(const TFileStamp&) const = default;
  };
  static TFileStamp FileStamp(const QString& FileName);
  // Shows the name of the file just loaded, whose stamp before the load was
  // Stamp, watches it and rebuilds the selected tab.
  void ShowLoaded(const QString& FileName, const TFileStamp& Stamp);

  TAnchorLayout* FViews = nullptr;  // the layout of the views inside tc
  QRect FListRect;                  // the list's design rectangle without the filter
  bool FFilterOpen = false;         // the filter shows above every list view until closed
  const TTagView* FShownView = nullptr;  // the tag view the list shows, if it shows one (the GPS tab's menu)
  // Where the next step through the folder starts: the file loaded last, or
  // the one a step failed to load, so that the next step goes past it.
  QString FBrowsePosition;
  QFileSystemWatcher* FWatcher;  // the open file and its folder
  QTimer* FFileCheck;            // gathers the watcher's reports of one change
  bool FFileTouched = false;     // the watcher reported the file itself
  TFileStamp FLoadedStamp;       // the open file, as it was when it was read
};
