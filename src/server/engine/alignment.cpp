// Finding alignment groups and their columns.
#include "alignment.h"

#include <algorithm>

namespace Formatter {

namespace {

enum class Group_Kind : unsigned char { None, Colon, Arrow };

struct Member {
  Group_Kind Kind = Group_Kind::None;
  long long Name_Column = 0;  ///< where the names (or choices) start
  long long Names_End = 0;    ///< the column just after the last name
  std::size_t Mark = No_Lexeme;
  long long Line_End = 0;  ///< the column of the line's last character
};

constexpr std::size_t Most_Choice_Lexemes = 12;

bool Is_Choice_Part(const Lexeme& Item) noexcept {
  return Is_Operand_Class(Item.Class) || Item.Symbol == Code::Others || Item.Symbol == Code::Bar ||
         Item.Symbol == Code::Dot || Item.Symbol == Code::Apostrophe ||
         Item.Symbol == Code::Double_Dot;
}

class Finder {
public:
  Finder(const Lexed& Lexed_Source, const std::vector<Column_Number>& Columns)
      : Input(Lexed_Source), Column(Columns) {}

  // The line as a group member: names, then a colon; or choices, then an arrow.
  Member Member_Of(const Line_Role& Role, std::size_t L) const noexcept {
    std::size_t I = Role.First_Code;
    const std::size_t End = Input.Lines[L].First + Input.Lines[L].Count;
    if (I == No_Lexeme) {
      return Member{};
    }
    if (Input.Lexemes[I].Symbol == Code::Left_Paren) {
      ++I;
    }
    Member Found = Names(I, End);
    if (Found.Kind != Group_Kind::None) {
      Found.Line_End = End_Column(End - 1) - 1;
    }
    return Found;
  }

private:
  Member Names(std::size_t I, std::size_t End) const noexcept {
    if (I >= End || Input.Lexemes[I].Class != Lexeme_Class::Identifier) {
      return Choices(I, End);
    }
    const std::size_t First = I;
    while (I + 2 < End && Input.Lexemes[I + 1].Symbol == Code::Comma &&
           Input.Lexemes[I + 2].Class == Lexeme_Class::Identifier) {
      I += 2;
    }
    if (I + 1 < End && Input.Lexemes[I + 1].Symbol == Code::Colon) {
      return Member{Group_Kind::Colon, Column[First], End_Column(I), I + 1};
    }
    return Choices(First, End);
  }

  long long End_Column(std::size_t I) const noexcept {
    return Column[I] + static_cast<long long>(Input.Lexemes[I].Length);
  }

  Member Choices(std::size_t First, std::size_t End) const noexcept {
    for (std::size_t I = First; I < End && I < First + Most_Choice_Lexemes; ++I) {
      if (Input.Lexemes[I].Symbol == Code::Arrow) {
        return I == First ? Member{}
                          : Member{Group_Kind::Arrow, Column[First], End_Column(I - 1), I};
      }
      if (!Is_Choice_Part(Input.Lexemes[I])) {
        return Member{};
      }
    }
    return Member{};
  }

  const Lexed& Input;
  const std::vector<Column_Number>& Column;
};

void Align(const std::vector<Member>& Group, const std::vector<Column_Number>& Column,
           std::vector<Column_Number>& Forced) {
  long long Names_End = 0;
  bool Aligned = true;
  for (const Member& Item : Group) {
    Names_End = std::max(Names_End, Item.Names_End);
    Aligned = Aligned && Column[Item.Mark] == Column[Group.front().Mark];
  }
  const long long Target = Aligned && Column[Group.front().Mark] > Names_End
                               ? Column[Group.front().Mark]
                               : Names_End + 1;
  for (const Member& Item : Group) {
    if (Item.Line_End + Target - Column[Item.Mark] > Style_Line_Length &&
        Target > Column[Item.Mark]) {
      return;
    }
  }
  for (const Member& Item : Group) {
    Forced[Item.Mark] = static_cast<Column_Number>(Target);
  }
}

}  // namespace

std::vector<Column_Number> Group_Columns(const Lexed& Input, const std::vector<Line_Role>& Roles,
                                         const std::vector<Column_Number>& Column) {
  std::vector<Column_Number> Forced(Input.Lexemes.size(), 0);
  const Finder Find(Input, Column);
  std::vector<Member> Group;
  for (std::size_t L = 0; L <= Roles.size(); ++L) {
    const Member Next = L < Roles.size() ? Find.Member_Of(Roles[L], L) : Member{};
    // Lines that continue a member (indented past the names) do not end
    // the group.
    if (Next.Kind == Group_Kind::None && !Group.empty() && L < Roles.size() &&
        Roles[L].Kind == Line_Kind::Continuation &&
        Column[Roles[L].First_Code] > Group.front().Name_Column) {
      continue;
    }
    const bool Joins = !Group.empty() && Next.Kind == Group.front().Kind &&
                       Next.Name_Column == Group.front().Name_Column;
    if (!Joins) {
      if (Group.size() > 1) {
        Align(Group, Column, Forced);
      }
      Group.clear();
    }
    if (Next.Kind != Group_Kind::None) {
      Group.push_back(Next);
    }
  }
  return Forced;
}

}  // namespace Formatter
