// The "Standard" layout: rounds of placing, aligning groups and dropping
// kept blanks that no longer align anything, until nothing changes.
#include "layout.h"

#include "alignment.h"
#include "placer.h"

namespace Formatter {

namespace Layout {

namespace {

constexpr int Most_Rounds = 12;

}  // namespace

std::vector<Column_Number> Placer::Run() {
  Mark_Alignment_Candidates();
  for (int Round = 0; Round < Most_Rounds; ++Round) {
    Moved = false;
    Place_All();
    // Demoting reads the groups of the last round (Forced), and the new
    // ones are found from the columns alone: so the new ones are made
    // only when the work of demoting is given back, and only from columns
    // placed after the last repair. Where no lexeme moved since the last
    // round that found them, the groups are found again as they were (the
    // roles move only with the columns).
    const Kept_Change Kept = Demote_Unaligned();
    if (Kept == Kept_Change::Repaired) {
      Regroup = true;
      continue;
    }
    const bool Demoted = Kept == Kept_Change::Demoted;
    if (Round > 0 && !Moved && !Regroup) {
      if (!Demoted) {
        return std::move(Column);
      }
      continue;
    }
    Regroup = false;
    std::vector<Column_Number> Groups = Group_Columns(Input, Roles, Column, Made);
    if (Groups == Forced && !Demoted) {
      return std::move(Column);
    }
    Forced = std::move(Groups);
  }
  Place_All();
  return std::move(Column);
}

}  // namespace Layout

std::vector<Column_Number> Lay_Out(std::string_view Source, const Lexed& Input,
                                   const Settings& Options, const std::vector<bool>& Made) {
  return Layout::Placer(Source, Input, Options, Made).Run();
}

}  // namespace Formatter
