-- The quest's end.
print("E2E ending")
DisplayVideo("sunrise.ogv")
DisplaySplash("splash.png", 2, 0)
DisplayText("Peace returns to the valley. Thank you for playing!", 255, 255, 155)
EndGame()
