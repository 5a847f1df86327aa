// GNAT's token-spacing rules: how many blanks the style puts between two
// lexemes that stand on the same line.
#pragma once

#include <string_view>
#include <vector>

#include "lexer.h"

namespace Formatter {

enum class Gap : unsigned char {
  None,     ///< no blank (before `;` `,` `)`, after `(`, around `'` and `.`, after a sign, `=>+`)
  One,      ///< one blank (around operators, `:=`, `=>`, `:`, `|`, between words, `[ (`...)
  Free,     ///< none or one, as the author wrote it (around `**`, `)(`)
  Comment,  ///< before an end-of-line comment: two blanks
};

/// The style's gap between Left and Right; Left_Is_Sign tells that Left is
/// a unary plus or minus.
Gap Style_Gap(const Lexeme& Left, bool Left_Is_Sign, const Lexeme& Right) noexcept;

/// `=>+` written together (the "plus" of SPARK's Depends aspect): one
/// delimiter to GNAT's style, the `+` no sign.
bool Is_Arrow_Plus(const Lexeme* Left, const Lexeme& Right) noexcept;

/// Reads the lexemes of a source in order and tells of each whether it is
/// a unary plus or minus (it follows neither a name, a literal nor a
/// closing parenthesis): read along with the lexemes, not kept for all.
class Sign_Reader {
 public:
  /// Whether Item, the lexeme after those read so far, is a sign.
  bool Read(const Lexeme& Item) noexcept;

 private:
  bool After_Operand = false;
  const Lexeme* Before = nullptr;  // the last lexeme that is code
};

/// The number of blanks before an end-of-line comment.
inline constexpr Column_Number Comment_Gap = 2;

/// True when Left and Right written with no blank between them would lex
/// as something else (two words, `--`, a compound delimiter, one string),
/// or could with their other neighbour (a numeral and a dot, a dot and a
/// numeral: `2 .0` must not become the real literal `2.0`).
bool Would_Merge(std::string_view Left, std::string_view Right) noexcept;

}  // namespace Formatter
