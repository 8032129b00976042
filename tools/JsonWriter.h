// JSON text written straight into a string, token by token, in the layout
// of nlohmann::json's dump(): pretty (a member or element a line, two spaces
// a level, "key": value) or compact (no blanks or line breaks). Strings are
// escaped as dump() escapes them with invalid UTF-8 replaced; numbers are
// written as dump() writes a double. No JSON value is built.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

enum class TJsonLayout { jlPretty, jlCompact };

class TJsonWriter {
 public:
  // Appends to Out. Pretty lines are indented as if the first value stood
  // Depth levels in; the margin before that first value is the caller's.
  TJsonWriter(std::string& Out, TJsonLayout Layout, int Depth = 0);
  // Out holds what was written once the writer is gone.
  ~TJsonWriter();
  TJsonWriter(const TJsonWriter&) = delete;
  TJsonWriter& operator=(const TJsonWriter&) = delete;

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // Names the member the next value is written for. Keys are the program's
  // own, none with a character JSON escapes: they are written as they are.
  void Key(std::string_view Name) {
    Element(Name.size() + 4);
    *FAt++ = '"';
    for (const char Char : Name) *FAt++ = Char;
    *FAt++ = '"';
    *FAt++ = ':';
    if (FPretty) *FAt++ = ' ';
    FAfterKey = true;
  }
  void String(std::string_view Text);
  // A double; null when it is not finite.
  void Number(double Value);
  void Integer(int64_t Value);
  void Null() {
    Element(4);
    std::memcpy(FAt, "null", 4);
    FAt += 4;
  }
  void Bool(bool Value) {
    const size_t Size = Value ? 4 : 5;
    Element(Size);
    std::memcpy(FAt, Value ? "true" : "false", Size);
    FAt += Size;
  }

 private:
  // What goes before a value: nothing after a key, else the separator from
  // the previous element and, when pretty, a new line and the indentation;
  // and room for Size bytes of the value.
  void Element(size_t Size) {
    Room(Size + 2 + (FPretty ? 2 * static_cast<size_t>(FBase + FOpen) : 0));
    if (FAfterKey) {
      FAfterKey = false;
      return;
    }
    if (FOpen == 0) return;
    if (!FEmpty) *FAt++ = ',';
    FEmpty = false;
    if (FPretty) NewLine(FBase + FOpen);
  }
  void NewLine(int Level) {
    *FAt++ = '\n';
    std::memset(FAt, ' ', 2 * static_cast<size_t>(Level));
    FAt += 2 * Level;
  }
  void Open(char Bracket);
  void Close(char Bracket);
  // Makes room for Size more bytes after FAt.
  void Room(size_t Size) {
    if (static_cast<size_t>(FEnd - FAt) < Size) Grow(Size);
  }
  void Grow(size_t Size);

  std::string& FOut;
  // The bytes past what is written are room made in FOut, cut off at the end.
  char* FAt = nullptr;
  char* FEnd = nullptr;
  bool FPretty;
  int FBase;
  int FOpen = 0;         // containers begun and not ended
  bool FEmpty = true;    // the innermost open container has no member yet
  bool FAfterKey = false;
};

// Text as a JSON string, quotes included: '"', '\' and the control
// characters escaped (\b \t \n \f \r, else \u00xx), DEL and all else as it
// is; each byte that does not belong to valid UTF-8 (the longest start of a
// sequence that breaks off counts as one) becomes U+FFFD.
void AppendJsonString(std::string& Out, std::string_view Text);

// A double as JSON, as nlohmann::json writes it: digits that read back as
// the same double (Grisu2's, nearly always the fewest), laid out like "%g"
// with a ".0" on whole numbers (6.0, 0.008, 1e+20, -0.0); null when it is
// not finite.
void AppendJsonNumber(std::string& Out, double Value);
