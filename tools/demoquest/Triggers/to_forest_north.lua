GoToMap("forest.map", 4)
