PlaySound(5)
GiveGold(GetRandom(3))
print("E2E slime gone")
