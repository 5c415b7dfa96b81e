// afx.h - the base of the MFC subset: CObject with run-time class information, exceptions,
// CString, and the helper macros MFC code is written with. afxwin.h includes it.
#pragma once
#pragma GCC system_header  // MFC-style casts in the macros below are intended

#include <cstdarg>
#include <string>

#include "windows.h"

#ifndef AFXAPI
#define AFXAPI
#endif
#define AFX_CDECL
#define AFX_DATA
#define AFX_EXT_CLASS
#define AFX_EXT_API
#define AFX_EXT_DATA
#define AFX_CORE_DATA
#define AFX_NOVTABLE
#define AFX_INLINE inline
#define AFX_STATIC static
#define AFX_COMDAT
#define DEBUG_NEW new

#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#define VERIFY(f) ((void)(f))
#define ASSERT_VALID(p) ((void)0)
#define ASSERT_KINDOF(class_name, object) ((void)0)
#define TRACE(...) ((void)0)
#define TRACE0(sz) ((void)0)
#define TRACE1(sz, p1) ((void)0)
#define TRACE2(sz, p1, p2) ((void)0)
#define TRACE3(sz, p1, p2, p3) ((void)0)
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))

class CObject;
class CArchive;

// Run-time class information (DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC / RUNTIME_CLASS).
struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;
  CObject* (*m_pfnCreateObject)();
  CRuntimeClass* m_pBaseClass;

  CObject* CreateObject();
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) ((CRuntimeClass*)(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)                \
 public:                                           \
  static const CRuntimeClass class##class_name;    \
  virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                         \
  const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class class_name), wSchema, \
                                                       pfnNew, RUNTIME_CLASS(base_class_name)};       \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)               \
  CObject* class_name::CreateObject() { return new class_name; }      \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

class CObject {
 public:
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject();
  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  virtual void AssertValid() const;
  static const CRuntimeClass classCObject;

 protected:
  CObject();

 private:
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};

// Exceptions are thrown by pointer and released with Delete(), as in MFC.
class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  CException();
  virtual void Delete();
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = NULL);
};

// Thrown by CDataExchange::Fail after the user has been told what is wrong.
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
};

class CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)
};

[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();

#define TRY try
#define CATCH(class_name, e) catch (class_name * e)
#define AND_CATCH(class_name, e) catch (class_name * e)
#define END_CATCH
#define CATCH_ALL(e) catch (CException * e)
#define AND_CATCH_ALL(e) catch (CException * e)
#define END_CATCH_ALL
#define THROW(e) throw e
#define THROW_LAST() throw

// CString: a narrow string with MFC's interface. The text lives in a std::string; GetBuffer
// hands out its storage for C-style writing until ReleaseBuffer.
class CString {
 public:
  CString();
  CString(const CString& stringSrc);
  CString(TCHAR ch, int nRepeat = 1);
  // A resource id made with MAKEINTRESOURCE loads that string, as in MFC.
  CString(LPCTSTR lpsz);
  CString(LPCTSTR lpch, int nLength);
  CString(const unsigned char* psz);
  ~CString();

  int GetLength() const;
  BOOL IsEmpty() const;
  void Empty();
  TCHAR GetAt(int nIndex) const;
  TCHAR operator[](int nIndex) const;
  void SetAt(int nIndex, TCHAR ch);
  operator LPCTSTR() const;

  const CString& operator=(const CString& stringSrc);
  const CString& operator=(TCHAR ch);
  const CString& operator=(LPCTSTR lpsz);
  const CString& operator=(const unsigned char* psz);
  const CString& operator+=(const CString& string);
  const CString& operator+=(TCHAR ch);
  const CString& operator+=(LPCTSTR lpsz);

  friend CString operator+(const CString& string1, const CString& string2);
  friend CString operator+(const CString& string, TCHAR ch);
  friend CString operator+(TCHAR ch, const CString& string);
  friend CString operator+(const CString& string, LPCTSTR lpsz);
  friend CString operator+(LPCTSTR lpsz, const CString& string);

  int Compare(LPCTSTR lpsz) const;
  int CompareNoCase(LPCTSTR lpsz) const;
  int Collate(LPCTSTR lpsz) const;
  int CollateNoCase(LPCTSTR lpsz) const;

  CString Mid(int nFirst, int nCount) const;
  CString Mid(int nFirst) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCTSTR lpszCharSet) const;
  CString SpanExcluding(LPCTSTR lpszCharSet) const;

  void MakeUpper();
  void MakeLower();
  void MakeReverse();
  int Replace(TCHAR chOld, TCHAR chNew);
  int Replace(LPCTSTR lpszOld, LPCTSTR lpszNew);
  int Remove(TCHAR chRemove);
  int Insert(int nIndex, TCHAR ch);
  int Insert(int nIndex, LPCTSTR pstr);
  int Delete(int nIndex, int nCount = 1);

  // White space is what isspace says; TrimLeft removes it from the start, TrimRight from the end.
  void TrimRight();
  void TrimRight(TCHAR chTarget);
  void TrimRight(LPCTSTR lpszTargets);
  void TrimLeft();
  void TrimLeft(TCHAR chTarget);
  void TrimLeft(LPCTSTR lpszTargets);

  int Find(TCHAR ch) const;
  int Find(TCHAR ch, int nStart) const;
  int Find(LPCTSTR lpszSub) const;
  int Find(LPCTSTR lpszSub, int nStart) const;
  int ReverseFind(TCHAR ch) const;
  int FindOneOf(LPCTSTR lpszCharSet) const;

  void Format(LPCTSTR lpszFormat, ...) __attribute__((format(printf, 2, 3)));
  void Format(UINT nFormatID, ...);
  void FormatV(LPCTSTR lpszFormat, va_list argList);

  // Loads entry nID of the string table of the current resource module (then of the extension
  // libraries and the host, as MFC searches). FALSE, and an empty string, when there is none.
  BOOL LoadString(UINT nID);

  LPTSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);
  LPTSTR GetBufferSetLength(int nNewLength);
  void FreeExtra();
  LPTSTR LockBuffer();
  void UnlockBuffer();

 private:
  std::string m_str;
};

bool AFXAPI operator==(const CString& s1, const CString& s2);
bool AFXAPI operator==(const CString& s1, LPCTSTR s2);
bool AFXAPI operator==(LPCTSTR s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, LPCTSTR s2);
bool AFXAPI operator!=(LPCTSTR s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, LPCTSTR s2);
bool AFXAPI operator<(LPCTSTR s1, const CString& s2);
bool AFXAPI operator>(const CString& s1, const CString& s2);
bool AFXAPI operator>(const CString& s1, LPCTSTR s2);
bool AFXAPI operator>(LPCTSTR s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, LPCTSTR s2);
bool AFXAPI operator<=(LPCTSTR s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, LPCTSTR s2);
bool AFXAPI operator>=(LPCTSTR s1, const CString& s2);

// "%1" and "%2" in a string-table entry replaced by the arguments (MFC's message format).
void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1);
void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2);

#include "afxcoll.h"
