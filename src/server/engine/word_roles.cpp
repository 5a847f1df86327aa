// The table of what each reserved word does to the nesting.
#include "word_roles.h"

namespace Formatter::Nesting {

namespace {

struct Row {
  Code Word;
  Word_Role Role;
};

using K = Frame_Kind;
constexpr Region Decl = Region::Declarations;
constexpr Region Stmt = Region::Statements;
constexpr Region Hand = Region::Handlers;
constexpr Recovery Never = Recovery::Never;
constexpr Recovery Always = Recovery::Always;
constexpr Recovery Outside = Recovery::Outside_Parens;
constexpr Frame_Kinds None = 0;
constexpr Frame_Kinds If = Kind_Bit(K::If);
constexpr Frame_Kinds Unit = Kind_Bit(K::Unit);
constexpr Frame_Kinds Block = Kind_Bit(K::Block);
constexpr Frame_Kinds Select = Kind_Bit(K::Select);
constexpr Frame_Kinds Bodies = Unit | Block | Kind_Bit(K::Do);

// One row per word that does anything to the nesting; every other code has
// no role. Columns: the word; the construct it opens; the region it opens
// that in (or starts, with Starts_Part); the construct whose head it
// completes; the constructs it divides; where it ends an unfinished
// statement; its traits.
// clang-format off
constexpr Row Rows[] = {
//  word              opens            part  completes       divides       ends     traits
  {Code::Abstract,   {No_Frame,       Decl, No_Frame,       None,         Never,   Before_Record}},
  {Code::And,        {No_Frame,       Decl, No_Frame,       Kind_Bit(K::Do), Never, Before_Comments}},
  {Code::Accept,     {No_Frame,       Decl, No_Frame,       None,         Never,   Formal_Head}},
  {Code::Begin,      {K::Block,       Stmt, No_Frame,       Unit | Block, Outside, Innermost | Starts_Part | Before_Comments}},
  {Code::Case,       {K::Case,        Stmt, No_Frame,       None,         Never,   Opens_At_Start | Awaits}},
  {Code::Declare,    {K::Block,       Decl, No_Frame,       None,         Never,   Labelled}},
  {Code::Do,         {K::Do,          Stmt, No_Frame,       None,         Never,   At_Statement}},
  {Code::Else,       {No_Frame,       Decl, No_Frame,       If | Select,  Outside, Before_Comments}},
  {Code::Elsif,      {No_Frame,       Decl, No_Frame,       If,           Always,  Awaits | Before_Comments}},
  {Code::End,        {No_Frame,       Decl, No_Frame,       None,         Always,  Closes | Before_Comments}},
  {Code::Entry,      {No_Frame,       Decl, No_Frame,       None,         Never,   Unit_Head | Formal_Head}},
  {Code::Exception,  {No_Frame,       Hand, No_Frame,       Bodies,       Always,  Starts_Part | Before_Comments}},
  {Code::For,        {No_Frame,       Decl, No_Frame,       None,         Never,   Labelled}},
  {Code::Function,   {No_Frame,       Decl, No_Frame,       None,         Never,   Unit_Head | Ends_Generic | Formal_Head | Formal_Word | Library_Item}},
  {Code::Generic,    {K::Generic,     Stmt, No_Frame,       None,         Never,   Opens_At_Start | Library_Item}},
  {Code::If,         {K::If,          Stmt, No_Frame,       None,         Never,   Opens_At_Start | Awaits}},
  {Code::Is,         {No_Frame,       Decl, K::Case,        None,         Never,   At_Construct}},
  {Code::Limited,    {No_Frame,       Decl, No_Frame,       None,         Never,   Prefix | Before_Record}},
  {Code::Loop,       {K::Loop,        Stmt, No_Frame,       None,         Never,   At_Statement}},
  {Code::Not,        {No_Frame,       Decl, No_Frame,       None,         Never,   Prefix}},
  {Code::Or,         {No_Frame,       Decl, No_Frame,       Select,       Never,   Before_Comments}},
  {Code::Overriding, {No_Frame,       Decl, No_Frame,       None,         Never,   Prefix}},
  {Code::Parallel,   {No_Frame,       Decl, No_Frame,       None,         Never,   Labelled}},
  {Code::Package,    {No_Frame,       Decl, No_Frame,       None,         Never,   Unit_Head | Ends_Generic | Library_Item}},
  {Code::Private,    {No_Frame,       Decl, No_Frame,       Unit,         Never,   Starts_Part | Before_Comments}},
  {Code::Procedure,  {No_Frame,       Decl, No_Frame,       None,         Never,   Unit_Head | Ends_Generic | Formal_Head | Formal_Word | Library_Item}},
  {Code::Protected,  {No_Frame,       Decl, No_Frame,       None,         Never,   Unit_Head | Formal_Head}},
  {Code::Record,     {K::Record,      Decl, No_Frame,       None,         Never,   0}},
  {Code::Select,     {K::Select,      Stmt, No_Frame,       None,         Never,   Opens_At_Start}},
  {Code::Tagged,     {No_Frame,       Decl, No_Frame,       None,         Never,   Before_Record}},
  {Code::Task,       {No_Frame,       Decl, No_Frame,       None,         Never,   Unit_Head | Formal_Head}},
  {Code::Then,       {No_Frame,       Decl, K::If,          Select,       Never,   At_Construct}},
  {Code::Type,       {No_Frame,       Decl, No_Frame,       None,         Never,   Formal_Head}},
  {Code::When,       {K::Alternative, Stmt, No_Frame,       None,         Never,   Opens_At_Start | Awaits | Before_Comments}},
  {Code::While,      {No_Frame,       Decl, No_Frame,       None,         Never,   Labelled}},
  {Code::With,       {K::Unit,        Decl, No_Frame,       None,         Never,   Formal_Head | Library_Item}},
  {Code::Arrow,      {No_Frame,       Decl, K::Alternative, None,         Never,   0}},
};
// clang-format on

}  // namespace

constexpr std::array<Word_Role, Code_Count> Word_Roles = [] {
  std::array<Word_Role, Code_Count> Table{};
  for (const Row& Entry : Rows) {
    Table[static_cast<std::size_t>(Entry.Word)] = Entry.Role;
  }
  return Table;
}();

}  // namespace Formatter::Nesting
