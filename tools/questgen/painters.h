#pragma once
// The quest's pictures, each drawn by code and found by its file name.
#include <functional>
#include <map>
#include <string>
#include "tools/questgen/canvas.h"

using TPainter = std::function<TCanvas()>;
using TPainterTable = std::map<std::string, TPainter>;

// Every painter adds its pictures under their file names ("grass.png").
void AddTerrainPainters(TPainterTable& table);
void AddSpritePainters(TPainterTable& table);
void AddItemPainters(TPainterTable& table);
void AddScreenPainters(TPainterTable& table);
