// ads.h - the ADS C interface: editor, database and utility functions.
#pragma once
#include "adsdef.h"
#include "acedads.h"
#include "acdbads.h"
#include "acutads.h"
