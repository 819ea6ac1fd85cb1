print("E2E talk")
FacePlayer("Elder")
if GetFlag(3) == 0 then
  DisplayTextP("Welcome, traveller. Beasts have come out of the old cave beyond the forest, and nobody here can hold a blade any more.", 255, 255, 255, "portrait-elder.png", 0)
  print("E2E question")
  local answer = DisplayOptionsP("Will you take my old sword and drive them out?", "I will walk there myself", "Take me to the forest now", "Not today", 160, 215, 255, "portrait-elder.png", 1)
  print("E2E answer " .. answer)
  if answer ~= 2 then
    SetFlag(3, 1)
    GiveItem(1)
  end
  if answer == 1 then GoToMap("forest.map", 1) end
else
  local choice = DisplayOptions("A red potion costs 5 gold. Will you buy one?", "Buy a potion", "No, thank you", "", 160, 215, 255)
  if choice == 0 then
    if CheckItem(6) then
      DisplayText("You still carry one.", 255, 255, 255)
    elseif TakeGold(5) then
      GiveItem(6)
      DisplayText("Drink it when you are hurt.", 255, 255, 255)
    else
      PlaySound(7)
      DisplayText("You have too little gold.", 255, 200, 200)
    end
  end
end
