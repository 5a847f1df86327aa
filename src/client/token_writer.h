// Write_Tokens: pulls the formatted text of the opened file from the server,
// one "N" per token, and writes it line by line: letter case by token kind,
// columns turned into blanks, a line ended by an empty kind-3 token.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "conversation.h"
#include "named_error.h"

namespace Client {

/// A malformed token reply (no number where one is needed, a missing
/// column, an empty reply, a CR or LF inside a token's text): the run
/// cannot go on.
QUORVEL_NAMED_ERROR(Bad_Reply, Constraint_Error, "CONSTRAINT_ERROR");

/// Where finished lines go; each Put_Line ends the line with CR LF.
class Line_Sink {
 public:
  virtual ~Line_Sink() = default;
  virtual void Put_Line(std::string_view Line) = 0;
};

/// The whole token stream of one file into Output. Throws Bad_Reply for a
/// malformed reply and passes the server link's exceptions on.
void Write_Tokens(Conversation& Server, Line_Sink& Output);

/// One parsed token reply: Id, and when the reply had a comma, Column and Text.
struct Token {
  long long Id = 0;
  bool Has_Fields = false;
  long long Column = 0;
  std::string_view Text;
};

/// Parses "id,column,text" (a reply without a comma carries an id only).
/// The text may hold any byte except CR and LF.
/// The id is read alone first, so that id 0 ends the file and an id above
/// the last kind (protocol.h) is reported whatever follows. Throws Bad_Reply.
Token Parse_Token(std::string_view Reply);

/// Puts the token text First .. Last - 1, in place, in the letter case its
/// kind Id asks for.
void Apply_Case(long long Id, char* First, char* Last) noexcept;

/// The token's text with the letter case its kind asks for.
std::string Apply_Case(long long Id, std::string_view Text);

}  // namespace Client
