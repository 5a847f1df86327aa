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

/// The .ads, .adb and .ada files of Folder and its subfolders, sorted by path.
std::vector<std::string> Ada_Files(const std::string& Folder);

/// A whole file, byte for byte ("" when it cannot be read).
std::string Read_File(const std::string& Path);

/// Text scrambled: leading blanks removed, each run of blanks between two
/// lexemes replaced by one to three blanks, reserved words in upper case.
/// The same Seed gives the same text.
std::string Scramble(std::string_view Source, Formatter::Edition Language, unsigned Seed);

/// The lexemes of Source, reserved words in lower case: the code's in
/// order, then the comments' in order (an end-of-line comment that no
/// longer fits beside its code moves above it); empty with Lexical_Error
/// set when Source does not lex.
std::vector<std::string> Token_Texts(std::string_view Source, Formatter::Edition Language,
                                     bool& Lexical_Error);

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

/// Writes Text as Folder/Name, its lines ended by LF (GNAT's own style
/// refuses the client's CR LF, which is not a matter of layout), and runs
/// GNAT's style checker on it (gcc -c -gnats -gnatg
/// -gnaty3abcefhiklmnprtux, in Folder); returns its messages, empty when the
/// file is clean. The file is removed afterwards.
std::string Style_Messages(const std::string& Folder, const std::string& Name,
                           std::string_view Text);

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
  std::size_t Style_Checked = 0;
  std::size_t Style_Clean = 0;
  std::size_t Exceptions = 0;
  std::size_t Error_Files = 0;
  std::size_t Slow = 0;  ///< files that took more than Slow_Seconds
  std::size_t Layout_Before = 0;  ///< layout messages on the sources as they come
  std::size_t Layout_After = 0;   ///< and on the formatted sources
  std::size_t Layout_Added = 0;   ///< files without such messages that got some
};

inline constexpr double Slow_Seconds = 5.0;

void Add(Totals& Sum, const File_Measure& File);

/// The gate table, one line per gate with its measure and target.
std::string Table(const Totals& Sum);

}  // namespace Gates
