// afx_dialog.cpp - CDialog and the host toolkit's dialog classes: building a dialog window
// and its controls from a template of the resource script, the modal run (OnInitDialog, the
// host's dialog driver, EndDialog) and the OK/Cancel commands.
#include <string>

#include "acui.h"
#include "adui.h"
#include "afxwin.h"
#include "pf/resources.h"
#include "pf/windows.h"
#include "window_system.h"

namespace pf {
namespace ui {

void runDialogDriver(HWND dialog);          // dialog_session.cpp
void purgeTemporaryWindowObjects();         // afx_wnd.cpp

// Creates the dialog window and its controls, in template (tab) order.
HWND createDialogFromTemplate(const RcDialog& t, HWND owner, UINT templateId) {
  HWND dlg = createWindow("#32770", t.caption, t.style, t.exStyle,
                          RECT{t.x, t.y, t.x + t.width, t.y + t.height}, owner, false, 0);
  Window& d = windowOf(dlg);
  d.dialogRunning = true;
  d.dialogResult = 0;
  d.userData = static_cast<LONG_PTR>(templateId);
  HWND previous = nullptr;
  for (const RcControl& c : t.controls) {
    HWND h = createWindow(c.className, c.text, c.style, c.exStyle,
                          RECT{c.x, c.y, c.x + c.width, c.y + c.height}, dlg, true, c.id);
    Window& w = windowOf(h);
    if (w.kind == Kind::Button && (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) d.defId = c.id;
    if (w.kind == Kind::Edit && (c.style & ES_UPPERCASE)) {
      for (char& ch : w.text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    }
    // An up-down control with UDS_AUTOBUDDY takes the control before it as its buddy.
    if (w.kind == Kind::UpDown && (c.style & UDS_AUTOBUDDY)) w.udBuddy = previous;
    previous = h;
  }
  return dlg;
}

}  // namespace ui
}  // namespace pf

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, CDialog::OnOK)
  ON_COMMAND(IDCANCEL, CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_nIDHelp(0), m_lpszTemplateName(nullptr), m_pParentWnd(nullptr), m_hTemplateModule(nullptr), m_nIDTemplate(0) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog() {
  m_nIDTemplate = nIDTemplate;
  m_nIDHelp = nIDTemplate;
  m_lpszTemplateName = MAKEINTRESOURCE(nIDTemplate);
  m_pParentWnd = pParentWnd;
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : CDialog() {
  m_lpszTemplateName = lpszTemplateName;
  if (lpszTemplateName && IS_INTRESOURCE(lpszTemplateName))
    m_nIDTemplate = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
  m_nIDHelp = m_nIDTemplate;
  m_pParentWnd = pParentWnd;
}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
  if (m_hWnd) return -1;  // already running
  // Find the template: in the given module only, or where MFC looks.
  pf::RcDialog tpl;
  bool found = false;
  if (m_hTemplateModule) {
    pf::RcError err;
    if (auto script = pf::moduleResourcesNoOops(m_hTemplateModule, &err)) {
      if (const pf::RcDialog* d = script->findDialogNoOops(m_nIDTemplate)) {
        tpl = *d;
        found = true;
      }
    }
  } else {
    const pf::RcDialog* d = nullptr;
    if (pf::findDialogModuleNoOops(m_nIDTemplate, &d) && d) {
      tpl = *d;
      found = true;
    }
  }
  if (!found) {
    pf::uiPrint("*** Dialog " + std::to_string(m_nIDTemplate) +
                " cannot be shown: no template with this id in the resource modules");
    return -1;
  }

  HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
  if (!owner) owner = pf::mainWindow();
  HWND previousFocus = ::GetFocus();
  BOOL ownerWasEnabled = ::IsWindowEnabled(owner);
  HWND dlg = pf::ui::createDialogFromTemplate(tpl, owner, m_nIDTemplate);
  if (!SubclassWindow(dlg)) {
    pf::ui::destroyWindow(dlg);
    return -1;
  }
  // The owner is disabled while the dialog is up, as for any modal dialog.
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);

  LRESULT initFocus = ::SendMessageA(dlg, WM_INITDIALOG, 0, 0);
  pf::ui::Window* w = pf::ui::findWindowNoOops(dlg);
  if (w && w->dialogRunning && initFocus) {
    // OnInitDialog answered TRUE: the dialog manager focuses the first tab stop.
    if (HWND first = ::GetNextDlgTabItem(dlg, nullptr, FALSE)) {
      ::SetFocus(first);
      if (pf::ui::findWindowNoOops(first)->kind == pf::ui::Kind::Edit) ::SendMessageA(first, EM_SETSEL, 0, -1);
    }
  }
  if (w && w->dialogRunning) pf::ui::runDialogDriver(dlg);

  w = pf::ui::findWindowNoOops(dlg);
  int result = w ? static_cast<int>(w->dialogResult) : IDCANCEL;
  ::DestroyWindow(dlg);  // detaches this object and the controls attached by DDX_Control
  pf::ui::purgeTemporaryWindowObjects();
  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  if (previousFocus && ::IsWindow(previousFocus)) ::SetFocus(previousFocus);
  else ::SetFocus(nullptr);
  return result;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

BOOL CDialog::OnInitDialog() {
  // The first exchange moves the members into the controls (and attaches DDX_Control members).
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;  // the dialog stays open; the focus is on the field
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_INITDIALOG) {
    BOOL r = OnInitDialog();
    if (pResult) *pResult = r;
    return TRUE;
  }
  return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  if (pWndCtrl) ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), 1);
}
void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }

// ---- The host's dialog toolkit ---------------------------------------------------------------

IMPLEMENT_DYNAMIC(CAdUiBaseDialog, CDialog)
BEGIN_MESSAGE_MAP(CAdUiBaseDialog, CDialog)
END_MESSAGE_MAP()

CAdUiBaseDialog::CAdUiBaseDialog(UINT idd, CWnd* pParent, HINSTANCE hDialogResource)
    : CDialog(idd, pParent), m_hDialogResource(hDialogResource) {
  m_hTemplateModule = hDialogResource;
}
CAdUiBaseDialog::~CAdUiBaseDialog() = default;
BOOL CAdUiBaseDialog::DisplayData() { return UpdateData(FALSE); }
BOOL CAdUiBaseDialog::ValidateData() { return UpdateData(TRUE); }
BOOL CAdUiBaseDialog::OnInitDialog() { return CDialog::OnInitDialog(); }

IMPLEMENT_DYNAMIC(CAdUiDialog, CAdUiBaseDialog)
BEGIN_MESSAGE_MAP(CAdUiDialog, CAdUiBaseDialog)
END_MESSAGE_MAP()

CAdUiDialog::CAdUiDialog(UINT idd, CWnd* pParent, HINSTANCE hDialogResource)
    : CAdUiBaseDialog(idd, pParent, hDialogResource) {}
CAdUiDialog::~CAdUiDialog() = default;

IMPLEMENT_DYNAMIC(CAcUiDialog, CAdUiDialog)
BEGIN_MESSAGE_MAP(CAcUiDialog, CAdUiDialog)
END_MESSAGE_MAP()

CAcUiDialog::CAcUiDialog(UINT idd, CWnd* pParent, HINSTANCE hDialogResource)
    : CAdUiDialog(idd, pParent, hDialogResource) {}
CAcUiDialog::~CAcUiDialog() = default;
HINSTANCE CAcUiDialog::AppResourceInstance() { return m_hDialogResource ? m_hDialogResource : AfxGetResourceHandle(); }
CWnd* CAcUiDialog::AppMainWindow() { return CWnd::FromHandle(pf::mainWindow()); }
void CAcUiDialog::OnDialogHelp() {}
void CAcUiDialog::DoDataExchange(CDataExchange* pDX) { CAdUiDialog::DoDataExchange(pDX); }
BOOL CAcUiDialog::OnInitDialog() { return CAdUiDialog::OnInitDialog(); }
void CAcUiDialog::OnOK() { CAdUiDialog::OnOK(); }
void CAcUiDialog::OnCancel() { CAdUiDialog::OnCancel(); }
