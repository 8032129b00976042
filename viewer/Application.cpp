#include "Application.h"

#include <QMessageBox>
#include <QWidget>
#include <new>

TApplication::TApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
  // The application name, not a display name: Qt would append a display name
  // to every window title, and the window's title is its own.
  setApplicationName(QString::fromUtf8(ApplicationTitle));
  // The id that names the installed desktop entry and icon, so that desktops
  // match the running window to them.
  setDesktopFileName(QStringLiteral("io.github.lumentag.Lumentag"));
}

bool TApplication::notify(QObject* Receiver, QEvent* Event) {
  try {
    return QApplication::notify(Receiver, Event);
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}

QString ErrorMessageText(const QString& Message) {
  if (!Message.isEmpty() && Message.back() > QLatin1Char('.')) return Message + QLatin1Char('.');
  return Message;
}

void ShowException(const QString& Message) {
  QMessageBox Box(QMessageBox::Critical, QString::fromUtf8(ApplicationTitle),
                  ErrorMessageText(Message), QMessageBox::Ok, QApplication::activeWindow());
  Box.exec();
}

void ShowCurrentException() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    ShowException(QStringLiteral("Out of memory"));
  } catch (const std::exception& Error) {
    ShowException(QString::fromUtf8(Error.what()));
  } catch (...) {
    ShowException(QStringLiteral("Unknown error"));
  }
}
