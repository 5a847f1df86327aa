--  An example for Quorvel, laid out badly on purpose: format it and compare.
with Ada.Text_IO;
procedure Counters is
   protected type Counter is
   procedure Increment;
        function Value return Natural;
      private
 Total:Natural:=0;
   end Counter;
protected body Counter is
      procedure Increment is begin Total:=Total+1; end Increment;
  function Value return Natural is
begin
        return Total;
   end Value;
   end Counter;
Shared:Counter;
      task type Worker(Rounds:Positive);
   task body Worker is
begin
   for I in 1..Rounds loop Shared.Increment; end loop;
     exception
when others=>Ada.Text_IO.Put_Line("worker failed");
end Worker;
begin
   declare
  A:Worker(100);B:Worker(250);
      begin
   null;
end;   -- both workers have finished here
        Ada.Text_IO.Put_Line("Total:"&Natural'Image(Shared.Value));
end Counters;
