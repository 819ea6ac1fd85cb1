-- Nothing moves in the cave any more: stairs lead home.
DisplayText("The cave falls silent. Stairs appear in the east.", 255, 255, 155)
SetObject("_current", 17, 10, 44, 1, 30, 1, 0)
