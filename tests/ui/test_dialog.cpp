// The test dialog's message map, written as MFC 4.2 sources write it.
#include "ui_test_support.h"

BEGIN_MESSAGE_MAP(TestDialog, CAcUiDialog)
  ON_BN_CLICKED(IDC_TEST_ENABLE, OnEnableClicked)
  ON_COMMAND(IDC_TEST_APPLY, TestDialog::OnApply)
  ON_CONTROL_RANGE(EN_CHANGE, IDC_TEST_COUNT, IDC_TEST_FACTOR, OnNumberChanged)
  ON_LBN_DBLCLK(IDC_TEST_LIST, OnListDoubleClick)
  ON_LBN_SELCHANGE(IDC_TEST_LIST, OnListSelectionChanged)
  ON_NOTIFY(UDN_DELTAPOS, IDC_TEST_SPIN, OnSpinDelta)
END_MESSAGE_MAP()
