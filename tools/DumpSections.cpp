#include "DumpSections.h"

#include <algorithm>
#include <vector>

#include "DumpFormat.h"
#include "JsonWriter.h"

namespace {

// The three columns of the tab's rows, as the window shows them.
void ListRows(const TDumpSection& Section, const TDumpInput& Input, TRowSink& Sink) {
  ForEachRow(Input.Document, *Section.Tab,
             [&](std::string_view Tag, std::string_view Name, std::string_view Value) { Sink.Row(Tag, Name, Value); });
}

// A record with its decoded numbers and texts; its members in the
// alphabetical order a JSON library sorts them into.
void TagRecords(const TDumpSection& Section, const TDumpInput& Input, TJsonWriter& Json) {
  const TTagView& View = *Section.Tab->Tags;
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

// An XMP value: its name, its path, whether a sidecar holds it (only when
// one does) and its value, in alphabetical order.
void XmpRecords(const TDumpSection&, const TDumpInput& Input, TJsonWriter& Json) {
  for (const TXmpProperty& Row : Input.Document.XmpProperties()) {
    Json.BeginObject();
    Json.Key("name");
    Json.String(Row.Name);
    Json.Key("path");
    Json.String(Row.Path);
    if (Row.Sidecar) {
      Json.Key("sidecar");
      Json.Bool(true);
    }
    Json.Key("value");
    Json.String(Row.Value);
    Json.EndObject();
  }
}

// An IPTC dataset: its dataset and record numbers, its name and its value,
// in alphabetical order.
void IptcRecords(const TDumpSection&, const TDumpInput& Input, TJsonWriter& Json) {
  for (const TIptcDataset& Row : Input.Document.IptcDatasets()) {
    Json.BeginObject();
    Json.Key("dataset");
    Json.Integer(Row.Dataset);
    Json.Key("name");
    Json.String(Row.Name);
    Json.Key("record");
    Json.Integer(Row.Record);
    Json.Key("value");
    Json.String(Row.Value);
    Json.EndObject();
  }
}

}  // namespace

std::span<const TDumpSection> DumpSections() {
  static const std::vector<TDumpSection> Sections = [] {
    std::vector<TDumpSection> List;
    for (const TTabView& Tab : TabViews) {
      if (Tab.Kind == tkTags) List.push_back({Tab.Title, Tab.Key, &Tab, ListRows, TagRecords});
      if (Tab.Kind == tkXmp) List.push_back({Tab.Title, Tab.Key, &Tab, ListRows, XmpRecords});
      if (Tab.Kind == tkIptc) List.push_back({Tab.Title, Tab.Key, &Tab, ListRows, IptcRecords});
    }
    return List;
  }();
  return Sections;
}

const TDumpSection& SectionOfTab(const TTabView& Tab) {
  const std::span<const TDumpSection> Sections = DumpSections();
  return *std::find_if(Sections.begin(), Sections.end(), [&](const TDumpSection& Section) { return Section.Tab == &Tab; });
}
