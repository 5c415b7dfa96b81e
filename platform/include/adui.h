// adui.h - the host's dialog toolkit base: CAdUiBaseDialog (on CDialog) and CAdUiDialog.
// Include afxwin.h, afxext.h and afxcmn.h first, as with the real toolkit.
#pragma once
#include <winreg.h>

#include "afxcmn.h"
#include "afxext.h"
#include "afxwin.h"

#define ADUI_PORT

class CAdUiBaseDialog : public CDialog {
  DECLARE_DYNAMIC(CAdUiBaseDialog)
 public:
  // hDialogResource: the module whose resources hold the template; NULL uses the current
  // resource module (the caller pushes the right one).
  CAdUiBaseDialog(UINT idd, CWnd* pParent = NULL, HINSTANCE hDialogResource = NULL);
  virtual ~CAdUiBaseDialog();

  // Members to controls (UpdateData(FALSE)); FALSE if an exchange failed.
  virtual BOOL DisplayData();
  // Controls to members with validation (UpdateData(TRUE)); FALSE if anything was refused
  // (the user has seen the message, the focus is on the field).
  virtual BOOL ValidateData();
  virtual BOOL OnInitDialog();

 protected:
  HINSTANCE m_hDialogResource;
  DECLARE_MESSAGE_MAP()
};

class CAdUiDialog : public CAdUiBaseDialog {
  DECLARE_DYNAMIC(CAdUiDialog)
 public:
  CAdUiDialog(UINT idd, CWnd* pParent = NULL, HINSTANCE hDialogResource = NULL);
  virtual ~CAdUiDialog();

 protected:
  DECLARE_MESSAGE_MAP()
};
