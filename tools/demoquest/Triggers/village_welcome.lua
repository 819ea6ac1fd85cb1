-- Entry trigger for the first return after the shrine's blessing; then the usual one again.
SetEntryTrigger("_current", 2)
PlayMusic(0)
DisplayText("The villagers cheer as you return in the shrine's armour!", 255, 255, 155)
print("E2E village welcome")
