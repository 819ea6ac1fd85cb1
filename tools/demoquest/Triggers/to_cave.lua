-- The cave is no place for the unarmed: step back.
if CheckItem(1) then
  GoToMap("cave.map", 3)
else
  DisplayText("Growls echo from the cave. Better not go in without a weapon.", 255, 200, 200)
  MovePlayer(GetActorX("_player"), GetActorY("_player") - 40, 0)
end
