// The formatting engine's quality gates, measured on a corpus of Ada files:
// token preservation, idempotence, faithfulness to files already in style,
// recovery of scrambled files, and GNAT's style checker on the results.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formatter.h"
#include "render.h"

namespace Gates {

/// GNAT's runtime sources (gcc -print-file-name=adainclude), or "" when
/// GNAT is not installed.
std::string Runtime_Folder();

/// The .ads, .adb and .ada files of Folder and of its folders, sorted by path.
std::vector<std::string> Ada_Files(const std::string& Folder);

/// A whole file, byte for byte ("" when it cannot be read).
std::string Read_File(const std::string& Path);

/// Text scrambled: leading blanks removed, each run of blanks between two
/// lexemes squeezed to one blank, the letters of reserved words and
/// attributes in upper or lower case at random.
/// The same Seed gives the same text.
std::string Scramble(std::string_view Source, Formatter::Edition Language, unsigned Seed);

/// The lexemes of Source, reserved words, identifiers and attributes in
/// lower case: the code's in order, then the comments' in order (an
/// end-of-line comment that no longer fits beside its code moves above it);
/// empty with Lexical_Error set when Source does not lex.
std::vector<std::string> Token_Texts(std::string_view Source, Formatter::Edition Language,
                                     bool& Lexical_Error);

/// The lines of Original that Formatted keeps byte for byte and in order
/// (a longest common subsequence of their lines): a line broken in two, or
/// a blank line taken out, costs that line alone. Falls back to comparing
/// lines by their place when the texts differ in more than a few thousand
/// lines.
std::size_t Same_Lines(std::string_view Original, std::string_view Formatted);

struct File_Measure {
  std::string Name;
  bool Formatted = false;  ///< formatted without an error line or exception
  bool Exception = false;
  bool Token_Preserving = false;
  bool Idempotent = false;
  std::size_t Lines = 0;
  std::size_t Unchanged = 0;
  std::size_t Recovered = 0;
  double Seconds = 0;
  std::string Formatted_Output;  ///< the formatted text
  std::string Scrambled_Output;  ///< the formatted scrambled text
  std::string Failure;           ///< the first error line or the exception's text
};

/// Every measure of one file but the style check.
File_Measure Measure_File(std::string Name, std::string_view Source,
                          const Formatter::Settings& Options);

/// The language switch for GNAT's style checker: -gnatg (GNAT's own style,
/// which its runtime sources need) for the runtime, -gnat2022 elsewhere.
inline constexpr std::string_view Runtime_Switch = "-gnatg";
inline constexpr std::string_view Modern_Switch = "-gnat2022";

/// Writes Text as Folder/Name, its lines ended by LF (GNAT's own style
/// refuses the client's CR LF, which is not a matter of layout), and runs
/// GNAT's style checker on it (gcc -c -gnats Switch
/// -gnaty3abcefhiklmnprtux, in Folder); returns its messages, empty when the
/// file is clean. The file is removed afterwards.
std::string Style_Messages(const std::string& Folder, const std::string& Name,
                           std::string_view Text, std::string_view Switch = Runtime_Switch);

/// The number of GNAT's style messages on layout (indentation, spacing,
/// layout, lines longer than Width, blank lines, casing of reserved words,
/// attributes and pragmas, tabs, trailing blanks: gcc -c -gnats -gnat2022
/// -gnaty3abhiklptu -gnatyM<Width>) for Text written as Folder/Name.
std::size_t Layout_Messages(const std::string& Folder, const std::string& Name,
                            std::string_view Text, int Width);

struct Totals {
  std::size_t Files = 0;
  std::size_t Token_Preserving = 0;
  std::size_t Idempotent = 0;
  std::size_t Lines = 0;
  std::size_t Unchanged = 0;
  std::size_t Recovered = 0;
  std::size_t Unchanged_Files = 0;  ///< files that come back line for line
  std::size_t Style_Checked = 0;    ///< formatted scrambled files checked
  std::size_t Style_Clean = 0;      ///< ... that the style checker passes
  /// The files the style checker passes as they are: their lines, the lines
  /// formatting leaves alone, and the files it makes unclean.
  std::size_t Clean_Files = 0;
  std::size_t Clean_Lines = 0;
  std::size_t Clean_Unchanged = 0;
  std::size_t Made_Unclean = 0;
  std::size_t Clean_Scrambled_Clean = 0;  ///< their formatted scrambled copies that pass
  std::size_t Exceptions = 0;
  std::size_t Error_Files = 0;
  std::size_t Slow = 0;           ///< files that took more than Slow_Seconds
  std::size_t Layout_Before = 0;  ///< layout messages on the sources as they come
  std::size_t Layout_After = 0;   ///< and on the formatted sources
  std::size_t Layout_Added = 0;   ///< files without such messages that got some
};

inline constexpr double Slow_Seconds = 5.0;

void Add(Totals& Sum, const File_Measure& File);

/// Adds the file, already style-clean, to the style-clean measures: the
/// checker's messages on it formatted and on its scrambled copy formatted.
void Add_Clean(Totals& Sum, const File_Measure& File, const std::string& Formatted_Messages,
               const std::string& Scrambled_Messages);

/// The gate table, one line per gate with its measure and target.
std::string Table(const Totals& Sum);

}  // namespace Gates
