print("E2E archer down")
DisplayText("The archer falls, and an old key drops from his belt.", 255, 255, 255)
GiveItem(4)
