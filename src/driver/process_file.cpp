// Per-file processing: ask the server to open the file, settle its style,
// then have the token stream written to the destination.
#include <optional>

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

using Windows::Console::Put_Line;

// Reads the replies to "O" up to the end mark; false when the file must be
// skipped (an error line, or a second style).
bool Collect_Style(Run_Settings& Settings, Client::Connection& Server) {
  bool Failed = false;
  for (;;) {
    const std::string Reply = Server.Read_Reply();
    if (Reply == Protocol::End_Mark) {
      return !Failed;
    }
    if (!Reply.empty() && Reply.front() == '<') {
      Failed = true;
      Put_Line(std::string_view(Reply).substr(1));
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
    Put_Line("New file=" + New_Name);
    if (Windows::Files::Exists(New_Name) && !Settings.Overwrite) {
      Put_Line("Destination file " + New_Name + " already exists");
      return std::nullopt;
    }
    // A folder of that name can never be replaced by the file.
    if (Windows::Files::Is_Directory(New_Name)) {
      throw Windows::Files::Access_Denied();
    }
    return std::optional<Destination_File>(std::in_place, New_Name);
  } catch (...) {
    Put_Line("Cannot create destination file");
    return std::nullopt;
  }
}

}  // namespace

void Process_File(const std::string& Name, Run_Settings& Settings, Client::Connection& Server) {
  Put_Line("Processing file: " + Name);
  Text::Clear(Settings.Style);
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
  } catch (const Windows::Files::File_Not_Found&) {
    Put_Line("Cannot create destination file");
    Settings.Incomplete = true;
  }
}

}  // namespace Quorvel
