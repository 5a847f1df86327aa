// The Standard layout, construct by construct: sources written without
// indentation (or badly indented) and the text the client writes for them.
// Every expected text is also formatted again, to check that it is a
// fixed point.
#include <gtest/gtest.h>

#include <string>

#include "layout_support.h"

namespace {

using Layout_Support::Formatted;

struct Layout_Case {
  std::string Name;
  std::string Source;
  std::string Expected;
};

class Layout : public testing::TestWithParam<Layout_Case> {};

TEST_P(Layout, FollowsTheStyle) {
  EXPECT_EQ(Formatted(GetParam().Source), GetParam().Expected);
}

TEST_P(Layout, LeavesItsOwnOutputAlone) {
  EXPECT_EQ(Formatted(GetParam().Expected), GetParam().Expected);
}

std::string Case_Name(const testing::TestParamInfo<Layout_Case>& Info) { return Info.param.Name; }

INSTANTIATE_TEST_SUITE_P(
    Constructs, Layout,
    testing::Values(
        Layout_Case{"PackageSpecAndPrivatePart", R"(WITH Ada.Text_IO; USE Ada.Text_IO;
PRIVATE WITH System;
PACKAGE P IS
TYPE T IS PRIVATE;
PROCEDURE Q (X : T);
PRIVATE
TYPE T IS NULL RECORD;
END P;
)",
                    R"(with Ada.Text_IO; use Ada.Text_IO;
private with System;
package P is
   type T is private;
   procedure Q (X : T);
private
   type T is null record;
end P;
)"},
        Layout_Case{"SubprogramBodyStatements", R"(procedure Run (N : Integer) is
Count : Natural := 0;
begin
if N > 0 then
Count := 1;
elsif N < 0 then
Count := 2;
else
null;
end if;
for I in 1 .. N loop
while Count < 10 loop
Count := Count + 1;
end loop;
end loop;
Outer : loop
exit Outer when Count > 3;
end loop Outer;
declare
X : Integer;
begin
X := 1;
end;
exception
when Constraint_Error =>
null;
when E : others =>
raise;
end Run;
)",
                    R"(procedure Run (N : Integer) is
   Count : Natural := 0;
begin
   if N > 0 then
      Count := 1;
   elsif N < 0 then
      Count := 2;
   else
      null;
   end if;
   for I in 1 .. N loop
      while Count < 10 loop
         Count := Count + 1;
      end loop;
   end loop;
   Outer : loop
      exit Outer when Count > 3;
   end loop Outer;
   declare
      X : Integer;
   begin
      X := 1;
   end;
exception
   when Constraint_Error =>
      null;
   when E : others =>
      raise;
end Run;
)"},
        Layout_Case{"CaseAlternatives", R"(case C is
when 'a' | 'b' =>
Put ("ab");
when others =>
case D is
when 1 =>
null;
when others =>
null;
end case;
end case;
)",
                    R"(case C is
   when 'a' | 'b' =>
      Put ("ab");
   when others =>
      case D is
         when 1 =>
            null;
         when others =>
            null;
      end case;
end case;
)"},
        Layout_Case{"RecordsAndVariants", R"(type R (D : Boolean) is record
A : Integer;
case D is
when True =>
B : Float;
when False =>
null;
end case;
end record;
for R use record
A at 0 range 0 .. 31;
end record;
type E is new R with null record;
)",
                    R"(type R (D : Boolean) is record
   A : Integer;
   case D is
      when True =>
         B : Float;
      when False =>
         null;
   end case;
end record;
for R use record
   A at 0 range 0 .. 31;
end record;
type E is new R with null record;
)"},
        Layout_Case{"GenericAndFormalSubprograms", R"(generic
type Element is private;
with function "<" (L, R : Element) return Boolean is <>;
with package Q is new G (<>);
package Sorting is
procedure Sort;
end Sorting;
)",
                    R"(generic
   type Element is private;
   with function "<" (L, R : Element) return Boolean is <>;
   with package Q is new G (<>);
package Sorting is
   procedure Sort;
end Sorting;
)"},
        Layout_Case{"TasksProtectedSelect", R"(task body Worker is
begin
select
accept Start (N : Integer) do
Count := N;
end Start;
or
when Ready =>
accept Stop;
or
delay 1.0;
end select;
end Worker;
protected type Lock is
entry Seize;
private
Held : Boolean := False;
end Lock;
protected body Lock is
entry Seize when not Held is
begin
Held := True;
end Seize;
end Lock;
)",
                    R"(task body Worker is
begin
   select
      accept Start (N : Integer) do
         Count := N;
      end Start;
   or
      when Ready =>
         accept Stop;
   or
      delay 1.0;
   end select;
end Worker;
protected type Lock is
   entry Seize;
private
   Held : Boolean := False;
end Lock;
protected body Lock is
   entry Seize when not Held is
   begin
      Held := True;
   end Seize;
end Lock;
)"},
        Layout_Case{"SeparateBodyAndStubs", R"(separate (Parent)
procedure Child is
procedure Inner is separate;
procedure Nothing is null;
function Twice (X : Integer) return Integer is (2 * X);
begin
Inner;
end Child;
)",
                    R"(separate (Parent)
procedure Child is
   procedure Inner is separate;
   procedure Nothing is null;
   function Twice (X : Integer) return Integer is (2 * X);
begin
   Inner;
end Child;
)"},
        Layout_Case{"ContinuationLines", R"(procedure Long
(First : Integer;
Second : Integer)
is
begin
Call (First,
Second);
Result :=
First + Second;
if First > 0
and then Second > 0
then
null;
end if;
end Long;
)",
                    R"(procedure Long
  (First  : Integer;
   Second : Integer)
is
begin
   Call (First,
         Second);
   Result :=
     First + Second;
   if First > 0
     and then Second > 0
   then
      null;
   end if;
end Long;
)"},
        Layout_Case{"AuthorsContinuationOffsetsKept", R"(procedure P is
begin
      X := Function_Call
               (A, B);
end P;
)",
                    R"(procedure P is
begin
   X := Function_Call
            (A, B);
end P;
)"},
        Layout_Case{"AspectsAndReturnUnderParameters", R"(function F
(X : Integer)
return Integer
with
Pre => X > 0;
procedure G (X : Integer) with Inline;
)",
                    R"(function F
  (X : Integer)
   return Integer
with
  Pre => X > 0;
procedure G (X : Integer) with Inline;
)"},
        Layout_Case{"RecordsOnTheirOwnLines", R"(type Cursor is
record
Node : Natural;
end record;
type Iterator is new Limited_Controlled and
Iterator_Interfaces.Forward_Iterator with
record
Container : List_Access;
end record
with Disable_Controlled;
function Element (C : Cursor) return Natural
renames Get;
)",
                    R"(type Cursor is
   record
      Node : Natural;
   end record;
type Iterator is new Limited_Controlled and
  Iterator_Interfaces.Forward_Iterator with
record
   Container : List_Access;
end record
  with Disable_Controlled;
function Element (C : Cursor) return Natural
renames Get;
)"},
        Layout_Case{"LabelOnItsOwnLine", R"(begin
Search :
while J <= Last
and then F (J) = ' '
loop
J := J + 1;
end loop Search;
end;
)",
                    R"(begin
   Search :
   while J <= Last
     and then F (J) = ' '
   loop
      J := J + 1;
   end loop Search;
end;
)"},
        Layout_Case{"CommentBeforeAspects", R"(procedure Delete (Container : in out Set) with
--  Removes everything
Global => null,
Depends => (Container =>+ null);
)",
                    R"(procedure Delete (Container : in out Set) with
--  Removes everything
  Global  => null,
  Depends => (Container =>+ null);
)"},
        Layout_Case{"WholeLineComments", R"(--  Header in column 1
package body P is
--  Before a declaration
X : Integer;
procedure Q is
begin
null;
--  After the last statement
end Q;
     --  Moves with the code below it
     Y : Integer;
--  Stays in column 1 beside indented code
   Z : Integer;
end P;
)",
                    R"(--  Header in column 1
package body P is
   --  Before a declaration
   X : Integer;
   procedure Q is
   begin
      null;
      --  After the last statement
   end Q;
   --  Moves with the code below it
   Y : Integer;
--  Stays in column 1 beside indented code
   Z : Integer;
end P;
)"},
        Layout_Case{"EndOfLineCommentsAndBlankLines", "X := 1;   -- one\n\n\nY := 2;-- two   \n",
                    "X := 1;  -- one\n\n\nY := 2;  -- two   \n"},
        Layout_Case{"Labels", R"(procedure P is
begin
<<Again>>
null;
goto Again;
end P;
)",
                    R"(procedure P is
begin
   <<Again>>
   null;
   goto Again;
end P;
)"},
        Layout_Case{"UnbalancedEndsClampAtTheMargin", R"(end if;
end loop;
X := 1;
procedure P is
begin
if A then
null;
end P;
)",
                    R"(end if;
end loop;
X := 1;
procedure P is
begin
   if A then
      null;
   end P;
)"},
        Layout_Case{"UnfinishedConstructsStillFormat", R"(procedure P is
begin
Call (A,
B;
X := 1;
end P;
)",
                    R"(procedure P is
begin
   Call (A,
         B;
   X := 1;
end P;
)"}),
    Case_Name);

struct Spacing_Case {
  std::string Source;
  std::string Expected;
};

class Spacing : public testing::TestWithParam<Spacing_Case> {};

TEST_P(Spacing, FollowsTheTokenRules) {
  EXPECT_EQ(Formatted(GetParam().Source + "\n"), GetParam().Expected + "\n");
  EXPECT_EQ(Formatted(GetParam().Expected + "\n"), GetParam().Expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, Spacing,
    testing::Values(
        Spacing_Case{"X:=A+B*C-D/E&F;", "X := A + B * C - D / E & F;"},
        Spacing_Case{"X := ( A , B ) ;", "X := (A, B);"},
        Spacing_Case{"Call(A,B);", "Call (A, B);"},
        Spacing_Case{"X := - 1 + ( - Y );", "X := -1 + (-Y);"},
        Spacing_Case{"Y := abs  X mod 3 rem 2;", "Y := abs X mod 3 rem 2;"},
        Spacing_Case{"if X not  in  1..10 then", "if X not in 1 .. 10 then"},
        Spacing_Case{"N := X ' Length + T ' ( others => <> ) ' Size;",
                     "N := X'Length + T'(others => <>)'Size;"},
        Spacing_Case{"C := Character ' ( 'a' ) ;", "C := Character'('a');"},
        Spacing_Case{"P := R . all . Next ' Access;", "P := R.all.Next'Access;"},
        Spacing_Case{"when A|B=>null;", "when A | B => null;"},
        Spacing_Case{"X : Integer:=1;", "X : Integer := 1;"},
        Spacing_Case{"Y := 2**8 + 2 ** 4;", "Y := 2**8 + 2 ** 4;"},
        Spacing_Case{"V := [ 1 , 2 ] ;", "V := [1, 2];"},
        Spacing_Case{"R := [(1, 2), (3, 4)];", "R := [ (1, 2), (3, 4)];"},
        Spacing_Case{"<< L >>", "<<L>>"},
        Spacing_Case{"X := Y - - 1;", "X := Y - -1;"},
        Spacing_Case{"S := \"a\"&\"b\";", "S := \"a\" & \"b\";"},
        Spacing_Case{"if A=B and then C/=D or else E>=F then", "if A = B and then C /= D or else E >= F then"}));

TEST(Layout, AlignsTheColonsOfConsecutiveDeclarations) {
  EXPECT_EQ(Formatted("A : Integer;\nLonger_Name  :   Float;\nB, C : T;\n\nD     : T;\n"),
            "A           : Integer;\nLonger_Name : Float;\nB, C        : T;\n\nD : T;\n");
}

TEST(Layout, DoesNotAlignWhereALineWouldPassColumn79) {
  const std::string Long = "Target_First : Positive := 1;\n"
                           "Ptr : Chunk_Access := Buffer.List.First_Chunk'Unchecked_Access.all.Next;\n";
  EXPECT_EQ(Formatted(Long), Long);
}

TEST(Layout, ContinuesTwoColumnsInWhereAfterTheParenthesisIsTooLong) {
  EXPECT_EQ(Formatted("            pragma Assert (Source.Length <= 1\n"
                      "or else not (SA (Source.Length) < SA (Source.Length - 1)) or else Done);\n"),
            "pragma Assert (Source.Length <= 1\n"
            "  or else not (SA (Source.Length) < SA (Source.Length - 1)) or else Done);\n");
  EXPECT_EQ(Formatted("pragma Assert (Length <= 1\nor else Short);\n"),
            "pragma Assert (Length <= 1\n               or else Short);\n");
}

TEST(Layout, AlignsTheArrowsOfConsecutiveAssociations) {
  EXPECT_EQ(Formatted("Call\n(First => 1,\nSecond   => 2);\n"),
            "Call\n  (First  => 1,\n   Second => 2);\n");
}

TEST(Layout, KeepsAnAlignmentTheAuthorMade) {
  const std::string Aligned = "X      : constant Integer := 1;  --  one\n"
                              "Longer : constant Integer := 22; --  two\n";
  EXPECT_EQ(Formatted(Aligned), "X      : constant Integer := 1;  --  one\n"
                                "Longer : constant Integer := 22;  --  two\n");
  const std::string Table = "Put (1,     2);\nPut (10,    20);\nPut (100,   300);\n";
  EXPECT_EQ(Formatted(Table), Table);
}

TEST(Layout, DropsBlanksThatAlignNothing) {
  EXPECT_EQ(Formatted("Put (1,  2);\nPut (100, 3);\n"), "Put (1, 2);\nPut (100, 3);\n");
  // Two lexemes that both keep extra blanks do not hold each other up.
  EXPECT_EQ(Formatted("Put (1,  2);\nPut (1,  3);\n"), "Put (1, 2);\nPut (1, 3);\n");
}

TEST(Layout, IndentsByTheUnitsSetting) {
  Formatter::Settings Four;
  Four.Units = 4;
  EXPECT_EQ(Formatted("procedure P is\nbegin\nif A then\nnull;\nend if;\nend P;\n", Four),
            "procedure P is\nbegin\n    if A then\n        null;\n    end if;\nend P;\n");
  Formatter::Settings Zero;
  Zero.Units = 0;
  EXPECT_EQ(Formatted("begin\nnull;\nend;\n", Zero), "begin\n null;\nend;\n");
}

TEST(Layout, TreatsOlderEditionsWordsAsIdentifiers) {
  Formatter::Settings Ada83;
  Ada83.Language = Formatter::Edition::Ada83;
  EXPECT_EQ(Formatted("Interface := Some + Protected;\n", Ada83),
            "Interface := Some + Protected;\n");
  EXPECT_EQ(Formatted("INTERFACE := SOME;\n"), "interface := some;\n");
}

TEST(Layout, KeepsLineEndsByteOrderMarkAndPageMarks) {
  EXPECT_EQ(Formatted("A;\r\nB;\rC;"), "A;\nB;\nC;\n");
  EXPECT_EQ(Formatted("\xEF\xBB\xBFpackage P is\nX : T;\nend P;\n"),
            "\xEF\xBB\xBFpackage P is\n   X : T;\nend P;\n");
  EXPECT_EQ(Formatted("A;\n\f\nB;\n"), "A;\n\f\nB;\n");
}

TEST(Layout, ReportsLexicalErrorsInsteadOfTokens) {
  const Formatter::Result Result = Formatter::Format("X := 1;\nY := $;\n", Formatter::Settings{});
  EXPECT_TRUE(Result.Tokens.empty());
  ASSERT_EQ(Result.Errors.size(), 1U);
  EXPECT_EQ(Result.Errors[0].Line, 2U);
  EXPECT_EQ(Result.Errors[0].Column, 6U);
}

}  // namespace
