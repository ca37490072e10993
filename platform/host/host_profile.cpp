// The profile functions as Wine 8 implements them (kernel32's profile code),
// so that a settings file reads and rewrites the same on the host as under
// Wine. In short:
// - The file is read into sections of lines. A line is trimmed of blanks,
//   tabs, CR, LF and ^Z; blank lines are dropped; "[name]" (up to the last
//   ']') starts a section; any other line is a name, and a value when it has
//   an '=' (both trimmed). Comments (';') and lines without '=' are kept, so
//   a rewrite keeps them, but lists of keys leave them out. A line ends at CR,
//   LF or any run of them, so LF and CRLF files read the same.
// - Writing changes that tree and rewrites the whole file from it: "[name]",
//   then "name=value" or the bare name for each line, every line ended by CR
//   LF, no blank lines. That is what Wine writes (Windows edits the lines in
//   place and keeps blank lines and spacing); the settings file is the one
//   text file of the program with CR LF line ends. Nothing is written when a
//   write changes nothing.
// - Names compare without regard to the case of ASCII letters. Bytes after a
//   zero byte in a line are ignored, as the wide strings of Wine's code stop
//   there. A UTF-8 byte order mark is kept; the text is not converted, and
//   UTF-16 files are not recognised.
#include "platform/host/host_profile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace hw {
namespace {

struct ProfileLine {
  std::string name;
  std::optional<std::string> value;
};

struct ProfileSection {
  std::string name;  // empty for the lines before the first header
  std::vector<ProfileLine> lines;
};

struct ProfileTree {
  bool utf8Mark = false;
  std::vector<ProfileSection> sections;
};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool isProfileSpace(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0d) || u == 0x1a || u == 0x20;
}

std::string_view trimLeft(std::string_view s) {
  while (!s.empty() && isProfileSpace(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && isProfileSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view trim(std::string_view s) { return trimRight(trimLeft(s)); }

std::string untilZero(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

// Only ASCII letters fold: Wine 8 compares the names with an ASCII-only
// case-insensitive compare, so "\xC4" and "\xE4" are different names there.
unsigned char foldCase(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 0x20) : c;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return foldCase(static_cast<unsigned char>(x)) == foldCase(static_cast<unsigned char>(y));
         });
}

ProfileTree parse(std::string_view bytes) {
  ProfileTree tree;
  if (bytes.empty()) return tree;
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    tree.utf8Mark = true;
    bytes.remove_prefix(kUtf8Mark.size());
  }
  tree.sections.emplace_back();
  // A nameless line ("=x") right after another nameless line is dropped.
  bool previousNameless = false;
  bool hasPrevious = false;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t start = pos;
    while (pos < bytes.size() && bytes[pos] != '\n' && bytes[pos] != '\r') ++pos;
    const std::string_view line = trim(bytes.substr(start, pos - start));
    while (pos < bytes.size() && (bytes[pos] == '\n' || bytes[pos] == '\r')) ++pos;
    if (line.empty()) continue;

    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close != std::string_view::npos) {
        tree.sections.push_back({untilZero(trim(line.substr(1, close - 1))), {}});
        hasPrevious = false;
        continue;
      }
    }

    std::string_view name = line;
    std::optional<std::string_view> value;
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
      name = trimRight(line.substr(0, equals));
      value = trimLeft(line.substr(equals + 1));
    }
    if (!name.empty() || !hasPrevious || !previousNameless) {
      ProfileLine& added = tree.sections.back().lines.emplace_back();
      added.name = untilZero(name);
      if (value) added.value = untilZero(*value);
      hasPrevious = true;
      previousNameless = added.name.empty();
    }
  }
  return tree;
}

std::string serialize(const ProfileTree& tree) {
  std::string out;
  if (tree.utf8Mark) out += kUtf8Mark;
  for (const ProfileSection& section : tree.sections) {
    if (!section.name.empty()) out += "[" + section.name + "]\r\n";
    for (const ProfileLine& line : section.lines) {
      out += line.name;
      if (line.value) out += "=" + *line.value;
      out += "\r\n";
    }
  }
  return out;
}

enum class LoadResult { loaded, missing, failed };

// A missing file in an existing folder is an empty profile; any other
// failure to open makes reads give the default and writes fail.
LoadResult load(const std::string& path, ProfileTree& tree) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    const int error = errno;
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (error == ENOENT && (parent.empty() || std::filesystem::is_directory(parent, ec))) {
      return LoadResult::missing;
    }
    return LoadResult::failed;
  }
  std::string bytes;
  char block[65536];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, got);
  const bool readError = std::ferror(f) != 0;
  std::fclose(f);
  if (readError) return LoadResult::failed;
  tree = parse(bytes);
  return LoadResult::loaded;
}

bool save(const std::string& path, const ProfileTree& tree) {
  const std::string bytes = serialize(tree);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

// The lookup of a single key: names trimmed, only the first section of that
// name is searched.
ProfileSection* findSection(ProfileTree& tree, std::string_view name) {
  name = trim(name);
  for (ProfileSection& section : tree.sections) {
    if (sameName(section.name, name)) return &section;
  }
  return nullptr;
}

ProfileLine* findLine(ProfileSection& section, std::string_view name) {
  name = trim(name);
  for (ProfileLine& line : section.lines) {
    if (sameName(line.name, name)) return &line;
  }
  return nullptr;
}

// What the buffer holds after a value is copied into `capacity` characters:
// a value in matching quotes loses them, but only when the closing quote
// would have fitted (so a value one character too long also loses its last
// character, as in Wine's code).
std::string copyEntry(std::string_view value, std::uint64_t capacity) {
  bool quoted = false;
  if (value.size() > 1 && (value.front() == '\'' || value.front() == '"') && value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::string out(value.substr(0, capacity - 1));
  if (quoted && capacity >= value.size() && !out.empty()) out.pop_back();
  return out;
}

// Section names, each followed by '\0'. When they do not fit, the name that
// does not fit is cut so that two zeros end the buffer, and the result is
// the capacity less two characters.
std::string sectionNames(const ProfileTree& tree, std::uint64_t capacity) {
  if (capacity <= 1) return {};
  std::uint64_t room = capacity - 1;
  std::string out;
  for (const ProfileSection& section : tree.sections) {
    if (section.name.empty()) continue;
    const std::uint64_t needed = section.name.size() + 1;
    if (needed >= room) {
      out.append(section.name, 0, room - 1);
      return out;
    }
    out.append(section.name).push_back('\0');
    room -= needed;
  }
  return out;
}

// Names of the keys of a section that have a value (no comments), each
// followed by '\0', cut the same way as the section names. The section name
// is compared as given, without trimming. Empty when the section is missing.
std::string keyNames(const ProfileTree& tree, std::string_view sectionName, std::uint64_t capacity) {
  for (const ProfileSection& section : tree.sections) {
    if (!sameName(section.name, sectionName)) continue;
    std::uint64_t room = capacity;
    std::string out;
    for (const ProfileLine& line : section.lines) {
      if (room <= 2) break;
      if (!line.value || (!line.name.empty() && line.name.front() == ';')) continue;
      const std::size_t copied = std::min<std::uint64_t>(line.name.size(), room - 2);
      out.append(line.name, 0, copied).push_back('\0');
      room -= copied + 1;
      if (room < 2) break;
    }
    if (room <= 1 && !out.empty()) out.resize(capacity - 2);
    return out;
  }
  return {};
}

// The default loses its trailing blanks, but never its first character: an
// all-blank default reads as one blank.
std::string withoutTrailingBlanks(const std::string& text) {
  std::string_view s(text);
  while (s.size() > 1 && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

HostProfile::HostProfile(std::function<std::string(const std::string&)> toHostPath)
    : toHostPath_(std::move(toHostPath)) {}

std::string HostProfile::getString(const std::string& file, const char* section, const char* key,
                                   const char* defaultValue, std::uint32_t capacity) {
  if (capacity == 0) return {};
  const std::string defaultText = defaultValue ? defaultValue : "";
  const std::string path = toHostPath_(file);
  ProfileTree tree;
  const bool opened = !path.empty() && load(path, tree) != LoadResult::failed;

  if (!section) return opened ? sectionNames(tree, capacity) : std::string();
  if (!key) {
    std::string names = opened ? keyNames(tree, section, capacity) : std::string();
    // An empty list (or one that starts with an empty name) gives the
    // default, untrimmed but without its quotes.
    if (names.empty() || names.front() == '\0') return copyEntry(defaultText, capacity);
    return names;
  }

  const std::string fallback = withoutTrailingBlanks(defaultText);
  if (!opened) return fallback.substr(0, capacity - 1);
  ProfileSection* found = findSection(tree, section);
  const ProfileLine* line = found ? findLine(*found, key) : nullptr;
  return copyEntry(line && line->value ? std::string_view(*line->value) : std::string_view(fallback),
                   capacity);
}

bool HostProfile::writeString(const std::string& file, const char* section, const char* key,
                              const char* value) {
  // All three null asks Windows to flush its cache; there is none here.
  if (!section && !key && !value) return false;
  const std::string path = toHostPath_(file);
  if (path.empty() || !section) return false;
  ProfileTree tree;
  if (load(path, tree) == LoadResult::failed) return false;

  if (!key) {
    // The first section of that name goes, compared as given. Success even
    // when there was none, as in Windows.
    const auto it = std::find_if(tree.sections.begin(), tree.sections.end(),
                                 [&](const ProfileSection& s) { return sameName(s.name, section); });
    if (it != tree.sections.end()) {
      tree.sections.erase(it);
      save(path, tree);
    }
    return true;
  }

  if (!value) {
    // The first key of that name in any section of that name, compared as given.
    for (ProfileSection& s : tree.sections) {
      if (!sameName(s.name, section)) continue;
      const auto it = std::find_if(s.lines.begin(), s.lines.end(),
                                   [&](const ProfileLine& l) { return sameName(l.name, key); });
      if (it != s.lines.end()) {
        s.lines.erase(it);
        return save(path, tree);
      }
    }
    return true;
  }

  // A new section goes at the end of the file, a new key at the end of its
  // section; both keep the trailing blanks of the name they were given.
  ProfileSection* target = findSection(tree, section);
  if (!target) target = &tree.sections.emplace_back(ProfileSection{std::string(trimLeft(section)), {}});
  ProfileLine* line = findLine(*target, key);
  if (!line) line = &target->lines.emplace_back(ProfileLine{std::string(trimLeft(key)), std::nullopt});

  const std::string newValue(trimLeft(value));
  if (line->value == newValue) return true;
  line->value = newValue;
  return save(path, tree);
}

}  // namespace hw
