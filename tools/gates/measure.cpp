// The measures of one file, the style check, and the gate table.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "gates.h"

namespace Gates {

namespace {

// Formats Source and renders it; false (with Failure set) on an error line.
bool Format_Text(std::string_view Source, const Formatter::Settings& Options, std::string& Output,
                 std::string& Failure) {
  const Formatter::Result Formatted = Formatter::Format(Source, Options);
  if (!Formatted.Errors.empty()) {
    const Formatter::Diagnostic& First = Formatted.Errors.front();
    Failure =
        std::to_string(First.Line) + ':' + std::to_string(First.Column) + ": " + First.Message;
    return false;
  }
  Output = Render(Formatted.Tokens);
  return true;
}

void Measure_Formatted(File_Measure& File, std::string_view Source,
                       const Formatter::Settings& Options) {
  std::string Once;
  std::string Twice;
  if (!Format_Text(Source, Options, Once, File.Failure)) {
    return;
  }
  bool Error_Before = false;
  bool Error_After = false;
  File.Token_Preserving = Token_Texts(Source, Options.Language, Error_Before) ==
                              Token_Texts(Once, Options.Language, Error_After) &&
                          !Error_After;
  File.Idempotent = Format_Text(Once, Options, Twice, File.Failure) && Twice == Once;
  File.Formatted_Output = Once;
  File.Lines = Lines_Of(Source).size();
  File.Unchanged = Same_Lines(Source, Once);
  const std::string Scrambled = Scramble(
      Source, Options.Language, static_cast<unsigned>(std::hash<std::string>{}(File.Name)));
  if (Format_Text(Scrambled, Options, File.Scrambled_Output, File.Failure)) {
    File.Recovered = Same_Lines(Source, File.Scrambled_Output);
    File.Formatted = true;
  }
}

std::string Percent(std::size_t Part, std::size_t Whole) {
  char Buffer[32];
  std::snprintf(Buffer, sizeof Buffer, "%7.2f %%",
                Whole == 0 ? 0.0 : 100.0 * static_cast<double>(Part) / static_cast<double>(Whole));
  return Buffer;
}

std::string Row(std::string_view Gate, const std::string& Measure, std::string_view Counts,
                std::string_view Target) {
  char Buffer[200];
  std::snprintf(Buffer, sizeof Buffer, "| %-22.*s | %9s | %-17.*s | %-9.*s |\n",
                static_cast<int>(Gate.size()), Gate.data(), Measure.c_str(),
                static_cast<int>(Counts.size()), Counts.data(), static_cast<int>(Target.size()),
                Target.data());
  return Buffer;
}

std::string Of(std::size_t Part, std::size_t Whole) {
  return std::to_string(Part) + " / " + std::to_string(Whole);
}

}  // namespace

File_Measure Measure_File(std::string Name, std::string_view Source,
                          const Formatter::Settings& Options) {
  File_Measure File;
  File.Name = std::move(Name);
  const auto Start = std::chrono::steady_clock::now();
  try {
    Measure_Formatted(File, Source, Options);
  } catch (const std::exception& Error) {
    File.Exception = true;
    File.Formatted = false;
    File.Failure = std::string("exception: ") + Error.what();
  }
  File.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  return File;
}

namespace {

// GNAT run with Switches on Text written as Folder/Name; its messages.
std::string Checked(const std::string& Folder, const std::string& Name, std::string_view Text,
                    const std::string& Switches) {
  const std::filesystem::path Source = std::filesystem::path(Folder) / Name;
  const std::filesystem::path Report = std::filesystem::path(Folder) / "style-report.txt";
  // The client ends lines with CR LF, which GNAT's own style (-gnatg)
  // refuses; the layout is what is checked, so lines end with LF here.
  std::string Unix_Text;
  Unix_Text.reserve(Text.size());
  for (const std::string_view Line : Lines_Of(Text)) {
    Unix_Text.append(Line);
    Unix_Text.push_back('\n');
  }
  std::ofstream(Source, std::ios::binary)
      .write(Unix_Text.data(), static_cast<std::streamsize>(Unix_Text.size()));
  const std::string Command = "cd '" + Folder + "' && gcc -c -gnats " + Switches + " '" + Name +
                              "' >'" + Report.string() + "' 2>&1";
  const int Status = std::system(Command.c_str());
  std::ostringstream Messages;
  Messages << std::ifstream(Report, std::ios::binary).rdbuf();
  std::error_code Ignored;
  std::filesystem::remove(Source, Ignored);
  std::filesystem::remove(Report, Ignored);
  std::string Result = Messages.str();
  if (Result.empty() && Status != 0) {
    Result = "gcc failed with status " + std::to_string(Status);
  }
  return Result;
}

}  // namespace

std::string Style_Messages(const std::string& Folder, const std::string& Name,
                           std::string_view Text, std::string_view Switch) {
  return Checked(Folder, Name, Text, std::string(Switch) + " -gnaty3abcefhiklmnprtux");
}

std::size_t Layout_Messages(const std::string& Folder, const std::string& Name,
                            std::string_view Text, int Width) {
  const std::string Messages =
      Checked(Folder, Name, Text, "-gnat2022 -gnaty3abhiklptu -gnatyM" + std::to_string(Width));
  std::size_t Count = 0;
  for (std::size_t At = Messages.find("(style)"); At != std::string::npos;
       At = Messages.find("(style)", At + 1)) {
    ++Count;
  }
  return Count;
}

void Add(Totals& Sum, const File_Measure& File) {
  ++Sum.Files;
  Sum.Token_Preserving += File.Token_Preserving ? 1U : 0U;
  Sum.Idempotent += File.Idempotent ? 1U : 0U;
  Sum.Lines += File.Lines;
  Sum.Unchanged += File.Unchanged;
  Sum.Unchanged_Files += File.Formatted && File.Unchanged == File.Lines &&
                                 Lines_Of(File.Formatted_Output).size() == File.Lines
                             ? 1U
                             : 0U;
  Sum.Recovered += File.Recovered;
  Sum.Exceptions += File.Exception ? 1U : 0U;
  Sum.Error_Files += !File.Formatted && !File.Exception ? 1U : 0U;
  Sum.Slow += File.Seconds > Slow_Seconds ? 1U : 0U;
}

void Add_Clean(Totals& Sum, const File_Measure& File, const std::string& Formatted_Messages,
               const std::string& Scrambled_Messages) {
  ++Sum.Clean_Files;
  Sum.Clean_Scrambled_Clean += Scrambled_Messages.empty() ? 1U : 0U;
  Sum.Clean_Lines += File.Lines;
  Sum.Clean_Unchanged += File.Unchanged;
  Sum.Made_Unclean += Formatted_Messages.empty() ? 0U : 1U;
}

std::string Table(const Totals& Sum) {
  std::string Text = Row("gate", "measure", "count", "target");
  Text += "|------------------------|-----------|-------------------|-----------|\n";
  Text += Row("token-preserving", Percent(Sum.Token_Preserving, Sum.Files),
              Of(Sum.Token_Preserving, Sum.Files) + " files", "100 %");
  Text += Row("idempotent", Percent(Sum.Idempotent, Sum.Files),
              Of(Sum.Idempotent, Sum.Files) + " files", "100 %");
  Text += Row("unchanged lines", Percent(Sum.Unchanged, Sum.Lines), Of(Sum.Unchanged, Sum.Lines),
              ">= 99 %");
  Text += Row("unchanged files", Percent(Sum.Unchanged_Files, Sum.Files),
              Of(Sum.Unchanged_Files, Sum.Files) + " files", "");
  Text += Row("unchanged, style-clean",
              Sum.Clean_Files == 0 ? "not run" : Percent(Sum.Clean_Unchanged, Sum.Clean_Lines),
              Of(Sum.Clean_Unchanged, Sum.Clean_Lines), ">= 99.5 %");
  Text += Row("made unclean", std::to_string(Sum.Made_Unclean),
              Of(Sum.Made_Unclean, Sum.Clean_Files) + " files", "0");
  Text += Row("recovered lines", Percent(Sum.Recovered, Sum.Lines), Of(Sum.Recovered, Sum.Lines),
              ">= 93 %");
  Text += Row("scrambled style-clean",
              Sum.Style_Checked == 0 ? "not run" : Percent(Sum.Style_Clean, Sum.Style_Checked),
              Of(Sum.Style_Clean, Sum.Style_Checked) + " files", ">= 95 %");
  Text +=
      Row("scrambled clean, of clean",
          Sum.Clean_Files == 0 ? "not run" : Percent(Sum.Clean_Scrambled_Clean, Sum.Clean_Files),
          Of(Sum.Clean_Scrambled_Clean, Sum.Clean_Files) + " files", ">= 97 %");
  Text += Row("crashes", std::to_string(Sum.Exceptions), "", "0");
  Text += Row("hangs (> 5 s)", std::to_string(Sum.Slow), "", "0");
  Text += Row("files with error lines", std::to_string(Sum.Error_Files), "", "0");
  return Text;
}

}  // namespace Gates
