// CString and CStringArray: the operations dialog code relies on.
#include <cstring>

#include "ui_test_support.h"

namespace {

TEST(CString, TrimFormatCompareAndBuffers) {
  CString s("  \t tag name \n ");
  s.TrimLeft();
  EXPECT_EQ(CString("tag name \n "), s);
  s.TrimRight();
  EXPECT_EQ(CString("tag name"), s);
  EXPECT_EQ(s.GetLength(), 8);
  CString blank("   ");
  blank.TrimLeft();
  blank.TrimRight();
  EXPECT_TRUE(blank.IsEmpty());

  CString f;
  f.Format("%s=%.*f (%d)", "area", 2, 12.3456, 7);
  EXPECT_STREQ(f, "area=12.35 (7)");

  EXPECT_TRUE(CString("AREA") == "AREA");
  EXPECT_TRUE("AREA" == CString("AREA"));
  EXPECT_TRUE(CString("AREA") != CString("area"));
  EXPECT_EQ(CString("AREA").CompareNoCase("area"), 0);
  EXPECT_TRUE(CString("A") < CString("B"));
  EXPECT_TRUE(CString("b") > "a");

  CString b;
  char* p = b.GetBuffer(16);
  std::strcpy(p, "from C");
  b.ReleaseBuffer();
  EXPECT_EQ(b.GetLength(), 6);
  EXPECT_EQ(CString("from C"), b);
  b.GetBuffer(10);
  b.ReleaseBuffer(4);
  EXPECT_EQ(CString("from"), b);

  CString m("abcdef");
  EXPECT_EQ(CString("cd"), m.Mid(2, 2));
  EXPECT_EQ(CString("ef"), m.Right(2));
  EXPECT_EQ(CString("ab"), m.Left(2));
  EXPECT_EQ(CString(""), m.Mid(10));
  EXPECT_EQ(m.Find('d'), 3);
  EXPECT_EQ(m.Find("ef"), 4);
  EXPECT_EQ(m.Find('z'), -1);
  EXPECT_EQ(m + "g" + CString("h"), CString("abcdefgh"));
  EXPECT_STREQ(static_cast<LPCTSTR>(m), "abcdef");
}

TEST(CStringArray, AddSizeAndIndexChecks) {
  CStringArray a;
  EXPECT_EQ(a.GetSize(), 0);
  EXPECT_EQ(a.Add("WIDTH"), 0);
  EXPECT_EQ(a.Add(CString("AREA")), 1);
  a.SetSize(3);
  a.SetAt(2, "ROOM");
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a.GetUpperBound(), 2);
  EXPECT_EQ(CString("AREA"), a[1]);
  a.RemoveAt(0);
  EXPECT_EQ(CString("AREA"), a.GetAt(0));
  // Out of range is a programming error that MFC asserts; here it throws instead of reading
  // past the end.
  bool thrown = false;
  try {
    a.GetAt(5);
  } catch (CException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
  a.SetSize(0);
  EXPECT_TRUE(a.IsEmpty());
}

TEST(RuntimeClass, DynamicClassesKnowTheirBases) {
  TestDialog dlg;
  EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CAcUiDialog)));
  EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CAdUiBaseDialog)));
  EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CDialog)));
  EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CWnd)));
  EXPECT_FALSE(dlg.IsKindOf(RUNTIME_CLASS(CListBox)));
  EXPECT_STREQ(dlg.GetRuntimeClass()->m_lpszClassName, "CAcUiDialog");
}

}  // namespace
