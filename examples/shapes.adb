--  An example for Quorvel, laid out badly on purpose: format it and compare.
with Ada.Text_IO;
procedure Shapes is
type Kind is(Circle,Square,Triangle);
      type Shape(Form:Kind:=Circle)is record
   case Form is
 when Circle=>Radius:Float;
      when Square=>Side:Float;
   when Triangle=>Base,Height:Float;
           end case;
 end record;
function Area(S:Shape)return Float is
   begin
 case S.Form is
        when Circle => return 3.14159*S.Radius**2;
   when Square=>return S.Side*S.Side;
when Triangle=>
         return 0.5*S.Base*S.Height;
end case;
   end Area;
      All_Shapes:constant array(Positive range<>)of Shape:=
   ((Circle,1.0),(Square,2.0),(Triangle,3.0,4.0));
begin
   for S of All_Shapes loop   -- every shape in turn
Ada.Text_IO.Put_Line(Kind'Image(S.Form)&Float'Image(Area(S)));
        end loop;
end Shapes;
