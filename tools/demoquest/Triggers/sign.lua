-- The signpost reads only from the front.
local facing = {"north", "south", "west", "east"}
if triggerDirection == 2 or triggerDirection == 0 then
  DisplayText("You are facing " .. facing[triggerDirection + 1] .. ". The sign at column " .. GetTriggerX() .. ", row " .. GetTriggerY() .. " reads: East to the forest, and south of it the cave.", 255, 255, 255)
  if DisplayOptions("A shortcut leads straight to the cave. Take it?", "Walk", "Take the shortcut", "", 255, 255, 255) == 1 then
    GoToMap("cave.map", 5)
  end
else
  DisplayText("You see the back of a signpost.", 200, 200, 200)
end
