// attributepickerdialog.cpp - list filling, preselection and the OK rule of the picker.
#include "dialogs/attributepickerdialog.h"

BEGIN_MESSAGE_MAP(AttributePickerDialog, CAcUiDialog)
END_MESSAGE_MAP()

AttributePickerDialog::AttributePickerDialog(CWnd* parent)
    : CAcUiDialog(AttributePickerDialog::IDD, parent, NULL) {
  m_names.SetSize(0);
}

AttributePickerDialog::~AttributePickerDialog() {}

void AttributePickerDialog::addName(const char* name) { m_names.Add(name); }

void AttributePickerDialog::chosenName(CString& name) const { name = m_result; }

void AttributePickerDialog::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ATTRIBUTE_LIST, m_list);
}

BOOL AttributePickerDialog::OnInitDialog() {
  // The base runs the first data exchange, which binds m_list to the list control.
  CAdUiBaseDialog::OnInitDialog();
  for (int i = 0; i < m_names.GetSize(); ++i)
    m_list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(m_names[i])));
  // The list sorts itself, so entry 0 is the alphabetically first name.
  if (m_list.SendMessage(LB_GETCOUNT, 0, 0) > 0) m_list.SendMessage(LB_SETCURSEL, 0, 0);
  return TRUE;
}

void AttributePickerDialog::OnOK() {
  const int selection = static_cast<int>(m_list.SendMessage(LB_GETCURSEL, 0, 0));
  if (selection < 0) return;  // nothing selected: the dialog stays open
  m_list.GetText(selection, m_result);
  CAcUiDialog::OnOK();
}
