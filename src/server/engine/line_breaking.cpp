// Breaking long lines: the breaks each long line asks for (line_choice.h)
// are made in the text, which the engine lays out again, until no line can
// be shortened any more.
#include "line_breaking.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "line_choice.h"
#include "vocabulary.h"

namespace Formatter {

namespace {

// The later lines of a list whose `(` moved left: those that start at or
// right of the column after it move along, until the list closes.
struct Moving_List {
  int From = 0;   // the column just after the `(` before it moved
  int By = 0;     // how far it moved
  int Depth = 0;  // parentheses still open
};

// The tokens of one line, as they go into the text: with its breaks, its
// comment above, or moved along with its list.
void Write_Line(const std::vector<Token>& Tokens, std::size_t First, std::size_t Last,
                const Line_Breaks& Breaks, int Moved_By, std::vector<Token>& Into) {
  std::size_t End = Last;
  if (Breaks.Comment_Above) {
    Into.push_back(Token{Kinds::Comment, Tokens[First].Column - Moved_By, Tokens[Last - 1].Text});
    Into.push_back(Token{Kinds::End_Of_Line, 1, {}});
    --End;
  }
  int Shift = Moved_By;
  std::size_t Next = 0;
  for (std::size_t I = First; I < End; ++I) {
    if (Next < Breaks.Before.size() && Breaks.Before[Next] == I) {
      Into.push_back(Token{Kinds::End_Of_Line, 1, {}});
      Shift = Tokens[I].Column - Breaks.Column[Next];
      ++Next;
    }
    Token Moved = Tokens[I];
    Moved.Column -= Shift;
    Into.push_back(Moved);
  }
}

std::size_t End_Of_Line(const std::vector<Token>& Tokens, std::size_t First) noexcept {
  std::size_t Last = First;
  while (Last < Tokens.size() && !Ends_Line(Tokens[Last])) {
    ++Last;
  }
  return Last;
}

// Where the first line that breaking changes starts, or past the end of
// Tokens when none does. Up to it no list moves, so its lines go into the
// text as they are.
std::size_t First_Changed(const std::vector<Token>& Tokens, Column_Number Width) {
  for (std::size_t First = 0; First <= Tokens.size();) {
    const std::size_t Last = End_Of_Line(Tokens, First);
    const Line_Breaks Breaks = Breaks_For(Tokens, First, Last, Width);
    if (Breaks.Comment_Above || !Breaks.Before.empty()) {
      return First;
    }
    First = Last + 1;
  }
  return Tokens.size() + 1;
}

// Tokens with the breaks of every long line made: line ends inserted (the
// pieces moved to their columns), comments put above their code, lists
// moved along with their `(`. A line that moves is broken in the next pass.
// Made flags each line of Into that was broken or moved here. A text that
// has long lines and nothing to break in them (deep nesting) costs no copy
// of its tokens.
bool Broken(const std::vector<Token>& Tokens, Column_Number Width, std::vector<Token>& Into,
            std::vector<bool>& Made) {
  const std::size_t Start = First_Changed(Tokens, Width);
  if (Start > Tokens.size()) {
    return false;
  }
  bool Any = false;
  Into.clear();
  Into.reserve(Tokens.size() + Tokens.size() / 8);
  Into.assign(Tokens.begin(), Tokens.begin() + static_cast<std::ptrdiff_t>(Start));
  Made.assign(static_cast<std::size_t>(std::count_if(Into.begin(), Into.end(), Ends_Line)), false);
  Moving_List List;
  for (std::size_t First = Start; First <= Tokens.size();) {
    const std::size_t Last = End_Of_Line(Tokens, First);
    Line_Breaks Breaks;
    int Moved_By = 0;
    if (List.Depth > 0) {
      Moved_By = Last > First && Tokens[First].Column >= List.From ? List.By : 0;
      List.Depth += Nesting_Change(Tokens.data() + First, Last - First);
    } else {
      Breaks = Breaks_For(Tokens, First, Last, Width);
      if (Breaks.Paren_From > Breaks.Paren_To) {
        List = {Breaks.Paren_From + 1, Breaks.Paren_From - Breaks.Paren_To,
                Nesting_Change(Tokens.data() + Breaks.Before.back(), Last - Breaks.Before.back())};
      }
    }
    Write_Line(Tokens, First, Last, Breaks, Moved_By, Into);
    Any = Any || Breaks.Comment_Above || !Breaks.Before.empty();
    Made.insert(Made.end(), Breaks.Before.size() + (Breaks.Comment_Above ? 2 : 1),
                !Breaks.Before.empty() || Moved_By != 0);
    if (Last < Tokens.size()) {
      Into.push_back(Tokens[Last]);
    }
    First = Last + 1;
  }
  return Any;
}

// The width a source sets itself with GNAT's pragma Style_Checks: "M512"
// (as generated tables do) makes 512 its longest line, Off breaks none.
// Width when it sets none.
Column_Number Own_Width(const std::vector<Token>& Tokens, Column_Number Width) {
  for (std::size_t I = 0; I + 3 < Tokens.size(); ++I) {
    if (Tokens[I].Kind != Kinds::Reserved_Word || !Same_Word(Tokens[I].Text, "pragma") ||
        !Same_Word(Tokens[I + 1].Text, "style_checks") || Tokens[I + 2].Text != "(") {
      continue;
    }
    const std::string_view Argument = Tokens[I + 3].Text;
    if (Same_Word(Argument, "off")) {
      return 0;
    }
    const std::size_t Switch = Argument.find('M');
    if (Tokens[I + 3].Kind == Kinds::Literal && Switch != std::string_view::npos) {
      Column_Number Longest = 0;
      for (std::size_t D = Switch + 1;
           D < Argument.size() && Argument[D] >= '0' && Argument[D] <= '9' && Longest < 100000;
           ++D) {
        Longest = Longest * 10 + (Argument[D] - '0');
      }
      return Longest > 0 ? Longest : Width;
    }
  }
  return Width;
}

// A bound on the passes, each of which breaks every long line once more
// (a list nested in a broken list waits for the next): their tokens never
// add up to more than Most_Passes layouts of the source and an allowance.
// So a large source costs a few layouts at most, and a small one, however
// deeply nested, always reaches the layout that breaking leaves alone.
constexpr std::size_t Most_Passes = 16;
constexpr std::size_t Pass_Allowance = 2'000'000;

}  // namespace

Result Fit_Lines(Result Output, const Settings& In_Force) {
  const Column_Number Width = In_Force.Width <= 0 ? 0 : Own_Width(Output.Tokens, In_Force.Width);
  // Most sources have no line to break: one look at every token's end tells.
  if (!Output.Errors.empty() || Width <= 0 ||
      std::none_of(Output.Tokens.begin(), Output.Tokens.end(),
                   [Width](const Token& Item) { return Last_Column(Item) > Width; })) {
    return Output;
  }
  Settings Laying_Out = In_Force;
  Laying_Out.Width = 0;
  std::vector<Token> Pieces;
  std::vector<bool> Made;
  std::size_t Budget = Most_Passes * Output.Tokens.size() + Pass_Allowance;
  while (Budget > 0 && Broken(Output.Tokens, Width, Pieces, Made)) {
    Budget -= std::min(Budget, Pieces.size());
    auto Text = std::make_shared<const std::string>(Written_Text(Pieces, &Made));
    Result Again = Format_Pieces(std::string_view(*Text), Laying_Out, Made);
    if (!Again.Errors.empty()) {
      break;
    }
    // The tokens lie in this text, or in what the pass itself made.
    Again.Laid_Out.push_back(std::move(Text));
    Output = std::move(Again);
  }
  return Output;
}

}  // namespace Formatter
