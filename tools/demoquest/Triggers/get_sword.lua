SetPrimary(1)
print("E2E sword")
DisplayText("You received the sword. Use your Primary action to swing it.", 255, 255, 155)
