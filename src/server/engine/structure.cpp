// Analyse: the nesting analysis of a whole source.
#include "structure.h"

#include "analyser.h"

namespace Formatter {

std::vector<Line_Role> Analyse(const Lexed& Input, Column_Number Units, Line_Placer& Placer) {
  return Nesting::Analyser(Input, Units, Placer).Run();
}

}  // namespace Formatter
