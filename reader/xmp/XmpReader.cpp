// XMP packets read through expat. The packet is RDF/XML (Adobe's XMP
// documents, Part 1, chapter 7, "XMP serialization"): rdf:RDF holds
// descriptions (rdf:Description) whose attributes and child elements are the
// properties. A property element holds a simple value as text or as an
// rdf:resource attribute; a struct as rdf:parseType="Resource", as an
// rdf:Description inside it, or as attributes of its own (fields in short
// form); an array as rdf:Bag, rdf:Seq or rdf:Alt of rdf:li items, each an
// element of the same forms. An rdf:value among a struct's fields makes the
// struct a value with qualifiers. Each leaf value is one row, named by its
// path in XMP's path syntax (Part 2 of Adobe's XMP documents: steps
// "prefix:name" joined by "/", array items "[index]" or, in language
// alternatives, "[language]", qualifiers "/?prefix:name").
//
// Expat runs with namespaces, its element and attribute names given as
// "URI\1local\1prefix". A document type declaration stops the parse where it
// starts, so no entity can be declared, and no external entity is ever read.
// The library is loaded when the first packet is read, not at every start of
// the programs: most photos hold no XMP.
// Debian's expat is built with DTD support, but expat.h declares the
// functions that set its protection against entity expansion only where
// XML_DTD is defined, as it is in expat's own build.
#ifndef XML_DTD
#define XML_DTD 1
#endif
#include <expat.h>

#include <memory>
#include <optional>
#include <string>

#include "LibraryLoader.h"
#include "XmpNamespaces.h"
#include "XmpReader.h"
#include "XmpText.h"

namespace {

constexpr XML_Char NamespaceSeparator = '\x01';
constexpr std::string_view RdfNamespace = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view XmlNamespace = "http://www.w3.org/XML/1998/namespace";
constexpr std::string_view MetaNamespace = "adobe:ns:meta/";

// Real packets nest a dozen elements deep; a struct of arrays of structs of
// arrays is still far from this.
constexpr size_t MaxDepth = 100;
// What a packet's rows may hold, in bytes (their text and the records), by
// the size of the packet: real packets give less than twice their size.
int64_t RowBudget(size_t PacketSize) { return 8 * static_cast<int64_t>(PacketSize) + 65536; }
// Expat's protection against entity expansion, kept on whatever the document
// (no entity can be declared here anyway): its default factor and threshold.
constexpr float MaxAmplification = 100.0f;
constexpr unsigned long long AmplificationThreshold = 8 << 20;

// The functions of expat the reader calls.
struct TExpat {
  decltype(&XML_ParserCreateNS) ParserCreateNS = nullptr;
  decltype(&XML_ParserFree) ParserFree = nullptr;
  decltype(&XML_SetReturnNSTriplet) SetReturnNSTriplet = nullptr;
  decltype(&XML_SetUserData) SetUserData = nullptr;
  decltype(&XML_SetElementHandler) SetElementHandler = nullptr;
  decltype(&XML_SetCharacterDataHandler) SetCharacterDataHandler = nullptr;
  decltype(&XML_SetStartDoctypeDeclHandler) SetStartDoctypeDeclHandler = nullptr;
  decltype(&XML_SetParamEntityParsing) SetParamEntityParsing = nullptr;
  decltype(&XML_SetBillionLaughsAttackProtectionMaximumAmplification) SetMaximumAmplification = nullptr;
  decltype(&XML_SetBillionLaughsAttackProtectionActivationThreshold) SetActivationThreshold = nullptr;
  decltype(&XML_Parse) Parse = nullptr;
  decltype(&XML_StopParser) StopParser = nullptr;
  decltype(&XML_GetErrorCode) GetErrorCode = nullptr;
  decltype(&XML_ErrorString) ErrorString = nullptr;
  decltype(&XML_GetCurrentLineNumber) GetCurrentLineNumber = nullptr;
  decltype(&XML_GetCurrentColumnNumber) GetCurrentColumnNumber = nullptr;
};

struct TExpatLibrary {
  std::optional<TExpat> Functions;  // nothing when the library cannot be loaded
  std::string Failure;              // then why
};

const TExpatLibrary& Expat() {
  static const TExpatLibrary Loaded = [] {
    TExpat Functions;
    TLibraryLoader Library("libexpat.so.1");
    Library.Find(Functions.ParserCreateNS, "XML_ParserCreateNS");
    Library.Find(Functions.ParserFree, "XML_ParserFree");
    Library.Find(Functions.SetReturnNSTriplet, "XML_SetReturnNSTriplet");
    Library.Find(Functions.SetUserData, "XML_SetUserData");
    Library.Find(Functions.SetElementHandler, "XML_SetElementHandler");
    Library.Find(Functions.SetCharacterDataHandler, "XML_SetCharacterDataHandler");
    Library.Find(Functions.SetStartDoctypeDeclHandler, "XML_SetStartDoctypeDeclHandler");
    Library.Find(Functions.SetParamEntityParsing, "XML_SetParamEntityParsing");
    Library.Find(Functions.SetMaximumAmplification, "XML_SetBillionLaughsAttackProtectionMaximumAmplification");
    Library.Find(Functions.SetActivationThreshold, "XML_SetBillionLaughsAttackProtectionActivationThreshold");
    Library.Find(Functions.Parse, "XML_Parse");
    Library.Find(Functions.StopParser, "XML_StopParser");
    Library.Find(Functions.GetErrorCode, "XML_GetErrorCode");
    Library.Find(Functions.ErrorString, "XML_ErrorString");
    Library.Find(Functions.GetCurrentLineNumber, "XML_GetCurrentLineNumber");
    Library.Find(Functions.GetCurrentColumnNumber, "XML_GetCurrentColumnNumber");
    TExpatLibrary Result;
    Result.Failure = Library.Finish();
    if (Result.Failure.empty()) Result.Functions = Functions;
    return Result;
  }();
  return Loaded;
}

struct TName {
  std::string_view Namespace, Local, Prefix;
  bool Is(std::string_view InNamespace, std::string_view Name) const {
    return Namespace == InNamespace && Local == Name;
  }
  bool IsRdf(std::string_view Name) const { return Is(RdfNamespace, Name); }
};

TName SplitName(const XML_Char* Name) {
  const std::string_view Text(Name);
  const size_t First = Text.find(NamespaceSeparator);
  if (First == std::string_view::npos) return {{}, Text, {}};
  const size_t Second = Text.find(NamespaceSeparator, First + 1);
  if (Second == std::string_view::npos) return {Text.substr(0, First), Text.substr(First + 1), {}};
  return {Text.substr(0, First), Text.substr(First + 1, Second - First - 1), Text.substr(Second + 1)};
}

// A step of a path: the namespace's usual prefix, else the document's own.
std::string Step(const TName& Name) {
  std::string_view Prefix = UsualPrefix(Name.Namespace);
  if (Prefix.empty()) Prefix = Name.Prefix;
  std::string Text;
  Text.reserve(Prefix.size() + 1 + Name.Local.size());
  if (!Prefix.empty()) (Text += Prefix) += ':';
  Text += Name.Local;
  return Text;
}

std::string Child(std::string_view Parent, std::string_view Step) {
  std::string Path;
  Path.reserve(Parent.size() + 1 + Step.size());
  if (!Parent.empty()) (Path += Parent) += '/';
  Path += Step;
  return Path;
}

// What an open element is to the RDF around it.
enum class TNode : uint8_t {
  Outside,   // not yet inside rdf:RDF (x:xmpmeta, or anything else)
  Rdf,       // rdf:RDF: its children describe the resource
  Node,      // a description: its attributes and children are properties (a struct's: fields)
  Property,  // a property element or an array item: a value, a struct or an array
  Array,     // rdf:Bag, rdf:Seq, rdf:Alt: its children are items
  Ignored,   // what an XML literal or a stray element holds
};

struct TFrame {
  TNode Kind = TNode::Outside;
  size_t PathLength = 0;  // the element's path: the first PathLength bytes of FPath
  std::string Local;      // the local name of its path's last step (an item's: its array's)
  std::string Text;       // a property's text so far
  bool HasValue = false;  // a property whose value came from attributes or children
  bool Literal = false;   // rdf:parseType="Literal": the text is the value
  bool IsAlt = false;
  size_t Items = 0;            // an array's items so far
  size_t FirstRow = 0;         // a struct's first row
  bool HasRdfValue = false;    // a struct with an rdf:value: its other fields are qualifiers
};

class TXmpParse {
 public:
  TXmpParse(std::vector<TXmpProperty>& Rows, bool Sidecar, size_t PacketSize)
      : FRows(Rows), FSidecar(Sidecar), FBudget(RowBudget(PacketSize)) {}

  void Run(std::string_view Text);

 private:
  static void XMLCALL OnStart(void* User, const XML_Char* Name, const XML_Char** Attributes) {
    auto& Parse = *static_cast<TXmpParse*>(User);
    if (!Parse.FStopped) Parse.Start(SplitName(Name), Attributes);
  }
  static void XMLCALL OnEnd(void* User, const XML_Char*) {
    auto& Parse = *static_cast<TXmpParse*>(User);
    if (!Parse.FStopped) Parse.End();
  }
  static void XMLCALL OnText(void* User, const XML_Char* Text, int Length) {
    auto& Parse = *static_cast<TXmpParse*>(User);
    if (!Parse.FStopped) Parse.AddText(std::string_view(Text, static_cast<size_t>(Length)));
  }
  static void XMLCALL OnDoctype(void* User, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    static_cast<TXmpParse*>(User)->Stop("document type declarations are not read");
  }

  void Start(const TName& Name, const XML_Char** Attributes);
  void End();
  void AddText(std::string_view Text);
  void StartProperty(std::string Path, std::string Local, const XML_Char** Attributes);
  void StartItem(const XML_Char** Attributes);
  void PropertyAttributes(const XML_Char** Attributes);
  void DescriptionAttributes(const XML_Char** Attributes);
  void MarkQualifiers(const TFrame& Struct);
  TFrame& Push(TNode Kind, std::string Path, std::string Local);
  std::string_view PathOf(const TFrame& Frame) const { return std::string_view(FPath).substr(0, Frame.PathLength); }
  void AddRow(std::string Path, std::string_view Local, std::string_view Value);
  void AddErrorRow(std::string_view Message);
  void Stop(std::string Reason);

  const TExpat* FExpat = nullptr;
  XML_Parser FParser = nullptr;
  std::vector<TXmpProperty>& FRows;
  bool FSidecar;
  int64_t FBudget;
  std::vector<TFrame> FFrames;
  std::string FPath;  // the path of the innermost open element
  bool FStopped = false;
  std::string FStopReason;
  // Where the parse was stopped: the start of the element or declaration
  // that stopped it (expat has moved on by the time it returns).
  XML_Size FStopLine = 0, FStopColumn = 0;
};

void TXmpParse::Run(std::string_view Text) {
  if (TrimBlanks(Text).empty()) return;
  const TExpatLibrary& Library = Expat();
  if (!Library.Functions) return AddErrorRow("line 1, column 1: " + Library.Failure);
  const TExpat& E = *Library.Functions;
  FExpat = &E;
  const std::unique_ptr<XML_ParserStruct, decltype(E.ParserFree)> Parser(E.ParserCreateNS("UTF-8", NamespaceSeparator),
                                                                         E.ParserFree);
  if (!Parser) return AddErrorRow("line 1, column 1: out of memory");
  FParser = Parser.get();
  E.SetReturnNSTriplet(FParser, XML_TRUE);
  E.SetUserData(FParser, this);
  E.SetElementHandler(FParser, OnStart, OnEnd);
  E.SetCharacterDataHandler(FParser, OnText);
  E.SetStartDoctypeDeclHandler(FParser, OnDoctype);
  E.SetParamEntityParsing(FParser, XML_PARAM_ENTITY_PARSING_NEVER);
  E.SetMaximumAmplification(FParser, MaxAmplification);
  E.SetActivationThreshold(FParser, AmplificationThreshold);
  // Packets are at most MaxXmpBytes, which an int holds.
  if (E.Parse(FParser, Text.data(), static_cast<int>(Text.size()), XML_TRUE) != XML_STATUS_OK) {
    const std::string Message = FStopped ? FStopReason : E.ErrorString(E.GetErrorCode(FParser));
    const XML_Size Line = FStopped ? FStopLine : E.GetCurrentLineNumber(FParser);
    const XML_Size Column = FStopped ? FStopColumn : E.GetCurrentColumnNumber(FParser);
    AddErrorRow("line " + std::to_string(Line) + ", column " + std::to_string(Column + 1) + ": " + Message);
  }
}

void TXmpParse::Stop(std::string Reason) {
  if (FStopped) return;
  FStopped = true;
  FStopReason = std::move(Reason);
  FStopLine = FExpat->GetCurrentLineNumber(FParser);
  FStopColumn = FExpat->GetCurrentColumnNumber(FParser);
  FExpat->StopParser(FParser, XML_FALSE);
}

TFrame& TXmpParse::Push(TNode Kind, std::string Path, std::string Local) {
  TFrame& Frame = FFrames.emplace_back();
  Frame.Kind = Kind;
  FPath = std::move(Path);
  Frame.PathLength = FPath.size();
  Frame.Local = std::move(Local);
  Frame.FirstRow = FRows.size();
  return Frame;
}

void TXmpParse::Start(const TName& Name, const XML_Char** Attributes) {
  if (FFrames.size() >= MaxDepth) return Stop("elements nested deeper than " + std::to_string(MaxDepth));
  const TNode Around = FFrames.empty() ? TNode::Outside : FFrames.back().Kind;
  switch (Around) {
    case TNode::Outside:
      if (Name.IsRdf("RDF")) {
        Push(TNode::Rdf, {}, {});
      } else {
        Push(TNode::Outside, {}, {});
        // The packet's wrapper names the toolkit that wrote it (x:xmptk).
        if (Name.Namespace == MetaNamespace) DescriptionAttributes(Attributes);
      }
      break;
    case TNode::Rdf:
      Push(TNode::Node, {}, {});
      DescriptionAttributes(Attributes);
      break;
    case TNode::Node: {
      const TFrame& Struct = FFrames.back();
      const std::string_view Path = PathOf(Struct);
      // A struct's rdf:value is the value of the struct itself.
      if (Name.IsRdf("value") && !Path.empty()) {
        FFrames.back().HasRdfValue = true;
        StartProperty(std::string(Path), Struct.Local, Attributes);
      } else {
        StartProperty(Child(Path, Step(Name)), std::string(Name.Local), Attributes);
      }
      break;
    }
    case TNode::Property: {
      TFrame& Property = FFrames.back();
      if (Property.Literal) {
        Push(TNode::Ignored, std::string(PathOf(Property)), {});
        break;
      }
      Property.HasValue = true;
      Property.Text.clear();
      const std::string Path(PathOf(Property));
      const std::string Local = Property.Local;
      if (Name.IsRdf("Bag") || Name.IsRdf("Seq") || Name.IsRdf("Alt")) {
        Push(TNode::Array, Path, Local).IsAlt = Name.IsRdf("Alt");
      } else if (Name.IsRdf("Description")) {
        Push(TNode::Node, Path, Local);
        DescriptionAttributes(Attributes);
      } else {
        // A field without a description around it, as some writers put it.
        StartProperty(Child(Path, Step(Name)), std::string(Name.Local), Attributes);
      }
      break;
    }
    case TNode::Array: StartItem(Attributes); break;
    case TNode::Ignored: Push(TNode::Ignored, std::string(PathOf(FFrames.back())), {}); break;
  }
}

void TXmpParse::StartProperty(std::string Path, std::string Local, const XML_Char** Attributes) {
  Push(TNode::Property, std::move(Path), std::move(Local));
  PropertyAttributes(Attributes);
}

// An array item: "[index]", or in a language alternative "[language]".
void TXmpParse::StartItem(const XML_Char** Attributes) {
  TFrame& Array = FFrames.back();
  ++Array.Items;
  std::string Selector = std::to_string(Array.Items);
  if (Array.IsAlt)
    for (const XML_Char** Attribute = Attributes; *Attribute != nullptr; Attribute += 2)
      if (SplitName(Attribute[0]).Is(XmlNamespace, "lang")) Selector = Attribute[1];
  std::string Path(PathOf(Array));
  ((Path += '[') += Selector) += ']';
  StartProperty(std::move(Path), Array.Local, Attributes);
}

// The attributes of a property element or an item: rdf:resource or rdf:value
// give its value, rdf:parseType="Resource" makes it a struct, and any other
// attribute of a namespace is a field of a struct in short form. RDF's other
// attributes, xml:lang and attributes of no namespace say nothing of values.
void TXmpParse::PropertyAttributes(const XML_Char** Attributes) {
  TFrame& Property = FFrames.back();
  const std::string Path(PathOf(Property));
  for (const XML_Char** Attribute = Attributes; *Attribute != nullptr; Attribute += 2) {
    const TName Name = SplitName(Attribute[0]);
    const std::string_view Value = Attribute[1];
    if (Name.Namespace.empty() || Name.Namespace == XmlNamespace) continue;
    if (Name.Namespace == RdfNamespace) {
      if (Name.Local == "resource" || Name.Local == "value") {
        AddRow(Path, Property.Local, Value);
        Property.HasValue = true;
      } else if (Name.Local == "parseType" && Value == "Resource") {
        Property.Kind = TNode::Node;
        Property.HasValue = true;
      } else if (Name.Local == "parseType" && Value == "Literal") {
        Property.Literal = true;
      }
      continue;
    }
    AddRow(Child(Path, Step(Name)), Name.Local, Value);
    Property.HasValue = true;
  }
}

// The attributes of a description: each one of a namespace is a property
// (a field, in a struct), except RDF's own; a struct's rdf:value is its value.
void TXmpParse::DescriptionAttributes(const XML_Char** Attributes) {
  TFrame& Node = FFrames.back();
  const std::string Path(PathOf(Node));
  for (const XML_Char** Attribute = Attributes; *Attribute != nullptr; Attribute += 2) {
    const TName Name = SplitName(Attribute[0]);
    if (Name.Namespace.empty() || Name.Namespace == XmlNamespace) continue;
    if (Name.Namespace == RdfNamespace) {
      if (Name.Local == "value" && !Path.empty()) {
        AddRow(Path, Node.Local, Attribute[1]);
        Node.HasRdfValue = true;
      }
      continue;
    }
    AddRow(Child(Path, Step(Name)), Name.Local, Attribute[1]);
  }
}

void TXmpParse::AddText(std::string_view Text) {
  if (FFrames.empty()) return;
  TFrame& Top = FFrames.back();
  if (Top.Kind == TNode::Property && !Top.HasValue) Top.Text += Text;
}

void TXmpParse::End() {
  if (FFrames.empty()) return;
  const TFrame& Closed = FFrames.back();
  if (Closed.Kind == TNode::Property && !Closed.HasValue)
    AddRow(std::string(PathOf(Closed)), Closed.Local, Closed.Text);
  if (Closed.Kind == TNode::Node && Closed.HasRdfValue) MarkQualifiers(Closed);
  FFrames.pop_back();
  FPath.resize(FFrames.empty() ? 0 : FFrames.back().PathLength);
}

// A struct with an rdf:value is that value with qualifiers: its other fields
// are written "/?prefix:name".
void TXmpParse::MarkQualifiers(const TFrame& Struct) {
  const std::string_view Path = PathOf(Struct);
  for (size_t Index = Struct.FirstRow; Index < FRows.size(); ++Index) {
    std::string& Row = FRows[Index].Path;
    if (Row.size() > Path.size() + 1 && Row.compare(0, Path.size(), Path) == 0 && Row[Path.size()] == '/' &&
        Row[Path.size() + 1] != '?')
      Row.insert(Path.size() + 1, 1, '?');
  }
}

void TXmpParse::AddRow(std::string Path, std::string_view Local, std::string_view Value) {
  if (FStopped) return;
  TXmpProperty Row{std::move(Path), WordsOfName(Local), std::string(TrimBlanks(Value)), FSidecar};
  if (FSidecar) Row.Name += " (sidecar)";
  const auto Cost = static_cast<int64_t>(sizeof Row + Row.Path.size() + Row.Name.size() + Row.Value.size());
  if (Cost > FBudget) return Stop("the rows would hold more than the packet's size allows");
  FBudget -= Cost;
  FRows.push_back(std::move(Row));
}

void TXmpParse::AddErrorRow(std::string_view Message) {
  TXmpProperty Row{"(error)", "XML Error", std::string(Message), FSidecar};
  if (FSidecar) Row.Name += " (sidecar)";
  FRows.push_back(std::move(Row));
}

}  // namespace

void ReadXmpPacket(std::span<const uint8_t> Packet, std::vector<TXmpProperty>& Rows, bool Sidecar) {
  if (static_cast<int64_t>(Packet.size()) > MaxXmpBytes) return;
  TXmpParse(Rows, Sidecar, Packet.size()).Run(XmpPacketText(Packet));
}

bool MayStartXmpPacket(std::span<const uint8_t> First) { return StartsLikeXml(First); }

std::string_view ExtendedXmpGuid(std::span<const TXmpProperty> Rows) {
  for (const TXmpProperty& Row : Rows)
    if (Row.Path == "xmpNote:HasExtendedXMP") return Row.Value;
  return {};
}
