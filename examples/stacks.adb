--  An example for Quorvel, laid out badly on purpose: format it and compare.
package body Stacks is
procedure Push(S:in out Stack;Item:Element) is
begin
if S.Top=Capacity then raise Overflow; end if;
      S.Top:=S.Top+1;
  S.Items(S.Top):=Item;
     end Push;
   procedure Pop (S : in out Stack ; Item : out Element) IS
 BEGIN
   if S.Top  =  0 then
          raise Underflow;
 end if;
  Item:=S.Items(S.Top);   S.Top:=S.Top-1;
end Pop;
  function Is_Empty(S:Stack)return Boolean is(S.Top=0);
end Stacks;
