print("E2E village left")
