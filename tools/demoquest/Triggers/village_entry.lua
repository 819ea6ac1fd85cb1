PlayMusic(0)
if GetFlag(1) == 0 then
  SetFlag(1, 1)
  AddNPC(0, "Elder", 320, 192)
  AddNPC(3, "Deer", 560, 300)
end
print("E2E village entered")
