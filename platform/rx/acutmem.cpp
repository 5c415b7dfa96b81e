// acutmem.cpp - strings and buffers the host allocates and the caller frees.
#include <cstring>
#include <new>
#include "acutmem.h"

Acad::ErrorStatus acutNewString(const char* pInput, char*& pOutput) {
  if (pInput == nullptr) {
    pOutput = nullptr;
    return Acad::eOk;
  }
  size_t n = std::strlen(pInput) + 1;
  pOutput = new (std::nothrow) char[n];
  if (pOutput == nullptr) return Acad::eOutOfMemory;
  std::memcpy(pOutput, pInput, n);
  return Acad::eOk;
}

Acad::ErrorStatus acutUpdString(const char* pInput, char*& pOutput) {
  char* fresh = nullptr;
  Acad::ErrorStatus es = acutNewString(pInput, fresh);
  if (es != Acad::eOk) return es;
  delete[] pOutput;
  pOutput = fresh;
  return Acad::eOk;
}

Acad::ErrorStatus acutNewBuffer(char*& pOutput, size_t size) {
  pOutput = new (std::nothrow) char[size == 0 ? 1 : size];
  return pOutput ? Acad::eOk : Acad::eOutOfMemory;
}

void acutDelString(char*& pString) {
  delete[] pString;
  pString = nullptr;
}
