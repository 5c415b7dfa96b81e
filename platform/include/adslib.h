// adslib.h - the ADS C interface together with its result codes.
#pragma once
#include "ads.h"
#include "adscodes.h"
