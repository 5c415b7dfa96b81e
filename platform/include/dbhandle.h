// dbhandle.h - AcDbHandle, the persistent 64-bit name of an object within its drawing.
#pragma once
#include "adesk.h"

class AcDbHandle {
public:
  // Starts null (the host leaves it undefined; a defined value costs nothing and is safer).
  AcDbHandle() : mLow(0), mHigh(0) {}
  AcDbHandle(int lo, int hi) : mLow(static_cast<Adesk::UInt32>(lo)), mHigh(static_cast<Adesk::UInt32>(hi)) {}
  // From hexadecimal text; text that is not a handle gives the null handle.
  AcDbHandle(const char* hexText);

  AcDbHandle& operator=(const AcDbHandle& other) { mLow = other.mLow; mHigh = other.mHigh; return *this; }
  AcDbHandle& operator=(const char* hexText);
  AcDbHandle& operator=(Adesk::UInt32 value) { mLow = value; mHigh = 0; return *this; }
  AcDbHandle(const AcDbHandle& other) = default;

  // Writes the handle as upper-case hexadecimal without leading zeros ("0" when null).
  // The buffer needs room for 17 characters.
  void getIntoAsciiBuffer(char* pBuf) const;

  bool operator==(const AcDbHandle& other) const { return mLow == other.mLow && mHigh == other.mHigh; }
  bool operator!=(const AcDbHandle& other) const { return !(*this == other); }
  bool operator<(const AcDbHandle& other) const { return compare(other) < 0; }
  bool operator>(const AcDbHandle& other) const { return compare(other) > 0; }
  bool operator<=(const AcDbHandle& other) const { return compare(other) <= 0; }
  bool operator>=(const AcDbHandle& other) const { return compare(other) >= 0; }
  int compare(const AcDbHandle& other) const {
    if (mHigh != other.mHigh) return mHigh < other.mHigh ? -1 : 1;
    if (mLow != other.mLow) return mLow < other.mLow ? -1 : 1;
    return 0;
  }

  bool isNull() const { return mLow == 0 && mHigh == 0; }
  void setNull() { mLow = 0; mHigh = 0; }
  Adesk::UInt32 low() const { return mLow; }
  Adesk::UInt32 high() const { return mHigh; }
  void setLow(Adesk::UInt32 low) { mLow = low; }
  void setHigh(Adesk::UInt32 high) { mHigh = high; }

  AcDbHandle& operator++() { increment(); return *this; }
  AcDbHandle operator++(int) { AcDbHandle old(*this); increment(); return old; }
  void increment() { if (++mLow == 0) ++mHigh; }
  AcDbHandle operator+(const AcDbHandle& other) const {
    Adesk::UInt64 sum = value() + other.value();
    return fromValue(sum);
  }
  operator Adesk::UInt32() const { return mLow; }

  // Platform helpers: the whole 64-bit value.
  Adesk::UInt64 value() const { return (static_cast<Adesk::UInt64>(mHigh) << 32) | mLow; }
  static AcDbHandle fromValue(Adesk::UInt64 v) {
    return AcDbHandle(static_cast<int>(v & 0xffffffffu), static_cast<int>(v >> 32));
  }

private:
  Adesk::UInt32 mLow;
  Adesk::UInt32 mHigh;
};
