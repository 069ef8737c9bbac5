// Version of the launcher, as its version resource reports it.
#pragma once

#define LAUNCHER_VERSION_NUMBERS 1,0,0,0
#define LAUNCHER_VERSION_TEXT "1.0.0.0"
