-- A new game: forget the story so far, place the hero on the village path and go there.
for flag = 0, 31 do SetFlag(flag, 0) end
AddPlayer(0, 1, 64, 192)
GoToMap("village.map", 7)
print("E2E startup")
