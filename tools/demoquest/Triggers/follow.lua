FollowPlayer(currentNPC)
