// adesk.h - basic integer types and the Boolean of the host API.
#pragma once
#include <cstdint>
#include <cstddef>

// The 32-bit types are fixed at 32 bits on every platform so that filed data keeps its width
// (the host's own headers use long, which is 64 bits wide on LP64 systems).
struct Adesk {
  typedef char Int8;
  typedef short Int16;
  typedef std::int32_t Int32;
  typedef unsigned char UInt8;
  typedef unsigned short UInt16;
  typedef std::uint32_t UInt32;
  typedef std::int64_t Int64;
  typedef std::uint64_t UInt64;
#ifdef Adesk_Boolean_is_bool
  typedef bool Boolean;
  static const bool kFalse = false;
  static const bool kTrue = true;
#else
  typedef int Boolean;
  enum { kFalse = 0, kTrue = 1 };
#endif
  typedef std::uintptr_t IntPtr;
  typedef long LongPtr;
  typedef unsigned long ULongPtr;
};

#ifndef NULL
#define NULL 0
#endif
