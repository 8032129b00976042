// Value texts made of words, in the styles a words table gives its tags.
#include "Words.h"

#include "ValueFormat.h"

namespace {

// The words of all bits set in Value, in table order.
std::string LettersText(TWords Letters, int64_t Value) {
  std::string Out;
  for (const TWord& Letter : Letters)
    if ((Value & Letter.Value) != 0) Out += Letter.Text;
  return Out;
}

// Text, then Value and a closing parenthesis.
std::string WithNumber(std::string Text, int64_t Value) {
  AppendInt(Text, Value);
  Text += ')';
  return Text;
}

}  // namespace

std::string StyledText(const TTagWords& Row, int64_t Value) {
  if (Row.Style == TWordStyle::LettersPerBit) return LettersText(Row.Words, Value);
  const TWord* Word = FindWord(Row.Words, Value);
  if (Row.Style == TWordStyle::WordAndNumber)
    return WithNumber(std::string(Word != nullptr ? Word->Text : "<unknown>") + " (", Value);
  if (Word != nullptr) return std::string(Word->Text);
  return Row.Style == TWordStyle::WordOrUnknown ? WithNumber("unknown(", Value) : std::string();
}
