// acutmem.h - strings and buffers allocated by the host and freed by the caller.
#pragma once
#include <cstddef>
#include "acadstrc.h"

Acad::ErrorStatus acutNewString(const char* pInput, char*& pOutput);
Acad::ErrorStatus acutUpdString(const char* pInput, char*& pOutput);
Acad::ErrorStatus acutNewBuffer(char*& pOutput, size_t size);
void acutDelString(char*& pString);
inline void acutDelBuffer(char*& pBuffer) { acutDelString(pBuffer); }
