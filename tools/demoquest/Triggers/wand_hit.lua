-- The wand's spark calms the creature it hit.
local who = GetActor()
if who ~= "" then
  SetAttitude(who, -1)
  SetMovement(who, 0)
  print("E2E calmed " .. who)
  DisplayText("The " .. who .. " calms down and stands still.", 200, 230, 255)
end
