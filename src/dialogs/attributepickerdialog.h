// attributepickerdialog.h - the modal dialog in which the user picks an attribute tag.
//
// It knows nothing of the drawing: it receives plain names, shows them sorted with the first
// one selected, and hands back the selected name when the user presses OK.
#pragma once

#include "afxwin.h"
#include "afxext.h"
#include "afxcmn.h"
#include "adui.h"
#include "acui.h"

#include "resource.h"

class AttributePickerDialog : public CAcUiDialog {
public:
  enum { IDD = IDD_ATTRIBUTE_PICKER };

  explicit AttributePickerDialog(CWnd* parent = NULL);
  virtual ~AttributePickerDialog();

  // Appends a name to the list shown when the dialog runs.
  void addName(const char* name);

  // The name chosen with OK (empty unless the dialog ended with OK).
  void chosenName(CString& name) const;

protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual BOOL OnInitDialog();
  virtual void OnOK();

  DECLARE_MESSAGE_MAP()

private:
  CListBox m_list;
  CStringArray m_names;
  CString m_result;
};
