// optionsdialog.h - the modal dialog in which the user edits the five settings.
//
// It starts from the values stored in the registry (reloaded when it opens), keeps the default
// attribute field usable only while quiet mode is ticked, validates the entries on OK, warns
// when the divisor changed, then stores the values in the application object and saves them.
#pragma once

#include "afxwin.h"
#include "afxext.h"
#include "afxcmn.h"
#include "adui.h"
#include "acui.h"

#include "resource.h"

// Runs the Options dialog with the module's resources; answers true when it ended with OK.
bool showOptionsDialog();

class OptionsDialog : public CAcUiDialog {
public:
  enum { IDD = IDD_OPTIONS };

  // The smallest divisor accepted, and the change of divisor that earns the update warning.
  static const double kDivisorThreshold;

  explicit OptionsDialog(CWnd* parent = NULL);

protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual BOOL OnInitDialog();
  virtual void OnOK();

  afx_msg void OnQuietModeClicked();
  DECLARE_MESSAGE_MAP()

private:
  // Shows a message owned by the dialog and, when focusId is not 0, moves the focus there.
  void showMessage(UINT textId, UINT captionId, int focusId);
  void enableDefaultAttribute(BOOL enable);

  CSpinButtonCtrl m_spin;
  int m_autoUpdate;
  int m_areaPrecision;
  double m_divisor;
  int m_quietMode;
  CString m_defaultAttribute;
};
