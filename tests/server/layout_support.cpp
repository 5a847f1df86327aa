// Formatting texts for the layout tests.
#include "layout_support.h"

#include "lexer.h"
#include "render.h"
#include "text.h"

namespace Layout_Support {

std::string Formatted(std::string_view Source, const Formatter::Settings& Options) {
  const Formatter::Result Result = Formatter::Format(Source, Options);
  if (!Result.Errors.empty()) {
    return "error: " + Result.Errors.front().Message;
  }
  const std::string Written = Gates::Render(Result.Tokens);
  std::string Text;
  for (const std::string_view Line : Gates::Lines_Of(Written)) {
    Text.append(Line);
    Text.push_back('\n');
  }
  return Text;
}

std::string Lexeme_List(std::string_view Source) {
  const Formatter::Lexed Result = Formatter::Lex(Source, Formatter::Edition::Ada2022, 1);
  std::string List = Result.Errors.empty() ? "" : "error\n";
  std::string Comments;
  for (const Formatter::Lexeme& Item : Result.Lexemes) {
    const std::string_view Text = Formatter::Text_Of(Source, Item);
    // The formatter sets the letter case of words, attributes and pragma names.
    const bool Cased = Item.Class == Formatter::Lexeme_Class::Reserved_Word ||
                       Item.Class == Formatter::Lexeme_Class::Attribute ||
                       Item.Class == Formatter::Lexeme_Class::Identifier;
    std::string& Into = Item.Class == Formatter::Lexeme_Class::Comment ? Comments : List;
    Into += Cased ? Text::Lower_Case(Text) : std::string(Text);
    Into += '\n';
  }
  return List + Comments;
}

}  // namespace Layout_Support
