// Windows and messages without MFC: list boxes, buttons, up-down controls, focus, enabling
// and dialog navigation, on the controls of a real template.
#include "pf/resources.h"
#include "ui_test_support.h"

namespace pf {
namespace ui {
HWND createDialogFromTemplate(const RcDialog& t, HWND owner, UINT templateId);
}
}  // namespace pf

namespace {

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const pf::RcDialog* t = nullptr;
    ASSERT_TRUE(pf::findDialogModuleNoOops(IDD_OPTIONS, &t));
    dlg = pf::ui::createDialogFromTemplate(*t, adsw_acadMainWnd(), IDD_OPTIONS);
  }
  void TearDown() override {
    EXPECT_TRUE(DestroyWindow(dlg));
    EXPECT_FALSE(IsWindow(dlg));
  }
  HWND item(int id) { return GetDlgItem(dlg, id); }
  HWND dlg = nullptr;
};

TEST_F(WindowsTest, ListBoxMessages) {
  const pf::RcDialog* t = nullptr;
  ASSERT_TRUE(pf::findDialogModuleNoOops(IDD_PICKER, &t));
  HWND picker = pf::ui::createDialogFromTemplate(*t, dlg, IDD_PICKER);
  HWND list = GetDlgItem(picker, IDC_NAMES);
  auto add = [&](const char* s) { return SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s)); };
  EXPECT_EQ(add("WIDTH"), 0);
  EXPECT_EQ(add("AREA"), 0);
  EXPECT_EQ(add("room"), 1);  // sorted without regard to case
  EXPECT_EQ(add("Zone"), 3);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 2, 0), 2);
  char buf[32];
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 2, 0), 5);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buf)), 5);
  EXPECT_STREQ(buf, "WIDTH");
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 9, reinterpret_cast<LPARAM>(buf)), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ROOM")), 1);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ROO")), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("zo")), 3);
  // The selection follows its entry when entries come and go.
  EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 3);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  DestroyWindow(picker);
}

TEST_F(WindowsTest, ButtonsSpinsFocusAndEnabling) {
  HWND quiet = item(IDC_QUIETMODE);
  EXPECT_EQ(SendMessageA(quiet, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageA(quiet, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_QUIETMODE), UINT(BST_CHECKED));
  SendMessageA(quiet, BM_CLICK, 0, 0);  // an automatic check box toggles
  EXPECT_EQ(SendMessageA(quiet, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  HWND spin = item(IDC_PRECISION_SPIN);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)), item(IDC_PRECISION));
  SendMessageA(spin, UDM_SETRANGE, 0, MAKELONG(6, 0));
  EXPECT_EQ(SendMessageA(spin, UDM_GETRANGE, 0, 0), MAKELONG(6, 0));
  UDACCEL accel[3];
  EXPECT_EQ(SendMessageA(spin, UDM_GETACCEL, 3, reinterpret_cast<LPARAM>(accel)), 3);
  EXPECT_EQ(accel[0].nInc, 1u);
  EXPECT_EQ(accel[1].nInc, 5u);
  UDACCEL two{0, 2};
  EXPECT_TRUE(SendMessageA(spin, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&two)));
  EXPECT_EQ(SendMessageA(spin, UDM_SETPOS, 0, MAKELONG(1, 0)), 0);
  EXPECT_EQ(pf::windowInfo(item(IDC_PRECISION)).text, "1");  // the buddy shows the position
  SetWindowTextA(item(IDC_PRECISION), "x");
  EXPECT_EQ(HIWORD(SendMessageA(spin, UDM_GETPOS, 0, 0)), 1);  // the buddy holds no integer

  // Focus: set, moved by WM_NEXTDLGCTL, and taken away from a control being disabled.
  HWND divisor = item(IDC_DIVISOR);
  SetFocus(divisor);
  EXPECT_EQ(GetFocus(), divisor);
  SendMessageA(dlg, WM_NEXTDLGCTL, 0, 0);
  EXPECT_EQ(GetFocus(), item(IDC_ATTNAME));  // next tab stop in template order
  SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(divisor), 1);
  EXPECT_EQ(GetFocus(), divisor);
  EXPECT_FALSE(EnableWindow(divisor, FALSE));  // it was enabled
  EXPECT_FALSE(IsWindowEnabled(divisor));
  EXPECT_NE(GetFocus(), divisor);
  EXPECT_TRUE(EnableWindow(divisor, TRUE));   // it was disabled
  EXPECT_TRUE(IsWindowEnabled(divisor));

  // Window texts.
  EXPECT_TRUE(SetDlgItemTextA(dlg, IDC_ATTNAME, "ROOM"));
  char buf[3];
  EXPECT_EQ(GetDlgItemTextA(dlg, IDC_ATTNAME, buf, sizeof buf), 2u);
  EXPECT_STREQ(buf, "RO");
  EXPECT_EQ(GetWindowTextLengthA(item(IDC_ATTNAME)), 4);
  EXPECT_EQ(GetDlgItem(dlg, 12345), nullptr);
}

TEST_F(WindowsTest, StaleHandlesNameNothing) {
  HWND edit = item(IDC_DIVISOR);
  CWnd* wrapper = CWnd::FromHandle(edit);
  ASSERT_NE(wrapper, nullptr);
  EXPECT_EQ(wrapper->GetDlgCtrlID(), IDC_DIVISOR);
  EXPECT_EQ(CWnd::FromHandle(edit), wrapper);  // one wrapper per window
  EXPECT_TRUE(DestroyWindow(edit));
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_FALSE(EnableWindow(edit, FALSE));
  EXPECT_EQ(CWnd::FromHandle(edit), nullptr);
  EXPECT_EQ(GetDlgItem(dlg, IDC_DIVISOR), nullptr);
}

}  // namespace
