// Answers the window's modal dialogs from a timer, so tests and the
// screenshot tool can go through the real dialogs without a person: each
// modal widget that opens is handed to the next queued answer. A modal widget
// for which no answer is queued is recorded and closed, so nothing is ever
// left waiting.
#pragma once

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

// What an error box showed.
struct TSeenBox {
  QString Title;
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QList<QMessageBox::StandardButton> Buttons;
  bool BusyCursor = false;  // the busy cursor still showed over it
};

// What a text-input dialog showed.
struct TSeenInput {
  QString Title;
  QString Label;
  QString Text;
  QString SelectedText;
  int Width = 0;
  bool WholeTextShown = false;  // the field showed all of its text at once
};

class TModalDriver : public QObject {
 public:
  TModalDriver();

  // The next modal widget is a file dialog: choose File and accept. Before
  // accepting, Inspect (when given) sees the dialog with File highlighted.
  void AcceptFile(const QString& File, std::function<void(QFileDialog*)> Inspect = {});
  // The next modal widget is a file dialog: cancel it.
  void CancelFile();
  // The next modal widget is a message box: record it and press OK.
  void CloseMessageBox();
  // The next modal widget is a text-input dialog: record it, type NewText,
  // and press OK (Accept) or Cancel.
  void AnswerInput(const QString& NewText, bool Accept);

  // Every modal widget seen, by class name, in order.
  QStringList Seen;
  // Modal widgets for which no answer was queued (all closed).
  QStringList Unexpected;
  QList<TSeenBox> Boxes;
  QList<TSeenInput> Inputs;
  // The file dialog last answered, as it was when it was answered.
  QStringList FileDialogFilters;
  QString FileDialogSelectedFilter;
  bool FileDialogNative = false;

  bool Idle() const { return FAnswers.empty(); }

 private:
  void Tick();
  void Answer(QWidget* Modal);
  void RecordFileDialog(QFileDialog* Dialog);

  QTimer FTimer;
  QPointer<QWidget> FHandled;
  std::deque<std::function<void(QWidget*)>> FAnswers;
};
