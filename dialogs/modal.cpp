// The event step shared by the modal boxes and screens.
#include "core/game.h"
#include "dialogs/dialogs.h"
#include "platform/display/display.h"
#include "platform/events/events.h"

int ShowAndTakeKey() {
  Flip(0);
  PollEvent();
  PassRelease();
  return EventID() == EVENT_KEYDOWN ? EventData() : -1;
}
