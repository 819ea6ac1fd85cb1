PlayMusic(1)
if GetFlag(4) == 0 then
  SetFlag(4, 1)
  AddNPC(2, "Dog", 160, 256)
  AddNPC(5, "Archer", 544, 96)
end
print("E2E map2 entered")
