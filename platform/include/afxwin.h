// afxwin.h - the MFC window classes of the platform's dialog toolkit: command targets with
// message maps, CWnd over the headless window system, the standard controls, CDialog with its
// modal loop handed to the host's dialog driver, data exchange and validation (afxdd_.h), the
// module state and the extension-library calls (afxdll_.h), and AfxMessageBox.
#pragma once
#pragma GCC system_header  // MFC-style member-function casts in the message-map macros

#include "afx.h"
#include "commctrl.h"

#define afx_msg
#define AFX_MSG_CALL

class CCmdTarget;
class CWnd;
class CDataExchange;

// ---- Geometry --------------------------------------------------------------------------------
class CPoint : public tagPOINT {
 public:
  CPoint() { x = y = 0; }
  CPoint(int initX, int initY) { x = initX; y = initY; }
  CPoint(POINT p) { x = p.x; y = p.y; }
  BOOL operator==(POINT p) const { return x == p.x && y == p.y; }
  BOOL operator!=(POINT p) const { return !(*this == p); }
};

class CSize : public tagSIZE {
 public:
  CSize() { cx = cy = 0; }
  CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
  BOOL operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
  BOOL operator!=(SIZE s) const { return !(*this == s); }
};

class CRect : public tagRECT {
 public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
  BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
};

// ---- Message maps ----------------------------------------------------------------------------
typedef void (AFX_MSG_CALL CCmdTarget::*AFX_PMSG)(void);

enum AfxSig {
  AfxSig_end = 0,
  AfxSig_vv,           // void ()
  AfxSigCmd_v,         // void () for commands and control notifications
  AfxSigCmd_RANGE,     // void (UINT id)
  AfxSigCmd_EX,        // BOOL (UINT id): FALSE lets the search go on
  AfxSigNotify_v,      // void (NMHDR*, LRESULT*)
  AfxSigNotify_RANGE,  // void (UINT id, NMHDR*, LRESULT*)
  AfxSig_lwl,          // LRESULT (WPARAM, LPARAM)
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nLastID;
  UINT_PTR nSig;
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define CN_COMMAND 0

// Turns a handler of a derived class into the map's uniform member pointer; the signature is
// checked here, so a handler of the wrong shape does not compile.
namespace pf_afx {
template <class T>
inline AFX_PMSG pmsgCommand(void (T::*f)()) { return static_cast<AFX_PMSG>(f); }
template <class T>
inline AFX_PMSG pmsgRange(void (T::*f)(UINT)) {
  return reinterpret_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)(UINT)>(f));
}
template <class T>
inline AFX_PMSG pmsgCommandEx(BOOL (T::*f)(UINT)) {
  return reinterpret_cast<AFX_PMSG>(static_cast<BOOL (CCmdTarget::*)(UINT)>(f));
}
template <class T>
inline AFX_PMSG pmsgNotify(void (T::*f)(NMHDR*, LRESULT*)) {
  return reinterpret_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(f));
}
template <class T>
inline AFX_PMSG pmsgNotifyRange(void (T::*f)(UINT, NMHDR*, LRESULT*)) {
  return reinterpret_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(f));
}
template <class T>
inline AFX_PMSG pmsgMessage(LRESULT (T::*f)(WPARAM, LPARAM)) {
  return reinterpret_cast<AFX_PMSG>(static_cast<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(f));
}
}  // namespace pf_afx

#define DECLARE_MESSAGE_MAP()                                   \
 private:                                                       \
  static const AFX_MSGMAP_ENTRY _messageEntries[];              \
                                                                \
 protected:                                                     \
  static const AFX_MSGMAP messageMap;                           \
  static const AFX_MSGMAP* _GetBaseMessageMap();                \
  virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
  const AFX_MSGMAP* theClass::_GetBaseMessageMap() { return &baseClass::messageMap; }              \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return &theClass::messageMap; }              \
  const AFX_MSGMAP theClass::messageMap = {&theClass::_GetBaseMessageMap, &theClass::_messageEntries[0]}; \
  const AFX_MSGMAP_ENTRY theClass::_messageEntries[] = {

#define END_MESSAGE_MAP() {0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0} };

// Handlers are named as in MFC 4.2: OnClicked or CMyDialog::OnClicked.
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_v, ::pf_afx::pmsgCommand(&memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE, ::pf_afx::pmsgRange(&memberFxn)},
#define ON_COMMAND_EX(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_EX, ::pf_afx::pmsgCommandEx(&memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
  {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigCmd_v, ::pf_afx::pmsgCommand(&memberFxn)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
  {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE, ::pf_afx::pmsgRange(&memberFxn)},
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
  {WM_NOTIFY, (UINT)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_v, ::pf_afx::pmsgNotify(&memberFxn)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
  {WM_NOTIFY, (UINT)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_RANGE, ::pf_afx::pmsgNotifyRange(&memberFxn)},
#define ON_MESSAGE(message, memberFxn) \
  {(UINT)(message), 0, 0, 0, AfxSig_lwl, ::pf_afx::pmsgMessage(&memberFxn)},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)

// ---- Command targets and windows -------------------------------------------------------------
class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget();
  // Routes a command or control notification through the message map chain; TRUE if a
  // handler took it.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

 protected:
  static const AFX_MSGMAP messageMap;
  static const AFX_MSGMAP* _GetBaseMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
  // The first entry of the chain for (message, code, id), or null.
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

 private:
  static const AFX_MSGMAP_ENTRY _messageEntries[];
};

class CWnd : public CCmdTarget {
  DECLARE_DYNAMIC(CWnd)
 public:
  HWND m_hWnd;

  CWnd();
  virtual ~CWnd();

  // The permanent object attached to the window, or a wrapper the window system keeps until
  // the window is destroyed. NULL for NULL or a handle that names no window.
  static CWnd* PASCAL FromHandle(HWND hWnd);
  static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
  // MFC code calls these on a possibly null pointer (FromHandle(NULL)->GetSafeHwnd()).
  HWND GetSafeHwnd() const {
    const CWnd* volatile self = this;
    return self == NULL ? NULL : self->m_hWnd;
  }
  operator HWND() const { return GetSafeHwnd(); }

  // Attaching: the object receives the window's messages (message map, virtual handlers).
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();
  virtual BOOL DestroyWindow();

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  CWnd* GetDlgItem(int nID) const;
  void GetDlgItem(int nID, HWND* phWnd) const;
  int GetDlgCtrlID() const;
  CWnd* GetParent() const;
  CWnd* GetOwner() const { return GetParent(); }
  void SetDlgItemText(int nID, LPCTSTR lpszString);
  int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
  int GetDlgItemText(int nID, CString& rString) const;
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const;
  void CheckDlgButton(int nIDButton, UINT nCheck);
  UINT IsDlgButtonChecked(int nIDButton) const;
  void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
  int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  void SetWindowText(LPCTSTR lpszString);
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const;

  BOOL EnableWindow(BOOL bEnable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL ShowWindow(int nCmdShow);
  BOOL IsWindowVisible() const;
  CWnd* SetFocus();
  static CWnd* PASCAL GetFocus();
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  void GetWindowRect(LPRECT lpRect) const;
  void GetClientRect(LPRECT lpRect) const;
  // Nothing is drawn by a headless host; these keep MFC code that calls them working.
  void CenterWindow(CWnd* pAlternateOwner = NULL) { (void)pAlternateOwner; }
  void Invalidate(BOOL bErase = TRUE) { (void)bErase; }
  void UpdateWindow() {}

  int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK);

  // Data exchange between members and controls: DoDataExchange with a CDataExchange; FALSE
  // when a validation failed (the user has been told, the focus is on the field).
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

  // Message handling, in the order a message goes through.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual void PreSubclassWindow();
  virtual void PostNcDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  friend class CDataExchange;
  friend struct pf_afx_window_link;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
};

// ---- Controls --------------------------------------------------------------------------------
class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)
 public:
  CStatic() = default;
};

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)
 public:
  CButton() = default;
  int GetCheck() const;
  void SetCheck(int nCheck);
  UINT GetState() const;
  void SetState(BOOL bHighlight);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
};

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
 public:
  CEdit() = default;
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
  void GetSel(int& nStartChar, int& nEndChar) const;
  void LimitText(int nChars = 0);
  void SetLimitText(UINT nMax);
  UINT GetLimitText() const;
  BOOL SetReadOnly(BOOL bReadOnly = TRUE);
  BOOL GetModify() const;
  void SetModify(BOOL bModified = TRUE);
};

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)
 public:
  CListBox() = default;
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int nSelect);
  int GetSel(int nIndex) const;
  int GetTopIndex() const;
  int SetTopIndex(int nIndex);
  DWORD_PTR GetItemData(int nIndex) const;
  int SetItemData(int nIndex, DWORD_PTR dwItemData);
  int GetText(int nIndex, LPTSTR lpszBuffer) const;
  void GetText(int nIndex, CString& rString) const;
  int GetTextLen(int nIndex) const;
  int AddString(LPCTSTR lpszItem);
  int DeleteString(UINT nIndex);
  int InsertString(int nIndex, LPCTSTR lpszItem);
  void ResetContent();
  int FindString(int nStartAfter, LPCTSTR lpszItem) const;
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
  int SelectString(int nStartAfter, LPCTSTR lpszItem);
};

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)
 public:
  CComboBox() = default;
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int nSelect);
  DWORD_PTR GetItemData(int nIndex) const;
  int SetItemData(int nIndex, DWORD_PTR dwItemData);
  int GetLBText(int nIndex, LPTSTR lpszText) const;
  void GetLBText(int nIndex, CString& rString) const;
  int GetLBTextLen(int nIndex) const;
  BOOL LimitText(int nMaxChars);
  int AddString(LPCTSTR lpszString);
  int DeleteString(UINT nIndex);
  int InsertString(int nIndex, LPCTSTR lpszString);
  void ResetContent();
  int FindString(int nStartAfter, LPCTSTR lpszString) const;
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
  int SelectString(int nStartAfter, LPCTSTR lpszString);
};

// ---- Dialogs ---------------------------------------------------------------------------------
class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog();
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
  virtual ~CDialog();

  // Builds the dialog from its template (in the current resource module unless a module was
  // given), runs OnInitDialog, hands the dialog to the host's dialog driver and answers the
  // end code: IDOK, IDCANCEL, what EndDialog was given, or -1 when the template is missing.
  virtual int DoModal();
  void EndDialog(int nResult);
  virtual BOOL OnInitDialog();

  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void SetDefID(UINT nID);
  DWORD GetDefID() const;

  UINT m_nIDHelp;
  LPCTSTR m_lpszTemplateName;
  CWnd* m_pParentWnd;

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // The module whose resource script holds the template; NULL: MFC's search.
  HINSTANCE m_hTemplateModule;
  UINT m_nIDTemplate;
  DECLARE_MESSAGE_MAP()
};

// ---- Message boxes ---------------------------------------------------------------------------
// Caption: the application title. A box without an icon gets the exclamation mark (OK boxes)
// or the question mark (Yes/No boxes), as MFC does.
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// ---- Application-wide state ------------------------------------------------------------------
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
CWnd* AFXAPI AfxGetMainWnd();
LPCTSTR AFXAPI AfxGetAppName();

#include "afxdd_.h"
#include "afxdll_.h"
