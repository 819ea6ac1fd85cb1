PlayMusic(2)
SetClearTrigger("_current", 16)
if GetFlag(5) == 0 then
  SetFlag(5, 1)
  AddNPC(1, "Wanderer", 480, 320)
  AddNPC(4, "Slime", 448, 352)
  AddNPC(4, "Young Slime", 160, 120)
  AddNPC(6, "Ghost", 64, 64)
end
print("E2E cave entered")
