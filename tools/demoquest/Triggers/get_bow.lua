DisplayText("Inside the chest lies a bow with ten arrows. Choose it in the inventory.", 255, 255, 155)
