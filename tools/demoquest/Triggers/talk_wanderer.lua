FacePlayer("Wanderer")
if not CheckItem(3) then
  DisplayTextP("Lost down here for days... Take my wand: its spark calms any beast.", 255, 255, 255, "portrait-wanderer.png", 1)
  GiveItem(3)
else
  DisplayTextP("Now I can find my way out. Farewell!", 255, 255, 255, "portrait-wanderer.png", 1)
  RemoveActor("Wanderer")
end
