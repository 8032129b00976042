// The application object: its title, the one place where errors that no
// handler caught are reported to the user, and the command line,
// lumentag [options] [FILE].
#pragma once

#include <QApplication>
#include <QStringList>
#include <exception>

// The application's title: it names the program and heads every error box.
inline constexpr char ApplicationTitle[] = "Lumentag Demo";

class TApplication : public QApplication {
 public:
  TApplication(int& Argc, char** Argv);

  // Delivers an event; an exception escaping its handler is reported by
  // ShowException and the program goes on.
  bool notify(QObject* Receiver, QEvent* Event) override;
};

// Answers --help (-h, --help-all) and --version (-v): prints Qt's usual text
// and ends the program. It runs before the application object exists, so
// both work without a display; any other argument is left for later, so
// that the application object can take Qt's own options (-platform, -style
// ...) first.
void AnswerHelpAndVersion(int Argc, char** Argv);

// The file named on the command line, from the arguments the application
// object left (QCoreApplication::arguments()); empty when none is named, the
// first of several. An unknown option prints Qt's usual message and ends
// the program.
QString CommandLineFile(const QStringList& Arguments);

// The text of the error box for an error message: the message with a full
// stop appended when its last character comes after "." in character code
// order (so "...", "(...)" and "!" get none).
QString ErrorMessageText(const QString& Message);

// Shows the error box: a critical message box titled with the application's
// title, the message made by ErrorMessageText, one OK button. Returns when
// the user has closed it.
void ShowException(const QString& Message);

// Reports the exception that is being handled (call it from a catch block).
void ShowCurrentException();

// What becomes of an error that a handler of the window raises: it ends the
// command, and is reported in the error box; or, for a command that only
// shows something and has nothing worth a message (the double click's value
// dialog), dropped. Whatever escapes all the same reaches notify.
enum class THandlerErrors { Reported, Dropped };

// Runs Handler, treating its errors as Errors says.
template <class THandler>
void RunHandler(THandler&& Handler, THandlerErrors Errors = THandlerErrors::Reported) {
  try {
    Handler();
  } catch (...) {
    if (Errors == THandlerErrors::Reported) ShowCurrentException();
  }
}
