-- The signpost reads only from the front, to a hero facing west or north.
if triggerDirection == 2 or triggerDirection == 0 then
  DisplayText("The sign reads: \"East: the forest. South of the forest: the old cave.\"", 255, 255, 255)
  -- Questions are light blue, so that the highlighted answer stands out from them.
  if DisplayOptions("A worn trail behind the sign leads straight to the cave. Take it?", "Walk on", "Take the trail", "", 160, 215, 255) == 1 then
    GoToMap("cave.map", 5)
  end
else
  DisplayText("You see the back of a signpost.", 200, 200, 200)
end
