AvoidPlayer(currentNPC)
