PlayMusic(2)
SetClearTrigger("_current", 16)
SetExitTrigger("_current", 32)
if GetFlag(5) == 0 then
  SetFlag(5, 1)
  AddNPC(1, "Wanderer", 300, 250)
  AddNPC(4, "Slime", 400, 300)
  AddNPC(4, "Slime", 160, 120)
  AddNPC(6, "Ghost", 64, 64)
end
print("E2E cave entered")
