// options_test.cpp - the Options dialog: its template, what it shows, its checks on OK, its
// messages and what reaches memory and the registry.
#include "cmd_fixture.h"

#include "dialogs/optionsdialog.h"

#include "pf/resources.h"

namespace cmdtest {
namespace {

class OptionsTest : public CommandTest {
protected:
  // Runs the Options dialog; `act` plays the user. Answers showOptionsDialog's answer.
  bool runOptions(std::function<void(pf::DialogSession&)> act) {
    pf::ScopedDialogDriver driver(recordingDriver(dialogs_, std::move(act)));
    return showOptionsDialog();
  }
  // Settings as stored in the registry, read through a load into memory.
  void reloadFromRegistry() { app()->loadSettings(); }

  static std::vector<std::string> boxTexts() {
    std::vector<std::string> out;
    for (const pf::MessageBoxRecord& box : pf::messageBoxes())
      out.push_back("[" + box.caption + "] " + box.text);
    return out;
  }

  DialogLog dialogs_;
};

const std::string kInvalidDivisor = "[Invalid input] Invalid value for divisor (must be > 0) !";
const std::string kDivisorChanged =
    "[Information] You have changed value of area divisor. You should run ZORVIK, Update "
    "command to force update existing links.";
const std::string kEmptyAttname = "[Invalid input] Attribute name can't be empty !";

TEST_F(OptionsTest, TemplateMatchesTheDialogTable) {
  std::shared_ptr<const pf::ResourceScript> script = pf::moduleResourcesNoOops(s_resources);
  ASSERT_NE(nullptr, script);
  const pf::RcDialog* dialog = script->findDialogNoOops(2003);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ("Options", dialog->caption);
  EXPECT_EQ(205, dialog->width);
  EXPECT_EQ(132, dialog->height);
  EXPECT_EQ(8, dialog->fontSize);
  EXPECT_EQ("MS Sans Serif", dialog->fontName);
  EXPECT_EQ(0x80C800C0u, dialog->style);
  struct Spec {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    int x, y, w, h;
  };
  const std::vector<Spec> specs = {
      {2017, "Button", "Allow automatic update", 0x50010003, 12, 14, 89, 10},
      {-1, "Static", "Area precision", 0x50020000, 12, 34, 46, 8},
      {2018, "Edit", "", 0x50810080, 68, 32, 40, 14},
      {2019, "msctls_updown32", "Spin1", 0x50000036, 112, 32, 11, 14},
      {1, "Button", "OK", 0x50010001, 93, 111, 50, 14},
      {2, "Button", "Cancel", 0x50010000, 148, 111, 50, 14},
      {-1, "Static", "Area divisor", 0x50020000, 12, 50, 38, 8},
      {2020, "Edit", "", 0x50810080, 68, 48, 40, 14},
      {2021, "Edit", "", 0x50810080, 68, 80, 110, 14},
      {-1, "Static", "Default attribute", 0x50020000, 12, 82, 51, 8},
      {2022, "Button", "Run in quiet mode", 0x50010003, 12, 66, 73, 10},
  };
  ASSERT_EQ(specs.size(), dialog->controls.size());
  for (size_t i = 0; i < specs.size(); ++i) {
    const pf::RcControl& c = dialog->controls[i];
    SCOPED_TRACE(std::string("control ") + specs[i].text);
    EXPECT_EQ(specs[i].id, c.id);
    EXPECT_EQ(specs[i].className, c.className);
    EXPECT_EQ(specs[i].text, c.text);
    EXPECT_EQ(specs[i].style, c.style) << std::hex << c.style;
    EXPECT_EQ(specs[i].x, c.x);
    EXPECT_EQ(specs[i].y, c.y);
    EXPECT_EQ(specs[i].w, c.width);
    EXPECT_EQ(specs[i].h, c.height);
  }
}

TEST_F(OptionsTest, RunningDialogHasTheControlsTheCodeUses) {
  const std::vector<std::pair<int, DWORD>> expected = {
      {2017, 0x50010003}, {2018, 0x50810080}, {2019, 0x50000036}, {1, 0x50010001},
      {2, 0x50010000},    {2020, 0x50810080}, {2021, 0x50810080}, {2022, 0x50010003}};
  std::string caption;
  runOptions([&](pf::DialogSession& s) {
    caption = s.caption();
    for (const auto& control : expected) {
      SCOPED_TRACE(control.first);
      const pf::WindowInfo info = s.control(control.first);
      ASSERT_TRUE(info.exists);
      // The default attribute field is disabled while quiet mode is off.
      EXPECT_EQ(control.second, info.style & ~static_cast<DWORD>(WS_DISABLED))
          << std::hex << info.style;
      EXPECT_EQ(control.first != 2021, info.enabled);
    }
    s.cancel();
  });
  EXPECT_EQ("Options", caption);
}

TEST_F(OptionsTest, ShowsTheStoredSettingsAndCancelStillReloadsThem) {
  storeSettingsInRegistry(false, 4, 2.5, true, "ROOM");
  app()->setDivisor(7.0);  // in memory only; opening the dialog replaces it
  pf::WindowInfo autoUpdate, precision, spin, divisor, quiet, attname;
  const bool ok = runOptions([&](pf::DialogSession& s) {
    autoUpdate = s.control(2017);
    precision = s.control(2018);
    spin = s.control(2019);
    divisor = s.control(2020);
    quiet = s.control(2022);
    attname = s.control(2021);
    s.cancel();
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ((std::vector<UINT>{2003}), dialogs_.templates);
  EXPECT_EQ(0, autoUpdate.check);
  EXPECT_EQ("4", precision.text);
  EXPECT_EQ(0, spin.spinLower);
  EXPECT_EQ(6, spin.spinUpper);
  EXPECT_EQ(precision.hwnd, spin.buddy);
  EXPECT_EQ(2.5, std::atof(divisor.text.c_str()));
  EXPECT_EQ(1, quiet.check);
  EXPECT_EQ("ROOM", attname.text);
  EXPECT_TRUE(attname.enabled);
  EXPECT_EQ(2.5, app()->divisor()) << "opening the dialog reloads the registry values";
  EXPECT_FALSE(app()->autoUpdate());
  EXPECT_EQ(4, app()->areaPrec());
}

TEST_F(OptionsTest, DefaultAttributeFieldIsEnabledOnlyInQuietMode) {
  std::vector<bool> enabled;
  runOptions([&](pf::DialogSession& s) {
    enabled.push_back(s.control(2021).enabled);
    EXPECT_TRUE(s.check(2022, true).ok);
    enabled.push_back(s.control(2021).enabled);
    EXPECT_TRUE(s.check(2022, false).ok);
    enabled.push_back(s.control(2021).enabled);
    s.cancel();
  });
  EXPECT_EQ((std::vector<bool>{false, true, false}), enabled);
}

TEST_F(OptionsTest, OkStoresAndSavesEverySetting) {
  const bool ok = runOptions([](pf::DialogSession& s) {
    s.check(2017, false);
    s.setText(2018, "5");
    s.setText(2020, "0.5");
    s.check(2022, true);
    s.setText(2021, "  ROOM AREA \t");
    EXPECT_TRUE(s.ok().ok);
  });
  EXPECT_TRUE(ok);
  EXPECT_FALSE(app()->autoUpdate());
  EXPECT_EQ(5, app()->areaPrec());
  EXPECT_EQ(0.5, app()->divisor());
  EXPECT_TRUE(app()->quietMode());
  EXPECT_STREQ("ROOM AREA", app()->attname()) << "trimmed at both ends";
  setDefaultSettings();
  reloadFromRegistry();
  EXPECT_FALSE(app()->autoUpdate());
  EXPECT_EQ(5, app()->areaPrec());
  EXPECT_EQ(0.5, app()->divisor());
  EXPECT_TRUE(app()->quietMode());
  EXPECT_STREQ("ROOM AREA", app()->attname());
  EXPECT_EQ((std::vector<std::string>{kDivisorChanged}), boxTexts());
}

TEST_F(OptionsTest, DivisorThreshold) {
  // 0.00001 is the smallest divisor accepted.
  EXPECT_TRUE(runOptions([](pf::DialogSession& s) {
    s.setText(2020, "0.00001");
    s.ok();
  }));
  EXPECT_EQ(0.00001, app()->divisor());

  for (const char* refused : {"0.0000099", "0", "-2"}) {
    SCOPED_TRACE(refused);
    storeSettingsInRegistry(true, 2, 1.0, false, "");
    pf::clearMessageBoxes();
    bool running = false;
    int focus = 0;
    runOptions([&](pf::DialogSession& s) {
      s.setText(2018, "3");
      s.check(2017, false);
      s.setText(2020, refused);
      s.ok();
      running = s.running();
      focus = s.focusId();
      s.cancel();
    });
    EXPECT_TRUE(running);
    EXPECT_EQ(2020, focus);
    EXPECT_EQ((std::vector<std::string>{kInvalidDivisor}), boxTexts());
    ASSERT_EQ(1u, pf::messageBoxes().size());
    EXPECT_EQ(64u, pf::messageBoxes()[0].style);
    EXPECT_NE(nullptr, pf::messageBoxes()[0].owner) << "owned by the dialog";
    // The two settings stored before the divisor check keep their new values in memory only.
    EXPECT_EQ(3, app()->areaPrec());
    EXPECT_FALSE(app()->autoUpdate());
    EXPECT_EQ(1.0, app()->divisor());
    reloadFromRegistry();
    EXPECT_EQ(2, app()->areaPrec());
  }
}

TEST_F(OptionsTest, TextThatIsNotANumberIsRefusedByTheExchange) {
  bool running = false;
  runOptions([&](pf::DialogSession& s) {
    s.setText(2020, "abc");
    s.ok();
    running = s.running();
    s.cancel();
  });
  EXPECT_TRUE(running);
  EXPECT_EQ(1.0, app()->divisor());
  ASSERT_EQ(1u, pf::messageBoxes().size()) << "the toolkit's own message";
  EXPECT_NE(kInvalidDivisor, boxTexts()[0]);
}

TEST_F(OptionsTest, InfiniteOrNanDivisorIsRefused) {
  // An infinite divisor would turn every area into 0; such text never becomes the divisor,
  // whether the exchange or the divisor check refuses it.
  for (const char* refused : {"inf", "1e400", "nan"}) {
    SCOPED_TRACE(refused);
    pf::clearMessageBoxes();
    bool running = false;
    runOptions([&](pf::DialogSession& s) {
      s.setText(2020, refused);
      s.ok();
      running = s.running();
      s.cancel();
    });
    EXPECT_TRUE(running);
    EXPECT_EQ(1.0, app()->divisor());
    EXPECT_EQ(1u, pf::messageBoxes().size());
  }
}

TEST_F(OptionsTest, ChangeWarningNeedsMoreThanTheThreshold) {
  struct Case {
    const char* text;
    bool warns;
  };
  for (const Case& c : {Case{"1.000005", false}, Case{"1.0001", true}, Case{"1.00001", true}}) {
    SCOPED_TRACE(c.text);
    storeSettingsInRegistry(true, 2, 1.0, false, "");
    pf::clearMessageBoxes();
    EXPECT_TRUE(runOptions([&](pf::DialogSession& s) {
      s.setText(2020, c.text);
      s.ok();
    }));
    EXPECT_EQ(c.warns ? std::vector<std::string>{kDivisorChanged} : std::vector<std::string>{},
              boxTexts());
    EXPECT_EQ(std::atof(c.text), app()->divisor());
  }
}

TEST_F(OptionsTest, SecondOkAfterARefusalComparesWithTheDivisorInMemory) {
  storeSettingsInRegistry(true, 2, 2.0, false, "");
  runOptions([](pf::DialogSession& s) {
    s.setText(2020, "0");
    s.ok();  // refused
    s.setText(2020, "2.000001");
    s.ok();  // differs from 2 by less than the threshold: no warning
  });
  EXPECT_EQ((std::vector<std::string>{kInvalidDivisor}), boxTexts());
  EXPECT_EQ(2.000001, app()->divisor());
}

TEST_F(OptionsTest, QuietModeOffIgnoresTheDefaultAttributeField) {
  storeSettingsInRegistry(true, 2, 1.0, false, "KEEP");
  EXPECT_TRUE(runOptions([](pf::DialogSession& s) {
    s.check(2022, true);
    s.setText(2021, "OTHER");
    s.check(2022, false);
    s.ok();
  }));
  EXPECT_STREQ("KEEP", app()->attname());
  setDefaultSettings();
  reloadFromRegistry();
  EXPECT_STREQ("KEEP", app()->attname()) << "saved again unchanged";
}

TEST_F(OptionsTest, QuietModeWithABlankAttributeIsRefused) {
  storeSettingsInRegistry(true, 2, 1.0, false, "OLD");
  bool running = false;
  int focus = 0;
  runOptions([&](pf::DialogSession& s) {
    s.setText(2018, "4");
    s.setText(2020, "3");
    s.check(2022, true);
    s.setText(2021, "   ");
    s.ok();
    running = s.running();
    focus = s.focusId();
    s.cancel();
  });
  EXPECT_TRUE(running);
  EXPECT_EQ(2021, focus);
  EXPECT_EQ((std::vector<std::string>{kDivisorChanged, kEmptyAttname}), boxTexts());
  // Everything before the attribute check is in memory, nothing in the registry.
  EXPECT_EQ(4, app()->areaPrec());
  EXPECT_EQ(3.0, app()->divisor());
  EXPECT_TRUE(app()->quietMode());
  EXPECT_STREQ("OLD", app()->attname());
  reloadFromRegistry();
  EXPECT_EQ(1.0, app()->divisor());
  EXPECT_FALSE(app()->quietMode());
}

TEST_F(OptionsTest, PrecisionOutsideZeroToSixIsRefusedAndTheSpinStepsByOne) {
  for (const char* refused : {"7", "-1"}) {
    SCOPED_TRACE(refused);
    pf::clearMessageBoxes();
    bool running = false;
    int focus = 0;
    runOptions([&](pf::DialogSession& s) {
      s.setText(2018, refused);
      s.ok();
      running = s.running();
      focus = s.focusId();
      s.cancel();
    });
    EXPECT_TRUE(running);
    EXPECT_EQ(2018, focus);
    EXPECT_EQ(1u, pf::messageBoxes().size());
    EXPECT_EQ(2, app()->areaPrec());
  }
  std::vector<std::string> texts;
  EXPECT_TRUE(runOptions([&](pf::DialogSession& s) {
    s.setText(2018, "5");
    s.spin(2019, true);
    texts.push_back(s.control(2018).text);
    s.spin(2019, true);  // stays at the upper bound
    texts.push_back(s.control(2018).text);
    s.spin(2019, false);
    texts.push_back(s.control(2018).text);
    s.ok();
  }));
  EXPECT_EQ((std::vector<std::string>{"6", "6", "5"}), texts);
  EXPECT_EQ(5, app()->areaPrec());
}

}  // namespace
}  // namespace cmdtest
