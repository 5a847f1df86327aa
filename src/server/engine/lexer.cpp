// The lexer: identifiers, reserved words, numeric, character and string
// literals, comments and delimiters, line by line.
#include "lexer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace Formatter {

namespace {

constexpr unsigned char Tab = 0x09;
constexpr unsigned char Line_Feed = 0x0A;
constexpr unsigned char Vertical_Tab = 0x0B;
constexpr unsigned char Form_Feed = 0x0C;
constexpr unsigned char Carriage_Return = 0x0D;

constexpr bool Is_Digit(unsigned char B) noexcept {
  return B >= '0' && B <= '9';
}

constexpr bool Is_Ascii_Letter(unsigned char B) noexcept {
  return (B >= 'A' && B <= 'Z') || (B >= 'a' && B <= 'z');
}

// Latin-1 letters from Ada 95 on; the feminine and masculine ordinals and
// the micro sign are letters in the character classes of Ada 2005.
constexpr bool Is_Letter(unsigned char B, Edition Language) noexcept {
  if (Is_Ascii_Letter(B)) {
    return true;
  }
  if (Language == Edition::Ada83) {
    return false;
  }
  if (B >= 0xC0 && B != 0xD7 && B != 0xF7) {
    return true;
  }
  return Language >= Edition::Ada2005 && (B == 0xAA || B == 0xB5 || B == 0xBA);
}

// The letters and digits of each edition, by byte: a name's bytes are
// looked up, not tested one rule after the other.
using Byte_Set = std::array<bool, 256>;

constexpr Byte_Set Name_Characters(Edition Language) noexcept {
  Byte_Set Set{};
  for (std::size_t B = 0; B < Set.size(); ++B) {
    const auto Byte = static_cast<unsigned char>(B);
    Set[B] = Is_Letter(Byte, Language) || Is_Digit(Byte);
  }
  return Set;
}

constexpr std::array<Byte_Set, 5> Name_Characters_Of{
    Name_Characters(Edition::Ada83), Name_Characters(Edition::Ada95),
    Name_Characters(Edition::Ada2005), Name_Characters(Edition::Ada2012),
    Name_Characters(Edition::Ada2022)};

// Graphic characters of Latin-1, and 0x80 .. 0x9F as well, so that the bytes
// of UTF-8 text in strings and character literals are accepted.
bool Is_Graphic(unsigned char B) noexcept {
  return (B >= 0x20 && B != 0x7F);
}

int Digit_Value(unsigned char B) noexcept {
  if (Is_Digit(B)) {
    return B - '0';
  }
  if (B >= 'A' && B <= 'F') {
    return B - 'A' + 10;
  }
  if (B >= 'a' && B <= 'f') {
    return B - 'a' + 10;
  }
  return -1;
}

bool Is_Line_End(unsigned char B) noexcept {
  return B == Line_Feed || B == Carriage_Return;
}

// Room for one more item: half as much again when the first estimate
// falls short, not twice as much, so that no source holds far more than
// it needs.
template <typename Item>
void Make_Room(std::vector<Item>& Items) {
  if (Items.size() == Items.capacity()) {
    Items.reserve(Items.capacity() + Items.capacity() / 2 + 16);
  }
}

// Gives back what the estimate left unused, when that is much.
template <typename Item>
void Trim(std::vector<Item>& Items) {
  if (Items.capacity() - Items.size() > Items.size() / 8) {
    Items.shrink_to_fit();
  }
}

// Sources hold a lexeme for every 5 to 12 bytes; a dense one grows the
// room as it goes.
constexpr std::size_t Bytes_Per_Lexeme = 4;

class Scanner {
 public:
  Scanner(std::string_view Text, Edition Edition_In_Force, std::size_t Limit)
      : Source(Text),
        Language(Edition_In_Force),
        In_Name(Name_Characters_Of[static_cast<std::size_t>(Edition_In_Force)]),
        Error_Limit(Limit == 0 ? 1 : Limit),
        Next_Tab(Tab_From(0)) {}

  Lexed Run() {
    if (Source.size() > Largest_Source) {
      Error(0, "the file is too large to format");
      return std::move(Result);
    }
    Result.Lexemes.reserve(Source.size() / Bytes_Per_Lexeme + 16);
    Result.Lines.reserve(Line_Feeds() + 1);
    if (Source.substr(0, 3) == "\xEF\xBB\xBF") {
      Add(Lexeme_Class::Byte_Order_Mark, Code::None, 3);
      Line_Start = Position;
      Column_Base = Position;
    }
    while (Position < Source.size() && Result.Errors.size() < Error_Limit) {
      Scan_One();
    }
    if (Position > Line_Start || Current_Line_Has_Lexemes()) {
      Close_Line(false);
    }
    Trim(Result.Lexemes);
    Trim(Result.Lines);
    return std::move(Result);
  }

 private:
  // Found by the library's search, which looks at many bytes at a time.
  std::size_t Line_Feeds() const noexcept {
    std::size_t Count = 0;
    for (std::size_t At = Source.find('\n'); At != std::string_view::npos;
         At = Source.find('\n', At + 1)) {
      ++Count;
    }
    return Count;
  }

  unsigned char Peek(std::size_t Ahead = 0) const noexcept {
    const std::size_t At = Position + Ahead;
    return At < Source.size() ? static_cast<unsigned char>(Source[At]) : 0;
  }

  bool Has(std::size_t Ahead) const noexcept { return Position + Ahead < Source.size(); }

  // The first tab at or after Offset, or the source's end.
  std::size_t Tab_From(std::size_t Offset) const noexcept {
    const std::size_t At = Source.find('\t', Offset);
    return At == std::string_view::npos ? Source.size() : At;
  }

  // Columns are counted on from the last place asked about, so that a long
  // line costs linear time; tabs advance to the next multiple of 8. Up to
  // the next tab (most sources have none) each byte is a column.
  // A column past Column_Limit counts as it.
  Column_Number Column_Of(std::size_t Offset) noexcept {
    Offset = Offset < Source.size() ? Offset : Source.size();
    if (Offset < Column_Base) {
      Column_Base = Line_Start;
      Base_Column = 1;
      Next_Tab = Tab_From(Line_Start);
    }
    while (Column_Base < Offset) {
      if (Next_Tab < Column_Base) {
        Next_Tab = Tab_From(Column_Base);
      }
      const std::size_t Plain_End = std::min(Offset, Next_Tab);
      const std::size_t Plain = std::min<std::size_t>(Plain_End - Column_Base, Column_Limit);
      Base_Column = std::min(Base_Column + static_cast<Column_Number>(Plain), Column_Limit);
      Column_Base = Plain_End;
      if (Column_Base < Offset) {
        Base_Column = std::min(((Base_Column - 1) / 8 + 1) * 8 + 1, Column_Limit);
        ++Column_Base;
      }
    }
    return Base_Column;
  }

  bool Current_Line_Has_Lexemes() const noexcept { return Result.Lexemes.size() > Line_First; }

  void Add(Lexeme_Class Class, Code Symbol, std::size_t Length) {
    Lexeme Item;
    Item.Class = Class;
    Item.Symbol = Symbol;
    Item.Offset = static_cast<Index>(Position);
    Item.Length = static_cast<Index>(Length);
    Item.Line = static_cast<Index>(Result.Lines.size());
    Item.Column = Class == Lexeme_Class::Byte_Order_Mark ? 1 : Column_Of(Position);
    Make_Room(Result.Lexemes);
    Result.Lexemes.push_back(Item);
    Position += Length;
  }

  void Error(std::size_t Offset, std::string Message) {
    if (Result.Errors.size() < Error_Limit) {
      Diagnostic Item;
      Item.Line = Result.Lines.size() + 1;
      Item.Column = static_cast<std::size_t>(Column_Of(Offset));
      Item.Message = std::move(Message);
      Result.Errors.push_back(std::move(Item));
    }
  }

  void Close_Line(bool Terminated) {
    Source_Line Line;
    Line.First = static_cast<Index>(Line_First);
    Line.Count = static_cast<Index>(Result.Lexemes.size() - Line_First);
    Line.Terminated = Terminated;
    Make_Room(Result.Lines);
    Result.Lines.push_back(Line);
    Line_First = Result.Lexemes.size();
  }

  void Line_End() {
    Position += Peek() == Carriage_Return && Peek(1) == Line_Feed ? 2U : 1U;
    Close_Line(true);
    Line_Start = Position;
    Column_Base = Position;
    Base_Column = 1;
  }

  void Scan_One() {
    const unsigned char B = Peek();
    if (Is_Line_End(B)) {
      Line_End();
    } else if (B == ' ' || B == Tab) {
      Skip_Blanks();
    } else if (B == Vertical_Tab || B == Form_Feed) {
      Add(Lexeme_Class::Effector, Code::None, 1);
    } else if (Is_Letter(B, Language)) {
      Scan_Identifier();
    } else if (Is_Digit(B)) {
      Scan_Number();
    } else if (B == '"') {
      Scan_String('"');
    } else if (B == '-' && Peek(1) == '-') {
      Scan_Comment();
    } else if (B == '\'') {
      Scan_Apostrophe();
    } else if (B == '%') {
      Scan_Percent_String();
    } else {
      Scan_Delimiter();
    }
  }

  // A run of blanks in one go: most of a source's bytes are indentation.
  void Skip_Blanks() noexcept {
    do {
      ++Position;
    } while (Position < Source.size() && (Source[Position] == ' ' || Source[Position] == '\t'));
  }

  void Scan_Identifier() {
    const std::size_t Start = Position;
    std::size_t Length = 1;
    for (;;) {
      const unsigned char B = Peek(Length);
      if (B == '_') {
        const unsigned char After = Peek(Length + 1);
        if (!Is_Letter(After, Language) && !Is_Digit(After)) {
          Error(Position + Length, After == '_' ? "two underscores in a row"
                                                : "an identifier cannot end with an underscore");
          if (After != '_') {
            ++Length;
            break;
          }
        }
        ++Length;
      } else if (In_Name[B]) {
        ++Length;
      } else {
        break;
      }
    }
    const std::string_view Word = Source.substr(Start, Length);
    if (Follows_Apostrophe()) {
      Add(Lexeme_Class::Attribute, Code::None, Length);
      return;
    }
    const Code Word_Code = Reserved_Word(Word, Language);
    Add(Word_Code == Code::None ? Lexeme_Class::Identifier : Lexeme_Class::Reserved_Word, Word_Code,
        Length);
  }

  bool Follows_Apostrophe() const noexcept {
    return !Result.Lexemes.empty() && Result.Lexemes.back().Symbol == Code::Apostrophe;
  }

  // digit {[underline] digit} (Based: extended digits below Base). Returns
  // the number of characters taken from Ahead on; 0 when no digit is there.
  std::size_t Numeral(std::size_t Ahead, int Base) {
    std::size_t Length = 0;
    for (;;) {
      const int Value = Base == 10
                            ? (Is_Digit(Peek(Ahead + Length)) ? Peek(Ahead + Length) - '0' : -1)
                            : Digit_Value(Peek(Ahead + Length));
      if (Value < 0) {
        return Length;
      }
      if (Value >= Base) {
        Error(Position + Ahead + Length, "digit not allowed in base " + std::to_string(Base));
      }
      ++Length;
      if (Peek(Ahead + Length) == '_') {
        const unsigned char After = Peek(Ahead + Length + 1);
        if (Digit_Value(After) < 0 || (Base == 10 && !Is_Digit(After))) {
          Error(Position + Ahead + Length, "an underscore must stand between two digits");
          return Length + 1;
        }
        ++Length;
      }
    }
  }

  int Base_Value(std::size_t Length) const noexcept {
    int Value = 0;
    for (std::size_t I = 0; I < Length && Value <= 16; ++I) {
      const unsigned char B = Peek(I);
      if (Is_Digit(B)) {
        Value = Value * 10 + (B - '0');
      }
    }
    return Value;
  }

  std::size_t Based_Part(std::size_t Length) {
    const unsigned char Mark = Peek(Length);
    int Base = Base_Value(Length);
    if (Base < 2 || Base > 16) {
      Error(Position, "the base of a based literal must be 2 to 16");
      Base = 16;
    }
    ++Length;
    const std::size_t Digits = Numeral(Length, Base);
    if (Digits == 0) {
      Error(Position + Length, "extended digit expected");
    }
    Length += Digits;
    if (Peek(Length) == '.' && Digit_Value(Peek(Length + 1)) >= 0) {
      Length += 1 + Numeral(Length + 1, Base);
    }
    if (Peek(Length) != Mark) {
      Error(Position + Length,
            std::string("missing '") + static_cast<char>(Mark) + "' at the end of a based literal");
      return Length;
    }
    return Length + 1;
  }

  std::size_t Exponent(std::size_t Length) {
    const unsigned char E = Peek(Length);
    if (E != 'E' && E != 'e') {
      return Length;
    }
    std::size_t Ahead = Length + 1;
    if (Peek(Ahead) == '+' || Peek(Ahead) == '-') {
      ++Ahead;
    }
    if (!Is_Digit(Peek(Ahead))) {
      Error(Position + Ahead, "digit expected in the exponent");
      return Ahead;
    }
    return Ahead + Numeral(Ahead, 10);
  }

  void Scan_Number() {
    std::size_t Length = Numeral(0, 10);
    const unsigned char After = Peek(Length);
    if (After == '#' || (After == ':' && Digit_Value(Peek(Length + 1)) >= 0)) {
      Length = Based_Part(Length);
    } else if (After == '.' && Is_Digit(Peek(Length + 1))) {
      Length += 1 + Numeral(Length + 1, 10);
    }
    Length = Exponent(Length);
    const unsigned char Next = Peek(Length);
    if (Is_Letter(Next, Language) || Is_Digit(Next) || Next == '_') {
      Error(Position + Length, "a numeric literal must be separated from what follows it");
    }
    Add(Lexeme_Class::Numeric_Literal, Code::None, Length);
  }

  // A string between Quote characters, doubled Quotes standing for one.
  void Scan_String(unsigned char Quote) {
    std::size_t Length = 1;
    for (;;) {
      if (!Has(Length) || Is_Line_End(Peek(Length))) {
        Error(Position, "missing string quote");
        Position += Length;
        return;
      }
      const unsigned char B = Peek(Length);
      if (B == Quote) {
        if (Peek(Length + 1) != Quote) {
          break;
        }
        ++Length;
      } else if (!Is_Graphic(B) || (Quote == '%' && B == '"')) {
        Error(Position + Length, "character not allowed in a string");
      }
      ++Length;
    }
    Add(Lexeme_Class::String_Literal, Code::None, Length + 1);
  }

  // The replacement form %...% of a string without quotation marks.
  void Scan_Percent_String() { Scan_String('%'); }

  // Up to the line's end, found by the library's searches, which look at
  // many bytes at a time: comments are long, and carriage returns rare.
  void Scan_Comment() {
    const std::size_t Start = Position + 2;
    std::size_t End = Source.find('\n', Start);
    End = End == std::string_view::npos ? Source.size() : End;
    if (const void* Return = std::memchr(Source.data() + Start, '\r', End - Start)) {
      End = static_cast<std::size_t>(static_cast<const char*>(Return) - Source.data());
    }
    Add(Lexeme_Class::Comment, Code::None, End - Position);
  }

  bool Previous_Is_Prefix() const noexcept {
    if (Result.Lexemes.empty()) {
      return false;
    }
    const Lexeme& Last = Previous_Significant();
    switch (Last.Class) {
      case Lexeme_Class::Identifier:
      case Lexeme_Class::Attribute:
      case Lexeme_Class::String_Literal:
        return true;
      default:
        return Last.Symbol == Code::Right_Paren || Last.Symbol == Code::Right_Bracket ||
               Last.Symbol == Code::All || Last.Symbol == Code::At_Sign;
    }
  }

  const Lexeme& Previous_Significant() const noexcept {
    for (std::size_t I = Result.Lexemes.size(); I > 0; --I) {
      const Lexeme& Item = Result.Lexemes[I - 1];
      if (Item.Class != Lexeme_Class::Comment && Item.Class != Lexeme_Class::Effector) {
        return Item;
      }
    }
    return Result.Lexemes.front();
  }

  // A character literal, or the apostrophe of an attribute or of a
  // qualified expression: after a name it is the apostrophe
  // (Character'('a'), X'Length), elsewhere 'c' is a character literal.
  void Scan_Apostrophe() {
    if (Previous_Is_Prefix()) {
      Add(Lexeme_Class::Delimiter, Code::Apostrophe, 1);
    } else if (Has(2) && Peek(2) == '\'' && Is_Graphic(Peek(1))) {
      Add(Lexeme_Class::Character_Literal, Code::None, 3);
    } else if (const std::size_t Bytes = Encoded_Character(); Bytes > 0) {
      Add(Lexeme_Class::Character_Literal, Code::None, Bytes + 2);
    } else {
      Error(Position, "an apostrophe must follow a name or start a character literal");
      ++Position;
    }
  }

  // The bytes of one UTF-8 encoded character between two apostrophes
  // ('…' in a source GNAT reads as UTF-8), or 0.
  std::size_t Encoded_Character() const noexcept {
    const auto Lead = static_cast<unsigned char>(Has(1) ? Peek(1) : 0);
    const std::size_t Bytes = Lead >= 0xF0 && Lead <= 0xF4   ? 4
                              : Lead >= 0xE0 && Lead <= 0xEF ? 3
                              : Lead >= 0xC2 && Lead <= 0xDF ? 2
                                                             : 0;
    if (Bytes == 0 || !Has(Bytes + 1) || Peek(Bytes + 1) != '\'') {
      return 0;
    }
    for (std::size_t K = 2; K <= Bytes; ++K) {
      if ((static_cast<unsigned char>(Peek(K)) & 0xC0U) != 0x80U) {
        return 0;
      }
    }
    return Bytes;
  }

  void Scan_Delimiter() {
    std::size_t Length = 0;
    const Code Symbol = Delimiter_At(Source.substr(Position, 2), Language, Length);
    if (Symbol == Code::None) {
      Error(Position, "illegal character");
      ++Position;
      return;
    }
    Add(Lexeme_Class::Delimiter, Symbol, Length);
  }

  std::string_view Source;
  Edition Language;
  const Byte_Set& In_Name;  // letters and digits of Language
  std::size_t Error_Limit;
  std::size_t Position = 0;
  std::size_t Line_Start = 0;
  std::size_t Line_First = 0;
  std::size_t Column_Base = 0;
  Column_Number Base_Column = 1;
  std::size_t Next_Tab;  // the first tab at or after Column_Base when not below it
  Lexed Result;
};

}  // namespace

Lexed Lex(std::string_view Source, Edition Language, std::size_t Error_Limit) {
  return Scanner(Source, Language, Error_Limit).Run();
}

}  // namespace Formatter
