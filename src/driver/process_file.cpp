// Per-file processing: ask the server to open the file, settle its style,
// then have the token stream written to the destination.
#include <optional>
#include <string_view>

#include "console.h"
#include "destination_file.h"
#include "files.h"
#include "ini.h"
#include "path_style.h"
#include "protocol.h"
#include "quorvel.h"
#include "text.h"

namespace Quorvel {

namespace {

using Windows::Console::Printable;
using Windows::Console::Put_Line;

// Why Name is not handed to the server, in the server's own words for it;
// empty when it may be. A FIFO would hang the reader and a device such as
// /dev/zero never ends, so neither is opened at all.
std::string_view Refusal(const std::string& Name) {
  if (Windows::Files::Is_Directory(Name)) {
    return "is a folder, not a file";
  }
  if (Windows::Files::Exists(Name) && !Windows::Files::Is_Regular_File(Name)) {
    return "is not a plain file";
  }
  return {};
}

void Show_Exists(const std::string& New_Name) {
  Put_Line("Destination file " + Printable(New_Name) + " already exists");
}

// Reads the replies to "O" up to the end mark; false when the file must be
// skipped (an error line, or a second style). An empty reply is neither an
// error line nor a style: the server is not one this client can follow,
// and the run ends.
bool Collect_Style(Run_Settings& Settings, Client::Connection& Server) {
  bool Failed = false;
  for (;;) {
    const std::string Reply = Server.Read_Reply();
    if (Reply == Protocol::End_Mark) {
      return !Failed;
    }
    if (Reply.empty()) {
      throw Constraint_Error("empty reply to \"O\"");
    }
    if (Reply.front() == '<') {
      Failed = true;
      // The server names the file in its lines, as the system stores it.
      Put_Line(Printable(std::string_view(Reply).substr(1)));
    } else if (Text::Is_Empty(Settings.Style)) {
      Settings.Style = Reply;
    } else {
      Failed = true;
      Put_Line("Duplicate Style = " + Reply);
    }
  }
}

std::string New_Name_For(const std::string& Name, const Run_Settings& Settings) {
  const char Sep = Windows::Separator(Windows::Native_Style);
  const std::size_t P = Text::Index(Sep, Name, Name.size(), Text::Going::Backward);
  return Settings.Destination + Name.substr(P);
}

// The checked and created destination, or nothing when the file is skipped.
std::optional<Destination_File> Open_Destination(const std::string& New_Name,
                                                 Run_Settings& Settings) {
  try {
    Put_Line("New file=" + Printable(New_Name));
    if (Windows::Files::Exists(New_Name) && !Settings.Overwrite) {
      Show_Exists(New_Name);
      return std::nullopt;
    }
    // A folder of that name can never be replaced by the file.
    if (Windows::Files::Is_Directory(New_Name)) {
      throw Windows::Files::Access_Denied();
    }
    return std::optional<Destination_File>(std::in_place, New_Name, Settings.Overwrite);
  } catch (...) {
    Put_Line("Cannot create destination file");
    return std::nullopt;
  }
}

}  // namespace

void Process_File(const std::string& Name, Run_Settings& Settings, Client::Connection& Server) {
  Put_Line("Processing file: " + Printable(Name));
  Text::Clear(Settings.Style);
  if (const std::string_view Why = Refusal(Name); !Why.empty()) {
    Put_Line(Printable(Name) + ":1:1: " + std::string(Why));
    Settings.Incomplete = true;
    return;
  }
  Server.Write_To_Server(Protocol::Letter::Open + Name);
  if (!Collect_Style(Settings, Server)) {
    Settings.Incomplete = true;
    return;
  }
  if (Text::Is_Empty(Settings.Style)) {
    Settings.Style = Windows::Ini_Get("Style", "Format", Name);
  }
  if (Text::Is_Empty(Settings.Style)) {
    Settings.Style = "Standard";
  }
  Put_Line("Filename has Style = " + Settings.Style);
  const std::string New_Name = New_Name_For(Name, Settings);
  std::optional<Destination_File> Output = Open_Destination(New_Name, Settings);
  if (!Output) {
    Settings.Incomplete = true;
    return;
  }
  Client::Write_Tokens(Server, *Output);
  try {
    Output->Commit();
  } catch (const Windows::Files::Name_Taken&) {
    // Made by someone else while the file was formatted: it stays.
    Show_Exists(New_Name);
    Settings.Incomplete = true;
  } catch (const Windows::Files::File_Not_Found&) {
    Put_Line("Cannot create destination file");
    Settings.Incomplete = true;
  }
}

}  // namespace Quorvel
