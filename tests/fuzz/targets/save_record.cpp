// Save records: a slot loaded from the record alone (its script and slot folder missing).
#include "core/globals.h"
#include "fuzz/harness.h"
#include "scripting/commands.h"
#include "transitions/transitions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::UseDemoQuest();
  if (!lua) InitLUA();
  player = TPlayer::CreatePlayer(0, 0, 0.0f, 0.0f, 0.0f, 0.0f, 1, "Corvel", 6, 6, 0, 6.0f, 1);
  const std::string record = fuzz::InputFile(data, size, "0.FUZZ.sav");
  LoadGame(record, fuzz::ScratchDir() + "/no-slot");
  player = nullptr;
  return 0;
}
