-- The rune on the path: the first step on it pays and dims it.
if GetFlag(2) == 0 then
  SetFlag(2, 1)
  print("E2E touch")
  PlaySound(0)
  GiveGold(5)
  SetObject("_current", GetTriggerX(), GetTriggerY(), 26, 1, 0, 0, 1)
end
