// A stand-in for the formatting engine in the server's tests, handed to the
// session as its engine, so that the protocol is checked against replies
// that are known in advance:
//  - every blank-separated word is a token; a word that is reserved in the
//    edition asked for ("procedure", "is", "begin", "end", "null"; also
//    "interface" from Ada2005 and "some" from Ada2012) is a reserved word,
//    any other an identifier;
//  - an indented line starts at column Units + 1, any other at column 1;
//    the words of a line follow each other with one blank;
//  - every line ended by LF, CR LF or CR ends with an end-of-line token;
//  - each '$' is a lexical error "character '$' is not allowed";
//  - a source holding "#throw" makes the engine throw.
#pragma once

#include "formatting_engine.h"

namespace Fake_Formatter {

class Engine final : public Server::Formatting_Engine {
 public:
  Formatter::Result Format(std::string_view Source, const Formatter::Settings& Options) override;

  /// The settings of the last call of Format.
  Formatter::Settings Last_Settings;
};

}  // namespace Fake_Formatter
