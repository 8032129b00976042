// lumentag-screenshots FILE OUT.png: shows the viewer window, opens FILE
// through its open dialog, and saves a picture of the window for each tab as
// OUT-0.png ... OUT-8.png. Error boxes are closed and their text printed.
// Run it on a real display (tools/screenshot.sh starts one under Xvfb).
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTest>
#include <cstdio>

#include "Application.h"
#include "ModalDriver.h"
#include "Unit1.h"

namespace {

QPixmap Capture(TForm1& Form) {
  QTest::qWait(300);
  QPixmap Shot = Form.screen()->grabWindow(Form.winId());
  return Shot.isNull() ? Form.grab() : Shot;
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
  Driver.AcceptFile(File);
  QTest::mouseClick(Form.Button1, Qt::LeftButton);
  if (!Driver.Unexpected.isEmpty()) {
    std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(File), qPrintable(Driver.Unexpected.join(QLatin1String(", "))));
    return 1;
  }
  for (int Tab = 0; Tab < Form.tc->Tabs()->count(); ++Tab) {
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
