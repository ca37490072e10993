#include "rules/extension_lists.h"

namespace hw {

namespace {

constexpr std::string_view kNonDataExtensions[] = {
    "386", "3IN", "AUX", "BIN", "COM", "CSM", "DLL", "DRV", "EXE", "FON", "FOT", "GRP", "HLP",
    "IDX", "INF", "INI", "LEX", "LIB", "KWD", "OBJ", "OVL", "PAR", "PCH", "PCM", "PDB", "PIF",
    "PIN", "PSM", "RES", "RWS", "SBR", "SRS", "SYM", "SYS", "TMP", "TTF", "VXD", "WFN",
};

constexpr std::string_view kDataExtensions[] = {
    "ASC", "ASM", "BAK", "BAS", "BAT", "BMP", "C", "CAL", "CPD", "CPE", "CPP", "CRD", "CUR",
    "DAT", "DBF", "DCX", "DEF", "DIB", "DLG", "DOC", "DOT", "ELI", "FND", "FOG", "GIF", "GRA",
    "H", "HPP", "ICO", "IMG", "INC", "INF", "LDB", "LIS", "LNK", "LOG", "LST", "MAK", "MCF",
    "MDA", "MDB", "MID", "MLI", "MMM", "MNF", "MNY", "MSG", "MSP", "PAS", "PCX", "POT", "PPT",
    "PUB", "RC", "REC", "REG", "RMI", "RTF", "SRC", "TAX", "TRM", "TXT", "VSD", "VSI", "VSS",
    "VSW", "WAV", "WDB", "WKS", "WPS", "WRI", "XLC", "XLS", "ZIP",
};

constexpr std::string_view kApplicationExclusions[] = {
    "ASM", "BAK", "BMP", "C", "CPP", "CUR", "DAT", "DBF", "DEF", "DIB", "DLG", "DOC", "FOG",
    "GIF", "GRA", "H", "HPP", "ICO", "IMG", "INC", "LDB", "LIS", "LNK", "LOG", "LST", "MAK",
    "MDA", "MDB", "MNY", "MSG", "MSP", "PAS", "PCX", "PPT", "PUB", "RC", "RTF", "SRC", "TAX",
    "VSD", "WAV", "WDB", "WKS", "WPS", "WRI", "XLC", "XLS", "ZIP",
};

}  // namespace

std::span<const std::string_view> BuiltInNonDataExtensions() { return kNonDataExtensions; }
std::span<const std::string_view> BuiltInDataExtensions() { return kDataExtensions; }
std::span<const std::string_view> BuiltInApplicationExclusions() { return kApplicationExclusions; }

}  // namespace hw
