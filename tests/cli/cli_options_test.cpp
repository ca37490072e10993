#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include "engine/run_record.h"

namespace hw::cli {
namespace {

TEST(CliOptions, FullBackupCommandLine) {
  Options o;
  std::string error;
  ASSERT_TRUE(parseOptions({"backup", "--drive", "C=/tmp/src", "--drive", "A=/tmp/fl:floppy:1440k",
                            "--drive", "E=/x:y:removable", "--source", "c", "--source", "E:",
                            "--dest", "A", "--mode", "all,boot", "--yes"},
                           o, error))
      << error;
  EXPECT_EQ(o.command, "backup");
  ASSERT_EQ(o.drives.size(), 3u);
  EXPECT_EQ(o.drives[0].letter, 'C');
  EXPECT_EQ(o.drives[0].folder, "/tmp/src");
  EXPECT_EQ(o.drives[0].kind, "fixed");
  EXPECT_EQ(o.drives[1].kind, "floppy");
  EXPECT_EQ(o.drives[1].bytes, 1440u * 1024);
  // A folder may hold colons; the kind is taken from the end.
  EXPECT_EQ(o.drives[2].folder, "/x:y");
  EXPECT_EQ(o.drives[2].kind, "removable");
  EXPECT_EQ(o.sources, (std::vector<char>{'C', 'E'}));
  EXPECT_EQ(o.dest, 'A');
  EXPECT_EQ(o.mode, MODE_ALL | MODE_BOOT);
  EXPECT_TRUE(o.yes);
}

TEST(CliOptions, ModeWords) {
  struct Case {
    const char* text;
    bool ok;
    std::uint32_t mode;
  } cases[] = {
      {"all", true, MODE_ALL},
      {"changed", true, MODE_CHANGED},
      {"data,apps,boot", true, MODE_DATA | MODE_APPS | MODE_BOOT},
      {"all,changed,data,apps,boot", true, 0x1F},
      {"everything", false, 0},
      {"", false, 0},
      {"all,", false, 0},
  };
  for (const Case& c : cases) {
    std::uint32_t mode = 0;
    EXPECT_EQ(parseMode(c.text, mode), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(mode, c.mode) << c.text;
    }
  }
}

TEST(CliOptions, Sizes) {
  struct Case {
    const char* text;
    bool ok;
    std::uint64_t bytes;
  } cases[] = {
      {"1457664", true, 1457664}, {"1440k", true, 1474560}, {"100M", true, 104857600},
      {"2G", true, 2147483648ull}, {"12kb", false, 0},   {"k", false, 0},
      {"", false, 0},             {"99999999999999999999", false, 0},
      {"17179869184G", false, 0},
  };
  for (const Case& c : cases) {
    std::uint64_t bytes = 0;
    EXPECT_EQ(parseBytes(c.text, bytes), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(bytes, c.bytes) << c.text;
    }
  }
}

TEST(CliOptions, BadUsageIsRefusedWithAReason) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"restore"},
      {"backup", "--dest", "A"},                                  // no source
      {"backup", "--source", "C"},                                // no destination
      {"backup", "--source", "CC", "--dest", "A"},                // not a letter
      {"backup", "--source", "C", "--dest", "A", "--mode", "x"},  // unknown kind
      {"backup", "--source", "C", "--dest"},                      // missing value
      {"backup", "--drive", "C", "--source", "C", "--dest", "A"},
      {"backup", "--drive", "C=", "--source", "C", "--dest", "A"},
      {"backup", "--drive", "C=/a", "--drive", "C=/b", "--source", "C", "--dest", "A"},
      {"backup", "--drive", "A=/f:floppy:0", "--source", "C", "--dest", "A"},
      {"backup", "--frobnicate"},
  };
  for (const auto& args : cases) {
    Options o;
    std::string error;
    EXPECT_FALSE(parseOptions(args, o, error)) << ::testing::PrintToString(args);
    EXPECT_FALSE(error.empty()) << ::testing::PrintToString(args);
  }
}

TEST(CliOptions, HelpAndDefaultMode) {
  Options o;
  std::string error;
  ASSERT_TRUE(parseOptions({"--help"}, o, error));
  EXPECT_EQ(o.command, "help");
  Options b;
  ASSERT_TRUE(parseOptions({"backup", "--source", "C", "--dest", "A"}, b, error));
  EXPECT_EQ(b.mode, MODE_ALL);
  EXPECT_FALSE(b.yes);
}

}  // namespace
}  // namespace hw::cli
