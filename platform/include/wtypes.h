// wtypes.h - Win32 base types (the host's command and document headers include this).
#pragma once
#include "windef.h"
