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

void InitGlobals(const std::string& homeEnv, const std::string& appFile) {
  titleColor[0] = 205; titleColor[1] = 255; titleColor[2] = 205;
  answerColor[0] = 255; answerColor[1] = 255; answerColor[2] = 155;
  // The folders come before settings: its constructor builds the default paths from them.
  baseHomeDir = homeEnv + "/Documents/" + "Corvel" + " User Data";
  baseAppDir = ExtractDir(appFile) + "/../Resources";
  settings = std::make_unique<TConfig>();
  editor = std::make_unique<TEdit>();
  lua = std::make_unique<TLuaScriptEngine>();
  currentMap = TMap::Create();
  nextMap = TMap::Create();
  for (int& held : keyHeld) held = 0;
  npcList.Clear();
  missileList.Clear();
  meleeList.Clear();
  timerList.Clear();
  gameItem.assign(48, nullptr);
  for (uint8_t& flag : flags) flag = 0;
  musicChannel = AllocChannel();
  // Read before any display opens: the window is centred on the desktop.
  const TGadgetPtr desktop = Desktop();
  desktopHeight = GadgetHeight(desktop);
  desktopWidth = GadgetWidth(desktop);
  FixedRateLogic = std::make_unique<TFixedRateLogic>();
}

void ReleaseGlobals() {
  // A stream calls into the audio layer when it stops: it goes while that layer is up.
  StopChannel(musicChannel);
  musicChannel = nullptr;
  sound.clear();
  // Scripts may be running below the caller, which never returns to them.
  if (lua) lua->ShutDown();
  lua.reset();
  npcList.Clear();
  missileList.Clear();
  meleeList.Clear();
  timerList.Clear();
  player = nullptr;
  currentMap = nullptr;
  nextMap = nullptr;
  npcType.clear();
  gameItem.clear();
  Tile.clear();
  ClearMissileFrames();
  Trigger.clear();
  music.clear();
  for (TImagePtr* image : {&imgInterface, &imgInventory, &imgDialogTop, &imgDialogMiddle,
                           &imgDialogBottom, &imgGold, &imgTalk, &imgMenu, &imgCredits}) {
    *image = nullptr;
  }
  for (TImagePtr& image : imgLife) image = nullptr;
  for (TImagePtr& image : imgMenuOption) image = nullptr;
  g = nullptr;
  MyCanvas = MyWindow = GameMenu = HelpMenu = nullptr;
  FixedRateLogic.reset();
  editor.reset();
  settings.reset();
}
