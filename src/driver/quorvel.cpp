// The main procedure and the two passes over the arguments.
#include "quorvel.h"

#include <cstddef>
#include <optional>

#include "console.h"
#include "files.h"
#include "log.h"
#include "path_style.h"
#include "pipe.h"
#include "protocol.h"
#include "text.h"

namespace Quorvel {

namespace {

using Windows::Console::Put_Line;

const char* const Usage[] = {
    "Quorvel [<configuration>] <Source> [<Destination>] [Overwrite]",
    "   <configuration> = name of file describing options, default Quorvel.ini",
    "   <Source> = name of file to format or <folder>\\* to format all Ada files in folder",
    "   <Destination> = Folder in which to write formatted files",
    "   Overwrite = Keyword signifying that source files may be overwritten",
};
const char* const Posix_Source_Usage =
    "   <Source> = name of file to format or <folder>/* to format all Ada files in folder";

const char Sep = Windows::Separator(Windows::Native_Style);

// A message that ends the run early.
struct Run_Ended {
  const char* Message;
  std::string Argument;
};

bool Ends_With_Star(const std::string& A) {
  return !A.empty() && A.back() == '*';
}

class Run {
 public:
  explicit Run(const std::vector<std::string>& Args) : Arguments(Args) {}

  int Execute() {
    if (Arguments.empty()) {
      Show_Usage();
      return Success;
    }
    First_Pass();
    Second_Pass();
    Check_Settings();
    Dispatch();
    Server.Write_To_Server(Protocol::Close_Message);
    return Settings.Incomplete ? Failure : Success;
  }

 private:
  static void Show_Usage() {
    for (const char* Line : Usage) {
      Put_Line(Windows::Native_Style == Windows::Path_Style::Posix && Line == Usage[2]
                   ? Posix_Source_Usage
                   : Line);
    }
  }

  void First_Pass() {
    for (std::size_t I = 0; I < Arguments.size(); ++I) {
      const std::string& A = Arguments[I];
      if (Ends_With_Star(A)) {
        Take(Settings.Source, A, "Multiple source folder specified");
      } else if (Windows::Files::Is_Directory(A)) {
        Take(Settings.Destination, A, "Multiple destination folders specified");
      } else if (Text::Is_Empty(Settings.Configuration_File) && !A.empty() && !Is_Ada_Source(A)) {
        // An Ada source is never read as a configuration: one holding a
        // client section would start whatever program it names.
        Server.Configure(A, Settings.Configuration_File);
        if (!Text::Is_Empty(Settings.Configuration_File)) {
          Accepted = I;
        }
      }
    }
  }

  void Second_Pass() {
    for (std::size_t I = 0; I < Arguments.size(); ++I) {
      const std::string& A = Arguments[I];
      // First: a bare name accepted beside the program is no file here.
      if (Is_Configuration(I)) {
        continue;
      }
      if (Windows::Files::Exists(A)) {
        Take(Settings.Source, A, "Multiple source files specified");
      } else if (!Ends_With_Star(A)) {
        if (Text::Lower_Case(A) == "overwrite") {
          Settings.Overwrite = true;
        } else if (!Windows::Files::Is_Directory(A)) {
          throw Run_Ended{"Unrecognised parameter - ", A};
        }
      }
    }
  }

  // The argument that was accepted as the configuration, however it was
  // written, or one that names the same file from the current folder.
  bool Is_Configuration(std::size_t I) const {
    if (Accepted == I) {
      return true;
    }
    const std::string Candidate = Windows::Files::Current_Directory() + Sep + Arguments[I];
    return Text::Equal(Candidate, Settings.Configuration_File, false);
  }

  void Check_Settings() {
    if (Text::Is_Empty(Settings.Destination)) {
      throw Run_Ended{"Feature to overwrite original source not yet implemented!", ""};
    }
    if (Settings.Destination.back() != Sep) {
      Settings.Destination += Sep;
    }
    if (Text::Is_Empty(Settings.Configuration_File)) {
      Server.Configure("Quorvel.ini", Settings.Configuration_File);
    }
    if (Text::Is_Empty(Settings.Configuration_File)) {
      throw Run_Ended{"Configuration file missing", ""};
    }
    Put_Line("Configuration file: " + Windows::Console::Printable(Settings.Configuration_File));
    if (Text::Is_Empty(Settings.Source)) {
      throw Run_Ended{"Nothing found to format!", ""};
    }
  }

  void Dispatch() {
    const std::string& Source = Settings.Source;
    const std::size_t N = Source.size();
    if (!Ends_With_Star(Source)) {
      Process_File(Windows::Files::Full_Name(Source), Settings, Server);
    } else if (N > 2 && Source[N - 2] == Sep) {
      const std::string Folder = Text::Sub_String(Source, 1, static_cast<long long>(N) - 2);
      if (Windows::Files::Is_Directory(Folder)) {
        Process_Folder(Folder, Settings, Server);
      }
    } else {
      Put_Line("Invalid wildcard source specification");
      Settings.Incomplete = true;
    }
  }

  static void Take(std::string& Setting, const std::string& A, const char* Second_Message) {
    if (!Text::Is_Empty(Setting)) {
      throw Run_Ended{Second_Message, ""};
    }
    Setting = A;
  }

  const std::vector<std::string>& Arguments;
  Run_Settings Settings;
  Client::Connection Server;
  std::optional<std::size_t> Accepted;
};

}  // namespace

int Main(const std::vector<std::string>& Arguments) {
  try {
    return Run(Arguments).Execute();
  } catch (const Run_Ended& End) {
    Put_Line(std::string(End.Message) + Windows::Console::Printable(End.Argument));
  } catch (const Windows::Pipe::Name_In_Use&) {
    Put_Line("Specified Pipe already in use");
  } catch (const Client::No_Answer& Hung) {
    // A server that stopped answering: said as such, not as "Unexpected Error".
    Log::Exception("Quorvel", std::current_exception());
    Put_Line(Hung.what());
  } catch (const Windows::Pipe::Access_Denied&) {
    // Another user's pipe, a pipe whose rights refuse this client, or (on
    // POSIX) a pipe folder others could write to: the user can mend each,
    // which "Unexpected Error" would not say.
    Log::Exception("Quorvel", std::current_exception());
    Put_Line("Access to the specified Pipe denied");
  } catch (...) {
    Log::Exception("Quorvel", std::current_exception());
    Put_Line("Unexpected Error");
  }
  return Failure;
}

}  // namespace Quorvel
