// winreg.h - (filled in by its area of the platform)
#pragma once
#include "windef.h"
