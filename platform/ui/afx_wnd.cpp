// afx_wnd.cpp - CCmdTarget message maps and CWnd: attaching objects to windows, routing
// messages through WindowProc/OnWndMsg/OnCommand to message-map handlers, the window helper
// members, and UpdateData.
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "afxwin.h"
#include "window_system.h"

namespace {
// A map entry stores every handler as AFX_PMSG; its signature code says what it really is.
// (All member-function pointers of one class share a representation.)
template <class To>
To handlerAs(AFX_PMSG p) {
  static_assert(sizeof(To) == sizeof(AFX_PMSG), "member function pointers differ in size");
  To t;
  std::memcpy(static_cast<void*>(&t), &p, sizeof t);
  return t;
}
}  // namespace

// ---- Message maps ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP_ENTRY CCmdTarget::_messageEntries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
const AFX_MSGMAP CCmdTarget::messageMap = {&CCmdTarget::_GetBaseMessageMap, &CCmdTarget::_messageEntries[0]};
const AFX_MSGMAP* CCmdTarget::_GetBaseMessageMap() { return nullptr; }
const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return &CCmdTarget::messageMap; }

CCmdTarget::CCmdTarget() = default;

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->nSig != AfxSig_end; ++e) {
      if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID) return e;
    }
    if (map->pfnGetBaseMap == nullptr || map->pfnGetBaseMap() == map) break;
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void*) {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->nSig != AfxSig_end; ++e) {
      if (e->nMessage != WM_COMMAND || e->nCode != static_cast<UINT>(static_cast<WORD>(nCode)) || nID < e->nID ||
          nID > e->nLastID)
        continue;
      switch (e->nSig) {
        case AfxSig_vv:
        case AfxSigCmd_v:
          (this->*(e->pfn))();
          return TRUE;
        case AfxSigCmd_RANGE: {
          auto f = handlerAs<void (CCmdTarget::*)(UINT)>(e->pfn);
          (this->*f)(nID);
          return TRUE;
        }
        case AfxSigCmd_EX: {
          auto f = handlerAs<BOOL (CCmdTarget::*)(UINT)>(e->pfn);
          if ((this->*f)(nID)) return TRUE;
          continue;  // not handled: the search goes on
        }
        default:
          continue;
      }
    }
  }
  return FALSE;
}

// ---- Windows and the objects attached to them ------------------------------------------------

struct pf_afx_window_link {
  // The object that receives a window's messages.
  class Hook : public pf::ui::WindowHook {
   public:
    explicit Hook(CWnd* w) : wnd(w) {}
    LRESULT hookMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam) override {
      return wnd->WindowProc(msg, wParam, lParam);
    }
    void hookWindowDestroyed(HWND hwnd) override {
      CWnd* w = wnd;
      permanent().erase(hwnd);
      w->m_hWnd = nullptr;
      hooks().erase(hwnd);  // deletes this hook; nothing of it is used afterwards
      w->PostNcDestroy();
    }
    CWnd* wnd;
  };

  static std::map<HWND, CWnd*>& permanent() {
    static auto* m = new std::map<HWND, CWnd*>;
    return *m;
  }
  static std::map<HWND, std::unique_ptr<Hook>>& hooks() {
    static auto* m = new std::map<HWND, std::unique_ptr<Hook>>;
    return *m;
  }
  static std::map<HWND, std::unique_ptr<CWnd>>& temporary() {
    static auto* m = new std::map<HWND, std::unique_ptr<CWnd>>;
    return *m;
  }
  // Drops wrappers of windows that no longer exist.
  static void purgeTemporaries() {
    auto& t = temporary();
    for (auto it = t.begin(); it != t.end();) {
      if (!pf::ui::findWindowNoOops(it->first)) {
        it->second->m_hWnd = nullptr;
        it = t.erase(it);
      } else {
        ++it;
      }
    }
  }
  static bool hook(CWnd* w, HWND hwnd) {
    pf::ui::Window* win = pf::ui::findWindowNoOops(hwnd);
    if (!win || win->hook) return false;
    auto h = std::make_unique<Hook>(w);
    win->hook = h.get();
    hooks()[hwnd] = std::move(h);
    return true;
  }
  static void unhook(HWND hwnd) {
    if (pf::ui::Window* win = pf::ui::findWindowNoOops(hwnd)) win->hook = nullptr;
    hooks().erase(hwnd);
  }
};

namespace pf {
namespace ui {
// The window whose control notifications are ignored while its data is exchanged (MFC's
// lockout: setting a control from a member must not run the control's handlers).
HWND g_lockoutNotifyWindow = nullptr;
void purgeTemporaryWindowObjects() { pf_afx_window_link::purgeTemporaries(); }
}  // namespace ui
}  // namespace pf

using Link = pf_afx_window_link;

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(nullptr) {}

CWnd::~CWnd() {
  if (m_hWnd && Link::permanent().count(m_hWnd) && Link::permanent()[m_hWnd] == this) {
    // Like MFC: an object going away takes its window with it.
    HWND h = m_hWnd;
    bool hooked = Link::hooks().count(h) != 0;
    Link::unhook(h);
    Link::permanent().erase(h);
    m_hWnd = nullptr;
    if (hooked) ::DestroyWindow(h);
  }
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
  auto it = Link::permanent().find(hWnd);
  return it == Link::permanent().end() ? nullptr : it->second;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
  if (!hWnd || !pf::ui::findWindowNoOops(hWnd)) return nullptr;
  if (CWnd* p = FromHandlePermanent(hWnd)) return p;
  Link::purgeTemporaries();
  auto& t = Link::temporary();
  auto it = t.find(hWnd);
  if (it != t.end()) return it->second.get();
  auto w = std::make_unique<CWnd>();
  w->m_hWnd = hWnd;
  CWnd* raw = w.get();
  t[hWnd] = std::move(w);
  return raw;
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (m_hWnd || !hWndNew || !pf::ui::findWindowNoOops(hWndNew) || FromHandlePermanent(hWndNew)) return FALSE;
  m_hWnd = hWndNew;
  Link::permanent()[hWndNew] = this;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) {
    Link::unhook(h);
    Link::permanent().erase(h);
  }
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  if (!Link::hook(this, hWnd)) {
    Detach();
    return FALSE;
  }
  PreSubclassWindow();
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  return pParent ? SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID))) : FALSE;
}

HWND CWnd::UnsubclassWindow() { return Detach(); }

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
void CWnd::GetDlgItem(int nID, HWND* phWnd) const {
  if (phWnd) *phWnd = ::GetDlgItem(m_hWnd, nID);
}
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
  return static_cast<int>(::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount));
}
int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND h = ::GetDlgItem(m_hWnd, nID);
  if (!h) return 0;
  int n = ::GetWindowTextLengthA(h);
  ::GetWindowTextA(h, rString.GetBuffer(n), n + 1);
  rString.ReleaseBuffer();
  return rString.GetLength();
}
void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
  return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}
void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
UINT CWnd::IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
    ::CheckDlgButton(m_hWnd, id, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED);
}
int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
    if (::IsDlgButtonChecked(m_hWnd, id)) return id;
  return 0;
}
LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}

void CWnd::SetWindowText(LPCTSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
  return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowText(CString& rString) const {
  int n = ::GetWindowTextLengthA(m_hWnd);
  ::GetWindowTextA(m_hWnd, rString.GetBuffer(n), n + 1);
  rString.ReleaseBuffer();
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }

BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* PASCAL CWnd::GetFocus() { return FromHandle(::GetFocus()); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT) {
  DWORD style = GetStyle();
  DWORD updated = (style & ~dwRemove) | dwAdd;
  if (updated == style) return FALSE;
  if (updated & WS_DISABLED) ::EnableWindow(m_hWnd, FALSE);
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(updated));
  return TRUE;
}
void CWnd::GetWindowRect(LPRECT lpRect) const {
  pf::ui::Window* w = pf::ui::findWindowNoOops(m_hWnd);
  if (lpRect) *lpRect = w ? w->rect : RECT{0, 0, 0, 0};
}
void CWnd::GetClientRect(LPRECT lpRect) const {
  pf::ui::Window* w = pf::ui::findWindowNoOops(m_hWnd);
  if (lpRect) *lpRect = w ? RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top} : RECT{0, 0, 0, 0};
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
  return ::MessageBoxA(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  HWND previousLockout = pf::ui::g_lockoutNotifyWindow;
  pf::ui::g_lockoutNotifyWindow = m_hWnd;
  BOOL ok = FALSE;
  try {
    DoDataExchange(&dx);
    ok = TRUE;
  } catch (CException* e) {
    // The user has been told what is wrong (CUserException), or the exchange named a control
    // the dialog does not have (reported when found).
    e->Delete();
  }
  pf::ui::g_lockoutNotifyWindow = previousLockout;
  return ok;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT r = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    r = 1;
  } else if (message == WM_NOTIFY) {
    if (!OnNotify(wParam, lParam, &r)) return FALSE;
  } else {
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(message, 0, 0);
    if (!e || e->nSig != AfxSig_lwl) return FALSE;
    auto f = handlerAs<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(e->pfn);
    r = (this->*f)(wParam, lParam);
  }
  if (pResult) *pResult = r;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  int nCode = HIWORD(wParam);
  HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
  if (hWndCtrl == nullptr) {
    if (nID == 0) return FALSE;
    nCode = CN_COMMAND;  // menu or accelerator
  } else {
    if (pf::ui::g_lockoutNotifyWindow == m_hWnd) return TRUE;  // data exchange in progress
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (!hdr) return FALSE;
  if (pf::ui::g_lockoutNotifyWindow == m_hWnd) return TRUE;
  UINT id = static_cast<UINT>(hdr->idFrom);
  const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_NOTIFY, hdr->code, id);
  if (!e) return FALSE;
  LRESULT r = 0;
  if (e->nSig == AfxSigNotify_v) {
    auto f = handlerAs<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(e->pfn);
    (this->*f)(hdr, &r);
  } else if (e->nSig == AfxSigNotify_RANGE) {
    auto f = handlerAs<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(e->pfn);
    (this->*f)(id, hdr, &r);
  } else {
    return FALSE;
  }
  if (pResult) *pResult = r;
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

// ---- Controls --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)

int CButton::GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
void CButton::SetCheck(int nCheck) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0); }
UINT CButton::GetState() const { return static_cast<UINT>(::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0)); }
void CButton::SetState(BOOL bHighlight) { ::SendMessageA(m_hWnd, BM_SETSTATE, static_cast<WPARAM>(bHighlight), 0); }
UINT CButton::GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFF); }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) {
  ::SendMessageA(m_hWnd, BM_SETSTYLE, nStyle, static_cast<LPARAM>(bRedraw));
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL) {
  ::SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
}
void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
  DWORD a = 0, b = 0;
  ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  nStartChar = static_cast<int>(a);
  nEndChar = static_cast<int>(b);
}
void CEdit::LimitText(int nChars) { ::SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0); }
void CEdit::SetLimitText(UINT nMax) { ::SendMessageA(m_hWnd, EM_SETLIMITTEXT, nMax, 0); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0)); }
BOOL CEdit::SetReadOnly(BOOL bReadOnly) {
  return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_SETREADONLY, static_cast<WPARAM>(bReadOnly), 0));
}
BOOL CEdit::GetModify() const { return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0)); }
void CEdit::SetModify(BOOL bModified) { ::SendMessageA(m_hWnd, EM_SETMODIFY, static_cast<WPARAM>(bModified), 0); }

namespace {
LPARAM text(LPCTSTR s) { return reinterpret_cast<LPARAM>(s); }
WPARAM index(int i) { return static_cast<WPARAM>(static_cast<INT_PTR>(i)); }
}  // namespace

int CListBox::GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)); }
int CListBox::GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETCURSEL, 0, 0)); }
int CListBox::SetCurSel(int nSelect) { return static_cast<int>(::SendMessageA(m_hWnd, LB_SETCURSEL, index(nSelect), 0)); }
int CListBox::GetSel(int nIndex) const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETSEL, index(nIndex), 0)); }
int CListBox::GetTopIndex() const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETTOPINDEX, 0, 0)); }
int CListBox::SetTopIndex(int nIndex) { return static_cast<int>(::SendMessageA(m_hWnd, LB_SETTOPINDEX, index(nIndex), 0)); }
DWORD_PTR CListBox::GetItemData(int nIndex) const {
  return static_cast<DWORD_PTR>(::SendMessageA(m_hWnd, LB_GETITEMDATA, index(nIndex), 0));
}
int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
  return static_cast<int>(::SendMessageA(m_hWnd, LB_SETITEMDATA, index(nIndex), static_cast<LPARAM>(dwItemData)));
}
int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const {
  return static_cast<int>(::SendMessageA(m_hWnd, LB_GETTEXT, index(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}
void CListBox::GetText(int nIndex, CString& rString) const {
  int n = GetTextLen(nIndex);
  if (n < 0) {
    rString.Empty();
    return;
  }
  GetText(nIndex, rString.GetBuffer(n));
  rString.ReleaseBuffer();
}
int CListBox::GetTextLen(int nIndex) const {
  return static_cast<int>(::SendMessageA(m_hWnd, LB_GETTEXTLEN, index(nIndex), 0));
}
int CListBox::AddString(LPCTSTR lpszItem) { return static_cast<int>(::SendMessageA(m_hWnd, LB_ADDSTRING, 0, text(lpszItem))); }
int CListBox::DeleteString(UINT nIndex) { return static_cast<int>(::SendMessageA(m_hWnd, LB_DELETESTRING, nIndex, 0)); }
int CListBox::InsertString(int nIndex, LPCTSTR lpszItem) {
  return static_cast<int>(::SendMessageA(m_hWnd, LB_INSERTSTRING, index(nIndex), text(lpszItem)));
}
void CListBox::ResetContent() { ::SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0); }
int CListBox::FindString(int nStartAfter, LPCTSTR lpszItem) const {
  return static_cast<int>(::SendMessageA(m_hWnd, LB_FINDSTRING, index(nStartAfter), text(lpszItem)));
}
int CListBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
  return static_cast<int>(::SendMessageA(m_hWnd, LB_FINDSTRINGEXACT, index(nIndexStart), text(lpszFind)));
}
int CListBox::SelectString(int nStartAfter, LPCTSTR lpszItem) {
  return static_cast<int>(::SendMessageA(m_hWnd, LB_SELECTSTRING, index(nStartAfter), text(lpszItem)));
}

int CComboBox::GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
int CComboBox::GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
int CComboBox::SetCurSel(int nSelect) { return static_cast<int>(::SendMessageA(m_hWnd, CB_SETCURSEL, index(nSelect), 0)); }
DWORD_PTR CComboBox::GetItemData(int nIndex) const {
  return static_cast<DWORD_PTR>(::SendMessageA(m_hWnd, CB_GETITEMDATA, index(nIndex), 0));
}
int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
  return static_cast<int>(::SendMessageA(m_hWnd, CB_SETITEMDATA, index(nIndex), static_cast<LPARAM>(dwItemData)));
}
int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const {
  return static_cast<int>(::SendMessageA(m_hWnd, CB_GETLBTEXT, index(nIndex), reinterpret_cast<LPARAM>(lpszText)));
}
void CComboBox::GetLBText(int nIndex, CString& rString) const {
  int n = GetLBTextLen(nIndex);
  if (n < 0) {
    rString.Empty();
    return;
  }
  GetLBText(nIndex, rString.GetBuffer(n));
  rString.ReleaseBuffer();
}
int CComboBox::GetLBTextLen(int nIndex) const {
  return static_cast<int>(::SendMessageA(m_hWnd, CB_GETLBTEXTLEN, index(nIndex), 0));
}
BOOL CComboBox::LimitText(int nMaxChars) {
  return static_cast<BOOL>(::SendMessageA(m_hWnd, CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars), 0));
}
int CComboBox::AddString(LPCTSTR s) { return static_cast<int>(::SendMessageA(m_hWnd, CB_ADDSTRING, 0, text(s))); }
int CComboBox::DeleteString(UINT nIndex) { return static_cast<int>(::SendMessageA(m_hWnd, CB_DELETESTRING, nIndex, 0)); }
int CComboBox::InsertString(int nIndex, LPCTSTR s) {
  return static_cast<int>(::SendMessageA(m_hWnd, CB_INSERTSTRING, index(nIndex), text(s)));
}
void CComboBox::ResetContent() { ::SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0); }
int CComboBox::FindString(int nStartAfter, LPCTSTR s) const {
  return static_cast<int>(::SendMessageA(m_hWnd, CB_FINDSTRING, index(nStartAfter), text(s)));
}
int CComboBox::FindStringExact(int nIndexStart, LPCTSTR s) const {
  return static_cast<int>(::SendMessageA(m_hWnd, CB_FINDSTRINGEXACT, index(nIndexStart), text(s)));
}
int CComboBox::SelectString(int nStartAfter, LPCTSTR s) {
  return static_cast<int>(::SendMessageA(m_hWnd, CB_SELECTSTRING, index(nStartAfter), text(s)));
}
