-- Paces the north hall of the cave from one end to the other.
local goal = GetMoveGoal(currentNPC)
if GetMoveCurrent(currentNPC) == goal then
  if goal >= 100 then
    SetMoveGoal(currentNPC, 0)
    SetMoveCurrent(currentNPC, 0)
    goal = 0
  end
  if goal % 2 == 0 then
    MoveActor(currentNPC, 560, 64, goal + 1)
  else
    MoveActor(currentNPC, 64, 64, goal + 1)
  end
end
