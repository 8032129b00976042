// Words: the texts that stand for stored codes. One record for every word of
// every table, one search for a value's word, and per directory or maker a
// table that gives each enumerated tag its words and how they are shown.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "EXIF_Defs.h"
#include "TagLookup.h"

// One code and its text. 64 bits hold every kind of code: the selectors of
// the standard directories (32-bit signed), the truncated numbers of maker
// notes (64-bit) and the items of settings arrays (32-bit unsigned).
struct TWord {
  int64_t Value;
  std::string_view Text;
};

using TWords = std::span<const TWord>;

// The first word of Value, or nullptr.
inline const TWord* FindWord(TWords Words, int64_t Value) {
  for (const TWord& Word : Words)
    if (Word.Value == Value) return &Word;
  return nullptr;
}

// How the words of a tag make its value text.
enum class TWordStyle : uint8_t {
  Word,           // the word; a value without one gets the default value text
  WordOrUnknown,  // the word, or "unknown(N)"
  WordAndNumber,  // "word (N)", with "<unknown>" for a value without one
  LettersPerBit,  // the words of all bits set in the value, in table order
};

// One enumerated tag of a directory. A directory's table lists its tags in
// ascending order, each once.
struct TTagWords {
  uint16_t Tag;
  TWords Words;
  TWordStyle Style = TWordStyle::Word;
};

using TTagWordsTable = TTagIndexed<TTagWords>;

// A GPS tag whose value text is made from the record by a rule of its own.
struct TTagText {
  uint16_t Tag;
  std::string (*Text)(const TEXIFTag& Rec);
};

using TTagTextTable = TTagIndexed<TTagText>;

// The enumerated tags of IFD 0 and IFD 1, of the EXIF sub-IFD and of each
// maker's note (empty for Canon, Minolta and mnfUnknown), and the GPS tags
// with rules of their own, each table in tag order.
extern const TTagWordsTable TIFFWords;
extern const TTagWordsTable EXIFWords;
extern const TTagTextTable GPSTexts;
const TTagWordsTable& MakerNoteWords(TMakerNoteFormat Format);

// The text of Value by Row's words in Row's style; for the style Word, the
// word or, when none names Value, the empty text.
std::string StyledText(const TTagWords& Row, int64_t Value);

// The value text of Rec by its tag's words in Table, ValueOf giving the number
// compared with the words from NumericValue[0] (Selector or TruncToInt64); the
// default value text in Style when the tag has no row or its row shows only
// words and none names the number.
template <class TValueOf>
std::string WordsOrDefaultText(const TTagWordsTable& Table, const TEXIFTag& Rec, TValueOf ValueOf,
                               TRationalStyle Style) {
  const TTagWords* Row = Table.Find(Rec.Header.Tag);
  if (Row == nullptr) return DefaultValueText(Rec, Style);
  const int64_t Value = ValueOf(Rec.NumericValue[0]);
  if (Row->Style != TWordStyle::Word) return StyledText(*Row, Value);
  const TWord* Word = FindWord(Row->Words, Value);
  return Word != nullptr ? std::string(Word->Text) : DefaultValueText(Rec, Style);
}

// The text of Value by the row of Tag in Table, or the empty text when Tag
// has no row.
inline std::string EnumerationText(const TTagWordsTable& Table, uint16_t Tag, int64_t Value) {
  const TTagWords* Row = Table.Find(Tag);
  return Row != nullptr ? StyledText(*Row, Value) : std::string();
}
