// afx_ddx.cpp - dialog data exchange and validation. Numbers are read as MFC reads them
// (leading and trailing blanks allowed, nothing else), in the process's numeric locale, and
// written with "%d" and "%.15g"; a refused entry shows MFC's prompt in a message box and
// fails the exchange with the focus on the field.
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "afxwin.h"
#include "pf/windows.h"
#include "window_system.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(nullptr), m_bEditLastControl(FALSE) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND h = ::GetDlgItem(m_pDlgWnd ? m_pDlgWnd->m_hWnd : nullptr, nIDC);
  if (!h) {
    // A data exchange with a control the template does not have: a mismatch between the code
    // and the resource script. Say so and fail the exchange rather than touching nothing.
    pf::uiPrint("*** Data exchange: the dialog has no control with id " + std::to_string(nIDC));
    AfxThrowNotSupportedException();
  }
  m_hWndLastControl = h;
  m_bEditLastControl = FALSE;
  return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND h = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return h;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

namespace {

std::string windowText(HWND h) {
  pf::ui::Window* w = pf::ui::findWindowNoOops(h);
  return w ? w->text : std::string();
}

void setWindowText(HWND h, const std::string& s) { ::SetWindowTextA(h, s.c_str()); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// An integer with optional blanks around it; false for anything else or a value that does not
// fit between lo and hi.
bool parseInteger(const std::string& text, long long lo, long long hi, long long& value) {
  const char* s = text.c_str();
  while (isBlank(*s)) ++s;
  if (!*s) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(s, &end, 10);
  if (end == s || errno == ERANGE) return false;
  while (isBlank(*end)) ++end;
  if (*end) return false;
  if (v < lo || v > hi) return false;
  value = v;
  return true;
}

bool parseUnsigned(const std::string& text, unsigned long long hi, unsigned long long& value) {
  const char* s = text.c_str();
  while (isBlank(*s)) ++s;
  if (!*s || *s == '-') return false;
  errno = 0;
  char* end = nullptr;
  unsigned long long v = std::strtoull(s, &end, 10);
  if (end == s || errno == ERANGE) return false;
  while (isBlank(*end)) ++end;
  if (*end || v > hi) return false;
  value = v;
  return true;
}

// A decimal number (no "nan", "inf" or hexadecimal forms, which the host's runtime never read).
bool parseReal(const std::string& text, double& value) {
  const char* s = text.c_str();
  while (isBlank(*s)) ++s;
  const char* p = s;
  if (*p == '+' || *p == '-') ++p;
  if (!((*p >= '0' && *p <= '9') || *p == '.' || *p == ',')) return false;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return false;
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(s, &end);
  if (end == s || errno == ERANGE) return false;
  while (isBlank(*end)) ++end;
  if (*end) return false;
  value = v;
  return true;
}

[[noreturn]] void failWithPrompt(CDataExchange* pDX, UINT prompt) {
  AfxMessageBox(prompt, MB_ICONEXCLAMATION, prompt);
  pDX->Fail();
}

template <class T>
void exchangeSigned(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi, UINT prompt) {
  HWND h = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    long long v = 0;
    if (!parseInteger(windowText(h), lo, hi, v)) failWithPrompt(pDX, prompt);
    value = static_cast<T>(v);
  } else {
    setWindowText(h, std::to_string(static_cast<long long>(value)));
  }
}

template <class T>
void exchangeUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long long hi, UINT prompt) {
  HWND h = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    unsigned long long v = 0;
    if (!parseUnsigned(windowText(h), hi, v)) failWithPrompt(pDX, prompt);
    value = static_cast<T>(v);
  } else {
    setWindowText(h, std::to_string(static_cast<unsigned long long>(value)));
  }
}

std::string formatReal(double v, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*g", digits, v);
  return buf;
}

// The range prompt of a DDV function (only when saving: initial data out of range is shown).
void failMinMax(CDataExchange* pDX, const std::string& minText, const std::string& maxText, UINT prompt) {
  if (!pDX->m_bSaveAndValidate) return;
  CString message;
  AfxFormatString2(message, prompt, minText.c_str(), maxText.c_str());
  AfxMessageBox(message, MB_ICONEXCLAMATION, prompt);
  pDX->Fail();
}

}  // namespace

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
  exchangeSigned(pDX, nIDC, value, 0, 255, AFX_IDP_PARSE_BYTE);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value) {
  exchangeSigned(pDX, nIDC, value, SHRT_MIN, SHRT_MAX, AFX_IDP_PARSE_INT);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  exchangeSigned(pDX, nIDC, value, INT_MIN, INT_MAX, AFX_IDP_PARSE_INT);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
  // MFC's long is 32 bits.
  exchangeSigned(pDX, nIDC, value, INT32_MIN, INT32_MAX, AFX_IDP_PARSE_INT);
}
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  exchangeUnsigned(pDX, nIDC, value, UINT_MAX, AFX_IDP_PARSE_UINT);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND h = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = windowText(h).c_str();
  } else {
    ::SetWindowTextA(h, value);
  }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
  HWND h = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    double v = 0;
    if (!parseReal(windowText(h), v)) failWithPrompt(pDX, AFX_IDP_PARSE_REAL);
    value = v;
  } else {
    setWindowText(h, formatReal(value, DBL_DIG));
  }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value) {
  HWND h = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    double v = 0;
    if (!parseReal(windowText(h), v) || v > FLT_MAX || v < -FLT_MAX) failWithPrompt(pDX, AFX_IDP_PARSE_REAL);
    value = static_cast<float>(v);
  } else {
    setWindowText(h, formatReal(value, FLT_DIG));
  }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageA(h, BM_GETCHECK, 0, 0));
  } else {
    if (value < 0 || value > 2) value = 0;  // MFC resets a value that is no check state
    ::SendMessageA(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND first = pDX->PrepareCtrl(nIDC);
  pf::ui::Window* parent = pf::ui::findWindowNoOops(::GetParent(first));
  if (!parent) return;
  // The group runs from the first button to the next control with WS_GROUP.
  std::vector<HWND> group;
  bool in = false;
  for (HWND c : parent->children) {
    pf::ui::Window* w = pf::ui::findWindowNoOops(c);
    if (!w) continue;
    if (c == first) in = true;
    else if (in && (w->style & WS_GROUP)) break;
    if (in && w->kind == pf::ui::Kind::Button) group.push_back(c);
  }
  if (pDX->m_bSaveAndValidate) value = -1;
  for (size_t i = 0; i < group.size(); ++i) {
    if (pDX->m_bSaveAndValidate) {
      if (::SendMessageA(group[i], BM_GETCHECK, 0, 0)) value = static_cast<int>(i);
    } else {
      ::SendMessageA(group[i], BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    int i = static_cast<int>(::SendMessageA(h, LB_GETCURSEL, 0, 0));
    if (i < 0) {
      value.Empty();
      return;
    }
    int n = static_cast<int>(::SendMessageA(h, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
    ::SendMessageA(h, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(value.GetBuffer(n)));
    value.ReleaseBuffer();
  } else {
    ::SendMessageA(h, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
  }
}

void AFXAPI DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  if (pDX->m_bSaveAndValidate) {
    DDX_LBString(pDX, nIDC, value);
    return;
  }
  HWND h = pDX->PrepareCtrl(nIDC);
  LRESULT i = ::SendMessageA(h, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
  if (i >= 0) ::SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) index = static_cast<int>(::SendMessageA(h, LB_GETCURSEL, 0, 0));
  else ::SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(static_cast<INT_PTR>(index)), 0);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = windowText(h).c_str();
  } else {
    LRESULT i = ::SendMessageA(h, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
    if (i < 0) ::SetWindowTextA(h, value);
  }
}

void AFXAPI DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = windowText(h).c_str();
  } else {
    LRESULT i = ::SendMessageA(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
    if (i >= 0) ::SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    else ::SetWindowTextA(h, value);
  }
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) index = static_cast<int>(::SendMessageA(h, CB_GETCURSEL, 0, 0));
  else ::SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(static_cast<INT_PTR>(index)), 0);
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd != nullptr) return;  // attached by an earlier exchange
  HWND h = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(h)) {
    pf::uiPrint("*** Data exchange: control " + std::to_string(nIDC) + " is already attached to another object");
    AfxThrowNotSupportedException();
  }
}

void AFXAPI DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
  if (value < minVal || value > maxVal) failMinMax(pDX, std::to_string(minVal), std::to_string(maxVal), AFX_IDP_PARSE_INT_RANGE);
}
void AFXAPI DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal) {
  if (value < minVal || value > maxVal) failMinMax(pDX, std::to_string(minVal), std::to_string(maxVal), AFX_IDP_PARSE_INT_RANGE);
}
void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (value < minVal || value > maxVal) failMinMax(pDX, std::to_string(minVal), std::to_string(maxVal), AFX_IDP_PARSE_INT_RANGE);
}
void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
  if (value < minVal || value > maxVal) failMinMax(pDX, std::to_string(minVal), std::to_string(maxVal), AFX_IDP_PARSE_INT_RANGE);
}
void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  if (value < minVal || value > maxVal) failMinMax(pDX, std::to_string(minVal), std::to_string(maxVal), AFX_IDP_PARSE_INT_RANGE);
}
void AFXAPI DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal) {
  if (value < minVal || value > maxVal)
    failMinMax(pDX, formatReal(minVal, FLT_DIG), formatReal(maxVal, FLT_DIG), AFX_IDP_PARSE_REAL_RANGE);
}
void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal) {
  // A NaN is in no range.
  if (!(value >= minVal && value <= maxVal))
    failMinMax(pDX, formatReal(minVal, DBL_DIG), formatReal(maxVal, DBL_DIG), AFX_IDP_PARSE_REAL_RANGE);
}
void AFXAPI DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars) {
  if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
    CString message;
    AfxFormatString1(message, AFX_IDP_PARSE_STRING_SIZE, std::to_string(nChars).c_str());
    AfxMessageBox(message, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
    pDX->Fail();
  } else if (!pDX->m_bSaveAndValidate && pDX->m_hWndLastControl && pDX->m_bEditLastControl) {
    ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
  }
}
