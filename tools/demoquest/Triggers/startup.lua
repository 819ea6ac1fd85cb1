-- A new game. It may follow another game on this run (after the ending, "Start Over" or a
-- death), whose map, NPCs, flags and control lock are still in place: forget the story, leave
-- the old map without its exit trigger, place the hero on the village path and go there.
for flag = 0, 255 do SetFlag(flag, 0) end
UnlockControls()
SetExitTrigger("_current", 0)
AddPlayer(0, 1, 64, 192)
GoToMap("village.map", 7)
print("E2E startup")
