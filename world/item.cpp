// Items: creation, copies, the icon in the interface strip and the usability test.
#include "world/item.h"

#include "core/globals.h"
#include "platform/graphics/graphics.h"
#include "platform/system/text.h"
#include "world/tile.h"

TItemPtr TItem::Create(int itemID, const std::string& name, const std::string& description,
                       int itemType, int ammoCount, int ammoMax, int icon, int useImage,
                       int ammoImage, int useTrigger, int getTrigger, int damageRating,
                       int missileRange, float missileSpeed, int missileRotationDiff, int sound,
                       int meleeImage) {
  auto item = std::make_shared<TItem>();
  item->itemID = itemID;
  item->name = name;
  item->description = description;
  item->itemType = itemType;
  item->ammoCount = ammoCount;
  item->ammoMax = ammoMax;
  item->icon = icon;
  item->useImage = useImage;
  item->ammoImage = ammoImage;
  item->useTrigger = useTrigger;
  item->getTrigger = getTrigger;
  item->damageRating = damageRating;
  item->missileRange = missileRange;
  item->missileSpeed = missileSpeed;
  item->missileRotationDiff = missileRotationDiff;
  item->sound = sound;
  item->meleeImage = meleeImage;
  return item;
}

TItemPtr TItem::CopyItem() const { return std::make_shared<TItem>(*this); }

int TItem::DrawIcon(int x, int y) {
  SetColor(255, 255, 255);
  DrawImage(TileImage(icon), static_cast<float>(x), static_cast<float>(y), 0);
  if (ammoMax > 0) {
    // The count is centred over the 32-pixel icon, at a fixed height in the strip.
    const std::string text = StringFromInt(ammoCount);
    const int c = (32 - TextWidth(text)) / 2;
    SetColor(0, 0, 0);
    DrawText(text, static_cast<float>(x + 1 + c), 455.0f);
    SetColor(175, 0, 0);
    DrawText(text, static_cast<float>(x + c), 454.0f);
    SetColor(255, 255, 255);
  }
  return 0;
}

int TItem::UseItem() const {
  if (itemID == 0) return 0;
  if (ammoMax > 0) return ammoCount > 0 ? 1 : 0;
  return 1;
}

TItemPtr GameItemAt(int slot) {
  if (slot >= 0 && static_cast<size_t>(slot) < gameItem.size() && gameItem[slot])
    return gameItem[static_cast<size_t>(slot)];
  return std::make_shared<TItem>();
}
