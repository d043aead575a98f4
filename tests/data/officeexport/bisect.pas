function Bisect(Lo, Hi: Integer): Integer;
var
  Mid: Integer;
begin
  repeat
    Mid := (Lo + Hi) div 2;
    if Probe(Mid) then
      Hi := Mid
    else
      Lo := Mid + 1;
  until Lo >= Hi;
  for Mid := 1 to 3 do
    Settle(Mid);
  Bisect := Lo;
end;
