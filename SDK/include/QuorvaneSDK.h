#pragma once
// Umbrella header of the QuorvaneSDK library: include this and link QuorvaneSDK.
#include "analysis/cMP3Info.h"
