// acui.h - the host application's dialog class CAcUiDialog (on CAdUiDialog). As with the real
// toolkit, include adui.h first; acui.h brings aced.h.
#pragma once
#include "adui.h"
#include "aced.h"

#define ACUI_PORT

class CAcUiDialog : public CAdUiDialog {
  DECLARE_DYNAMIC(CAcUiDialog)
 public:
  CAcUiDialog(UINT idd, CWnd* pParent = NULL, HINSTANCE hDialogResource = NULL);
  virtual ~CAcUiDialog();

  // The module the dialog's resources come from, and the host's main window.
  virtual HINSTANCE AppResourceInstance();
  virtual CWnd* AppMainWindow();
  virtual void OnDialogHelp();

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  DECLARE_MESSAGE_MAP()
};
