-- Keeps an eye on the hero and shoots every few seconds, straight ahead or aimed.
if currentAttitude >= 4 then
  FacePlayer(currentNPC)
  if Wait(currentNPC, 2500) == 0 then
    if GetRandom(2) == 1 then
      AddMissile(currentNPC)
    else
      AddSpecialMissile(currentNPC, GetActorX("_player"), GetActorY("_player"))
    end
  end
end
