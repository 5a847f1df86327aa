--  An example for Quorvel, laid out badly on purpose: format it and compare.
generic
type Element is private;
   Capacity:Positive:=16;
PACKAGE Stacks is
  type Stack is limited private;
      Overflow,Underflow:exception;
 procedure Push(S:in out Stack;Item:Element);
      procedure Pop (S : in out Stack ; Item : out Element);
   function Is_Empty(S:Stack)return Boolean;
private
      type Element_Array is array(1..Capacity)of Element;
 type Stack is record
 Items:Element_Array;
         Top:Natural:=0;
   end record;
END Stacks;
