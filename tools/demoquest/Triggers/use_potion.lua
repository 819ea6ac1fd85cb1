if TakeItem(6, 1) then
  PlaySound(0)
  GiveLife(4)
end
