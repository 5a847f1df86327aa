// Scrambling a source's layout without touching its lexemes, and listing
// the lexemes of a text for comparison.
#include <random>

#include "gates.h"
#include "lexer.h"
#include "text.h"

namespace Gates {

namespace {

// Each letter in upper or lower case at random.
std::string Scrambled_Case(std::string_view Text, std::mt19937& Random) {
  std::string Result(Text);
  for (char& C : Result) {
    C = (Random() & 1U) != 0 ? Text::Upper(C) : Text::Lower(C);
  }
  return Result;
}

}  // namespace

std::string Scramble(std::string_view Source, Formatter::Edition Language, unsigned Seed) {
  const Formatter::Lexed Input = Formatter::Lex(Source, Language, 1);
  if (!Input.Errors.empty()) {
    return std::string(Source);
  }
  std::mt19937 Random(Seed);
  std::string Result;
  Result.reserve(Source.size());
  std::size_t Line_Start = 0;
  for (const Formatter::Source_Line& Line : Input.Lines) {
    std::size_t Previous_End = std::string_view::npos;
    for (std::size_t I = Line.First; I < Line.First + Line.Count; ++I) {
      const Formatter::Lexeme& Item = Input.Lexemes[I];
      if (Previous_End != std::string_view::npos && Item.Offset > Previous_End) {
        Result += ' ';
      }
      const std::string_view Text = Formatter::Text_Of(Source, Item);
      Result += Item.Class == Formatter::Lexeme_Class::Reserved_Word ||
                        Item.Class == Formatter::Lexeme_Class::Attribute
                    ? Scrambled_Case(Text, Random)
                    : std::string(Text);
      Previous_End = Item.Offset + Item.Length;
    }
    // The line end as the source has it.
    std::size_t End = Line.Count > 0 ? Previous_End : Line_Start;
    while (End < Source.size() && Source[End] != '\n' && Source[End] != '\r') {
      ++End;
    }
    std::size_t After = End;
    if (After < Source.size()) {
      After +=
          Source[After] == '\r' && After + 1 < Source.size() && Source[After + 1] == '\n' ? 2U : 1U;
    }
    Result.append(Source.substr(End, After - End));
    Line_Start = After;
  }
  return Result;
}

std::vector<std::string> Token_Texts(std::string_view Source, Formatter::Edition Language,
                                     bool& Lexical_Error) {
  const Formatter::Lexed Input = Formatter::Lex(Source, Language, 1);
  Lexical_Error = !Input.Errors.empty();
  std::vector<std::string> Texts;
  if (Lexical_Error) {
    return Texts;
  }
  Texts.reserve(Input.Lexemes.size());
  std::vector<std::string> Comments;
  for (const Formatter::Lexeme& Item : Input.Lexemes) {
    const std::string_view Text = Formatter::Text_Of(Source, Item);
    // Letter case is the formatter's to set in words, names and attributes.
    const bool Cased = Item.Class == Formatter::Lexeme_Class::Reserved_Word ||
                       Item.Class == Formatter::Lexeme_Class::Identifier ||
                       Item.Class == Formatter::Lexeme_Class::Attribute;
    if (Item.Class == Formatter::Lexeme_Class::Comment) {
      Comments.emplace_back(Text);
    } else {
      Texts.push_back(Cased ? Text::Lower_Case(Text) : std::string(Text));
    }
  }
  Texts.insert(Texts.end(), Comments.begin(), Comments.end());
  return Texts;
}

}  // namespace Gates
