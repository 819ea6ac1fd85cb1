#pragma once
// The whole platform layer: every module's interface (see platform/README.md).
#include "platform/audio/audio.h"
#include "platform/display/display.h"
#include "platform/events/events.h"
#include "platform/files/files.h"
#include "platform/files/stream.h"
#include "platform/graphics/graphics.h"
#include "platform/system/app.h"
#include "platform/system/clock.h"
#include "platform/system/list.h"
#include "platform/system/random.h"
#include "platform/system/text.h"
