// String ids of the texts the engine composes.
#pragma once

namespace hw::engine_text {

inline constexpr int kShortenFailed = 5863;     // destPath of a path that could not be shortened
inline constexpr int kOverwriteIntro = 5864;    // the existing file is ...
inline constexpr int kOverwriteSystem = 5865;
inline constexpr int kListComma = 5652;         // between the first two of three attributes
inline constexpr int kListAnd = 5867;           // between the last two attributes
inline constexpr int kListAndAfterComma = 5681;
inline constexpr int kOverwriteFileInfo = 5868; // size and last access of a file
inline constexpr int kLastDisk = 5869;
inline constexpr int kMoreDisks = 5870;
inline constexpr int kOverwriteHidden = 5932;
inline constexpr int kOverwriteReadOnly = 5933;
inline constexpr int kOverwriteEnd = 5934;

}  // namespace hw::engine_text
