GoToMap("village.map", 0)
-- Said once, back in the village, the first time the hero leaves the cave.
if GetFlag(9) == 0 then
  SetFlag(9, 1)
  DisplayText("You leave the damp darkness behind.", 200, 200, 255)
end
