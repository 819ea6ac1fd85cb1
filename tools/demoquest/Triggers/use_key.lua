-- The key turns only beside the gate at column 5, row 7 of the cave.
local col = math.floor((GetActorX("_player") + 16) / 32)
local row = math.floor((GetActorY("_player") + 16) / 32)
if GetFlag(7) == 0 and math.abs(col - 5) <= 1 and math.abs(row - 7) <= 1 then
  SetFlag(7, 1)
  PlaySound(8)
  SetFeature("_current", 5, 7, -1, 1)
  SetTile("_current", 5, 7, 32, 1)
  TakeItem(4, 0)
  print("E2E gate open")
  DisplayText("The key turns and the gate swings open.", 255, 255, 255)
else
  PlaySound(7)
  DisplayText("There is no lock here.", 200, 200, 200)
end
