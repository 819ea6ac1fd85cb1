#pragma once
// The whole platform layer.
#include "platform/app.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/list.h"
#include "platform/stream.h"
#include "platform/text.h"
