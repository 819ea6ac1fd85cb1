// The inventory screen: 48 slots in a grid, the two hands, and the item under the cursor.
#include "dialogs/dialogs.h"
#include "core/game.h"
#include "core/globals.h"
#include "dialogs/text.h"
#include "screens/screens.h"

namespace {

constexpr int kColumns = 12;
constexpr int kHandY = 395;

int CellX(int cell) { return 87 + 40 * (cell % kColumns); }
int CellY(int cell) { return 137 + 37 * (cell / kColumns); }
int HandX(int hand) { return 284 + 39 * hand; }

void SetCellColour() { SetColor(158, 147, 20); }

// Frame 0 of the item's tile; nothing for an item without an icon or one beyond the table.
void DrawItemIcon(const TItem& item, int x, int y) {
  if (item.icon >= 1) DrawImage(TileImage(item.icon), x, y, 0);
}

void DrawOutline(int x, int y) {
  DrawLine(x, y, x + 31, y, true);
  DrawLine(x, y, x, y + 31, true);
  DrawLine(x + 31, y, x + 31, y + 31, true);
  DrawLine(x, y + 31, x + 31, y + 31, true);
}

void DrawHand(const TItemPtr& item, int hand) {
  if (!item || item->icon < 1) return;
  SetCellColour();
  DrawRect(HandX(hand), kHandY, 32, 32);
  SetColor(255, 255, 255);
  DrawItemIcon(*item, HandX(hand), kHandY);
}

void DrawInventory(int cursor, bool handMode, int hand) {
  DrawScreen();
  DrawImage(imgInventory, 0, 0, 0);
  for (int i = 0; i < INVENTORY_SLOTS; ++i) {
    SetCellColour();
    DrawRect(CellX(i), CellY(i), 32, 32);
    SetColor(255, 255, 255);
    if (player->item[i]) DrawItemIcon(*player->item[i], CellX(i), CellY(i));
  }
  DrawHand(player->primary, 0);
  DrawHand(player->secondary, 1);
  const TItemPtr& item = player->item[cursor];
  const std::string name = item ? item->name : "", description = item ? item->description : "";
  SetColor(70, 65, 9);
  DrawTextEx(name, 121, 301, 400, 0, 0);
  DrawTextEx(description, 121, 316, 400, 0, 0);
  SetColor(222, 27, 44);
  DrawTextEx(name, 120, 300, 400, 0, 0);
  SetColor(255, 255, 255);
  DrawTextEx(description, 120, 315, 400, 0, 0);
  if (handMode) {
    SetColor(222, 27, 44);
    DrawOutline(CellX(cursor), CellY(cursor));
    SetColor(255, 255, 255);
    DrawOutline(HandX(hand), kHandY);
  } else {
    SetColor(255, 255, 255);
    DrawOutline(CellX(cursor), CellY(cursor));
  }
}

// Puts the slot's very item object into the hand; the other hand lets go of it.
void PutInHand(const TItemPtr& item, int hand) {
  TItemPtr& chosen = hand == 0 ? player->primary : player->secondary;
  TItemPtr& other = hand == 0 ? player->secondary : player->primary;
  chosen = item;
  if (other == chosen) other = std::make_shared<TItem>();
}

bool FitsAHand(const TItemPtr& item) { return item && item->itemType >= 1 && item->itemType <= 4; }

}  // namespace

int DisplayInventory() {
  int cursor = 0, hand = 0;
  bool handMode = false;
  for (;;) {
    if (!player) break;
    DrawInventory(cursor, handMode, hand);
    const int code = ShowAndTakeKey();
    if (code < 0) continue;
    const TConfig& k = *settings;
    if (code == k.kInventory) break;
    if (!handMode) {
      if (code == k.kExit) break;
      if (code == k.kEnter) {
        if (FitsAHand(player->item[cursor]))
          handMode = true;
        else
          PlaySoundEffect(7);
      } else if (code == k.kRight) {
        cursor = (cursor + 1) % INVENTORY_SLOTS;
      } else if (code == k.kLeft) {
        if (--cursor < 0) cursor = INVENTORY_SLOTS - 1;
      } else if (code == k.kDown) {
        cursor = (cursor + kColumns) % INVENTORY_SLOTS;
      } else if (code == k.kUp) {
        cursor -= kColumns;
        if (cursor < 0) cursor += INVENTORY_SLOTS;
      }
    } else if (code == k.kExit) {
      handMode = false;
    } else if (code == k.kEnter) {
      PutInHand(player->item[cursor], hand);
      handMode = false;
    } else if (code == k.kRight || code == k.kLeft || code == k.kDown || code == k.kUp) {
      hand = 1 - hand;
    }
  }
  FixedRateLogic->Init();
  return 1;
}
