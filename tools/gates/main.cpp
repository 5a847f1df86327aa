// quorvel-gates: measures the formatting engine on a folder of Ada sources
// (by default GNAT's runtime, found with gcc -print-file-name=adainclude)
// and its folders, and prints the gate table.
//
//   quorvel-gates [--style] [--layout] [--width <n>] [--keep <folder>] [--every <n>]
//                 [--quiet] [<folder>]
//
// --style runs GNAT's style checker (in a scratch folder) on every source
// as it is: the lines kept and the files made unclean are also counted over
// the files it passes, whose every changed line is the formatter's doing;
// and on every formatted scrambled file. --keep writes each file formatted (.formatted) and its
// scrambled form formatted (.recovered) into <folder>, under the source's own folders; --every <n>
// measures every n-th file only; --width <n> formats with that width (0: no line broken); --layout
// counts GNAT's layout messages (Layout_Messages, lines checked against the width, 79 for 0) on
// each source as it comes and formatted. The sources are only read.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "gates.h"

namespace {

struct Options {
  bool Style = false;
  bool Quiet = false;
  bool Layout = false;
  int Width = 79;
  std::size_t Every = 1;
  std::string Keep;
  std::string Folder;
};

bool Parse(int Count, char** Arguments, Options& Result) {
  for (int I = 1; I < Count; ++I) {
    const std::string Argument = Arguments[I];
    if (Argument == "--style") {
      Result.Style = true;
    } else if (Argument == "--quiet") {
      Result.Quiet = true;
    } else if (Argument == "--layout") {
      Result.Layout = true;
    } else if ((Argument == "--keep" || Argument == "--every" || Argument == "--width") &&
               I + 1 < Count) {
      const std::string Value = Arguments[++I];
      if (Argument == "--keep") {
        Result.Keep = Value;
      } else if (Argument == "--width") {
        Result.Width = std::stoi(Value);
      } else {
        Result.Every = std::max<std::size_t>(1, std::stoul(Value));
      }
    } else if (!Argument.empty() && Argument[0] != '-') {
      Result.Folder = Argument;
    } else {
      return false;
    }
  }
  if (Result.Folder.empty()) {
    Result.Folder = Gates::Runtime_Folder();
  }
  return !Result.Folder.empty();
}

void Write(const std::filesystem::path& Path, std::string_view Text) {
  std::ofstream(Path, std::ios::binary)
      .write(Text.data(), static_cast<std::streamsize>(Text.size()));
}

struct Style_Check {
  std::string Folder;
  std::string_view Switch;
};

// The style checker on the source as it is and, when it passes and
// formatting changed a line, on the formatted file; then on the formatted
// scrambled file. Returns the first messages worth reporting.
std::string Check_Style(const Style_Check& Check, const std::string& Name, std::string_view Source,
                        const Gates::File_Measure& File, Gates::Totals& Sum) {
  const std::string Scrambled =
      Gates::Style_Messages(Check.Folder, Name, File.Scrambled_Output, Check.Switch);
  ++Sum.Style_Checked;
  Sum.Style_Clean += Scrambled.empty() ? 1U : 0U;
  if (!Gates::Style_Messages(Check.Folder, Name, Source, Check.Switch).empty()) {
    return Scrambled;
  }
  const bool Same =
      File.Unchanged == File.Lines && Gates::Lines_Of(File.Formatted_Output).size() == File.Lines;
  const std::string Made =
      Same ? std::string()
           : Gates::Style_Messages(Check.Folder, Name, File.Formatted_Output, Check.Switch);
  Gates::Add_Clean(Sum, File, Made, Scrambled);
  return Made.empty() ? Scrambled : "made unclean: " + Made;
}

void Report(const Gates::File_Measure& File, const std::string& Style, bool Quiet) {
  if (Quiet) {
    return;
  }
  if (!File.Formatted || !File.Token_Preserving || !File.Idempotent) {
    std::cout << File.Name << ": formatted " << File.Formatted << ", token-preserving "
              << File.Token_Preserving << ", idempotent " << File.Idempotent << ' ' << File.Failure
              << '\n';
  }
  if (!Style.empty()) {
    std::cout << File.Name << ": style: " << Style.substr(0, Style.find('\n')) << '\n';
  }
}

void Count_Layout(const std::string& Scratch, const Gates::File_Measure& File,
                  std::string_view Source, int Width, Gates::Totals& Sum) {
  const std::size_t Before = Gates::Layout_Messages(Scratch, File.Name, Source, Width);
  const std::size_t After =
      Gates::Layout_Messages(Scratch, File.Name, File.Formatted_Output, Width);
  Sum.Layout_Before += Before;
  Sum.Layout_After += After;
  Sum.Layout_Added += Before == 0 && After > 0 ? 1U : 0U;
  if (After > 0) {
    std::cout << File.Name << ": layout messages " << Before << " -> " << After << '\n';
  }
}

}  // namespace

int main(int Count, char** Arguments) {
  Options Chosen;
  if (!Parse(Count, Arguments, Chosen)) {
    std::cerr << "usage: quorvel-gates [--style] [--layout] [--width <n>] [--keep <folder>] "
                 "[--every <n>] [--quiet] [<folder>]\n";
    return 2;
  }
  const std::filesystem::path Scratch =
      std::filesystem::temp_directory_path() / ("quorvel-gates-" + std::to_string(::getpid()));
  std::filesystem::create_directories(Scratch);
  Formatter::Settings Settings;
  Settings.Width = Chosen.Width;
  // GNAT's runtime units are GNAT's own and need its own style switch.
  const Style_Check Check{Scratch.string(), Chosen.Folder == Gates::Runtime_Folder()
                                                ? Gates::Runtime_Switch
                                                : Gates::Modern_Switch};
  Gates::Totals Sum;
  const std::vector<std::string> Files = Gates::Ada_Files(Chosen.Folder);
  for (std::size_t I = 0; I < Files.size(); I += Chosen.Every) {
    const std::string Name = std::filesystem::path(Files[I]).filename().string();
    const std::string Source = Gates::Read_File(Files[I]);
    Gates::File_Measure File = Gates::Measure_File(Name, Source, Settings);
    Gates::Add(Sum, File);
    if (Chosen.Layout && File.Formatted) {
      Count_Layout(Scratch.string(), File, Source, Chosen.Width > 0 ? Chosen.Width : 79, Sum);
    }
    std::string Style;
    if (Chosen.Style && File.Formatted) {
      Style = Check_Style(Check, Name, Source, File, Sum);
    }
    File.Name = std::filesystem::relative(Files[I], Chosen.Folder).string();
    if (!Chosen.Keep.empty()) {
      // The folders of the source are kept too: units of the same name in
      // two folders never overwrite each other's results.
      const std::filesystem::path Kept = std::filesystem::path(Chosen.Keep) / File.Name;
      std::filesystem::create_directories(Kept.parent_path());
      Write(Kept.string() + ".formatted", File.Formatted_Output);
      Write(Kept.string() + ".recovered", File.Scrambled_Output);
    }
    Report(File, Style, Chosen.Quiet);
  }
  std::filesystem::remove_all(Scratch);
  std::cout << "Corpus: " << Chosen.Folder << " (" << Sum.Files << " files, width " << Chosen.Width
            << ")\n"
            << Gates::Table(Sum);
  if (Chosen.Layout) {
    std::cout << "Layout messages: " << Sum.Layout_Before << " before, " << Sum.Layout_After
              << " after formatting; files that had none and got some: " << Sum.Layout_Added
              << '\n';
  }
  return 0;
}
