// A dialog driven programmatically: its controls come from the embedded template, data moves
// both ways, refused entries keep the dialog open with MFC's message and the focus on the
// field, notifications reach the message map, and OK/Cancel end it with their codes.
#include <cmath>

#include "ui_test_support.h"

namespace {

// Runs the dialog with a test function as its driver.
int runWith(CDialog& dlg, std::function<void(pf::DialogSession&)> act) {
  pf::ScopedDialogDriver driver(pf::makeProgrammaticDialogDriver(std::move(act)));
  return dlg.DoModal();
}

TEST(Dialog, MembersAreShownAndUserEntriesComeBackOnOk) {
  Transcript t;
  TestDialog dlg;  // its parent is the host's main window, which exists from here on
  size_t windowsBefore = pf::windowCount();
  dlg.m_enable = 1;
  int result = runWith(dlg, [&](pf::DialogSession& s) {
    EXPECT_EQ(s.templateId(), 2100u);
    EXPECT_EQ(s.caption(), "Test dialog");
    EXPECT_EQ(s.control(IDC_TEST_COUNT).text, "3");
    EXPECT_EQ(s.control(IDC_TEST_FACTOR).text, "1.5");
    EXPECT_EQ(s.control(IDC_TEST_ENABLE).check, BST_CHECKED);
    EXPECT_EQ(s.control(IDC_TEST_NAME).text, "first");
    EXPECT_TRUE(s.control(IDC_TEST_NAME).enabled);
    // The first tab stop has the focus when OnInitDialog answers TRUE.
    EXPECT_EQ(s.focusId(), IDC_TEST_LIST);

    EXPECT_TRUE(s.setText(IDC_TEST_COUNT, " 5 ").ok);
    EXPECT_TRUE(s.setText(IDC_TEST_FACTOR, "2.25").ok);
    EXPECT_TRUE(s.setText(IDC_TEST_NAME, "  ROOM  ").ok);
    EXPECT_TRUE(s.select(IDC_TEST_LIST, "room").ok);  // entries match regardless of case
    EXPECT_TRUE(s.ok().ok);
    EXPECT_FALSE(s.running());
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.m_count, 5);
  EXPECT_DOUBLE_EQ(dlg.m_factor, 2.25);
  EXPECT_EQ(CString("  ROOM  "), dlg.m_name);
  EXPECT_EQ(CString("ROOM"), dlg.m_selected);
  EXPECT_EQ(dlg.m_initSawSpinAttached, 1);  // the first exchange attached the controls
  // The window is gone and the attached controls let go of it.
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  EXPECT_EQ(dlg.m_list.GetSafeHwnd(), nullptr);
  EXPECT_EQ(pf::windowCount(), windowsBefore);
  EXPECT_TRUE(pf::messageBoxes().empty());
  // Each action is echoed in the "@" syntax.
  EXPECT_TRUE(t.contains("@text 3002  5 "));
  EXPECT_TRUE(t.contains("@select 3001 room"));
  EXPECT_TRUE(t.contains("@ok"));
}

TEST(Dialog, InvalidIntegerIsRefusedWithTheFocusOnTheField) {
  Transcript t;
  TestDialog dlg;
  int result = runWith(dlg, [&](pf::DialogSession& s) {
    s.setText(IDC_TEST_COUNT, "12abc");
    s.setText(IDC_TEST_FACTOR, "4");  // the focus moves away from the count
    s.ok();
    EXPECT_TRUE(s.running());
    ASSERT_EQ(pf::messageBoxes().size(), 1u);
    const pf::MessageBoxRecord& box = pf::messageBoxes()[0];
    EXPECT_EQ(box.text, "Please enter an integer.");
    EXPECT_EQ(box.caption, pf::applicationTitle());
    EXPECT_EQ(box.style, UINT(MB_ICONEXCLAMATION));
    EXPECT_EQ(box.owner, s.hwnd());
    EXPECT_EQ(s.focusId(), IDC_TEST_COUNT);
    // The field's text is selected, ready to be typed over.
    DWORD from = 0, to = 0;
    SendMessageA(s.control(IDC_TEST_COUNT).hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 5u);

    s.setText(IDC_TEST_COUNT, "4");
    s.ok();
    EXPECT_FALSE(s.running());
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.m_count, 4);
  EXPECT_EQ(dlg.m_okCalls, 2);  // the refused OK ran the dialog's own OnOK too
  EXPECT_TRUE(t.contains("[" + pf::applicationTitle() + "] Please enter an integer."));
}

TEST(Dialog, OutOfRangeAndNotANumberAreRefused) {
  Transcript t;
  TestDialog dlg;
  int result = runWith(dlg, [&](pf::DialogSession& s) {
    s.setText(IDC_TEST_COUNT, "7");
    s.ok();
    EXPECT_TRUE(s.running());
    EXPECT_EQ(pf::messageBoxes().back().text, "Please enter an integer between 0 and 6.");
    EXPECT_EQ(s.focusId(), IDC_TEST_COUNT);

    s.setText(IDC_TEST_COUNT, "-1");
    s.ok();
    EXPECT_EQ(pf::messageBoxes().back().text, "Please enter an integer between 0 and 6.");

    s.setText(IDC_TEST_COUNT, "6");
    for (const char* bad : {"abc", "1.5.2", "nan", "inf", "0x10", ""}) {
      size_t boxes = pf::messageBoxes().size();
      s.setText(IDC_TEST_FACTOR, bad);
      s.ok();
      EXPECT_TRUE(s.running()) << bad;
      ASSERT_EQ(pf::messageBoxes().size(), boxes + 1) << bad;
      EXPECT_EQ(pf::messageBoxes().back().text, "Please enter a number.") << bad;
      EXPECT_EQ(s.focusId(), IDC_TEST_FACTOR) << bad;
    }
    s.setText(IDC_TEST_FACTOR, "-1e-3");
    s.ok();
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.m_count, 6);
  EXPECT_DOUBLE_EQ(dlg.m_factor, -0.001);
}

TEST(Dialog, NotificationsReachTheMessageMap) {
  Transcript t;
  TestDialog dlg;
  int result = runWith(dlg, [&](pf::DialogSession& s) {
    // The data exchange of OnInitDialog set both edits without running their handlers.
    EXPECT_TRUE(dlg.m_editChanges.empty());
    EXPECT_FALSE(s.control(IDC_TEST_NAME).enabled);
    EXPECT_FALSE(s.setText(IDC_TEST_NAME, "x").ok);  // nobody types into a disabled field

    EXPECT_TRUE(s.check(IDC_TEST_ENABLE, true).ok);
    EXPECT_EQ(s.control(IDC_TEST_ENABLE).check, BST_CHECKED);
    EXPECT_TRUE(s.control(IDC_TEST_NAME).enabled);
    EXPECT_TRUE(s.setText(IDC_TEST_NAME, "second").ok);
    // Unticking disables the field, which loses the focus to the next control.
    s.setText(IDC_TEST_NAME, "second");
    EXPECT_EQ(s.focusId(), IDC_TEST_NAME);
    EXPECT_TRUE(s.check(IDC_TEST_ENABLE, false).ok);
    EXPECT_FALSE(s.control(IDC_TEST_NAME).enabled);
    EXPECT_NE(s.focusId(), IDC_TEST_NAME);

    EXPECT_TRUE(s.click(IDC_TEST_APPLY).ok);
    EXPECT_TRUE(s.click(IDC_TEST_APPLY).ok);
    EXPECT_EQ(dlg.m_applyClicks, 2);

    s.setText(IDC_TEST_FACTOR, "3");
    s.setText(IDC_TEST_COUNT, "2");
    EXPECT_EQ(dlg.m_editChanges, (std::vector<UINT>{IDC_TEST_FACTOR, IDC_TEST_COUNT}));

    HWND list = s.control(IDC_TEST_LIST).hwnd;
    SendMessageA(s.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_TEST_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(dlg.m_doubleClicks, 1);
    s.cancel();
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(CString("first"), dlg.m_name);  // Cancel stores nothing
}

TEST(Dialog, SortedListAndSpinWithItsBuddy) {
  Transcript t;
  TestDialog dlg;
  dlg.m_count = 5;
  runWith(dlg, [&](pf::DialogSession& s) {
    pf::WindowInfo list = s.control(IDC_TEST_LIST);
    EXPECT_EQ(list.items, (std::vector<std::string>{"AREA", "ROOM", "WIDTH"}));
    EXPECT_EQ(list.selection, 0);

    pf::WindowInfo spin = s.control(IDC_TEST_SPIN);
    EXPECT_EQ(spin.buddy, s.control(IDC_TEST_COUNT).hwnd);  // the control before it
    EXPECT_EQ(spin.spinLower, 0);
    EXPECT_EQ(spin.spinUpper, 6);
    EXPECT_TRUE(s.spin(IDC_TEST_SPIN, true).ok);
    EXPECT_EQ(s.control(IDC_TEST_COUNT).text, "6");
    s.spin(IDC_TEST_SPIN, true);  // stays at the top of the range
    EXPECT_EQ(s.control(IDC_TEST_COUNT).text, "6");
    s.setText(IDC_TEST_COUNT, "2");  // the spin starts from what the field holds
    s.spin(IDC_TEST_SPIN, false);
    s.spin(IDC_TEST_SPIN, false);
    s.spin(IDC_TEST_SPIN, false);
    EXPECT_EQ(s.control(IDC_TEST_COUNT).text, "0");
    EXPECT_FALSE(s.spin(IDC_TEST_COUNT, true).ok);  // an edit is no spin
    EXPECT_EQ(dlg.m_spinDeltas, (std::vector<int>{1, 1, -1, -1, -1}));

    // The parent may refuse a step (UDN_DELTAPOS answered non-zero).
    dlg.m_spinCeiling = 1;
    s.spin(IDC_TEST_SPIN, true);
    EXPECT_EQ(s.control(IDC_TEST_COUNT).text, "1");
    s.spin(IDC_TEST_SPIN, true);
    EXPECT_EQ(s.control(IDC_TEST_COUNT).text, "1");

    // Selecting another entry tells the list's parent; selecting the same one does not.
    s.select(IDC_TEST_LIST, "WIDTH");
    s.select(IDC_TEST_LIST, "WIDTH");
    EXPECT_EQ(dlg.m_selectionChanges, 1);
    s.ok();
  });
  EXPECT_EQ(dlg.m_count, 1);
  EXPECT_EQ(CString("WIDTH"), dlg.m_selected);
}

TEST(Dialog, EndCodesOfOkCancelCloseAndEndDialog) {
  Transcript t;
  {
    TestDialog dlg;
    EXPECT_EQ(runWith(dlg, [](pf::DialogSession& s) { s.click(IDOK); }), IDOK);
  }
  {
    TestDialog dlg;
    EXPECT_EQ(runWith(dlg, [](pf::DialogSession& s) { s.click(IDCANCEL); }), IDCANCEL);
  }
  {
    TestDialog dlg;
    EXPECT_EQ(runWith(dlg, [](pf::DialogSession& s) { SendMessageA(s.hwnd(), WM_CLOSE, 0, 0); }), IDCANCEL);
  }
  {
    TestDialog dlg;
    EXPECT_EQ(runWith(dlg, [&](pf::DialogSession& s) { EndDialog(s.hwnd(), 42); }), 42);
  }
}

TEST(Dialog, ADialogLeftOpenIsCancelledWithAWarning) {
  Transcript t;
  TestDialog dlg;
  int result = runWith(dlg, [](pf::DialogSession& s) { s.setText(IDC_TEST_COUNT, "1"); });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dlg.m_count, 3);
  EXPECT_TRUE(t.contains("Dialog 2100 \"Test dialog\": no more answers, cancelled"));

  // With no driver at all the same happens.
  pf::ScopedDialogDriver none(nullptr);
  TestDialog other;
  EXPECT_EQ(other.DoModal(), IDCANCEL);
}

TEST(Dialog, MissingTemplateAnswersMinusOne) {
  Transcript t;
  CAcUiDialog dlg(4711);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_TRUE(t.contains("Dialog 4711 cannot be shown"));
}

TEST(Dialog, DataExchangeWithAMissingControlFailsLoudly) {
  class Wrong : public CAcUiDialog {
   public:
    Wrong() : CAcUiDialog(IDD_TEST) {}
    int value = 1;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 9999, value); }
  };
  Transcript t;
  Wrong dlg;
  pf::ScopedDialogDriver driver(pf::makeProgrammaticDialogDriver([](pf::DialogSession&) { ADD_FAILURE(); }));
  EXPECT_EQ(dlg.DoModal(), -1);  // OnInitDialog's exchange failed: EndDialog(-1)
  EXPECT_TRUE(t.contains("no control with id 9999"));
}

}  // namespace
