// The small text parsers of the selection rules: configuration files
// (CONFIG.SYS, AUTOEXEC.BAT, batch files, SYSTEM.INI, WIN.INI) read for the
// paths they name, and the extension list file HOARDWL.INI. They work on
// bytes as read from disk, which may be anything: no line is too long, no
// byte is special but NUL (the end of the text), CR and LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

// Configuration files and the list file are read only this far.
inline constexpr std::size_t kMaxRulesText = 61440;

// Longest path a reference may have (MAX_PATH without its terminating zero).
inline constexpr std::size_t kMaxReferencePath = 259;

// The text up to the first NUL byte, split into lines at CR and LF; empty
// lines are left out.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// Upper-cases ASCII letters only: 8-bit characters of the code page stay.
void UpperCaseAscii(std::string& text);

// How a configuration file marks its comments.
enum class CommentRule {
  remark,     // REM followed by a blank, at the start of the line or after a
              // blank: the line ends before the M (CONFIG.SYS, batch files)
  semicolon,  // from ";" on (SYSTEM.INI, WIN.INI)
};

// The line without its comment.
std::string_view StripComment(std::string_view line, CommentRule rule);

// The references of one line, upper-cased, in order: each starts at the
// character before a ":" and runs up to the next blank, "," or ";". Nothing
// is checked here: "M:OFF" of "/TESTMEM:OFF" is a reference too.
std::vector<std::string> FindReferences(std::string_view line, CommentRule rule);

// A reference that can name a file: a drive letter, ":\", then components
// without wildcards or characters no file name has. "." components are
// dropped, ".." takes the one before it away, and repeated backslashes are
// one; false when the reference is not of that form, climbs above the root
// of its drive or is longer than kMaxReferencePath. On success `path` is the
// plain form, for example "C:\DOS\HIMEM.SYS".
bool NormalizeReference(std::string_view reference, std::string& path);

// The extensions of one section of a list file: `section` is the section's
// name without brackets ("UserDataExts"), matched without regard to case.
// Every line key=value in the section whose key contains "EXT" gives the
// value without its comment and trailing blanks, upper-cased.
std::vector<std::string> ParseExtensionList(std::string_view text, std::string_view section);

}  // namespace hw
