GoToMap("village.map", 2)
