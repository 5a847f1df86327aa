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

std::string Case_Name(const testing::TestParamInfo<Layout_Case>& Info) {
  return Info.param.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Constructs, Layout,
    testing::Values(Layout_Case{"PackageSpecAndPrivatePart", R"(WITH Ada.Text_IO; USE Ada.Text_IO;
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
                    Layout_Case{"ComponentsRightOfTheLineHoldingRecord", R"(type T is new B
       with record
X : Integer;
end record;
type R (D : Integer;
E : Integer) is record
X : Integer;
end record;
)",
                                R"(type T is new B
       with record
          X : Integer;
       end record;
type R (D : Integer;
        E : Integer) is record
           X : Integer;
        end record;
)"},
                    Layout_Case{"ParenthesesAndAspectsUnderWhatTheyFollow",
                                R"(function F return T is
begin
return
Formatting.Time_Of
(Year => 1,
Month => 2);
end F;
type R is new C
with Bit_Order => X,
Scalar_Storage_Order => Y;
)",
                                R"(function F return T is
begin
   return
     Formatting.Time_Of
       (Year  => 1,
        Month => 2);
end F;
type R is new C
  with Bit_Order => X,
       Scalar_Storage_Order => Y;
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
                    Layout_Case{"CommentBeforeAspects",
                                R"(procedure Delete (Container : in out Set) with
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
                    Layout_Case{"EndOfLineCommentsAndBlankLines",
                                "X := 1; -- one\n\n\nY := 2;-- two   \n",
                                "X := 1;  -- one\n\nY := 2;  -- two   \n"},
                    Layout_Case{"PaddingALittleOffItsColumnRepaired", R"(procedure P is
   A     : Integer;
   Bb     : Integer;
   Ccc   : Integer;
   Dddd  : Integer;
begin
   X    := 1;
   Yy   := 2;
   Zz  := 3;
   Wwww := 4;
   Call (A     => 1,
         Bb   => 2,
         Ccc   => 3);
end P;
)",
                                R"(procedure P is
   A     : Integer;
   Bb    : Integer;
   Ccc   : Integer;
   Dddd  : Integer;
begin
   X    := 1;
   Yy   := 2;
   Zz   := 3;
   Wwww := 4;
   Call (A     => 1,
         Bb    => 2,
         Ccc   => 3);
end P;
)"},
                    // One blank is no padding; a repair never takes a line
                    // past column 79; end-of-line comments keep their own.
                    Layout_Case{"NoRepairWithoutPaddingRoomOrCode",
                                "X    := 1;\nYy   := 2;\nZzz := 3;\nX    := 1;\nYy   := 2;\n"
                                "Zz  := F (" +
                                    std::string(67, 'A') +
                                    ");\n"
                                    "X := 1;     --  one\nYy := 2;    --  two\n"
                                    "Zz := 3;   --  three\n",
                                "X    := 1;\nYy   := 2;\nZzz := 3;\nX    := 1;\nYy   := 2;\n"
                                "Zz := F (" +
                                    std::string(67, 'A') +
                                    ");\n"
                                    "X := 1;     --  one\nYy := 2;    --  two\n"
                                    "Zz := 3;   --  three\n"},
                    // Blanks lost: `at`s lined up, declarations lined up
                    // across a comment line, and a comment line held left
                    // by the longest line holds none below it.
                    Layout_Case{"AlignmentRebuiltWhereBlanksWereLost",
                                "package P is\nfor R use record\nA at 0 range 0 .. 7;\n"
                                "Longer at 1 range 0 .. 7;\nend record;\nA : Integer;\n"
                                "--  Comment between\nLonger : Integer;\n\n--  " +
                                    std::string(74, 'x') + "\n--  short\nX : Integer;\nend P;\n",
                                "package P is\n   for R use record\n"
                                "      A      at 0 range 0 .. 7;\n"
                                "      Longer at 1 range 0 .. 7;\n   end record;\n"
                                "   A      : Integer;\n   --  Comment between\n"
                                "   Longer : Integer;\n\n--  " +
                                    std::string(74, 'x') +
                                    "\n   --  short\n   X : Integer;\nend P;\n"},
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
)"},
                    Layout_Case{"ExpressionWordsInsideParentheses", R"(procedure P is
begin
if A then
X := (if B
then 1
elsif C then 2
else 3);
Y := 0;
end if;
end P;
)",
                                R"(procedure P is
begin
   if A then
      X := (if B
            then 1
            elsif C then 2
            else 3);
      Y := 0;
   end if;
end P;
)"},
                    Layout_Case{"OperatorLinesOutsideParentheses", R"(function F return Boolean
with
Pre =>
M1'Last = M2'Last
and then X in M1'Range
and then Y in M1'Range
and then
Strlen (X)
= Y
or else Z;
)",
                                R"(function F return Boolean
with
  Pre =>
    M1'Last = M2'Last
    and then X in M1'Range
    and then Y in M1'Range
    and then
      Strlen (X)
      = Y
    or else Z;
)"},
                    Layout_Case{"AspectsAfterWithAloneAndAfterAnExpressionFunction",
                                R"(procedure Resize (Container : in out List)
with
--  Add more room
Global => null;
function "=" (Left : Key_Type; Right : Key_Type) return Boolean
is (Equivalent_Keys (Left, Right))
with Annotate => (GNATprove, Inline_For_Proof);
)",
                                R"(procedure Resize (Container : in out List)
with
  --  Add more room
  Global => null;
function "=" (Left : Key_Type; Right : Key_Type) return Boolean
is (Equivalent_Keys (Left, Right))
with Annotate => (GNATprove, Inline_For_Proof);
)"},
                    Layout_Case{"CaseExpressionAlternativesAndRelationalOperands",
                                R"(procedure P is
begin
X := (case Y is
when 4 => A,
when others => B);
Z := (Has_Element (C)
and then
Element
(Model (C), P)
= Item);
end P;
)",
                                R"(procedure P is
begin
   X := (case Y is
            when 4 => A,
            when others => B);
   Z := (Has_Element (C)
         and then
           Element
             (Model (C), P)
           = Item);
end P;
)"},
                    Layout_Case{"RenamesSelectedNamesQualifiedAggregatesAndTypeIs",
                                R"(package body P is
Data : UTF8_String_Data
renames Magic (Self).Data;
C4N : constant Virtual_String :=
VSS.Normalization.To_Form_C
.Transform (C4)
.Image;
Attr : Attributes :=
XmlAda_Attributes'
(Attributes => Atts);
type Device
(Port : not null Any_I2C_Port)
is abstract tagged limited private;
end P;
)",
                                R"(package body P is
   Data : UTF8_String_Data
     renames Magic (Self).Data;
   C4N  : constant Virtual_String :=
     VSS.Normalization.To_Form_C
       .Transform (C4)
       .Image;
   Attr : Attributes :=
     XmlAda_Attributes'
       (Attributes => Atts);
   type Device
     (Port : not null Any_I2C_Port)
   is abstract tagged limited private;
end P;
)"},
                    Layout_Case{"ProfilesConditionsAndNegatedOperands", R"(package body P is
function Filter
(M : Map;
Test :
not null access function
(K : Key_Type) return Boolean) return Map;
X : Boolean := (if K > A
and then B
then C
else D);
Y : Boolean :=
not Contains (M, X)
and then Z;
end P;
)",
                                R"(package body P is
   function Filter
     (M    : Map;
      Test :
        not null access function
          (K : Key_Type) return Boolean) return Map;
   X : Boolean := (if K > A
                     and then B
                   then C
                   else D);
   Y : Boolean :=
     not Contains (M, X)
     and then Z;
end P;
)"},
                    Layout_Case{"ParallelBlocksAndLoops", R"(procedure P is
begin
parallel do
A := 1;
X := A
and B;
and
--  the second arm
B := 2;
end do;
Outer :
parallel for I in 1 .. 10 loop
null;
end loop Outer;
end P;
)",
                                R"(procedure P is
begin
   parallel do
      A := 1;
      X := A
        and B;
   and
      --  the second arm
      B := 2;
   end do;
   Outer :
   parallel for I in 1 .. 10 loop
      null;
   end loop Outer;
end P;
)"},
                    Layout_Case{"ChoicesContinuedOnTheNextLine", R"(procedure P is
begin
case X is
when A | B |
C =>
null;
when D
| E =>
null;
end case;
end P;
)",
                                R"(procedure P is
begin
   case X is
      when A | B |
           C =>
         null;
      when D
         | E =>
         null;
   end case;
end P;
)"},
                    Layout_Case{"AddingOperatorsAndLogicalChainsInsideParentheses",
                                R"(procedure P with
Post =>
(Full =>
E.Big (Length (T))
= E.Big (Length (T)'Old)
- M.Num (Model (T))
+ E.Big (Length (S))
and then
F (B,
C)
and then D);
)",
                                R"(procedure P with
  Post =>
    (Full =>
       E.Big (Length (T))
       = E.Big (Length (T)'Old)
         - M.Num (Model (T))
         + E.Big (Length (S))
       and then
         F (B,
            C)
       and then D);
)"},
                    Layout_Case{"ExpressionAfterAParenthesisAloneOnItsLine", R"(procedure P with
Post =>
(
if A
then B
else C);
)",
                                R"(procedure P with
  Post =>
    (
     if A
     then B
     else C);
)"},
                    Layout_Case{"ContinuedExpressionsInsideParentheses", R"(procedure P with
Post =>
(Full =>
E.Big (Length (R))
= E.Big (Length (Left))

--  Elements

and
M.Not_In_Both
(Model (R),
Model (Left))
and then
(for all K of M =>
Element_Logic_Equal
(Element (Model (C), 1), Copy (New_Item))
and X));
)",
                                R"(procedure P with
  Post =>
    (Full =>
       E.Big (Length (R))
       = E.Big (Length (Left))

       --  Elements

       and
         M.Not_In_Both
           (Model (R),
            Model (Left))
       and then
         (for all K of M =>
            Element_Logic_Equal
              (Element (Model (C), 1), Copy (New_Item))
            and X));
)"},
                    Layout_Case{"IfExpressionBranchesAndArrayComponents", R"(Table : constant
array (Index range 1 .. 2)
of Pair :=
[(1, 2), (3, 4)];
Iterator : Cursors
.Cursor :=
First;
function F return Boolean is
(if A
then
B
elsif C then
D
and then E
else
G
or else H);
)",
                                R"(Table : constant
  array (Index range 1 .. 2)
    of Pair :=
    [ (1, 2), (3, 4)];
Iterator : Cursors
  .Cursor :=
  First;
function F return Boolean is
  (if A
   then
     B
   elsif C then
     D
     and then E
   else
     G
     or else H);
)"},
                    Layout_Case{"ChoicesInBracketsAndTypesOfParameters", R"(procedure Q
(Item :
Element;
Last : out
Natural);
X : constant T :=
[A.B =>
F (1),
C =>
G];
)",
                                R"(procedure Q
  (Item :
     Element;
   Last : out
     Natural);
X : constant T :=
  [A.B =>
     F (1),
   C =>
     G];
)"},
                    Layout_Case{"AttributeAndPragmaNamesInMixedCase", R"(pragma ADA_2012;
X : constant Natural := T'LAST + T'first + T'unchecked_access'SIZE;
)",
                                R"(pragma Ada_2012;
X : constant Natural := T'Last + T'First + T'Unchecked_Access'Size;
)"},
                    Layout_Case{"AspectMarksInMixedCase", R"(with pre;
procedure P (X : T) with PRE => X > 0, post'CLASS => Ok, INLINE;
type R is new pre with record
A, b, C : T;
end record with pack;
E : T := (pre with post => 1);
procedure Q with import, convention => C, external_name => "q" is
begin
raise failed with msg;
end Q;
)",
                                R"(with pre;
procedure P (X : T) with Pre => X > 0, Post'Class => Ok, Inline;
type R is new pre with record
   A, b, C : T;
end record with Pack;
E : T := (pre with post => 1);
procedure Q with Import, Convention => C, External_Name => "q" is
begin
   raise failed with msg;
end Q;
)"}),
    Case_Name);

}  // namespace
