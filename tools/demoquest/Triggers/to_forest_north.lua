GoToMap("forest.map", 4)
-- Said once, out in the forest, the first time the hero climbs out of the cave.
if GetFlag(9) == 0 then
  SetFlag(9, 1)
  DisplayText("You leave the damp darkness behind.", 200, 200, 255)
end
