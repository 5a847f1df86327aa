// The formatting server's settings (Compiler, Path, Units, Errors, Timeout,
// Width): the values each accepts, what is in force, and the one line that
// answers every attempt to change one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formatter.h"

namespace Server {

struct Settings {
  Formatter::Edition Compiler = Formatter::Edition::Ada2022;
  std::vector<std::string> Path;  ///< folders searched for a source named without a folder
  int Units = 3;                  ///< indentation width, 1 .. 9
  int Errors = 10;                ///< most error lines for one file, 1 .. 1000
  std::uint32_t Timeout_Ms = 0;   ///< client silence that ends the server; 0 = none
  int Width = 79;                 ///< longest line, 0 or 40 .. 999; 0 = no line broken
};

/// Applies the setting whose message letter is Letter (X Compiler, P Path,
/// U Units, E Errors, T Timeout, W Width) with the text Value. Returns the line that
/// answers it: "Name = value in force", or, for a value that is refused
/// (which leaves the old one), "Name "value" why; Name = old kept". A letter
/// that names no setting gives nullopt and changes nothing.
std::optional<std::string> Apply_Setting(Settings& Current, char Letter, std::string_view Value);

/// The setting letter's answer to a value too long to be looked at.
std::optional<std::string> Refuse_Setting(const Settings& Current, char Letter);

/// Seconds as "30", "0.5" or "1.25" (blanks around allowed, at most three
/// decimals, at most 1000000 s) in milliseconds; nullopt for anything else.
std::optional<std::uint32_t> Seconds_Value(std::string_view Text);

/// Line with every control byte (below 32, and 127) replaced by '?', so
/// that a line for the user stays one line whatever the client sent.
std::string Printable(std::string_view Line);

/// Value made fit to quote in a line for the user: Printable, and a value
/// above 80 characters is cut there with "...".
std::string Shown(std::string_view Value);

}  // namespace Server
