#include "app/settings_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/app/default_settings_fixture.h"
#include "tests/app/settings_env.h"

namespace hw {
namespace {

using test::SettingsEnv;

class SettingsStoreTest : public testing::Test {
 protected:
  SettingsStoreTest() : env_(test::makeSettingsEnv()), store_(env_->platform(), env_->iniPath()) {
    store_.setScreenSize(800, 600);
  }

  // One value as the file holds it, read past the store.
  std::string stored(const char* section, const char* key) {
    return env_->platform().profile().getString(env_->iniPath(), section, key, "<missing>", 1024);
  }

  std::unique_ptr<SettingsEnv> env_;
  SettingsStore store_;
};

// --- First run ---------------------------------------------------------------------

TEST_F(SettingsStoreTest, FirstPlacementReadWritesTheExactDefaultFile) {
  ASSERT_FALSE(env_->fileExists());
  EXPECT_EQ(store_.GetMainPlacement(1), -2000);
  EXPECT_EQ(env_->readFile(), test::defaultSettingsFile());

  // Later reads find the keys and leave the file alone.
  EXPECT_EQ(store_.GetMainPlacement(1), 50);
  EXPECT_EQ(store_.GetMainPlacement(2), 50);
  EXPECT_EQ(store_.GetMainPlacement(3), 800);
  EXPECT_EQ(store_.GetMainPlacement(4), 600);
  EXPECT_EQ(env_->readFile(), test::defaultSettingsFile());
}

TEST_F(SettingsStoreTest, FirstRunWritesTheSavedColours) {
  store_.savedBackColor = 255;
  store_.savedTextColor = 16777215;
  EXPECT_TRUE(store_.WriteDefaults());
  EXPECT_EQ(stored("Preferences", "BackColor"), "255");
  EXPECT_EQ(stored("Preferences", "TextColor"), "16777215");
}

TEST_F(SettingsStoreTest, MinusTwoThousandInAnyPlacementKeyRewritesEveryDefault) {
  env_->writeFile(
      "[resource]\r\nlang=deu\r\n[Main]\r\nLeft=300\r\nTop=-2000\r\nAppDir=D:\\APPS\r\n"
      "[Preferences]\r\nDLogNum=40\r\nCustColor03=255\r\n[DriveTimes]\r\nDriveSizeA=1457664\r\n");
  EXPECT_EQ(store_.GetMainPlacement(1), 300);
  EXPECT_EQ(store_.GetMainPlacement(2), -2000);
  EXPECT_EQ(store_.GetMainPlacement(1), 50);
  EXPECT_EQ(stored("Main", "AppDir"), "D:\\APPS");  // kept: it was not empty
  EXPECT_EQ(store_.GetDLogNum(), 6u);
  EXPECT_EQ(store_.GetCustColor(3), 16777215u);
  EXPECT_EQ(store_.GetDriveSize('A'), 0u);
  EXPECT_EQ(store_.GetLang(), "deu");  // a section the store does not write stays
}

TEST_F(SettingsStoreTest, EmptyAppDirBecomesNone) {
  env_->writeFile("[Main]\r\nAppDir=\r\n");
  store_.GetMainPlacement(3);
  EXPECT_EQ(stored("Main", "AppDir"), "None");
}

TEST_F(SettingsStoreTest, FirstRunGivesReportsTheDocumentTypeOfDoc) {
  env_->setDocumentType(".DOC", "Word.Document.8");
  store_.GetMainPlacement(1);
  std::string type;
  ASSERT_TRUE(env_->documentTypeOf(".KVX", type));
  EXPECT_EQ(type, "Word.Document.8");
}

TEST_F(SettingsStoreTest, FirstRunWithoutDocTypeCreatesNoKvxAndCompletes) {
  EXPECT_TRUE(store_.WriteDefaults());
  std::string type;
  EXPECT_FALSE(env_->documentTypeOf(".KVX", type));
  EXPECT_EQ(env_->readFile(), test::defaultSettingsFile());
}

// --- Reads of a file without the keys ---------------------------------------------------

TEST_F(SettingsStoreTest, MissingKeysReadAsTheirDefaultsAndNothingIsWritten) {
  env_->writeFile("[Other]\r\nk=v\r\n");
  EXPECT_EQ(store_.GetPreferencesPlacement(1), 5);
  EXPECT_EQ(store_.GetPreferencesPlacement(2), 25);
  EXPECT_EQ(store_.GetAboutPlacement(1), -25);
  EXPECT_EQ(store_.GetAboutPlacement(2), 25);
  EXPECT_EQ(store_.GetBackColor(), 12632256u);
  EXPECT_EQ(store_.GetTextColor(), 0u);
  EXPECT_EQ(store_.GetCustColor(16), 16777215u);
  EXPECT_EQ(store_.GetSourceDrive(), "C:");
  EXPECT_EQ(store_.GetDestinDrive(), "C:");
  EXPECT_EQ(store_.GetPrefFilter(20), "0");
  EXPECT_EQ(store_.GetSaveLog(), 1);
  std::string logs = "C:\\HOARDWL";
  EXPECT_EQ(store_.GetSaveLogDir(logs), 19);
  EXPECT_EQ(logs, "C:\\HOARDWL\\LOGFILES");
  EXPECT_EQ(store_.GetDelOldLogs(), 0);
  EXPECT_EQ(store_.GetDLogNum(), 2u);
  EXPECT_EQ(store_.GetDLogPeriod(), 2u);
  EXPECT_EQ(store_.GetBootableSysFlt(), 1);
  EXPECT_EQ(store_.GetAutoAppendDstDisk(), 0);
  EXPECT_EQ(store_.GetUseINIDataExts(), 0);
  EXPECT_EQ(store_.GetUseINIApplExts(), 0);
  EXPECT_EQ(store_.GetUseDrive('C'), 0);
  EXPECT_EQ(store_.GetDriveSize('C'), 0u);
  EXPECT_EQ(store_.GetDrvTotTime('C'), 0u);
  EXPECT_EQ(store_.GetDrvFilTime('C'), 0u);
  EXPECT_EQ(store_.GetDrvDelTime('C'), 0u);
  std::string appDir = "C:\\PROGRAMS";
  EXPECT_EQ(store_.GetAppDir(appDir), 11u);
  EXPECT_EQ(appDir, "C:\\PROGRAMS");
  EXPECT_EQ(store_.GetLang(), "enu");
  EXPECT_EQ(env_->readFile(), "[Other]\r\nk=v\r\n");
}

TEST_F(SettingsStoreTest, ColoursLoadIntoBothCopies) {
  env_->writeFile("[Preferences]\r\nBackColor=255.9\r\nTextColor=65280\r\n");
  store_.LoadBackColor();
  store_.LoadTextColor();
  EXPECT_EQ(store_.backColor, 255u);
  EXPECT_EQ(store_.savedBackColor, 255u);
  EXPECT_EQ(store_.textColor, 65280u);
  EXPECT_EQ(store_.savedTextColor, 65280u);
  store_.savedBackColor = 16711680;
  EXPECT_TRUE(store_.SaveBackColor());
  EXPECT_EQ(stored("Preferences", "BackColor"), "16711680");
}

// --- Every key written and read back -----------------------------------------------------

struct RoundTrip {
  const char* section;
  const char* key;
  std::function<bool(SettingsStore&)> set;
  std::function<std::string(SettingsStore&)> get;
  const char* written;  // the text in the file
  const char* readBack;
};

std::string str(long long v) { return std::to_string(v); }

TEST_F(SettingsStoreTest, EveryKeyRoundTrips) {
  const std::vector<RoundTrip> cases = {
      {"Main", "Left", [](SettingsStore& s) { return s.SetMainPlacement(1, -7); },
       [](SettingsStore& s) { return str(s.GetMainPlacement(1)); }, "-7", "-7"},
      {"Main", "Top", [](SettingsStore& s) { return s.SetMainPlacement(2, 12); },
       [](SettingsStore& s) { return str(s.GetMainPlacement(2)); }, "12", "12"},
      {"Main", "ScrnWidth", [](SettingsStore& s) { return s.SetMainPlacement(3, 1024); },
       [](SettingsStore& s) { return str(s.GetMainPlacement(3)); }, "1024", "1024"},
      {"Main", "ScrnHeight", [](SettingsStore& s) { return s.SetMainPlacement(4, 768); },
       [](SettingsStore& s) { return str(s.GetMainPlacement(4)); }, "768", "768"},
      {"Main", "AppDir", [](SettingsStore& s) { return s.SetAppDir("C:\\APPS"); },
       [](SettingsStore& s) { std::string v = "x"; s.GetAppDir(v); return v; }, "C:\\APPS", "C:\\APPS"},
      {"Preferences", "Left", [](SettingsStore& s) { return s.SetPreferencesPlacement(1, 33); },
       [](SettingsStore& s) { return str(s.GetPreferencesPlacement(1)); }, "33", "33"},
      {"Preferences", "Top", [](SettingsStore& s) { return s.SetPreferencesPlacement(2, -4); },
       [](SettingsStore& s) { return str(s.GetPreferencesPlacement(2)); }, "-4", "-4"},
      {"Preferences", "BackColor", [](SettingsStore& s) { return s.SetBackColor(4294967295u); },
       [](SettingsStore& s) { return str(s.GetBackColor()); }, "4294967295", "4294967295"},
      {"Preferences", "TextColor", [](SettingsStore& s) { return s.SetTextColor(8421504); },
       [](SettingsStore& s) { return str(s.GetTextColor()); }, "8421504", "8421504"},
      {"Preferences", "CustColor01", [](SettingsStore& s) { return s.SetCustColor(1, 0); },
       [](SettingsStore& s) { return str(s.GetCustColor(1)); }, "0", "0"},
      {"Preferences", "CustColor16", [](SettingsStore& s) { return s.SetCustColor(16, 3158064); },
       [](SettingsStore& s) { return str(s.GetCustColor(16)); }, "3158064", "3158064"},
      {"Preferences", "SourceDrive", [](SettingsStore& s) { return s.SetSourceDrive("C, D, F"); },
       [](SettingsStore& s) { return s.GetSourceDrive(); }, "C, D, F", "C, D, F"},
      {"Preferences", "DestinDrive", [](SettingsStore& s) { return s.SetDestinDrive("A"); },
       [](SettingsStore& s) { return s.GetDestinDrive(); }, "A", "A"},
      {"Preferences", "PrefFilter", [](SettingsStore& s) { return s.SetPrefFilter("0, 3"); },
       [](SettingsStore& s) { return s.GetPrefFilter(20); }, "0, 3", "0, 3"},
      {"Preferences", "SaveLog", [](SettingsStore& s) { return s.SetSaveLog(5); },
       [](SettingsStore& s) { return str(s.GetSaveLog()); }, "1", "1"},
      {"Preferences", "SaveLog", [](SettingsStore& s) { return s.SetSaveLog(-1); },
       [](SettingsStore& s) { return str(s.GetSaveLog()); }, "0", "0"},
      {"Preferences", "SaveLogDir", [](SettingsStore& s) { return s.SetSaveLogDir("E:\\LOGS"); },
       [](SettingsStore& s) { std::string v = "C:"; s.GetSaveLogDir(v); return v; }, "E:\\LOGS", "E:\\LOGS"},
      {"Preferences", "DelOldLogs", [](SettingsStore& s) { return s.SetDelOldLogs(1); },
       [](SettingsStore& s) { return str(s.GetDelOldLogs()); }, "1", "1"},
      {"Preferences", "DLogNum", [](SettingsStore& s) { return s.SetDLogNum(300); },
       [](SettingsStore& s) { return str(s.GetDLogNum()); }, "300", "300"},
      {"Preferences", "DLogNum", [](SettingsStore& s) { return s.SetDLogNum(65536 + 300); },
       [](SettingsStore& s) { return str(s.GetDLogNum()); }, "300", "300"},
      {"Preferences", "DLogNum", [](SettingsStore& s) { return s.SetDLogNum(65536 + 600); },
       [](SettingsStore& s) { return str(s.GetDLogNum()); }, "500", "500"},
      {"Preferences", "DLogPeriod", [](SettingsStore& s) { return s.SetDLogPeriod("Day(s)"); },
       [](SettingsStore& s) { return str(s.GetDLogPeriod()); }, "0", "0"},
      {"Preferences", "DLogPeriod", [](SettingsStore& s) { return s.SetDLogPeriod("Week(s)"); },
       [](SettingsStore& s) { return str(s.GetDLogPeriod()); }, "1", "1"},
      {"Preferences", "DLogPeriod", [](SettingsStore& s) { return s.SetDLogPeriod("Year(s)"); },
       [](SettingsStore& s) { return str(s.GetDLogPeriod()); }, "3", "3"},
      {"Preferences", "DLogPeriod", [](SettingsStore& s) { return s.SetDLogPeriod("day(s)"); },
       [](SettingsStore& s) { return str(s.GetDLogPeriod()); }, "2", "2"},
      {"Preferences", "BootableSysFlt", [](SettingsStore& s) { return s.SetBootableSysFlt(7); },
       [](SettingsStore& s) { return str(s.GetBootableSysFlt()); }, "1", "1"},
      {"Preferences", "AutoAppendDstDisk", [](SettingsStore& s) { return s.SetAutoAppendDstDisk(-2); },
       [](SettingsStore& s) { return str(s.GetAutoAppendDstDisk()); }, "1", "1"},
      {"Preferences", "UseINIDataExts", [](SettingsStore& s) { return s.SetUseINIDataExts(1); },
       [](SettingsStore& s) { return str(s.GetUseINIDataExts()); }, "1", "1"},
      {"Preferences", "UseINIApplExts", [](SettingsStore& s) { return s.SetUseINIApplExts(0); },
       [](SettingsStore& s) { return str(s.GetUseINIApplExts()); }, "0", "0"},
      {"About", "Left", [](SettingsStore& s) { return s.SetAboutPlacement(1, -60); },
       [](SettingsStore& s) { return str(s.GetAboutPlacement(1)); }, "-60", "-60"},
      {"About", "Top", [](SettingsStore& s) { return s.SetAboutPlacement(2, 70); },
       [](SettingsStore& s) { return str(s.GetAboutPlacement(2)); }, "70", "70"},
      {"DriveTimes", "UseDriveZ", [](SettingsStore& s) { return s.SetUseDrive('Z', 3); },
       [](SettingsStore& s) { return str(s.GetUseDrive('Z')); }, "1", "1"},
      {"DriveTimes", "DriveSizeA", [](SettingsStore& s) { return s.SetDriveSize('A', 4000000000u); },
       [](SettingsStore& s) { return str(s.GetDriveSize('A')); }, "4000000000", "4000000000"},
      {"DriveTimes", "DrvTotTimeA", [](SettingsStore& s) { return s.SetDrvTotTime('A', 4294967295u); },
       [](SettingsStore& s) { return str(s.GetDrvTotTime('A')); }, "4294967295", "4294967295"},
      {"DriveTimes", "DrvFilTimeB", [](SettingsStore& s) { return s.SetDrvFilTime('B', 125); },
       [](SettingsStore& s) { return str(s.GetDrvFilTime('B')); }, "125", "125"},
      {"DriveTimes", "DrvDelTimeE", [](SettingsStore& s) { return s.SetDrvDelTime('E', 9); },
       [](SettingsStore& s) { return str(s.GetDrvDelTime('E')); }, "9", "9"},
      {"UserDataExts", "Ext007", [](SettingsStore& s) { return s.SetUserDataExt(7, "XYZ      ; Mine"); },
       nullptr, "XYZ      ; Mine", nullptr},
      {"ApplicationExts", "Ext123", [](SettingsStore& s) { return s.SetApplicationExt(123, "Q        ; Q"); },
       nullptr, "Q        ; Q", nullptr},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key + "=" + c.written);
    ASSERT_TRUE(c.set(store_));
    EXPECT_EQ(stored(c.section, c.key), c.written);
    if (c.get) {
      EXPECT_EQ(c.get(store_), c.readBack);
    }
  }
}

// --- Particular accessors ----------------------------------------------------------------

TEST_F(SettingsStoreTest, StoredNumbersReadTheLenientWay) {
  env_->writeFile(
      "[Preferences]\r\nSaveLog=-3\r\nDelOldLogs=7\r\nBootableSysFlt=7\r\nDLogPeriod=9\r\n"
      "DLogNum=  12abc\r\nCustColor02=1e3\r\nTextColor=-1\r\n[DriveTimes]\r\nDriveSizeC=x12\r\n"
      "UseDriveC=+4\r\n");
  EXPECT_EQ(store_.GetSaveLog(), 0);
  EXPECT_EQ(store_.GetDelOldLogs(), 1);
  EXPECT_EQ(store_.GetBootableSysFlt(), 7);
  EXPECT_EQ(store_.GetDLogPeriod(), 2u);
  EXPECT_EQ(store_.GetDLogNum(), 12u);
  EXPECT_EQ(store_.GetCustColor(2), 1000u);
  EXPECT_EQ(store_.GetTextColor(), 4294967295u);
  EXPECT_EQ(store_.GetDriveSize('C'), 0u);
  EXPECT_EQ(store_.GetUseDrive('C'), 4);
}

TEST_F(SettingsStoreTest, SelectorsAndIndexesOutOfRange) {
  env_->writeFile("[Preferences]\r\nCustColor17=5\r\n");
  EXPECT_EQ(store_.GetCustColor(17), 16777215u);
  EXPECT_FALSE(store_.SetCustColor(17, 5));
  EXPECT_FALSE(store_.SetMainPlacement(5, 1));
  EXPECT_FALSE(store_.SetPreferencesPlacement(3, 1));
  EXPECT_FALSE(store_.SetAboutPlacement(0, 1));
  EXPECT_EQ(store_.GetMainPlacement(0), -2000);
  EXPECT_EQ(env_->readFile(), "[Preferences]\r\nCustColor17=5\r\n");
}

TEST_F(SettingsStoreTest, PrefFilterKeepsTheFirstCharacters) {
  ASSERT_TRUE(store_.SetPrefFilter("123"));
  EXPECT_EQ(store_.GetPrefFilter(1), "1");
  EXPECT_EQ(store_.GetPrefFilter(0), "");
  EXPECT_EQ(store_.GetPrefFilter(3), "123");
}

TEST_F(SettingsStoreTest, LangKeepsFourCharacters) {
  env_->writeFile("[resource]\r\nlang=Deutsch\r\n");
  EXPECT_EQ(store_.GetLang(), "Deut");
  env_->writeFile("[resource]\r\nlang=\r\n");
  EXPECT_EQ(store_.GetLang(), "");
}

TEST_F(SettingsStoreTest, NothingIsCached) {
  SettingsStore other(env_->platform(), env_->iniPath());
  ASSERT_TRUE(store_.SetDLogNum(17));
  EXPECT_EQ(other.GetDLogNum(), 17u);
  env_->writeFile("[Preferences]\r\nDLogNum=18\r\n");
  EXPECT_EQ(store_.GetDLogNum(), 18u);
}

TEST_F(SettingsStoreTest, ValuesAreCutAt519Characters) {
  const std::string longText(600, 'q');
  env_->writeFile("[Preferences]\r\nSourceDrive=" + longText + "\r\n[Main]\r\nAppDir=" + longText + "\r\n");
  EXPECT_EQ(store_.GetSourceDrive(), std::string(519, 'q'));
  std::string appDir;
  EXPECT_EQ(store_.GetAppDir(appDir), 519u);
  // A long value is written whole; only reads are cut.
  ASSERT_TRUE(store_.SetDestinDrive(longText));
  EXPECT_EQ(stored("Preferences", "DestinDrive"), longText);
  EXPECT_EQ(store_.GetDestinDrive(), std::string(519, 'q'));
}

TEST_F(SettingsStoreTest, ALineBreakEndsAValue) {
  ASSERT_TRUE(store_.SetAppDir("C:\\A\r\n[Main]\r\nLeft=-2000"));
  ASSERT_TRUE(store_.SetSourceDrive("C\nD"));
  EXPECT_EQ(env_->readFile(), "[Main]\r\nAppDir=C:\\A\r\n[Preferences]\r\nSourceDrive=C\r\n");
}

// --- A file that cannot be used --------------------------------------------------------------

TEST_F(SettingsStoreTest, LockedFileGivesDefaultsAndFailedWrites) {
  const std::string before = "[Preferences]\r\nDLogNum=40\r\n[Main]\r\nLeft=320\r\n";
  env_->writeFile(before);
  env_->lockFile();
  EXPECT_EQ(store_.GetDLogNum(), 2u);
  EXPECT_EQ(store_.GetMainPlacement(1), -2000);  // a first run as far as the program can tell
  EXPECT_FALSE(store_.SetDLogNum(5));
  EXPECT_FALSE(store_.WriteDefaults());
  env_->release();
  EXPECT_EQ(env_->readFile(), before);
  EXPECT_EQ(store_.GetDLogNum(), 40u);
}

TEST_F(SettingsStoreTest, FileHeldForReadingReadsButRefusesWrites) {
  const std::string before = "[Preferences]\r\nDLogNum=40\r\n";
  env_->writeFile(before);
  env_->holdForReading();
  EXPECT_EQ(store_.GetDLogNum(), 40u);
  EXPECT_FALSE(store_.SetDLogNum(5));
  EXPECT_EQ(store_.GetMainPlacement(1), -2000);
  EXPECT_FALSE(store_.WriteDefaults());
  env_->release();
  EXPECT_EQ(env_->readFile(), before);
}

// --- Files of any shape ------------------------------------------------------------------------

struct BadFile {
  const char* name;
  std::string bytes;
};

// prefix, `count` times `c`, suffix.
std::string around(const char* prefix, std::size_t count, char c, const char* suffix) {
  std::string text = prefix;
  text.append(count, c);
  return text.append(suffix);
}

std::vector<BadFile> badFiles() {
  std::string binary;
  for (int i = 0; i < 3000; ++i) binary.push_back(static_cast<char>((i * 151 + 11) & 0xff));
  static constexpr char kZeros[] = "[Preferences]\r\nDLogNum=\0" "9\r\n";
  const std::string zeros(kZeros, sizeof kZeros - 1);
  return {
      {"Garbage", "no sections here\r\n=== ]]] [[[\r\n;;;\r\nkey without section=1\r\n"},
      {"BinaryBytes", binary},
      {"ZeroBytes", zeros},
      {"HugeLine", around("[Preferences]\r\nDLogNum=", 200000, '7', "\r\n") + std::string(100000, 'x')},
      {"HugeSectionName", around("[", 70000, 'S', "]\r\nk=v\r\n")},
      {"DuplicateSectionsAndKeys",
       "[Preferences]\r\nDLogNum=3\r\nDLOGNUM=4\r\n[preferences]\r\nDLogNum=5\r\nSaveLog=0\r\n"},
      {"ValuesPastTheLimit", around("[Preferences]\r\nSourceDrive=", 5000, 'C', "\r\n")},
      {"UnterminatedHeader", "[Preferences\r\nDLogNum=8\r\n"},
      {"OnlyLineEnds", std::string(5000, '\n')},
  };
}

// Every getter, so that any of them that trips over the file shows.
void readEverything(SettingsStore& s) {
  for (int i = 1; i <= 2; ++i) {
    s.GetPreferencesPlacement(i);
    s.GetAboutPlacement(i);
  }
  s.GetBackColor();
  s.GetTextColor();
  for (unsigned i = 1; i <= 16; ++i) s.GetCustColor(i);
  s.GetSourceDrive();
  s.GetDestinDrive();
  s.GetPrefFilter(519);
  s.GetSaveLog();
  std::string text;
  s.GetSaveLogDir(text);
  s.GetAppDir(text);
  s.GetDelOldLogs();
  s.GetDLogNum();
  s.GetDLogPeriod();
  s.GetBootableSysFlt();
  s.GetAutoAppendDstDisk();
  s.GetUseINIDataExts();
  s.GetUseINIApplExts();
  for (char d = 'A'; d <= 'E'; ++d) {
    s.GetUseDrive(d);
    s.GetDriveSize(d);
    s.GetDrvTotTime(d);
    s.GetDrvFilTime(d);
    s.GetDrvDelTime(d);
  }
  s.GetLang();
}

TEST_F(SettingsStoreTest, AnyFileReadsAndTakesWritesWithoutLosingOtherSettings) {
  for (const BadFile& bad : badFiles()) {
    SCOPED_TRACE(bad.name);
    env_->writeFile(bad.bytes + "\r\n[Other]\r\nmarker=kept\r\n");
    readEverything(store_);
    EXPECT_LE(store_.GetSourceDrive().size(), 519u);
    ASSERT_TRUE(store_.SetDLogNum(11));
    ASSERT_TRUE(store_.SetUseDrive('C', 1));
    EXPECT_EQ(store_.GetDLogNum(), 11u);
    EXPECT_EQ(store_.GetUseDrive('C'), 1);
    EXPECT_EQ(stored("Other", "marker"), "kept");
  }
}

TEST_F(SettingsStoreTest, DuplicatesReadTheFirstKeyOfTheFirstSection) {
  env_->writeFile("[Preferences]\r\nDLogNum=3\r\nDLOGNUM=4\r\n[preferences]\r\nDLogNum=5\r\nSaveLog=0\r\n");
  EXPECT_EQ(store_.GetDLogNum(), 3u);
  EXPECT_EQ(store_.GetSaveLog(), 1);  // the second section is never searched
  ASSERT_TRUE(store_.SetDLogNum(9));
  EXPECT_EQ(env_->readFile(), "[Preferences]\r\nDLogNum=9\r\nDLOGNUM=4\r\n[preferences]\r\nDLogNum=5\r\nSaveLog=0\r\n");
}

}  // namespace
}  // namespace hw
