// afx_core.cpp - CObject and run-time classes, MFC exceptions, CString, and MFC's own string
// table (the data-exchange prompts).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <strings.h>
#include <vector>

#include "afx.h"
#include "afxwin.h"
#include "pf/resources.h"

// ---- Run-time classes ------------------------------------------------------------------------

CObject* CRuntimeClass::CreateObject() { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
    if (c == pBaseClass) return TRUE;
  return FALSE;
}

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};
CObject::CObject() = default;
CObject::~CObject() = default;
CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }
BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }
void CObject::AssertValid() const {}

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CStringArray, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CObArray, CObject)

CException::CException() = default;
void CException::Delete() { delete this; }
BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError && nMaxError > 0) lpszError[0] = '\0';
  return FALSE;
}

void AFXAPI AfxThrowUserException() { throw new CUserException; }
void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException; }

// ---- MFC's own strings -----------------------------------------------------------------------

namespace pf {
namespace ui {
// The prompts MFC keeps in its own resources; found after every module's string table.
bool mfcString(UINT id, std::string& text) {
  static const std::map<UINT, const char*> table = {
      {AFX_IDP_PARSE_INT, "Please enter an integer."},
      {AFX_IDP_PARSE_REAL, "Please enter a number."},
      {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2."},
      {AFX_IDP_PARSE_REAL_RANGE, "Please enter a number between %1 and %2."},
      {AFX_IDP_PARSE_STRING_SIZE, "Please enter no more than %1 characters."},
      {AFX_IDP_PARSE_RADIO_BUTTON, "Please select a button."},
      {AFX_IDP_PARSE_BYTE, "Please enter an integer between 0 and 255."},
      {AFX_IDP_PARSE_UINT, "Please enter a positive integer."},
  };
  auto it = table.find(id);
  if (it == table.end()) return false;
  text = it->second;
  return true;
}
}  // namespace ui
}  // namespace pf

// ---- CString ---------------------------------------------------------------------------------

CString::CString() = default;
CString::CString(const CString& stringSrc) = default;
CString::CString(TCHAR ch, int nRepeat) : m_str(static_cast<size_t>(std::max(nRepeat, 0)), ch) {}
CString::CString(LPCTSTR lpsz) {
  if (lpsz && IS_INTRESOURCE(lpsz)) {
    LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpsz)));
  } else if (lpsz) {
    m_str = lpsz;
  }
}
CString::CString(LPCTSTR lpch, int nLength) {
  if (lpch && nLength > 0) m_str.assign(lpch, static_cast<size_t>(nLength));
}
CString::CString(const unsigned char* psz) : CString(reinterpret_cast<LPCTSTR>(psz)) {}
CString::~CString() = default;

int CString::GetLength() const { return static_cast<int>(std::strlen(m_str.c_str())); }
BOOL CString::IsEmpty() const { return GetLength() == 0; }
void CString::Empty() { m_str.clear(); }
TCHAR CString::GetAt(int nIndex) const {
  return (nIndex >= 0 && nIndex < static_cast<int>(m_str.size())) ? m_str[static_cast<size_t>(nIndex)] : '\0';
}
TCHAR CString::operator[](int nIndex) const { return GetAt(nIndex); }
void CString::SetAt(int nIndex, TCHAR ch) {
  if (nIndex >= 0 && nIndex < static_cast<int>(m_str.size())) m_str[static_cast<size_t>(nIndex)] = ch;
}
CString::operator LPCTSTR() const { return m_str.c_str(); }

const CString& CString::operator=(const CString& stringSrc) {
  if (this != &stringSrc) m_str = stringSrc.m_str;
  return *this;
}
const CString& CString::operator=(TCHAR ch) {
  m_str.assign(1, ch);
  return *this;
}
const CString& CString::operator=(LPCTSTR lpsz) {
  // lpsz may point into this string's own text.
  std::string copy = lpsz ? lpsz : "";
  m_str.swap(copy);
  return *this;
}
const CString& CString::operator=(const unsigned char* psz) { return *this = reinterpret_cast<LPCTSTR>(psz); }
const CString& CString::operator+=(const CString& string) {
  m_str += string.m_str.c_str();
  return *this;
}
const CString& CString::operator+=(TCHAR ch) {
  m_str += ch;
  return *this;
}
const CString& CString::operator+=(LPCTSTR lpsz) {
  if (lpsz) m_str += std::string(lpsz);
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, TCHAR ch) {
  CString r(a);
  r += ch;
  return r;
}
CString operator+(TCHAR ch, const CString& b) {
  CString r(ch);
  r += b;
  return r;
}
CString operator+(const CString& a, LPCTSTR b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(LPCTSTR a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

int CString::Compare(LPCTSTR lpsz) const { return std::strcmp(m_str.c_str(), lpsz ? lpsz : ""); }
int CString::CompareNoCase(LPCTSTR lpsz) const { return strcasecmp(m_str.c_str(), lpsz ? lpsz : ""); }
int CString::Collate(LPCTSTR lpsz) const { return std::strcoll(m_str.c_str(), lpsz ? lpsz : ""); }
int CString::CollateNoCase(LPCTSTR lpsz) const {
  CString a(*this), b(lpsz);
  a.MakeLower();
  b.MakeLower();
  return a.Collate(b);
}

CString CString::Mid(int nFirst, int nCount) const {
  int len = GetLength();
  nFirst = std::max(0, std::min(nFirst, len));
  nCount = std::max(0, std::min(nCount, len - nFirst));
  return CString(m_str.c_str() + nFirst, nCount);
}
CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }
CString CString::Left(int nCount) const { return Mid(0, nCount); }
CString CString::Right(int nCount) const {
  int len = GetLength();
  nCount = std::max(0, std::min(nCount, len));
  return Mid(len - nCount, nCount);
}
CString CString::SpanIncluding(LPCTSTR set) const {
  return Left(static_cast<int>(std::strspn(m_str.c_str(), set ? set : "")));
}
CString CString::SpanExcluding(LPCTSTR set) const {
  return Left(static_cast<int>(std::strcspn(m_str.c_str(), set ? set : "")));
}

void CString::MakeUpper() {
  for (char& c : m_str) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
void CString::MakeLower() {
  for (char& c : m_str) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
void CString::MakeReverse() { std::reverse(m_str.begin(), m_str.end()); }

int CString::Replace(TCHAR chOld, TCHAR chNew) {
  int n = 0;
  for (char& c : m_str)
    if (c == chOld) {
      c = chNew;
      ++n;
    }
  return n;
}
int CString::Replace(LPCTSTR lpszOld, LPCTSTR lpszNew) {
  if (!lpszOld || !*lpszOld) return 0;
  std::string from = lpszOld, to = lpszNew ? lpszNew : "";
  int n = 0;
  size_t pos = 0;
  while ((pos = m_str.find(from, pos)) != std::string::npos) {
    m_str.replace(pos, from.size(), to);
    pos += to.size();
    ++n;
  }
  return n;
}
int CString::Remove(TCHAR ch) {
  size_t before = m_str.size();
  m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
  return static_cast<int>(before - m_str.size());
}
int CString::Insert(int nIndex, TCHAR ch) {
  nIndex = std::max(0, std::min(nIndex, GetLength()));
  m_str.insert(static_cast<size_t>(nIndex), 1, ch);
  return GetLength();
}
int CString::Insert(int nIndex, LPCTSTR pstr) {
  nIndex = std::max(0, std::min(nIndex, GetLength()));
  if (pstr) m_str.insert(static_cast<size_t>(nIndex), std::string(pstr));
  return GetLength();
}
int CString::Delete(int nIndex, int nCount) {
  int len = GetLength();
  if (nIndex >= 0 && nIndex < len && nCount > 0)
    m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(std::min(nCount, len - nIndex)));
  return GetLength();
}

namespace {
bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
}  // namespace

void CString::TrimRight() {
  while (!m_str.empty() && isSpace(m_str.back())) m_str.pop_back();
}
void CString::TrimRight(TCHAR chTarget) {
  while (!m_str.empty() && m_str.back() == chTarget) m_str.pop_back();
}
void CString::TrimRight(LPCTSTR lpszTargets) {
  std::string set = lpszTargets ? lpszTargets : "";
  while (!m_str.empty() && set.find(m_str.back()) != std::string::npos) m_str.pop_back();
}
void CString::TrimLeft() {
  size_t i = 0;
  while (i < m_str.size() && isSpace(m_str[i])) ++i;
  m_str.erase(0, i);
}
void CString::TrimLeft(TCHAR chTarget) {
  size_t i = 0;
  while (i < m_str.size() && m_str[i] == chTarget) ++i;
  m_str.erase(0, i);
}
void CString::TrimLeft(LPCTSTR lpszTargets) {
  std::string set = lpszTargets ? lpszTargets : "";
  size_t i = 0;
  while (i < m_str.size() && set.find(m_str[i]) != std::string::npos) ++i;
  m_str.erase(0, i);
}

int CString::Find(TCHAR ch) const { return Find(ch, 0); }
int CString::Find(TCHAR ch, int nStart) const {
  if (nStart < 0 || nStart >= GetLength()) return -1;
  const char* s = m_str.c_str();
  const char* p = std::strchr(s + nStart, ch);
  return p && ch ? static_cast<int>(p - s) : -1;
}
int CString::Find(LPCTSTR lpszSub) const { return Find(lpszSub, 0); }
int CString::Find(LPCTSTR lpszSub, int nStart) const {
  if (!lpszSub || nStart < 0 || nStart > GetLength()) return -1;
  const char* s = m_str.c_str();
  const char* p = std::strstr(s + nStart, lpszSub);
  return p ? static_cast<int>(p - s) : -1;
}
int CString::ReverseFind(TCHAR ch) const {
  const char* s = m_str.c_str();
  const char* p = std::strrchr(s, ch);
  return p && ch ? static_cast<int>(p - s) : -1;
}
int CString::FindOneOf(LPCTSTR set) const {
  const char* s = m_str.c_str();
  const char* p = std::strpbrk(s, set ? set : "");
  return p ? static_cast<int>(p - s) : -1;
}

void CString::FormatV(LPCTSTR lpszFormat, va_list argList) {
  if (!lpszFormat) {
    m_str.clear();
    return;
  }
  va_list copy;
  va_copy(copy, argList);
  int n = std::vsnprintf(nullptr, 0, lpszFormat, copy);
  va_end(copy);
  if (n < 0) {
    m_str.clear();
    return;
  }
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  std::vsnprintf(buf.data(), buf.size(), lpszFormat, argList);
  m_str.assign(buf.data(), static_cast<size_t>(n));
}

void CString::Format(LPCTSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

void CString::Format(UINT nFormatID, ...) {
  CString format;
  format.LoadString(nFormatID);
  va_list args;
  va_start(args, nFormatID);
  FormatV(format, args);
  va_end(args);
}

BOOL CString::LoadString(UINT nID) {
  std::string text;
  if (pf::findStringModuleNoOops(nID, &text) || pf::ui::mfcString(nID, text)) {
    m_str = text;
    return TRUE;
  }
  m_str.clear();
  return FALSE;
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > static_cast<int>(m_str.size())) m_str.resize(static_cast<size_t>(nMinBufLength));
  return &m_str[0];
}
void CString::ReleaseBuffer(int nNewLength) {
  size_t n = nNewLength < 0 ? std::strlen(m_str.c_str()) : static_cast<size_t>(nNewLength);
  m_str.resize(std::min(n, m_str.size()));
}
LPTSTR CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
  return &m_str[0];
}
void CString::FreeExtra() { m_str.shrink_to_fit(); }
LPTSTR CString::LockBuffer() { return &m_str[0]; }
void CString::UnlockBuffer() {}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, LPCTSTR b) { return a.Compare(b) != 0; }
bool operator!=(LPCTSTR a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCTSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCTSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, LPCTSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCTSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, LPCTSTR b) { return a.Compare(b) <= 0; }
bool operator<=(LPCTSTR a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, LPCTSTR b) { return a.Compare(b) >= 0; }
bool operator>=(LPCTSTR a, const CString& b) { return b.Compare(a) <= 0; }

namespace {
// Replaces %1..%9 by the arguments; other text is kept.
void formatMessage(CString& out, UINT nIDS, const std::vector<LPCTSTR>& args) {
  CString format;
  format.LoadString(nIDS);
  std::string src = static_cast<LPCTSTR>(format), dst;
  for (size_t i = 0; i < src.size(); ++i) {
    if (src[i] == '%' && i + 1 < src.size() && src[i + 1] >= '1' && src[i + 1] <= '9') {
      size_t k = static_cast<size_t>(src[i + 1] - '1');
      if (k < args.size() && args[k]) dst += args[k];
      ++i;
      continue;
    }
    dst += src[i];
  }
  out = dst.c_str();
}
}  // namespace

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1) { formatMessage(rString, nIDS, {lpsz1}); }
void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2) {
  formatMessage(rString, nIDS, {lpsz1, lpsz2});
}
