// Definitions of the game globals; InitGlobals gives them their start-up values.
#include "core/globals.h"
#include "scripting/engine.h"

int titleColor[3];
int answerColor[3];
std::string baseHomeDir;
std::string baseAppDir;
std::unique_ptr<TConfig> settings;
std::unique_ptr<TEdit> editor;
std::unique_ptr<TLuaScriptEngine> lua;
TMapPtr currentMap;
TMapPtr nextMap;
int keyHeld[4];
TList<TActor> npcList;
TList<TMissile> missileList;
TList<TMelee> meleeList;
TPlayerPtr player;
std::vector<TTilePtr> Tile;
TImagePtr imgInterface;
TImagePtr imgInventory;
TImagePtr imgDialogTop, imgDialogMiddle, imgDialogBottom;
TImagePtr imgLife[3];
TImagePtr imgGold;
TImagePtr imgTalk;
TImagePtr imgMenu;
TImagePtr imgMenuOption[5];
TImagePtr imgCredits;
std::vector<std::string> Trigger;
float triggerX = 0.0f, triggerY = 0.0f;
std::string targetActor;
TList<TAnimateTimer> timerList;
std::vector<TActorPtr> npcType;
std::vector<TItemPtr> gameItem(48);
std::vector<TSoundPtr> sound;
std::vector<std::string> music;
TChannelPtr musicChannel;
int lastMusic = 0;
TGadgetPtr MyWindow, MyCanvas, GameMenu, HelpMenu;
TGraphicsPtr g;
int windowExists = 0;
int desktopHeight = 0, desktopWidth = 0;
uint8_t flags[256];
float Delta = 0.0f;
std::unique_ptr<TFixedRateLogic> FixedRateLogic;
int lockControls = 0;
