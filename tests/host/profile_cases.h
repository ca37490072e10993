// Cases of GetPrivateProfileStringA and WritePrivateProfileStringA as plain
// data: the host profile is checked against them, and a Windows test can run
// the same table against the real functions. Each case starts from its own
// file (or no file). Expected reads are the buffer up to the returned length,
// so a list of names shows each '\0'. Expected writes are the exact bytes of
// the file afterwards: the functions rewrite the whole file with CR LF line
// ends, trimmed names and values and no blank lines, and leave it untouched
// when nothing changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

namespace hw::profile_cases {

// Shows zero bytes and control characters so a failing case is readable.
inline std::string visible(std::string_view text) {
  std::ostringstream out;
  for (unsigned char c : text) {
    if (c == 0) {
      out << "\\0";
    } else if (c < 0x20 || c >= 0x7f) {
      out << "\\x" << std::hex << static_cast<int>(c) << std::dec;
    } else {
      out << c;
    }
  }
  return out.str();
}


// Text that may hold zero bytes.
template <std::size_t N>
constexpr std::string_view bytes(const char (&text)[N]) {
  return {text, N - 1};
}

struct ReadCase {
  const char* name;  // letters, digits and underscores
  bool fileExists;
  std::string_view file;
  const char* section;  // null lists the section names
  const char* key;      // null lists the keys of the section
  const char* defaultValue;
  std::uint32_t capacity;  // counts the terminating zero
  std::string_view expected;
};
// Test names and failures show the case, not its bytes.
inline void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

struct WriteCase {
  const char* name;
  bool fileExists;
  std::string_view before;
  const char* section;
  const char* key;    // null deletes the section
  const char* value;  // null deletes the key
  bool result;
  bool fileExistsAfter;
  std::string_view after;
};
// Test names and failures show the case, not its bytes.
inline void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

inline constexpr char kSettings[] =
    "; settings of the program\r\n"
    "[Options]\r\n"
    "SaveLogDir=C:\\LOGS\r\n"
    "  DLogPeriod  =  30  \r\n"
    "Quoted=\"  padded  \"\r\n"
    "Single='x'\r\n"
    "Half=\"open\r\n"
    "NoEquals\r\n"
    ";Commented=1\r\n"
    "Empty=\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    "\r\n"
    "[ Colors ]\r\n"
    "Back = 12632256\r\n"
    "[options]\r\n"
    "Late=1\r\n";

inline constexpr std::string_view kSettingsFile{kSettings, sizeof kSettings - 1};

inline constexpr ReadCase kReadCases[] = {
    // Names and spacing.
    {"ExactKey", true, kSettingsFile, "Options", "SaveLogDir", "dflt", 64, "C:\\LOGS"},
    {"KeyAndSectionCase", true, kSettingsFile, "OPTIONS", "savelogdir", "dflt", 64, "C:\\LOGS"},
    {"SpacesAroundNameAndValue", true, kSettingsFile, "Options", "DLogPeriod", "dflt", 64, "30"},
    {"SpacesInRequestedNames", true, kSettingsFile, "  Options ", "\tDLogPeriod  ", "dflt", 64, "30"},
    {"SpacesInsideSectionHeader", true, kSettingsFile, "colors", "Back", "dflt", 64, "12632256"},
    {"EmptyValueIsNotDefault", true, kSettingsFile, "Options", "Empty", "dflt", 64, ""},
    {"FirstDuplicateKeyWins", true, kSettingsFile, "Options", "DUP", "dflt", 64, "first"},
    {"OnlyFirstDuplicateSectionSearched", true, kSettingsFile, "Options", "Late", "dflt", 64, "dflt"},
    // Quotes.
    {"DoubleQuotesStripped", true, kSettingsFile, "Options", "Quoted", "dflt", 64, "  padded  "},
    {"SingleQuotesStripped", true, kSettingsFile, "Options", "Single", "dflt", 64, "x"},
    {"UnmatchedQuoteKept", true, kSettingsFile, "Options", "Half", "dflt", 64, "\"open"},
    {"QuotedValueCutBeforeClosingQuote", true, kSettingsFile, "Options", "Quoted", "dflt", 6, "  pad"},
    // A buffer that just misses the closing quote loses one more character.
    {"QuotedValueOneShort", true, kSettingsFile, "Options", "Quoted", "dflt", 11, "  padded "},
    {"QuotedValueExactFit", true, kSettingsFile, "Options", "Quoted", "dflt", 12, "  padded  "},
    // Lines that are not keys.
    {"LineWithoutEquals", true, kSettingsFile, "Options", "NoEquals", "dflt", 64, "dflt"},
    {"CommentIsNotAKey", true, kSettingsFile, "Options", "Commented", "dflt", 64, "dflt"},
    {"MissingSection", true, kSettingsFile, "Other", "SaveLogDir", "dflt", 64, "dflt"},
    {"MissingKey", true, kSettingsFile, "Options", "Nothing", "dflt", 64, "dflt"},
    // Defaults.
    {"DefaultTrailingBlanksTrimmed", true, kSettingsFile, "Options", "Nothing", "abc   ", 64, "abc"},
    {"DefaultLeadingBlanksKept", true, kSettingsFile, "Options", "Nothing", "  abc", 64, "  abc"},
    {"DefaultAllBlanks", true, kSettingsFile, "Options", "Nothing", "   ", 64, " "},
    {"NullDefault", true, kSettingsFile, "Options", "Nothing", nullptr, 64, ""},
    {"DefaultLosesQuotes", true, kSettingsFile, "Options", "Nothing", "\"q q\"", 64, "q q"},
    {"DefaultCut", true, kSettingsFile, "Options", "Nothing", "defaultvalue", 4, "def"},
    // Capacity of a single value.
    {"ValueFitsExactly", true, kSettingsFile, "Options", "SaveLogDir", "dflt", 8, "C:\\LOGS"},
    {"ValueCut", true, kSettingsFile, "Options", "SaveLogDir", "dflt", 7, "C:\\LOG"},
    {"ValueCapacityOne", true, kSettingsFile, "Options", "SaveLogDir", "dflt", 1, ""},
    // Key lists: keys with a value, no comments, each followed by '\0'.
    {"KeyList", true, kSettingsFile, "Options", nullptr, "dflt", 200,
     bytes("SaveLogDir\0DLogPeriod\0Quoted\0Single\0Half\0Empty\0Dup\0dup\0")},
    {"KeyListOtherSection", true, kSettingsFile, "COLORS", nullptr, "dflt", 200, bytes("Back\0")},
    {"KeyListCutInName", true, kSettingsFile, "Options", nullptr, "dflt", 15, bytes("SaveLogDir\0DL")},
    {"KeyListCutAfterName", true, kSettingsFile, "Options", nullptr, "dflt", 12, "SaveLogDir"},
    {"KeyListMissingSection", true, kSettingsFile, "Other", nullptr, "dflt", 200, "dflt"},
    {"KeyListSectionNotTrimmed", true, kSettingsFile, " Options", nullptr, "dflt", 200, "dflt"},
    {"KeyListDefaultNotTrimmed", true, kSettingsFile, "Other", nullptr, "d  ", 200, "d  "},
    // Section names.
    {"SectionNames", true, kSettingsFile, nullptr, nullptr, "dflt", 200, bytes("Options\0Colors\0options\0")},
    {"SectionNamesCutInName", true, kSettingsFile, nullptr, nullptr, "dflt", 12, bytes("Options\0Co")},
    {"SectionNamesCutAfterName", true, kSettingsFile, nullptr, nullptr, "dflt", 10, bytes("Options\0")},
    {"SectionNamesIgnoreKey", true, kSettingsFile, nullptr, "SaveLogDir", "dflt", 200,
     bytes("Options\0Colors\0options\0")},
    // Files of other shapes.
    {"MissingFile", false, "", "Options", "SaveLogDir", "dflt", 64, "dflt"},
    {"MissingFileSectionNames", false, "", nullptr, nullptr, "dflt", 64, ""},
    {"MissingFileKeyList", false, "", "Options", nullptr, "dflt", 64, "dflt"},
    {"EmptyFile", true, "", "Options", "SaveLogDir", "dflt", 64, "dflt"},
    {"LineFeedsOnly", true, "[A]\nk=v\nm=w\n", "A", "m", "dflt", 64, "w"},
    {"CarriageReturnsOnly", true, "[A]\rk=v\rm=w\r", "A", "m", "dflt", 64, "w"},
    {"NoFinalLineEnd", true, "[A]\r\nk=v", "A", "k", "dflt", 64, "v"},
    {"TabsAndControlZ", true, "[A]\n\tk\t=\tv\t\n\x1a", "A", "k", "dflt", 64, "v"},
    {"TextAfterSectionHeader", true, "[A] ; note\nk=v\n", "A", "k", "dflt", 64, "v"},
    {"HeaderWithoutBracket", true, "[A\nk=v\n", "A", "k", "dflt", 64, "dflt"},
    {"KeysBeforeFirstSection", true, "top=1\n[A]\nk=v\n", "", "top", "dflt", 64, "1"},
    {"ValueStopsAtZeroByte", true, bytes("[A]\nk=v\0w\nz=\x01\xff\n"), "A", "k", "dflt", 64, "v"},
    {"HighBytesKept", true, bytes("[A]\nk=v\0w\nz=\x01\xff\n"), "A", "z", "dflt", 64, "\x01\xff"},
    {"LoneQuote", true, "[A]\nk='\n", "A", "k", "dflt", 64, "'"},
    {"EmptyQuotes", true, "[A]\nk=''\n", "A", "k", "dflt", 64, ""},
    {"EmptyKeyName", true, "[A]\n=x\nk=v\n", "A", "", "dflt", 64, "x"},
    {"KeyListCapacityTwo", true, kSettingsFile, "Options", nullptr, "dflt", 2, "d"},
    {"SectionNamesCapacityTwo", true, kSettingsFile, nullptr, nullptr, "dflt", 2, ""},
    {"KeyListOfLinesBeforeFirstSection", true, "top=1\n[A]\nk=v\n", "", nullptr, "dflt", 64, bytes("top\0")},
    {"EmptySectionHeaderHidden", true, "[]\nk=v\n[A]\nm=w\n", nullptr, nullptr, "dflt", 64, bytes("A\0")},
    {"EmptySectionHeaderKeysUnreachable", true, "[]\nk=v\n[A]\nm=w\n", "", "k", "dflt", 64, "dflt"},
    {"EqualsInValue", true, "[A]\nk = a=b \n", "A", "k", "dflt", 64, "a=b"},
};

inline constexpr WriteCase kWriteCases[] = {
    {"NewFile", false, "", "Options", "SaveLogDir", "C:\\LOGS", true, true,
     "[Options]\r\nSaveLogDir=C:\\LOGS\r\n"},
    {"ReplaceValueInPlace", true, "[A]\r\nk=1\r\nm=2\r\n", "A", "k", "5", true, true, "[A]\r\nk=5\r\nm=2\r\n"},
    {"ReplaceKeepsStoredNameCase", true, "[Sec]\r\nKey=1\r\n", "sEC", "KEY", "2", true, true,
     "[Sec]\r\nKey=2\r\n"},
    {"NewKeyAtEndOfItsSection", true, "[A]\r\nk=1\r\n[B]\r\nx=1\r\n", "a", "n", "2", true, true,
     "[A]\r\nk=1\r\nn=2\r\n[B]\r\nx=1\r\n"},
    {"NewSectionAtEnd", true, "[A]\r\nk=1\r\n", "C", "z", "3", true, true, "[A]\r\nk=1\r\n[C]\r\nz=3\r\n"},
    {"RewriteNormalisesLines", true, "; top\n[A]\n  k = 1 \n\nplain\n  ;c=1\n[ B ]\nx=1", "B", "y", "2", true,
     true, "; top\r\n[A]\r\nk=1\r\nplain\r\n;c=1\r\n[B]\r\nx=1\r\ny=2\r\n"},
    {"ValueLeadingBlanksDropped", true, "[A]\r\n", "A", "k", "  v  ", true, true, "[A]\r\nk=v  \r\n"},
    {"NewNamesKeepTrailingBlanks", false, "", " A ", " k ", "v", true, true, "[A ]\r\nk =v\r\n"},
    {"SameValueLeavesFileAlone", true, "[A]\nk = 1\n", "A", "k", "1", true, true, "[A]\nk = 1\n"},
    {"ValueCompareIsCaseSensitive", true, "[A]\nk=abc\n", "A", "k", "ABC", true, true, "[A]\r\nk=ABC\r\n"},
    {"KeyWithoutEqualsGetsValue", true, "[A]\r\nflag\r\n", "A", "flag", "1", true, true, "[A]\r\nflag=1\r\n"},
    {"WriteGoesToFirstDuplicateSection", true, "[A]\r\nk=1\r\n[a]\r\nLate=1\r\n", "A", "Late", "2", true, true,
     "[A]\r\nk=1\r\nLate=2\r\n[a]\r\nLate=1\r\n"},
    {"KeysBeforeFirstSectionKept", true, "top=1\n[A]\nk=1\n", "A", "k", "2", true, true,
     "top=1\r\n[A]\r\nk=2\r\n"},
    {"EmptySectionNameWritesBeforeFirstHeader", true, "[A]\nk=1\n", "", "top", "1", true, true,
     "top=1\r\n[A]\r\nk=1\r\n"},
    {"Utf8MarkKept", true, "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "2", true, true, "\xEF\xBB\xBF[A]\r\nk=2\r\n"},
    {"DeleteKey", true, "[A]\r\nk=1\r\nm=2\r\n", "A", "K", nullptr, true, true, "[A]\r\nm=2\r\n"},
    {"DeleteMissingKeyLeavesFileAlone", true, "[A]\nk=1\n", "A", "x", nullptr, true, true, "[A]\nk=1\n"},
    {"DeleteKeyMissingFile", false, "", "A", "k", nullptr, true, false, ""},
    {"DeleteSection", true, "[A]\r\nk=1\r\n[B]\r\nx=1\r\n", "a", nullptr, nullptr, true, true,
     "[B]\r\nx=1\r\n"},
    {"DeleteFirstDuplicateSection", true, "[A]\r\nk=1\r\n[B]\r\n[a]\r\nm=2\r\n", "A", nullptr, nullptr, true,
     true, "[B]\r\n[a]\r\nm=2\r\n"},
    {"DeleteMissingSectionLeavesFileAlone", true, "[A]\nk=1\n", "B", nullptr, nullptr, true, true,
     "[A]\nk=1\n"},
    {"DeleteSectionMissingFile", false, "", "A", nullptr, nullptr, true, false, ""},
    {"NullSectionFails", true, "[A]\nk=1\n", nullptr, "k", "2", false, true, "[A]\nk=1\n"},
    {"AllNullFails", true, "[A]\nk=1\n", nullptr, nullptr, nullptr, false, true, "[A]\nk=1\n"},
};

}  // namespace hw::profile_cases
