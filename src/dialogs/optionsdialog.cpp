// optionsdialog.cpp - data exchange, set-up and the OK sequence of the Options dialog.
#include "dialogs/optionsdialog.h"

#include "resources.h"
#include "zorvik.h"

#include "acedads.h"

#include <cmath>

const double OptionsDialog::kDivisorThreshold = 0.00001;

BEGIN_MESSAGE_MAP(OptionsDialog, CAcUiDialog)
  ON_BN_CLICKED(IDC_QUIET_MODE, OptionsDialog::OnQuietModeClicked)
END_MESSAGE_MAP()

bool showOptionsDialog() {
  ModuleResourceScope resources;
  OptionsDialog dialog(CWnd::FromHandle(adsw_acadMainWnd()));
  return dialog.DoModal() == IDOK;
}

OptionsDialog::OptionsDialog(CWnd* parent)
    : CAcUiDialog(OptionsDialog::IDD, parent, NULL),
      m_autoUpdate(0),
      m_areaPrecision(0),
      m_divisor(1.0),
      m_quietMode(0) {}

void OptionsDialog::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_AREA_PRECISION_SPIN, m_spin);
  DDX_Check(pDX, IDC_AUTO_UPDATE, m_autoUpdate);
  DDX_Text(pDX, IDC_AREA_PRECISION, m_areaPrecision);
  DDV_MinMaxInt(pDX, m_areaPrecision, 0, 6);
  DDX_Text(pDX, IDC_AREA_DIVISOR, m_divisor);
  DDX_Check(pDX, IDC_QUIET_MODE, m_quietMode);
  DDX_Text(pDX, IDC_DEFAULT_ATTRIBUTE, m_defaultAttribute);
}

BOOL OptionsDialog::OnInitDialog() {
  // The base runs the first data exchange, which attaches the spin control.
  CAdUiBaseDialog::OnInitDialog();

  // Precision 0 to 6: upper bound in the low word, lower bound in the high word.
  m_spin.SendMessage(UDM_SETRANGE, 0, MAKELONG(6, 0));
  UDACCEL acceleration;
  acceleration.nSec = 0;
  acceleration.nInc = 1;
  m_spin.SendMessage(UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&acceleration));
  acceleration.nInc = 1;
  m_spin.SendMessage(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&acceleration));

  // Start from what is stored, not from what is in memory.
  ModuleApp* app = getModuleApp();
  app->loadSettings();
  m_autoUpdate = app->autoUpdate() ? 1 : 0;
  m_areaPrecision = app->areaPrec();
  m_divisor = app->divisor();
  m_quietMode = app->quietMode() ? 1 : 0;
  m_defaultAttribute = app->attname();

  if (m_quietMode == 0) enableDefaultAttribute(FALSE);
  DisplayData();
  return TRUE;
}

void OptionsDialog::enableDefaultAttribute(BOOL enable) {
  CWnd* field = GetDlgItem(IDC_DEFAULT_ATTRIBUTE);
  if (field) ::EnableWindow(field->m_hWnd, enable);
}

void OptionsDialog::OnQuietModeClicked() {
  CWnd* check = GetDlgItem(IDC_QUIET_MODE);
  if (!check) return;
  enableDefaultAttribute(check->SendMessage(BM_GETCHECK, 0, 0) != 0 ? TRUE : FALSE);
}

void OptionsDialog::showMessage(UINT textId, UINT captionId, int focusId) {
  CString text = loadResourceString(textId);
  CString caption = loadResourceString(captionId);
  ::MessageBoxA(m_hWnd, text, caption, MB_ICONINFORMATION);
  if (focusId != 0) {
    CWnd* field = GetDlgItem(focusId);
    if (field) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field->m_hWnd), 1);
  }
}

void OptionsDialog::OnOK() {
  if (!ValidateData()) return;

  ModuleApp* app = getModuleApp();
  app->setAreaPrec(m_areaPrecision);
  app->setAutoUpdate(m_autoUpdate != 0);

  // A divisor that is too small, not a number or infinite would make every area text wrong.
  if (!(m_divisor >= kDivisorThreshold) || !std::isfinite(m_divisor)) {
    showMessage(IDS_INVALID_DIVISOR, IDS_INVALID_INPUT, IDC_AREA_DIVISOR);
    return;
  }
  if (std::fabs(m_divisor - app->divisor()) > kDivisorThreshold)
    showMessage(IDS_DIVISOR_CHANGED, IDS_INFORMATION, 0);
  app->setDivisor(m_divisor);
  app->setQuietMode(m_quietMode != 0);

  if (m_quietMode == 0) {
    // The default attribute is only used in quiet mode; it is neither checked nor stored.
    app->saveSettings();
    CAcUiDialog::OnOK();
    return;
  }

  m_defaultAttribute.TrimLeft();
  m_defaultAttribute.TrimRight();
  if (m_defaultAttribute.IsEmpty()) {
    showMessage(IDS_EMPTY_ATTNAME, IDS_INVALID_INPUT, IDC_DEFAULT_ATTRIBUTE);
    return;
  }
  app->setAttname(m_defaultAttribute);
  app->saveSettings();
  CAcUiDialog::OnOK();
}
