#include "Application.h"

#include <QCommandLineParser>
#include <QMessageBox>
#include <QWidget>
#include <new>

namespace {

// lumentag [options] [FILE]. A single-dash word is read as one long option,
// as Qt reads its own (-platform, -reverse), never as a bundle of short ones
// such as -r -e -v.
void DescribeCommandLine(QCommandLineParser& Parser) {
  Parser.setApplicationDescription(QStringLiteral("Shows the EXIF metadata of camera pictures."));
  Parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  Parser.addHelpOption();
  Parser.addVersionOption();
  Parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The picture to open."),
                               QStringLiteral("[FILE]"));
}

}  // namespace

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

void AnswerHelpAndVersion(int Argc, char** Argv) {
  QCoreApplication::setApplicationVersion(QStringLiteral(LUMENTAG_VERSION));
  QCommandLineParser Parser;
  DescribeCommandLine(Parser);
  QStringList Arguments;
  for (int Index = 0; Index < Argc; ++Index) Arguments << QString::fromLocal8Bit(Argv[Index]);
  // Qt's own options are unknown to the parser; that is no error yet.
  Parser.parse(Arguments);
  for (const char* Option : {"version", "help", "help-all"})  // Qt's order of precedence
    if (Parser.isSet(QLatin1String(Option))) {
      // Qt takes the program's name for these texts from the application
      // object; a core one needs no display.
      QCoreApplication Core(Argc, Argv);
      Parser.process({Arguments.value(0), QStringLiteral("--") + QLatin1String(Option)});  // exits
    }
}

QString CommandLineFile(const QStringList& Arguments) {
  QCommandLineParser Parser;
  DescribeCommandLine(Parser);
  Parser.process(Arguments);
  return Parser.positionalArguments().value(0);
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
