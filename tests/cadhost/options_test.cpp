// The cadhost command line: every option in its short and long form, values, and bad usage.
#include <gtest/gtest.h>

#include <vector>

#include "options.h"

namespace {

bool parse(std::vector<const char*> args, cadhost::Options& opt, std::string& error) {
  args.insert(args.begin(), "cadhost");
  return cadhost::parseOptions(static_cast<int>(args.size()), args.data(), opt, error);
}

TEST(CadhostOptions, ShortAndLongFormsFillTheSameFields) {
  cadhost::Options a, b;
  std::string error;
  ASSERT_TRUE(parse({"plan.dxf", "-l", "zorvik.arx", "-l", "other.arx", "-c", "ZORVIK;Update", "-o", "out.dxf", "-q"},
                    a, error))
      << error;
  ASSERT_TRUE(parse({"--load", "zorvik.arx", "--load=other.arx", "plan.dxf", "--command=ZORVIK;Update", "--save",
                     "out.dxf", "--quiet"},
                    b, error))
      << error;
  for (const cadhost::Options* o : {&a, &b}) {
    EXPECT_EQ(o->drawing, "plan.dxf");
    EXPECT_EQ(o->modules, (std::vector<std::string>{"zorvik.arx", "other.arx"}));
    EXPECT_EQ(o->commands, (std::vector<std::string>{"ZORVIK;Update"}));
    EXPECT_EQ(o->saveAs, "out.dxf");
    EXPECT_TRUE(o->quiet);
  }
}

TEST(CadhostOptions, ScriptSvgRegistryHelpVersion) {
  cadhost::Options o;
  std::string error;
  ASSERT_TRUE(parse({"-s", "-", "--svg", "plan.svg", "--registry", "/tmp/u.reg", "-h", "--version"}, o, error));
  EXPECT_EQ(o.script, "-");
  EXPECT_EQ(o.svg, "plan.svg");
  EXPECT_EQ(o.registry, "/tmp/u.reg");
  EXPECT_TRUE(o.help);
  EXPECT_TRUE(o.version);
  EXPECT_TRUE(o.drawing.empty());
}

TEST(CadhostOptions, BadUsageIsRefusedWithAReason) {
  struct Case {
    std::vector<const char*> args;
    const char* mentions;
  } cases[] = {
      {{"--frobnicate"}, "unknown option"},
      {{"-x"}, "unknown option"},
      {{"-l"}, "needs a value"},
      {{"--save"}, "needs a value"},
      {{"--load="}, "non-empty"},
      {{"--quiet=yes"}, "takes no value"},
      {{"a.dxf", "b.dxf"}, "more than one drawing"},
      {{"-s", "x.scr", "-c", "LIST"}, "either --script or --command"},
  };
  for (const Case& c : cases) {
    cadhost::Options o;
    std::string error;
    EXPECT_FALSE(parse(c.args, o, error)) << c.args[0];
    EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
  }
}

TEST(CadhostOptions, DoubleDashEndsOptions) {
  cadhost::Options o;
  std::string error;
  ASSERT_TRUE(parse({"--", "-odd-name.dxf"}, o, error));
  EXPECT_EQ(o.drawing, "-odd-name.dxf");
}

TEST(CadhostOptions, HelpNamesEveryOptionAndGivesAnExample) {
  const std::string help = cadhost::usageText("cadhost");
  for (const char* o : {"--load", "--script", "--command", "--save", "--svg", "--registry", "--quiet", "--help",
                        "--version", "Example", "Exit status"})
    EXPECT_NE(help.find(o), std::string::npos) << o;
}

}  // namespace

TEST(CadhostOptions, DxfFormTakesAsciiOrBinary) {
  for (const char* form : {"ascii", "binary"}) {
    cadhost::Options o;
    std::string error;
    ASSERT_TRUE(parse({"plan.dxf", "--dxf-form", form}, o, error)) << error;
    EXPECT_EQ(o.dxfForm, form);
  }
  cadhost::Options o;
  std::string error;
  EXPECT_TRUE(parse({"plan.dxf"}, o, error));
  EXPECT_EQ(o.dxfForm, "");  // as the drawing was read
  cadhost::Options bad;
  EXPECT_FALSE(parse({"plan.dxf", "--dxf-form=dwg"}, bad, error));
  EXPECT_NE(error.find("ascii or binary"), std::string::npos) << error;
  EXPECT_NE(cadhost::usageText("cadhost").find("--dxf-form"), std::string::npos);
}
