#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <cstdlib>

namespace {

// Whether a line edit shows all of its text: moving the cursor from the
// first letter to the end moves it by the whole text's width, so the text
// did not scroll.
bool ShowsWholeText(QLineEdit& Field) {
  const auto CursorLeft = [&Field] {
    Field.repaint();  // the text scrolls as it is painted
    return Field.inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
  };
  Field.home(false);
  const int Start = CursorLeft();
  Field.end(false);
  // Both are rounded to whole pixels.
  return std::abs(CursorLeft() - Start - Field.fontMetrics().horizontalAdvance(Field.text())) <= 1;
}

}  // namespace

TModalDriver::TModalDriver() {
  connect(&FTimer, &QTimer::timeout, this, &TModalDriver::Tick);
  FTimer.start(10);
}

void TModalDriver::Tick() {
  QWidget* Modal = QApplication::activeModalWidget();
  if (Modal == nullptr || Modal == FHandled || !Modal->isVisible()) return;
  FHandled = Modal;
  Seen << QString::fromLatin1(Modal->metaObject()->className());
  // Answered outside this timer's own call: Qt does not fire a timer again
  // while its handler runs, and an answer may open a nested modal box that
  // needs answering too.
  QTimer::singleShot(0, this, [this, Target = QPointer<QWidget>(Modal)] {
    if (Target == nullptr) return;
    Answer(Target);
    // The window reuses its open dialog: once closed, it is a new one when
    // it opens again.
    if (FHandled && !FHandled->isVisible()) FHandled = nullptr;
  });
}

void TModalDriver::Answer(QWidget* Modal) {
  if (FAnswers.empty()) {
    Unexpected << QString::fromLatin1(Modal->metaObject()->className());
    if (auto* Box = qobject_cast<QMessageBox*>(Modal)) Boxes << TSeenBox{Box->windowTitle(), Box->text()};
    if (auto* Dialog = qobject_cast<QDialog*>(Modal))
      Dialog->reject();
    else
      Modal->close();
    return;
  }
  const auto Next = std::move(FAnswers.front());
  FAnswers.pop_front();
  Next(Modal);
}

void TModalDriver::RecordFileDialog(QFileDialog* Dialog) {
  FileDialogFilters = Dialog->nameFilters();
  FileDialogSelectedFilter = Dialog->selectedNameFilter();
  FileDialogNative = !Dialog->testOption(QFileDialog::DontUseNativeDialog);
}

void TModalDriver::AcceptFile(const QString& File, std::function<void(QFileDialog*)> Inspect) {
  FAnswers.push_back([this, File, Inspect](QWidget* Modal) {
    auto* Dialog = qobject_cast<QFileDialog*>(Modal);
    if (Dialog == nullptr) {
      Unexpected << QStringLiteral("not a file dialog");
      Modal->close();
      return;
    }
    RecordFileDialog(Dialog);
    Dialog->selectFile(File);
    // As a user would type it: selectFile leaves the name box alone while it
    // has the focus, and the folder's listing arrives later.
    if (auto* Name = Dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) Name->setText(File);
    if (Inspect) Inspect(Dialog);
    // QFileDialog::accept is protected; through QDialog it checks the chosen
    // name as the dialog's own Open button does.
    static_cast<QDialog*>(Dialog)->accept();
    // A name the dialog refuses (no such file) would keep it open for good.
    if (Dialog->isVisible()) {
      Unexpected << QStringLiteral("file dialog refused ") + File;
      Dialog->reject();
    }
  });
}

void TModalDriver::CancelFile() {
  FAnswers.push_back([this](QWidget* Modal) {
    if (auto* Dialog = qobject_cast<QFileDialog*>(Modal)) RecordFileDialog(Dialog);
    else Unexpected << QStringLiteral("not a file dialog");
    if (auto* Dialog = qobject_cast<QDialog*>(Modal)) Dialog->reject();
  });
}

void TModalDriver::CloseMessageBox() {
  FAnswers.push_back([this](QWidget* Modal) {
    auto* Box = qobject_cast<QMessageBox*>(Modal);
    if (Box == nullptr) {
      Unexpected << QStringLiteral("not a message box");
      Modal->close();
      return;
    }
    TSeenBox Box1{Box->windowTitle(), Box->text(), Box->icon(), {}};
    for (QAbstractButton* Button : Box->buttons()) Box1.Buttons << Box->standardButton(Button);
    Box1.BusyCursor = QGuiApplication::overrideCursor() != nullptr;
    Boxes << Box1;
    if (QAbstractButton* Ok = Box->button(QMessageBox::Ok)) Ok->click();
    else Box->reject();
  });
}

void TModalDriver::AnswerInput(const QString& NewText, bool Accept) {
  FAnswers.push_back([this, NewText, Accept](QWidget* Modal) {
    auto* Dialog = qobject_cast<QInputDialog*>(Modal);
    if (Dialog == nullptr) {
      Unexpected << QStringLiteral("not an input dialog");
      Modal->close();
      return;
    }
    auto* Field = Dialog->findChild<QLineEdit*>();
    const QString Selected = Field != nullptr ? Field->selectedText() : QString();
    const bool WholeTextShown = Field != nullptr && ShowsWholeText(*Field);
    Inputs << TSeenInput{Dialog->windowTitle(), Dialog->labelText(), Dialog->textValue(), Selected,
                         Dialog->width(), WholeTextShown};
    Dialog->setTextValue(NewText);
    if (Accept) Dialog->accept();
    else Dialog->reject();
  });
}
