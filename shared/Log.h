// The engine's log calls. InitLog is made once at start (the desktop or the command line); the
// other calls may come from any thread at any time and never fail the caller.
#pragma once

#include "tracekeep/Tracekeep.h"
