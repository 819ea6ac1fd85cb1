-- Said once, the first time the hero leaves the cave.
SetExitTrigger("_current", 0)
DisplayText("You leave the damp darkness behind.", 200, 200, 255)
