#pragma once
// Items: templates, inventory items and items in hand share this record.
#include <memory>
#include <string>

class TItem;
using TItemPtr = std::shared_ptr<TItem>;

class TItem {
public:
  int itemID = 0;
  std::string name;
  std::string description;
  int itemType = 0;  // 1 missile, 2 usable, 3 melee, 4 melee + missile
  int ammoCount = 0;
  int ammoMax = 0;
  int icon = 0;
  int useImage = 0;
  int ammoImage = 0;
  int useTrigger = 0;
  int getTrigger = 0;
  int damageRating = 0;
  int missileRange = 0;
  float missileSpeed = 0.0f;
  int missileRotationDiff = 0;
  int sound = 0;
  int meleeImage = 0;

  static TItemPtr Create(int itemID, const std::string& name, const std::string& description,
                         int itemType, int ammoCount, int ammoMax, int icon, int useImage,
                         int ammoImage, int useTrigger, int getTrigger, int damageRating,
                         int missileRange, float missileSpeed, int missileRotationDiff,
                         int sound, int meleeImage);
  TItemPtr CopyItem() const;
  int DrawIcon(int x, int y);
  int UseItem() const;  // the usability test
};

// Uses an item in the player's hand by its type.
int UseItem(const TItemPtr& item);

// The template in slot k of `gameItem`, or the blank item when k is outside 0..47 or empty.
TItemPtr GameItemAt(int slot);
