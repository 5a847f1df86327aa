// Format: lex, lay out, and turn the lexemes into the token stream.
#include "formatter.h"

#include <algorithm>
#include <climits>
#include <string>

#include "blank_lines.h"
#include "casing.h"
#include "layout.h"
#include "lexer.h"
#include "line_breaking.h"

namespace Formatter {

namespace {

int Kind_Of(Lexeme_Class Class) noexcept {
  switch (Class) {
    case Lexeme_Class::Identifier:
      return Kinds::Identifier;
    case Lexeme_Class::Attribute:
      return Kinds::Attribute;
    case Lexeme_Class::Numeric_Literal:
    case Lexeme_Class::Character_Literal:
    case Lexeme_Class::String_Literal:
      return Kinds::Literal;
    case Lexeme_Class::Reserved_Word:
      return Kinds::Reserved_Word;
    case Lexeme_Class::Delimiter:
      return Kinds::Delimiter;
    case Lexeme_Class::Comment:
      return Kinds::Comment;
    case Lexeme_Class::Effector:
    case Lexeme_Class::Byte_Order_Mark:
    default:
      return Kinds::Verbatim;
  }
}

Settings Sound(const Settings& Options) noexcept {
  Settings Result = Options;
  Result.Units = std::clamp(Options.Units, 1, 9);
  Result.Errors = std::max<std::size_t>(Options.Errors, 1);
  return Result;
}

// A text longer than the client's line: the client ends the pending line
// itself before it, and writes an empty line when nothing is pending, so no
// line end token may precede it.
bool Overlong(std::size_t Length) noexcept {
  return Length > static_cast<std::size_t>(Longest_Line);
}

// What writing a lexeme needs once the layout is done: its text, its
// laid-out column, its line and class, in 16 bytes where a lexeme takes 20
// (a line number takes 27 bits, as a source takes at most 2^27 bytes).
class Placed_Lexeme {
 public:
  Placed_Lexeme(const Lexeme& Item, Column_Number At) noexcept
      : Offset(Item.Offset),
        Length(Item.Length),
        Column(At),
        Line_And_Class(Item.Line << 4 | static_cast<Index>(Item.Class)) {}

  std::size_t Size() const noexcept { return Length; }
  Column_Number Placed_Column() const noexcept { return Column; }
  std::size_t Line() const noexcept { return Line_And_Class >> 4; }
  Lexeme_Class Class() const noexcept { return static_cast<Lexeme_Class>(Line_And_Class & 15U); }
  std::string_view Text(std::string_view Source) const noexcept {
    return Source.substr(Offset, Length);
  }

 private:
  Index Offset;
  Index Length;
  Column_Number Column;
  Index Line_And_Class;
};

// Emits the tokens of one source line. The client writes nothing past
// Longest_Line without starting a new line, and puts no blank before a
// token whose column lies beyond it, so a token that would end past it
// starts a line of its own, two columns in from the line's first token;
// words never run together.
class Line_Writer {
 public:
  Line_Writer(std::string_view Text, std::vector<Token>& Into) : Source(Text), Tokens(Into) {}

  /// A line was broken at the client's last column.
  bool Broke_A_Line() const noexcept { return Broke; }

  /// Writes Placed[Begin .. End - 1], one line whose lexemes hold their
  /// laid-out columns.
  void Write(const std::vector<Placed_Lexeme>& Placed, std::size_t Begin, std::size_t End) {
    Column_Number Shift = 0;   // the byte-order mark's three columns
    Column_Number Delta = 0;   // how far tokens moved left at a line break
    Column_Number Indent = 0;  // the column of the line's first token
    bool First = true;
    for (std::size_t I = Begin; I < End; ++I) {
      const Placed_Lexeme& Item = Placed[I];
      const auto Length = static_cast<Column_Number>(Item.Size());
      Column_Number At = Item.Placed_Column() + Shift - Delta;
      if (At + Length - 1 > Longest_Line) {
        const Column_Number Fitting = std::max<Column_Number>(1, Longest_Line - Length + 1);
        const Column_Number Wanted = First ? Fitting : std::min(Indent + 2, Fitting);
        if (!First) {
          if (!Overlong(Item.Size())) {
            Tokens.push_back(Token{Kinds::End_Of_Line, 1, {}});
          }
          Broke = true;
        }
        Delta += At - Wanted;
        At = Wanted;
      }
      Tokens.push_back(
          Token{Kind_Of(Item.Class()), std::max<Column_Number>(At, 1), Item.Text(Source)});
      if (Item.Class() == Lexeme_Class::Byte_Order_Mark) {
        Shift = Length;
        continue;
      }
      Indent = First ? At : Indent;
      First = false;
    }
  }

 private:
  std::string_view Source;
  std::vector<Token>& Tokens;
  bool Broke = false;
};

// The lexemes with their laid-out columns; Input's lexemes and lines are
// freed.
std::vector<Placed_Lexeme> Placed_Lexemes(Lexed& Input, std::vector<Column_Number> Column) {
  std::vector<Placed_Lexeme> Placed;
  Placed.reserve(Column.size());
  for (std::size_t I = 0; I < Column.size(); ++I) {
    Placed.emplace_back(Input.Lexemes[I], Column[I]);
  }
  Input.Lexemes = std::vector<Lexeme>();
  Input.Lines = std::vector<Source_Line>();
  return Placed;
}

// One pass of lexing and layout; Broke tells whether a line was broken.
Result Format_Once(std::string_view Source, const Settings& In_Force, const std::vector<bool>& Made,
                   bool& Broke) {
  Lexed Input = Lex(Source, In_Force.Language, In_Force.Errors);
  Result Output;
  Broke = false;
  if (!Input.Errors.empty()) {
    Output.Errors = std::move(Input.Errors);
    return Output;
  }
  // Only the placed lexemes are left when the tokens take their room: the
  // stream is the largest array of all, and a deeply nested source has as
  // many lines as statements.
  const std::size_t Line_Count = Input.Lines.size();
  const bool Last_Terminated = Line_Count > 0 && Input.Lines.back().Terminated;
  const std::vector<Placed_Lexeme> Placed =
      Placed_Lexemes(Input, Lay_Out(Source, Input, In_Force, Made));
  Output.Tokens.reserve(Placed.size() + Line_Count);
  Line_Writer Writer(Source, Output.Tokens);
  std::size_t End = 0;
  for (std::size_t L = 0; L < Line_Count; ++L) {
    const std::size_t Begin = End;
    while (End < Placed.size() && Placed[End].Line() == L) {
      ++End;
    }
    Writer.Write(Placed, Begin, End);
    // Every line but the last ends with a line end.
    const bool Terminated = L + 1 < Line_Count || Last_Terminated;
    const bool Next_Starts_Overlong =
        End < Placed.size() && Placed[End].Line() == L + 1 && Overlong(Placed[End].Size());
    if (Terminated && !Next_Starts_Overlong) {
      Output.Tokens.push_back(Token{Kinds::End_Of_Line, 1, {}});
    }
  }
  Broke = Writer.Broke_A_Line();
  return Output;
}

}  // namespace

// The text the client writes for Tokens, letter case aside, by its own
// line-writing rule (Protocol::Place_Text).
std::string Written_Text(const std::vector<Token>& Tokens, std::vector<bool>* Made) {
  std::string Text;
  std::size_t Line_Start = 0;
  std::size_t Line = 0;
  std::vector<bool> Text_Made;
  const auto Flag = [Made, &Line] {
    return Made != nullptr && Line < Made->size() && (*Made)[Line];
  };
  for (const Token& Item : Tokens) {
    if (Item.Kind == Kinds::End_Of_Line && Item.Text.empty()) {
      Text += '\n';
      Line_Start = Text.size();
      Text_Made.push_back(Flag());
      ++Line;
      continue;
    }
    const Protocol::Placement Place =
        Protocol::Place_Text(Text.size() - Line_Start, Item.Column, Item.Text.size());
    Text.append(Place.Blanks, ' ');
    if (Place.Line_Ends_First) {
      Text += '\n';
      Line_Start = Text.size();
      Text_Made.push_back(Flag());
    }
    Text += Item.Text;
  }
  if (Made != nullptr) {
    Text_Made.push_back(Flag());
    *Made = std::move(Text_Made);
  }
  return Text;
}

namespace {

// A bound on the passes, should a layout never settle.
constexpr int Most_Passes = 6;

}  // namespace

Result Format(std::string_view Source, const Settings& Options) {
  return Format_Pieces(Source, Options, {});
}

Result Format_Pieces(std::string_view Source, const Settings& Options,
                     const std::vector<bool>& Made) {
  const Settings In_Force = Sound(Options);
  bool Broke = false;
  Result Output = Format_Once(Source, In_Force, Made, Broke);
  // A broken line's pieces are laid out as the lines they became (a piece
  // that starts a statement goes where statements go), and that again
  // until the layout gives back the text it was given: a piece laid out
  // anew can move the lines placed after it, and only a text that lays out
  // as itself formats once more to itself.
  bool Settled = !Broke;
  for (int Pass = 1; !Settled && Pass < Most_Passes; ++Pass) {
    auto Text = std::make_shared<const std::string>(Written_Text(Output.Tokens));
    // The text written holds the alignment of the lines made: laid out
    // again, they keep it as any aligned lines.
    Result Again = Format_Once(*Text, In_Force, {}, Broke);
    if (!Again.Errors.empty()) {
      break;
    }
    Settled = !Broke && Written_Text(Again.Tokens) == *Text;
    Output = std::move(Again);
    Output.Laid_Out = {std::move(Text)};
  }
  // Names first: the lines broken below are laid out again from the
  // text, which then holds its names as they stay, so no pass changes
  // them again.
  Mix_Defined_Names(Output);
  Squeeze_Blank_Lines(Output.Tokens);
  return Fit_Lines(std::move(Output), In_Force);
}

}  // namespace Formatter
