// Rendering a token stream into text with the client's own writer, as the
// destination file would hold it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formatter.h"

namespace Gates {

/// The text that the client writes for Tokens (CR LF line ends), produced by
/// the client's own Client::Write_Tokens through a conversation that
/// answers each "N" with the next token.
std::string Render(const std::vector<Formatter::Token>& Tokens);

/// The physical lines of Text without their ends (CR LF, LF or CR).
std::vector<std::string_view> Lines_Of(std::string_view Text);

}  // namespace Gates
