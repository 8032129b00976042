// Lumentag: a viewer for the EXIF metadata of camera pictures.
#include "Application.h"
#include "Unit1.h"

int main(int Argc, char** Argv) {
  AnswerHelpAndVersion(Argc, Argv);
  TApplication Application(Argc, Argv);
  TForm1 Form1;
  Form1.OpenLater(CommandLineFile(Application.arguments()));  // once the window shows
  Form1.show();
  return Application.exec();
}
