if GetFlag(6) == 0 then
  SetFlag(6, 1)
  PlaySound(5)
  GiveGold(10)
  SetObject("_current", GetTriggerX(), GetTriggerY(), -1, 1, 0, 0, 1)
end
