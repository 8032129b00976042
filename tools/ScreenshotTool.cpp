// lumentag-screenshots FILE OUT.png: shows the viewer window, opens FILE
// through its open dialog, and saves a picture of the window for each tab
// shown as OUT-N.png (N the tab's index: 0 to 8, and 9 for XMP and 10 for
// IPTC while the file has rows for them), and one of the open dialog as
// OUT-dialog.png.
// Error boxes are closed and their text printed.
// Run it on a real display (tools/screenshot.sh starts one under Xvfb).
#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTest>
#include <cstdio>

#include "Application.h"
#include "ModalDriver.h"
#include "Unit1.h"

namespace {

QPixmap Capture(QWidget& Window) {
  QTest::qWait(300);
  QPixmap Shot = Window.screen()->grabWindow(Window.winId());
  return Shot.isNull() ? Window.grab() : Shot;
}

void ReportBoxes(TModalDriver& Driver) {
  for (const TSeenBox& Box : Driver.Boxes)
    std::fprintf(stderr, "error box: %s\n", qPrintable(Box.Text));
  Driver.Boxes.clear();
}

}  // namespace

int main(int Argc, char** Argv) {
  TApplication Application(Argc, Argv);
  if (Argc != 3) {
    std::fprintf(stderr, "usage: lumentag-screenshots FILE OUT.png\n");
    return 2;
  }
  const QString File = QFileInfo(QString::fromLocal8Bit(Argv[1])).absoluteFilePath();
  QString Out = QString::fromLocal8Bit(Argv[2]);
  if (Out.endsWith(QLatin1String(".png"))) Out.chop(4);

  TForm1 Form;
  Form.show();
  if (!QTest::qWaitForWindowExposed(&Form)) return 1;
  TModalDriver Driver;
  Driver.AcceptFile(File, [&](QFileDialog* Dialog) {
    // Highlighted in the file list by typing its name there, as a user
    // would, so that the preview shows it.
    Dialog->resize(900, 500);
    QTest::qWait(500);
    for (auto* View : Dialog->findChildren<QAbstractItemView*>())
      if (View->isVisible() && View->objectName() != QLatin1String("sidebar")) {
        View->setFocus();
        QTest::keyClicks(View, QFileInfo(File).fileName());
      }
    QTest::qWait(500);
    Capture(*Dialog).save(Out + QStringLiteral("-dialog.png"));
  });
  QTest::mouseClick(Form.Button1, Qt::LeftButton);
  if (!Driver.Unexpected.isEmpty()) {
    std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(File), qPrintable(Driver.Unexpected.join(QLatin1String(", "))));
    return 1;
  }
  for (int Tab = 0; Tab < Form.tc->Tabs()->count(); ++Tab) {
    if (!Form.tc->Tabs()->isTabVisible(Tab)) continue;
    Form.tc->SetTabIndex(Tab);
    const QString Name = QStringLiteral("%1-%2.png").arg(Out).arg(Tab);
    if (!Capture(Form).save(Name)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(Name));
      return 1;
    }
    std::printf("%s\n", qPrintable(Name));
    ReportBoxes(Driver);
  }
  return 0;
}
