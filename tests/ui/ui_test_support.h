// ui_test_support.h - helpers of the ui tests: a captured transcript of user-visible text, a
// clean message-box log, and the test dialog (list box, two number edits with a spin, a name
// edit enabled by a check box, an Apply button) with its message map.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acui.h"
#include "adui.h"
#include "afxcmn.h"
#include "afxext.h"
#include "afxwin.h"
#include "acedads.h"
#include "data/testui_resource.h"
#include "pf/dialogs.h"
#include "pf/messagebox.h"
#include "pf/windows.h"

// Collects what the toolkit shows the user while it lives; starts with no message boxes.
class Transcript {
 public:
  Transcript() {
    pf::clearMessageBoxes();
    pf::setUiOutput([this](const std::string& t) { lines.push_back(t); });
  }
  ~Transcript() {
    pf::setUiOutput(nullptr);
    pf::clearMessageBoxes();
  }
  bool contains(const std::string& fragment) const {
    for (const std::string& l : lines)
      if (l.find(fragment) != std::string::npos) return true;
    return false;
  }
  std::vector<std::string> lines;
};

class TestDialog : public CAcUiDialog {
 public:
  explicit TestDialog(CWnd* parent = CWnd::FromHandle(adsw_acadMainWnd())) : CAcUiDialog(IDD_TEST, parent) {}

  CListBox m_list;
  CSpinButtonCtrl m_spin;
  int m_count = 3;
  double m_factor = 1.5;
  int m_enable = 0;
  CString m_name = "first";
  CString m_selected;
  std::vector<std::string> m_entries{"WIDTH", "AREA", "ROOM"};

  // What the handlers saw.
  int m_applyClicks = 0;
  int m_doubleClicks = 0;
  std::vector<UINT> m_editChanges;
  int m_okCalls = 0;
  int m_selectionChanges = 0;
  std::vector<int> m_spinDeltas;  // iDelta of every UDN_DELTAPOS
  int m_spinCeiling = 100;        // the handler refuses steps above this
  int m_initSawSpinAttached = -1;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEST_LIST, m_list);
    DDX_Control(pDX, IDC_TEST_SPIN, m_spin);
    DDX_Text(pDX, IDC_TEST_COUNT, m_count);
    DDV_MinMaxInt(pDX, m_count, 0, 6);
    DDX_Text(pDX, IDC_TEST_FACTOR, m_factor);
    DDX_Check(pDX, IDC_TEST_ENABLE, m_enable);
    DDX_Text(pDX, IDC_TEST_NAME, m_name);
    DDX_LBString(pDX, IDC_TEST_LIST, m_selected);
  }

  BOOL OnInitDialog() override {
    CAcUiDialog::OnInitDialog();
    m_initSawSpinAttached = m_spin.GetSafeHwnd() != NULL;
    m_spin.SendMessage(UDM_SETRANGE, 0, MAKELONG(6, 0));
    UDACCEL accel;
    m_spin.SendMessage(UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    accel.nInc = 1;
    m_spin.SendMessage(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    for (const std::string& e : m_entries) m_list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
    if (m_list.SendMessage(LB_GETCOUNT) > 0) m_list.SendMessage(LB_SETCURSEL, 0);
    if (!m_enable) GetDlgItem(IDC_TEST_NAME)->EnableWindow(FALSE);
    return TRUE;
  }

  void OnOK() override {
    ++m_okCalls;
    CAcUiDialog::OnOK();
  }

  afx_msg void OnEnableClicked() {
    CWnd* box = GetDlgItem(IDC_TEST_ENABLE);
    if (box) GetDlgItem(IDC_TEST_NAME)->EnableWindow(box->SendMessage(BM_GETCHECK) != 0);
  }
  afx_msg void OnApply() { ++m_applyClicks; }
  afx_msg void OnNumberChanged(UINT id) { m_editChanges.push_back(id); }
  afx_msg void OnListDoubleClick() { ++m_doubleClicks; }
  afx_msg void OnListSelectionChanged() { ++m_selectionChanges; }
  afx_msg void OnSpinDelta(NMHDR* header, LRESULT* result) {
    NMUPDOWN* ud = reinterpret_cast<NMUPDOWN*>(header);
    m_spinDeltas.push_back(ud->iDelta);
    *result = ud->iPos + ud->iDelta > m_spinCeiling ? 1 : 0;  // non-zero cancels the step
  }

  DECLARE_MESSAGE_MAP()
};
