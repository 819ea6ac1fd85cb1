-- Now and then a short walk in a random direction; a wall in the way ends the walk there.
local walk = GetMoveGoal(currentNPC)
if GetMoveCurrent(currentNPC) == walk and GetRandom(4) == 1 then
  local steps = {-48, 0, 48}
  local x = GetActorX(currentNPC) + steps[GetRandom(3)]
  local y = GetActorY(currentNPC) + steps[GetRandom(3)]
  -- A coordinate of 0 would keep the NPC's own: aim at least one pixel in.
  MoveActor(currentNPC, math.max(x, 1), math.max(y, 1), walk + 1)
end
