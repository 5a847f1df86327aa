// What each reserved word does to the nesting of a source: the construct
// it opens, divides, completes or closes, stated once in one table that
// both halves of the nesting analyser read. Internal to the formatting
// engine.
#pragma once

#include <array>
#include <cstddef>

#include "vocabulary.h"

namespace Formatter::Nesting {

enum class Frame_Kind : unsigned char {
  Compilation,
  Generic,
  Unit,
  Block,
  If,
  Case,
  Alternative,
  Loop,
  Select,
  Record,
  Do
};

/// No word opens or completes the compilation itself: in a role, it means
/// no construct.
inline constexpr Frame_Kind No_Frame = Frame_Kind::Compilation;

/// Regions in the order a construct goes through them.
enum class Region : unsigned char { Declarations, Statements, Handlers };

/// A set of frame kinds, one bit each.
using Frame_Kinds = unsigned short;

constexpr Frame_Kinds Kind_Bit(Frame_Kind Kind) noexcept {
  return static_cast<Frame_Kinds>(1U << static_cast<unsigned>(Kind));
}

constexpr bool Has(Frame_Kinds Kinds, Frame_Kind Kind) noexcept {
  return (Kinds & Kind_Bit(Kind)) != 0;
}

/// Where a word that can begin a line ends a statement left unfinished (a
/// missing semicolon or parenthesis), so that one error stays local.
enum class Recovery : unsigned char { Never, Always, Outside_Parens };

/// The facts about a word that take one bit each.
enum Trait : unsigned short {
  Opens_At_Start = 1U << 0,   ///< opens its construct only where it begins a statement
  Awaits = 1U << 1,           ///< the head it begins goes on to the word that completes it
  Starts_Part = 1U << 2,      ///< makes Part the region of the construct it divides
  Innermost = 1U << 3,        ///< divides only the innermost construct, before Part
  Closes = 1U << 4,           ///< closes the innermost construct
  At_Statement = 1U << 5,     ///< beginning a line, stands at its statement's column
  At_Construct = 1U << 6,     ///< beginning a line, stands at the construct it completes
  Before_Comments = 1U << 7,  ///< the comment lines above it take its column
  Prefix = 1U << 8,           ///< the statement proper follows it
  Unit_Head = 1U << 9,        ///< begins a unit that `is` gives a body or declarations
  Ends_Generic = 1U << 10,    ///< the unit a generic formal part belongs to
  Formal_Head = 1U << 11,     ///< a parenthesis after the name it declares: a formal part
  Formal_Word = 1U << 12,     ///< also a parenthesis right after the word itself
  Library_Item = 1U << 13,    ///< may follow `private` at the start of a library unit
  Labelled = 1U << 14,        ///< a label on the line above names what it begins
  Before_Record = 1U << 15,   ///< may stand before `record` in a type definition
};
using Traits = unsigned short;

struct Word_Role {
  Frame_Kind Opens = No_Frame;         ///< the construct it opens
  Region Part = Region::Declarations;  ///< the region it opens that construct in, or starts
  Frame_Kind Completes = No_Frame;     ///< the awaiting construct whose head it ends
  Frame_Kinds Divides = 0;             ///< the constructs it divides into parts
  Recovery Recovers = Recovery::Never;
  Traits Is = 0;
};

constexpr bool Has(const Word_Role& Role, Trait T) noexcept {
  return (Role.Is & T) != 0;
}

/// The role of every code (delimiters included), by code.
extern const std::array<Word_Role, Code_Count> Word_Roles;

inline const Word_Role& Role_Of(Code C) noexcept {
  return Word_Roles[static_cast<std::size_t>(C)];
}

}  // namespace Formatter::Nesting
