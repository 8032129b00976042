// The CSV writer: a line per row, under the header file,section,tag,name,value.
#include "DumpFormat.h"
#include "DumpSections.h"
#include "PlainBytes.h"
#include "ValueFormat.h"

namespace {

// Whether Field holds a comma or a double quote, which RFC 4180 quotes (a
// line break it quotes too, but the text's escapes leave none).
bool NeedsQuotes(std::string_view Field) {
  using namespace PlainBytes;
  size_t At = 0;
  for (; Field.size() - At >= 8; At += 8)
    if (const uint64_t Bytes = Word(Field, At); Any(Bytes, ',') || Any(Bytes, '"')) return true;
  for (; At < Field.size(); ++At)
    if (Field[At] == ',' || Field[At] == '"') return true;
  return false;
}

// A field as RFC 4180 writes it: in quotes, each quote doubled, when it
// holds a comma, a quote or a line break; else as it is.
void AppendCsvField(std::string& Out, std::string_view Field) {
  if (!NeedsQuotes(Field) && Field.find_first_of("\r\n") == std::string_view::npos) {
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
      if (!NeedsQuotes(Field)) {
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
    Rows.Section(FindTab(tkImage)->Title);
    Rows.Row("", "size", Size);
  }
}
