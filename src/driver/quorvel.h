// The main procedure: classifies the arguments, has the configuration loaded
// (which connects to the formatting server), and formats one file or every
// Ada source of one folder.
#pragma once

#include <string>
#include <vector>

#include "connection.h"

namespace Quorvel {

/// The run settings, one set per run.
struct Run_Settings {
  std::string Source;              ///< as typed: a file, or a folder and "\*"
  std::string Destination;         ///< ends with the separator once checked
  std::string Configuration_File;  ///< written only by Configure
  std::string Style;               ///< layout style of the file being processed
  bool Overwrite = false;
  /// Some file could not be formatted (skipped, or its destination could
  /// not be made): the run ends with status 1.
  bool Incomplete = false;
};

enum Exit_Status : int { Success = 0, Failure = 1 };

/// The whole run, handlers included; returns the exit status.
int Main(const std::vector<std::string>& Arguments);

/// Formats one file (the failures around its destination file are handled
/// and reported here).
void Process_File(const std::string& Name, Run_Settings& Settings, Client::Connection& Server);

/// Formats every .ada, .adb and .ads file directly inside Folder.
void Process_Folder(const std::string& Folder, Run_Settings& Settings, Client::Connection& Server);

/// True when Name's text after its last dot is "ads", "adb" or "ada" in any
/// letter case.
bool Is_Ada_Source(const std::string& Name);

}  // namespace Quorvel
