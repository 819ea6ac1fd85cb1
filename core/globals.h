#pragma once
// The game globals, in the order the program declares them.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "core/config.h"
#include "core/logic.h"
#include "platform/platform.h"
#include "world/actor.h"
#include "world/item.h"
#include "world/map.h"
#include "world/melee.h"
#include "world/missile.h"
#include "world/player.h"
#include "world/tile.h"

class TLuaScriptEngine;

extern int titleColor[3];
extern int answerColor[3];
extern std::string baseHomeDir;
extern std::string baseAppDir;
extern std::unique_ptr<TConfig> settings;
extern std::unique_ptr<TEdit> editor;
extern std::unique_ptr<TLuaScriptEngine> lua;
extern TMapPtr currentMap;
extern TMapPtr nextMap;
extern int keyHeld[4];
extern TList<TActor> npcList;
extern TList<TMissile> missileList;
extern TList<TMelee> meleeList;
extern TPlayerPtr player;
extern std::vector<TTilePtr> Tile;
extern TImagePtr imgInterface;
extern TImagePtr imgInventory;
extern TImagePtr imgDialogTop, imgDialogMiddle, imgDialogBottom;
extern TImagePtr imgLife[3];
extern TImagePtr imgGold;
extern TImagePtr imgTalk;
extern TImagePtr imgMenu;
extern TImagePtr imgMenuOption[5];
extern TImagePtr imgCredits;
extern std::vector<std::string> Trigger;
extern float triggerX, triggerY;
extern std::string targetActor;
extern TList<TAnimateTimer> timerList;
extern std::vector<TActorPtr> npcType;
extern std::vector<TItemPtr> gameItem;
extern std::vector<TSoundPtr> sound;
extern std::vector<std::string> music;
extern TChannelPtr musicChannel;
extern int lastMusic;
extern TGadgetPtr MyWindow, MyCanvas, GameMenu, HelpMenu;
extern TGraphicsPtr g;
extern int windowExists;
extern int desktopHeight, desktopWidth;
extern uint8_t flags[256];
extern float Delta;
extern std::unique_ptr<TFixedRateLogic> FixedRateLogic;
extern int lockControls;

// Gives the globals their start-up values, in the table's order (start-up step 3).
void InitGlobals(const std::string& homeEnv, const std::string& appFile);
// Lets go of what the globals hold, before the process ends: the music stream and the sounds
// first, then the script state, the world, the tables and images, the display's gadgets and
// the settings. The audio and display layers themselves stay up; End closes them afterwards.
void ReleaseGlobals();
