// Rewrites of settings files of odd shapes, on both platforms: the host
// profile must leave the same bytes as the real functions. Found by the
// profile fuzzer, where a nameless section lost its header on a rewrite.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/settings_env.h"

namespace hw {
namespace {

struct RewriteCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

template <std::size_t N>
std::string bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

TEST(ProfileRewriteTest, OddFilesRewriteAlike) {
  const RewriteCase cases[] = {
      // "[]" names no section: its header is not written back, so its keys
      // join the section before.
      {"EmptyHeaderJoinsSectionBefore", "[A]\r\nk=1\r\n[]\r\nj=2\r\n", "A", "k", "5", "[A]\r\nk=5\r\nj=2\r\n"},
      {"BlankHeaderJoinsSectionBefore", "[A]\r\nk=1\r\n[  ]\r\nj=2\r\n", "A", "k", "5", "[A]\r\nk=5\r\nj=2\r\n"},
      // A name that starts with a zero byte is an empty name.
      {"ZeroByteSectionName", bytes("[A]\r\nk=1\r\n[\0B]\r\nj=2\r\n"), "A", "k", "5", "[A]\r\nk=5\r\nj=2\r\n"},
      {"ZeroByteLineBecomesBlank", bytes("\0x\r\n[A]\r\nk=1\r\n"), "A", "k", "2", "\r\n[A]\r\nk=2\r\n"},
      {"ZeroByteCutsName", bytes("[A]\r\nk\0junk=1\r\n"), "A", "m", "2", "[A]\r\nk=1\r\nm=2\r\n"},
      {"HighBytesKept", "[\xC4]\r\n\xE4=\xFF\r\n", "\xC4", "n", "1", "[\xC4]\r\n\xE4=\xFF\r\nn=1\r\n"},
      {"LongLineKeptWhole", "[A]\r\nk=" + std::string(70000, 'v') + "\r\n", "A", "m", "1",
       "[A]\r\nk=" + std::string(70000, 'v') + "\r\nm=1\r\n"},
  };
  for (const RewriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<test::SettingsEnv> env = test::makeSettingsEnv();
    env->writeFile(c.before);
    EXPECT_TRUE(env->platform().profile().writeString(env->iniPath(), c.section, c.key, c.value));
    EXPECT_EQ(env->readFile(), c.after);
  }
}

TEST(ProfileRewriteTest, KeysOfAnEmptyHeaderBecomeReachableAfterARewrite) {
  std::unique_ptr<test::SettingsEnv> env = test::makeSettingsEnv();
  Profile& profile = env->platform().profile();
  env->writeFile("[A]\r\nk=1\r\n[]\r\nj=2\r\n");
  EXPECT_EQ(profile.getString(env->iniPath(), "A", "j", "none", 64), "none");
  ASSERT_TRUE(profile.writeString(env->iniPath(), "A", "k", "5"));
  EXPECT_EQ(profile.getString(env->iniPath(), "A", "j", "none", 64), "2");
}

}  // namespace
}  // namespace hw
