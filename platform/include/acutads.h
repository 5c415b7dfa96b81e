// acutads.h - ADS utility functions: command-line output and result-buffer lists.
#pragma once
#include "adsdef.h"

extern "C" {
int acutPrintf(const char* format, ...);
struct resbuf* acutNewRb(int v);
int acutRelRb(struct resbuf* rb);
struct resbuf* acutBuildList(int rtype, ...);
}
