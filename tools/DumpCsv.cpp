// The CSV writer: a line per row, under the header file,section,tag,name,value.
#include "DumpFormat.h"
#include "DumpSections.h"
#include "ValueFormat.h"

namespace {

// A field as RFC 4180 writes it: in quotes, each quote doubled, when it
// holds a comma, a quote or a line break; else as it is.
void AppendCsvField(std::string& Out, std::string_view Field) {
  if (Field.find_first_of(",\"\r\n") == std::string_view::npos) {
    Out += Field;
    return;
  }
  Out += '"';
  for (size_t Quote; (Quote = Field.find('"')) != std::string_view::npos; Field.remove_prefix(Quote + 1))
    Out.append(Field.substr(0, Quote + 1)).append(1, '"');
  Out += Field;
  Out += '"';
}

// A row a line: the file's and the section's fields, ready made, then the
// row's own, escaped as the text escapes them.
class TCsvRows : public TRowSink {
 public:
  TCsvRows(std::string& Out, std::string_view FileField) : FOut(Out), FFileField(FileField) {}

  void Section(std::string_view Title) {
    FSectionField.clear();
    AppendCsvField(FSectionField, Title);
  }

  void Row(std::string_view Tag, std::string_view Name, std::string_view Value) override {
    FOut += FFileField;
    FOut += ',';
    FOut += FSectionField;
    for (const std::string_view Field : {Tag, Name, Value}) {
      FOut += ',';
      // Escaping adds no comma or quote: a field without one needs no quotes.
      if (Field.find_first_of(",\"") == std::string_view::npos) {
        AppendEscapedControls(FOut, Field);
        continue;
      }
      FEscaped.clear();
      AppendEscapedControls(FEscaped, Field);
      AppendCsvField(FOut, FEscaped);
    }
    FOut += '\n';
  }

 private:
  std::string& FOut;
  std::string_view FFileField;
  std::string FSectionField;
  std::string FEscaped;
};

}  // namespace

void AppendDumpCsv(std::string& Out, const TDumpInput& Input) {
  std::string FileField;
  AppendCsvField(FileField, EscapeControls(Input.FileName));
  TCsvRows Rows(Out, FileField);
  for (const TDumpSection& Section : DumpSections()) {
    Rows.Section(Section.Title);
    Section.Rows(Section, Input, Rows);
  }
  if (Input.WithImage && Input.Image) {
    std::string Size;
    AppendInt(Size, Input.Image->Width);
    Size += " x ";
    AppendInt(Size, Input.Image->Height);
    Rows.Section("Image");
    Rows.Row("", "size", Size);
  }
}
