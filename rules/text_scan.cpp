#include "rules/text_scan.h"

namespace hw {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Characters that end a reference.
bool endsReference(char c) { return isBlank(c) || c == ',' || c == ';'; }

// Characters no file name component may hold.
bool badNameCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u < 0x20) return true;
  switch (c) {
    case '<': case '>': case ':': case '"': case '/': case '|': case '?': case '*':
      return true;
    default:
      return false;
  }
}

// A "[" at the start or after a blank, then later a "]" at the end or
// before a blank.
bool isSectionHeader(std::string_view line) {
  for (std::size_t open = 0; open < line.size(); ++open) {
    if (line[open] != '[' || (open > 0 && !isBlank(line[open - 1]))) continue;
    for (std::size_t close = open + 1; close < line.size(); ++close) {
      if (line[close] == ']' && (close + 1 == line.size() || isBlank(line[close + 1]))) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::vector<std::string_view> SplitTextLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void UpperCaseAscii(std::string& text) {
  for (char& c : text) c = upper(c);
}

std::string_view StripComment(std::string_view line, CommentRule rule) {
  if (rule == CommentRule::semicolon) return line.substr(0, line.find(';'));
  for (std::size_t i = 0; i + 3 < line.size(); ++i) {
    if (i > 0 && !isBlank(line[i - 1])) continue;
    if (upper(line[i]) == 'R' && upper(line[i + 1]) == 'E' && upper(line[i + 2]) == 'M' &&
        isBlank(line[i + 3])) {
      return line.substr(0, i + 2);
    }
  }
  return line;
}

std::vector<std::string> FindReferences(std::string_view line, CommentRule rule) {
  std::string text(StripComment(line, rule));
  UpperCaseAscii(text);
  std::vector<std::string> references;
  std::size_t rest = 0;
  while (rest < text.size()) {
    // The first ":" with a character before it in what is left of the line.
    const std::size_t colon = text.find(':', rest + 1);
    if (colon == std::string::npos) break;
    const std::size_t start = colon - 1;
    std::size_t end = colon + 1;
    while (end < text.size() && !endsReference(text[end])) ++end;
    references.push_back(text.substr(start, end - start));
    rest = end + 1;
  }
  return references;
}

bool NormalizeReference(std::string_view reference, std::string& path) {
  path.clear();
  if (reference.size() < 4) return false;
  const char letter = upper(reference[0]);
  if (letter < 'A' || letter > 'Z' || reference[1] != ':' || reference[2] != '\\') return false;
  std::vector<std::string_view> components;
  std::size_t start = 3;
  while (start <= reference.size()) {
    std::size_t end = reference.find('\\', start);
    if (end == std::string_view::npos) end = reference.size();
    const std::string_view component = reference.substr(start, end - start);
    start = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      if (components.empty()) return false;
      components.pop_back();
      continue;
    }
    // Windows drops a component's trailing dots ("..." once meant two levels
    // up): such a name would open another file than the one it spells.
    if (component.back() == '.') return false;
    for (char c : component) {
      if (badNameCharacter(c)) return false;
    }
    components.push_back(component);
  }
  if (components.empty()) return false;
  path.assign(1, letter);
  path += ":";
  for (std::string_view component : components) {
    path += "\\";
    path += component;
  }
  if (path.size() > kMaxReferencePath) {
    path.clear();
    return false;
  }
  return true;
}

std::vector<std::string> ParseExtensionList(std::string_view text, std::string_view section) {
  std::string wanted = "[";
  wanted.append(section).append("]");
  UpperCaseAscii(wanted);
  std::vector<std::string> extensions;
  bool inSection = false;
  for (std::string_view raw : SplitTextLines(text)) {
    std::string line(StripComment(raw, CommentRule::semicolon));
    UpperCaseAscii(line);
    if (!inSection) {
      inSection = line.find(wanted) != std::string::npos;
      continue;
    }
    if (isSectionHeader(line)) break;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    if (line.substr(0, equals).find("EXT") == std::string::npos) continue;
    std::string value = line.substr(equals + 1);
    while (!value.empty() && isBlank(value.back())) value.pop_back();
    extensions.push_back(std::move(value));
  }
  return extensions;
}

}  // namespace hw
