if not CheckItem(2) then
  PlaySound(9)
  SetObject("_current", GetTriggerX(), GetTriggerY(), 29, 0, 14, 2, 1)
  GiveItem(2)
else
  GiveItem(2)
  DisplayText("You gather up more arrows from the chest.", 255, 255, 255)
end
