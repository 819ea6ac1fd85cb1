GoToMap("village.map", 0)
