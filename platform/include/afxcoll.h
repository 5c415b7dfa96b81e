// afxcoll.h - MFC's growable arrays of strings, pointers and objects (CStringArray, CPtrArray,
// CObArray), with MFC's index-based interface. afx.h (and so afxwin.h) includes it.
#pragma once
#include <vector>

#include "afx.h"

namespace pf_afx {

// The shared implementation: an index-checked vector with MFC's SetSize/Add/InsertAt family.
// An index out of range is a programming error; the access throws CNotSupportedException
// instead of reading past the end.
template <class T, class ARG>
class Array : public CObject {
 public:
  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_data.empty(); }
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    (void)nGrowBy;
    if (nNewSize < 0) AfxThrowNotSupportedException();
    m_data.resize(static_cast<size_t>(nNewSize));
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }

  T GetAt(INT_PTR nIndex) const { return m_data[check(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG newElement) { m_data[check(nIndex)] = newElement; }
  T& ElementAt(INT_PTR nIndex) { return m_data[check(nIndex)]; }
  const T* GetData() const { return m_data.data(); }
  T* GetData() { return m_data.data(); }
  T operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  T& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

  void SetAtGrow(INT_PTR nIndex, ARG newElement) {
    if (nIndex < 0) AfxThrowNotSupportedException();
    if (nIndex >= GetSize()) m_data.resize(static_cast<size_t>(nIndex) + 1);
    m_data[static_cast<size_t>(nIndex)] = newElement;
  }
  INT_PTR Add(ARG newElement) {
    m_data.push_back(newElement);
    return GetSize() - 1;
  }
  INT_PTR Append(const Array& src) {
    INT_PTR old = GetSize();
    m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
    return old;
  }
  void Copy(const Array& src) { m_data = src.m_data; }
  void InsertAt(INT_PTR nIndex, ARG newElement, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0) AfxThrowNotSupportedException();
    if (nIndex > GetSize()) m_data.resize(static_cast<size_t>(nIndex));
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), T(newElement));
  }
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0 || nIndex + nCount > GetSize()) AfxThrowNotSupportedException();
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
  }

 private:
  size_t check(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= GetSize()) AfxThrowNotSupportedException();
    return static_cast<size_t>(nIndex);
  }
  std::vector<T> m_data;
};

}  // namespace pf_afx

class CStringArray : public pf_afx::Array<CString, LPCTSTR> {
  DECLARE_DYNAMIC(CStringArray)
 public:
  CStringArray() = default;
  using pf_afx::Array<CString, LPCTSTR>::Add;
  INT_PTR Add(const CString& newElement) { return pf_afx::Array<CString, LPCTSTR>::Add(LPCTSTR(newElement)); }
};

class CPtrArray : public pf_afx::Array<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)
 public:
  CPtrArray() = default;
};

class CObArray : public pf_afx::Array<CObject*, CObject*> {
  DECLARE_DYNAMIC(CObArray)
 public:
  CObArray() = default;
};
