GoToMap("forest.map", 1)
