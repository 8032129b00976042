// The application object: its title, and the one place where errors that no
// handler caught are reported to the user.
#pragma once

#include <QApplication>
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

// Runs Handler, reporting any exception it throws; for the window's handlers,
// so that an error ends the command and nothing else.
template <class THandler>
void RunGuarded(THandler&& Handler) {
  try {
    Handler();
  } catch (...) {
    ShowCurrentException();
  }
}
