-- The shrine takes a heart, then blesses the hero with armour, fire and a second heart.
if GetFlag(8) == 0 then
  SetFlag(8, 1)
  LockControls()
  TakeLife(1)
  SetOverlay("_current", 2, 6, 35, 1, 0.8)
  Sleep(400)
  SetPlayerTile(40)
  SetPlayerItemAmmoTile(2, 41)
  SetPlayerItemMeleeTile(1, 42)
  GiveMaxLife(2)
  UnlockControls()
  GiveItem(5)
  SetEntryTrigger("village.map", 31)
  DisplayText("Armour of light covers you. Your arrows and your blade burn.", 255, 255, 155)
else
  DisplayText("The shrine is quiet.", 200, 200, 200)
end
