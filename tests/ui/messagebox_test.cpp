// Message boxes: recorded with owner, text, caption and style, shown as "[caption] text", and
// answered with their default button or a queued answer.
#include "ui_test_support.h"

namespace {

TEST(MessageBoxes, RecordedPrintedAndAnsweredOk) {
  Transcript t;
  HWND main = adsw_acadMainWnd();
  EXPECT_EQ(MessageBoxA(main, "Module: a.cpp\nLine: 3", "Assertion failed", MB_ICONERROR), IDOK);
  EXPECT_EQ(MessageBox(nullptr, "Saved.", "Information", MB_OK | MB_ICONINFORMATION), IDOK);
  ASSERT_EQ(pf::messageBoxes().size(), 2u);
  EXPECT_EQ(pf::messageBoxes()[0].owner, main);
  EXPECT_EQ(pf::messageBoxes()[0].caption, "Assertion failed");
  EXPECT_EQ(pf::messageBoxes()[0].style, 16u);
  EXPECT_EQ(pf::messageBoxes()[1].style, 64u);
  EXPECT_EQ(t.lines, (std::vector<std::string>{"[Assertion failed] Module: a.cpp\nLine: 3", "[Information] Saved."}));
}

TEST(MessageBoxes, DefaultButtonsAndQueuedAnswers) {
  Transcript t;
  EXPECT_EQ(MessageBoxA(nullptr, "Go?", "Q", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "Go?", "Q", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "Again?", "Q", MB_RETRYCANCEL), IDRETRY);
  pf::queueMessageBoxAnswer(IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Q", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Q", MB_OKCANCEL), IDOK);  // the queue is used up
  // No caption: Windows shows "Error".
  MessageBoxA(nullptr, "text", nullptr, MB_OK);
  EXPECT_EQ(pf::messageBoxes().back().caption, "Error");
}

TEST(MessageBoxes, AfxMessageBoxUsesTheTitleAndAddsAnIcon) {
  Transcript t;
  EXPECT_EQ(AfxMessageBox("Plain"), IDOK);
  EXPECT_EQ(pf::messageBoxes().back().caption, pf::applicationTitle());
  EXPECT_EQ(pf::messageBoxes().back().style, UINT(MB_ICONEXCLAMATION));
  AfxMessageBox("Question", MB_YESNO);
  EXPECT_EQ(pf::messageBoxes().back().style, UINT(MB_YESNO | MB_ICONQUESTION));
  AfxMessageBox("Info", MB_ICONINFORMATION);
  EXPECT_EQ(pf::messageBoxes().back().style, UINT(MB_ICONINFORMATION));
  AfxMessageBox(IDS_HELLO);  // text from the string table
  EXPECT_EQ(pf::messageBoxes().back().text, "Hello from the test module");
  CWnd* main = CWnd::FromHandle(adsw_acadMainWnd());
  main->MessageBox("From a window", "Caption", MB_ICONWARNING);
  EXPECT_EQ(pf::messageBoxes().back().owner, adsw_acadMainWnd());
  EXPECT_EQ(pf::messageBoxes().back().style, 48u);
}

}  // namespace
