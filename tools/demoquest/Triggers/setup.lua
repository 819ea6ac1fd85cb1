-- Runs once when the game starts, before any player exists: the functions the game calls.

-- The NPC whose movement trigger runs next, and its attitude.
currentNPC = ""
currentAttitude = 0
function setCurrentNPC(name) currentNPC = name end
function setCurrentAttitude(attitude) currentAttitude = attitude end

-- The way the player faced when talking to a cell: 0 up, 1 down, 2 left, 3 right.
triggerDirection = 1
function setTriggerDirection(direction) triggerDirection = direction end

print("E2E setup")
