// The placer behind Lay_Out, internal to the formatting engine: it places
// every lexeme line by line as the nesting analysis hands it each line's
// role (placement.cpp), chooses the blanks between lexemes (gaps.cpp),
// places whole-line comments (comment_placement.cpp) and keeps only the
// author's alignment blanks that still line lexemes up
// (kept_alignment.cpp); layout.cpp runs the rounds.
#pragma once

#include <string_view>
#include <vector>

#include "alignment.h"
#include "formatter.h"
#include "lexer.h"
#include "spacing.h"
#include "structure.h"

namespace Formatter::Layout {

// What a round's look at the kept blanks changed: none, some dropped, or
// some lexemes moved to the column they were a little off.
enum class Kept_Change : unsigned char { None, Demoted, Repaired };

class Placer final : public Line_Placer {
 public:
  Placer(std::string_view Text, const Lexed& Lexed_Source, const Settings& Options,
         const std::vector<bool>& Made_Lines)
      : Source(Text), Input(Lexed_Source), Made(Made_Lines), Units(Options.Units) {
    Column.assign(Input.Lexemes.size(), 1);
    Spacing.assign(Input.Lexemes.size(), 0);
    Forced.assign(Input.Lexemes.size(), 0);
  }

  // Placing, then aligning groups and dropping kept blanks that no longer
  // align anything, until nothing changes.
  std::vector<Column_Number> Run();

  // A line aligned after a parenthesis that would then pass the style's
  // longest line goes two columns in from the line above instead.
  Column_Number Place(std::size_t L, const std::vector<Line_Role>& Known) override;

 private:
  const Lexeme& At(std::size_t I) const noexcept { return Input.Lexemes[I]; }
  std::string_view Text(std::size_t I) const noexcept { return Text_Of(Source, At(I)); }
  Column_Number Width(std::size_t I) const noexcept {
    return static_cast<Column_Number>(At(I).Length);
  }
  std::size_t First_Of(std::size_t L) const noexcept { return Input.Lines[L].First; }
  std::size_t End_Of(std::size_t L) const noexcept {
    return Input.Lines[L].First + Input.Lines[L].Count;
  }
  bool Is_Mark(std::size_t I) const noexcept {
    return At(I).Class == Lexeme_Class::Byte_Order_Mark;
  }
  bool Is_Effector(std::size_t I) const noexcept { return At(I).Class == Lexeme_Class::Effector; }
  void Set(std::size_t I, Column_Number Placed) noexcept {
    Moved = Moved || Column[I] != Placed;
    Column[I] = Placed;
  }

  // Blanks the author put between lexeme I and the one before it on its
  // line (as repaired where they put it a little off its column).
  Column_Number Author_Gap(std::size_t I) const noexcept {
    const Column_Number Gap =
        At(I).Column - (At(I - 1).Column + Width(I - 1)) + (Repaired.empty() ? 0 : Repaired[I]);
    return Gap < 0 ? 0 : Gap;
  }

  // The line's first lexeme stands where its author put it (not at the
  // margin, where every line of a text whose blanks were lost stands).
  bool Stands_As_Written(std::size_t L) const noexcept {
    const std::size_t First = First_Of(L);
    return At(First).Column > 1 && Column[First] == At(First).Column;
  }

  bool Has_Left_Neighbour(std::size_t I) const noexcept {
    return I > First_Of(At(I).Line) && !Is_Mark(I - 1);
  }

  Gap Style(std::size_t I) const noexcept { return static_cast<Gap>(Spacing[I] & ~Kept_Blanks); }
  bool Keeps(std::size_t I) const noexcept { return (Spacing[I] & Kept_Blanks) != 0; }

  // Placing (placement.cpp).
  void Place_All();
  // The lines placed again with the last round's roles; false when a line's
  // first lexeme lands elsewhere than in that round.
  bool Place_Again();
  // A continuation line that fitted the style's longest line as its author
  // wrote it, and that its new place pushes past it, moves left just enough,
  // though not left of two columns in from its statement.
  void Keep_Within_Style(std::size_t L, const std::vector<Line_Role>& Known);
  // Lexeme Anchor at Start; what stands before it on the line (effectors)
  // from column 1 on, what follows it by the spacing rules.
  void Place_Line(std::size_t L, std::size_t Anchor, Column_Number Start);
  void Place_From(std::size_t L, std::size_t Anchor, Column_Number Start);
  // A continuation line (one placed from the author's columns) whose first
  // token stands just after its open parenthesis.
  bool Lands_After_Paren(std::size_t L, const std::vector<Line_Role>& Known) const noexcept;
  Column_Number First_Column(std::size_t L, const std::vector<Line_Role>& Known,
                             bool& After_Paren) const noexcept;
  // A continuation line the author did not indent: by the line's rule.
  Column_Number Styled_Column(const Line_Role& Role, Column_Number Base) const noexcept;

  // Gaps (gaps.cpp).
  void Mark_Alignment_Candidates();
  Column_Number Chosen_Gap(std::size_t I) const noexcept;

  // Whole-line comments (comment_placement.cpp).
  std::size_t Comment_Of(std::size_t L) const noexcept;
  // The code lines around a comment line: the next, the one before, and
  // the last one before that starts a statement (or No_Lexeme).
  struct Neighbours {
    std::size_t Next = No_Lexeme;
    std::size_t Prior = No_Lexeme;
    std::size_t Prior_Fixed = No_Lexeme;
    Column_Number Comment_Above = 0;  // where the whole-line comment above wanted to go
  };
  void Place_Comments();
  Code Last_Code_Symbol(std::size_t L) const noexcept;
  // The column Wanted for a whole-line comment, moved left to keep it
  // within the style's longest line where its author did.
  Column_Number Within_Style(std::size_t Comment, Column_Number Wanted) const noexcept;
  Column_Number Wanted_Comment_Column(std::size_t L, std::size_t Comment,
                                      const Neighbours& Near) const noexcept;

  // Kept alignment (kept_alignment.cpp).
  Kept_Change Demote_Unaligned();
  // Same kind of lexeme, after the same kind (end-of-line comments need
  // not): lexemes that make one column where they stand in one.
  bool Same_Kind(std::size_t I, std::size_t J) const noexcept;
  bool Line_Up(std::size_t I, std::size_t J) const noexcept;
  std::size_t Root(std::size_t I);
  void Join_Columns();
  std::size_t Line_Near(std::size_t L, Column_Number At, int Step) const noexcept;
  std::size_t Adjacent_Above(std::size_t L, Column_Number At) const noexcept;
  void Join_Right_Edges(std::size_t I, std::size_t Above);
  // Lines a lexeme's column may reach past.
  static constexpr std::size_t Farthest = 4;

  // Columns a little off (column_repair.cpp).
  bool Repair_Off_Columns(const std::vector<unsigned char>& Members);
  Column_Number Off_Column(std::size_t I) const noexcept;
  struct Partner_Count {
    int Found = 0;
    int Padded = 0;
  };
  void Partners(std::size_t I, Column_Number Wanted, int Step, Partner_Count& Count) const noexcept;
  std::size_t Code_Line_Near(std::size_t L, int Step) const noexcept;
  std::size_t Held_At(std::size_t L, std::size_t I, Column_Number Wanted) const noexcept;
  void Shift_Gap(std::size_t I, Column_Number Shift);

  // Lexeme I keeps blanks that only a column of its kind can justify.
  bool Judges(std::size_t I) const noexcept {
    const bool Own_Column = At(I).Class == Lexeme_Class::Comment && Wide(I);
    return Keeps(I) && Forced[I] == 0 && !Own_Column;
  }
  // Blanks wider than the scrambling of any tool or hand: deliberate.
  // An end-of-line comment three blanks or more after the code has a column
  // of its own.
  bool Wide(std::size_t I) const noexcept {
    const Column_Number Least = At(I).Class == Lexeme_Class::Comment ? 3 : 4;
    return Keeps(I) && Author_Gap(I) >= Least;
  }

  std::string_view Source;
  const Lexed& Input;
  const std::vector<bool>& Made;  // the lines the engine made by breaking long ones
  int Units;
  std::vector<Line_Role> Roles;
  bool Analysed = false;  // Roles hold the analysis of an earlier round
  std::vector<Column_Number> Column;
  // A lexeme was given a column other than the one it had (since Moved
  // was last cleared); a line placed twice may set it though it ends where
  // it was.
  bool Moved = false;
  // A repair changed gaps since the groups were last found.
  bool Regroup = false;
  // Per lexeme, found once and read by every placing: the style's gap
  // between it and the lexeme on its left (none for a line's first), and
  // the flag Kept_Blanks when it keeps the blanks its author put there.
  std::vector<unsigned char> Spacing;
  static constexpr unsigned char Kept_Blanks = 0x80;
  std::vector<Column_Number> Forced;  // the column an alignment group gives the lexeme, or 0
  std::vector<Index> Column_Set;      // lexemes lined up in one column (union-find)
  // Per lexeme, the columns its author's blanks are repaired by (empty
  // while none is).
  std::vector<signed char> Repaired;
};

}  // namespace Formatter::Layout
