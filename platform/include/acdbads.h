// acdbads.h - ADS database functions (entity names and handles).
#pragma once
#include "adsdef.h"

extern "C" {
int acdbHandEnt(const char* handle, ads_name entres);
int acdbNameClear(ads_name aname);
int acdbNameNil(const ads_name name);
}
