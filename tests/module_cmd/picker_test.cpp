// picker_test.cpp - the attribute picker dialog: its template, sorting, preselection, OK and
// Cancel.
#include "cmd_fixture.h"

#include "dialogs/attributepickerdialog.h"
#include "resources.h"

#include "adslib.h"

#include "pf/resources.h"

namespace cmdtest {
namespace {

struct ControlSpec {
  int id;
  const char* className;
  const char* text;
  int x, y, w, h;
  DWORD style;
};

// Checks a template against its table: ids, classes, texts, positions, sizes and styles, in
// template order.
void expectControls(const pf::RcDialog& dialog, const std::vector<ControlSpec>& specs) {
  ASSERT_EQ(specs.size(), dialog.controls.size());
  for (size_t i = 0; i < specs.size(); ++i) {
    const pf::RcControl& c = dialog.controls[i];
    const ControlSpec& s = specs[i];
    SCOPED_TRACE("control " + std::to_string(i) + " (" + s.text + ")");
    EXPECT_EQ(s.id, c.id);
    EXPECT_EQ(s.className, c.className);
    EXPECT_EQ(s.text, c.text);
    EXPECT_EQ(s.x, c.x);
    EXPECT_EQ(s.y, c.y);
    EXPECT_EQ(s.w, c.width);
    EXPECT_EQ(s.h, c.height);
    EXPECT_EQ(s.style, c.style) << std::hex << "0x" << s.style << " vs 0x" << c.style;
  }
}

class PickerTest : public CommandTest {
protected:
  // Runs a picker over `names`; `act` plays the user. Answers DoModal's result.
  int runPicker(const std::vector<std::string>& names, std::function<void(pf::DialogSession&)> act,
                CString& chosen) {
    ModuleResourceScope resources;
    AttributePickerDialog picker(CWnd::FromHandle(adsw_acadMainWnd()));
    for (const std::string& name : names) picker.addName(name.c_str());
    pf::ScopedDialogDriver driver(recordingDriver(dialogs_, std::move(act)));
    const int result = static_cast<int>(picker.DoModal());
    picker.chosenName(chosen);
    return result;
  }
  DialogLog dialogs_;
};

TEST_F(PickerTest, TemplateMatchesTheDialogTable) {
  std::shared_ptr<const pf::ResourceScript> script = pf::moduleResourcesNoOops(s_resources);
  ASSERT_NE(nullptr, script);
  const pf::RcDialog* dialog = script->findDialogNoOops(2002);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ("Select attribute name", dialog->caption);
  EXPECT_EQ(8, dialog->fontSize);
  EXPECT_EQ("MS Sans Serif", dialog->fontName);
  EXPECT_EQ(229, dialog->width);
  EXPECT_EQ(194, dialog->height);
  EXPECT_EQ(0x80C800C0u, dialog->style);  // popup, caption, system menu, modal frame, font
  expectControls(*dialog, {
      {1, "Button", "OK", 172, 7, 50, 14, 0x50010001},
      {2, "Button", "Cancel", 172, 24, 50, 14, 0x50010000},
      // visible, border, vertical scroll, tab stop, sorted, notify, no integral height
      {2016, "ListBox", "", 7, 7, 153, 180, 0x50A10103},
  });
}

TEST_F(PickerTest, RunningDialogHasTheControlsTheCodeUses) {
  CString chosen;
  runPicker({"A"},
            [](pf::DialogSession& s) {
              EXPECT_EQ("Select attribute name", s.caption());
              const pf::WindowInfo list = s.control(2016);
              ASSERT_TRUE(list.exists);
              EXPECT_EQ("list box", list.kind);
              EXPECT_EQ(0x50A10103u, list.style) << std::hex << list.style;
              EXPECT_TRUE(s.control(IDOK).exists);
              EXPECT_TRUE(s.control(IDCANCEL).exists);
              s.cancel();
            },
            chosen);
}

TEST_F(PickerTest, NamesAreSortedFirstIsSelectedAndOkYieldsIt) {
  std::vector<std::string> items;
  int selection = -2;
  bool listIsSorted = false;
  CString chosen;
  const int result = runPicker({"WIDTH", "AREA", "ROOM"},
                               [&](pf::DialogSession& s) {
                                 const pf::WindowInfo list = s.control(2016);
                                 items = list.items;
                                 selection = list.selection;
                                 listIsSorted = (list.style & 0x0002) != 0;
                                 EXPECT_TRUE(s.ok().ok);
                               },
                               chosen);
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ((std::vector<std::string>{"AREA", "ROOM", "WIDTH"}), items);
  EXPECT_EQ(0, selection);
  EXPECT_TRUE(listIsSorted);
  EXPECT_STREQ("AREA", static_cast<const char*>(chosen));
  EXPECT_EQ((std::vector<UINT>{2002}), dialogs_.templates);
}

TEST_F(PickerTest, AnotherSelectionYieldsThatEntryExactly) {
  CString chosen;
  const int result = runPicker({"Room Name", "AREA"},
                               [](pf::DialogSession& s) {
                                 EXPECT_TRUE(s.select(2016, "Room Name").ok);
                                 EXPECT_TRUE(s.ok().ok);
                               },
                               chosen);
  EXPECT_EQ(IDOK, result);
  EXPECT_STREQ("Room Name", static_cast<const char*>(chosen));
}

TEST_F(PickerTest, EnterPressesOkAndEscCancels) {
  CString chosen;
  EXPECT_EQ(IDOK, runPicker({"B", "A"}, [](pf::DialogSession& s) { s.click(IDOK); }, chosen));
  EXPECT_STREQ("A", static_cast<const char*>(chosen));
  CString cancelled;
  EXPECT_NE(IDOK, runPicker({"B", "A"}, [](pf::DialogSession& s) { s.cancel(); }, cancelled));
  EXPECT_TRUE(cancelled.IsEmpty());
}

TEST_F(PickerTest, OkWithoutSelectionKeepsTheDialogOpen) {
  CString chosen;
  bool stillRunning = false;
  const int result = runPicker({},
                               [&](pf::DialogSession& s) {
                                 EXPECT_TRUE(s.control(2016).items.empty());
                                 EXPECT_EQ(-1, s.control(2016).selection);
                                 s.ok();
                                 stillRunning = s.running();
                                 s.cancel();
                               },
                               chosen);
  EXPECT_TRUE(stillRunning) << "OK without a selection must not end the dialog";
  EXPECT_NE(IDOK, result);
  EXPECT_TRUE(chosen.IsEmpty());
}

TEST_F(PickerTest, CancelAfterChangingTheSelectionLeavesTheResultEmpty) {
  CString chosen;
  const int result = runPicker({"AREA", "ROOM"},
                               [](pf::DialogSession& s) {
                                 EXPECT_TRUE(s.select(2016, "ROOM").ok);
                                 EXPECT_TRUE(s.cancel().ok);
                               },
                               chosen);
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_TRUE(chosen.IsEmpty());
}

}  // namespace
}  // namespace cmdtest
