-- The hero's life ran out.
PlaySound(6)
print("E2E death")
KillPlayer()
