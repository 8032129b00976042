#include "DumpSections.h"

#include <vector>

#include "DumpFormat.h"
#include "JsonWriter.h"

namespace {

void TagRows(const TDumpSection& Section, const TDumpInput& Input, TRowSink& Sink) {
  const TTagView& View = *Section.View;
  ForEachRecord(Input.Document, View, [&](const TEXIFTag& Rec) {
    Sink.Row(TagColumnText(Rec.Header.Tag), Rec.Header.Name, View.ValueText(Input.Document, Rec));
  });
}

// A record with its decoded numbers and texts; its members in the
// alphabetical order a JSON library sorts them into.
void TagRecords(const TDumpSection& Section, const TDumpInput& Input, TJsonWriter& Json) {
  const TTagView& View = *Section.View;
  ForEachRecord(Input.Document, View, [&](const TEXIFTag& Rec) {
    Json.BeginObject();
    Json.Key("dim");
    Json.Integer(Rec.Header.Dim);
    Json.Key("name");
    Json.String(Rec.Header.Name);
    Json.Key("numbers");
    Json.BeginArray();
    for (const double Number : Rec.NumericValue) Json.Number(Number);
    Json.EndArray();
    Json.Key("string");
    Json.String(Rec.StringValue);
    Json.Key("tag");
    Json.Integer(Rec.Header.Tag);
    Json.Key("typ");
    Json.Integer(Rec.Typ);
    Json.Key("units");
    Json.String(Rec.Header.Units);
    Json.Key("value");
    Json.String(View.ValueText(Input.Document, Rec));
    Json.EndObject();
  });
}

}  // namespace

std::span<const TDumpSection> DumpSections() {
  static const std::vector<TDumpSection> Sections = [] {
    std::vector<TDumpSection> List;
    for (const TTagView& View : TagViews) List.push_back({View.Title, View.Key, &View, TagRows, TagRecords});
    return List;
  }();
  return Sections;
}
