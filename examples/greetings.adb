--  An example for Quorvel, laid out badly on purpose: format it and compare.
with Ada.Text_IO;   use Ada.Text_IO;
PROCEDURE Greetings IS
      Names : constant array(1..3) of String(1..5):=("Alice","Bruno","Chloe");
   Count:Natural:=0;
BEGIN
for I in Names'Range LOOP
        Put_Line ("Hello, "&Names(I)&"!");
     Count:=Count+1;
  end loop;
      IF Count>2 THEN
   Put_Line("That is"&Natural'Image(Count)&" greetings.");
         ELSE
 Put_Line ("Few greetings.");
END IF;
end Greetings;
