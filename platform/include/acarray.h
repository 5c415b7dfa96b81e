// acarray.h - AcArray<T>, the host's growable array (a thin layer over std::vector).
#pragma once
#include <vector>
#include <algorithm>
#include "adesk.h"

template <class T>
class AcArray {
public:
  AcArray(int initPhysicalLength = 0, int initGrowLength = 8) : mGrowLength(initGrowLength) {
    if (initPhysicalLength > 0) mData.reserve(static_cast<size_t>(initPhysicalLength));
  }
  AcArray(const AcArray& other) = default;
  AcArray& operator=(const AcArray& other) = default;
  ~AcArray() {}

  bool operator==(const AcArray& other) const { return mData == other.mData; }

  T& operator[](int i) { return mData[static_cast<size_t>(i)]; }
  const T& operator[](int i) const { return mData[static_cast<size_t>(i)]; }
  T& at(int i) { return mData.at(static_cast<size_t>(i)); }
  const T& at(int i) const { return mData.at(static_cast<size_t>(i)); }
  AcArray& setAt(int i, const T& value) { mData.at(static_cast<size_t>(i)) = value; return *this; }
  AcArray& set(int i, const T& value) { return setAt(i, value); }
  T& first() { return mData.front(); }
  const T& first() const { return mData.front(); }
  T& last() { return mData.back(); }
  const T& last() const { return mData.back(); }

  int append(const T& value) { mData.push_back(value); return length() - 1; }
  AcArray& append(const AcArray& other) {
    mData.insert(mData.end(), other.mData.begin(), other.mData.end());
    return *this;
  }
  AcArray& insertAt(int index, const T& value) {
    mData.insert(mData.begin() + index, value);
    return *this;
  }
  AcArray& removeAt(int index) { mData.erase(mData.begin() + index); return *this; }
  bool remove(const T& value, int start = 0) {
    int i = 0;
    if (!find(value, i, start)) return false;
    removeAt(i);
    return true;
  }
  AcArray& removeFirst() { return removeAt(0); }
  AcArray& removeLast() { mData.pop_back(); return *this; }
  AcArray& removeSubArray(int startIndex, int endIndex) {
    mData.erase(mData.begin() + startIndex, mData.begin() + endIndex + 1);
    return *this;
  }
  bool contains(const T& value, int start = 0) const { int i; return find(value, i, start); }
  bool find(const T& value, int& foundAt, int start = 0) const {
    for (size_t i = static_cast<size_t>(start); i < mData.size(); ++i) {
      if (mData[i] == value) { foundAt = static_cast<int>(i); return true; }
    }
    return false;
  }
  int find(const T& value) const { int i = -1; find(value, i, 0); return i; }
  int findFrom(const T& value, int start) const { int i = -1; find(value, i, start); return i; }

  int length() const { return static_cast<int>(mData.size()); }
  int logicalLength() const { return length(); }
  AcArray& setLogicalLength(int n) { mData.resize(static_cast<size_t>(n)); return *this; }
  int physicalLength() const { return static_cast<int>(mData.capacity()); }
  AcArray& setPhysicalLength(int n) {
    if (n < length()) mData.resize(static_cast<size_t>(n));
    mData.reserve(static_cast<size_t>(n));
    return *this;
  }
  int growLength() const { return mGrowLength; }
  AcArray& setGrowLength(int n) { mGrowLength = n; return *this; }
  bool isEmpty() const { return mData.empty(); }
  AcArray& removeAll() { mData.clear(); return *this; }
  AcArray& reverse() { std::reverse(mData.begin(), mData.end()); return *this; }
  AcArray& swap(int i1, int i2) { std::swap(mData[static_cast<size_t>(i1)], mData[static_cast<size_t>(i2)]); return *this; }

  T* asArrayPtr() { return mData.data(); }
  const T* asArrayPtr() const { return mData.data(); }

  // Platform convenience: iteration with range-for.
  typename std::vector<T>::iterator begin() { return mData.begin(); }
  typename std::vector<T>::iterator end() { return mData.end(); }
  typename std::vector<T>::const_iterator begin() const { return mData.begin(); }
  typename std::vector<T>::const_iterator end() const { return mData.end(); }

private:
  std::vector<T> mData;
  int mGrowLength;
};
