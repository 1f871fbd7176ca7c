#include "settingsfile/SettingsFile.h"

#include <array>

namespace trevo::settings {

namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> table{};
    for (unsigned i = 0; i < table.size(); ++i) {
        table[i] = static_cast<unsigned char>(i);
    }
    for (unsigned c = 'a'; c <= 'z'; ++c) {
        table[c] = static_cast<unsigned char>(c - 0x20);
    }
    // Letters of the upper half whose capitals lie elsewhere: š ś ť ž ź ł ą ş ľ ż.
    constexpr unsigned char kPairs[][2] = {{0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E},
                                           {0x9F, 0x8F}, {0xB3, 0xA3}, {0xB9, 0xA5}, {0xBA, 0xAA},
                                           {0xBE, 0xBC}, {0xBF, 0xAF}};
    for (const auto& pair : kPairs) {
        table[pair[0]] = pair[1];
    }
    // ŕ..ţ sit 0x20 above their capitals; 0xF7 is the division sign and 0xDF (ß) has none.
    for (unsigned c = 0xE0; c <= 0xFE; ++c) {
        if (c != 0xF7) {
            table[c] = static_cast<unsigned char>(c - 0x20);
        }
    }
    return table;
}

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

}  // namespace

std::string FoldKey(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
    }
    return folded;
}

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankOrControl(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlankOrControl(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// A line break inside a value would start a line of its own when read back, possibly a section
// header: keep every text on its one line.
std::string OnOneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

}  // namespace

SettingsFile SettingsFile::Parse(std::string_view bytes) {
    SettingsFile document;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = Trim(bytes.substr(pos, end - pos));
        pos = end;
        if (pos < bytes.size()) {
            pos += (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;
        }

        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            document.AddSection(std::string(Trim(line.substr(1, line.size() - 2))));
            continue;
        }
        if (document.sections_.empty()) {
            continue;
        }
        Section& section = document.sections_.back();
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            AddLine(section, Line{std::string(line), {}, false});
        } else {
            AddLine(section, Line{std::string(Trim(line.substr(0, equals))),
                                  std::string(Trim(line.substr(equals + 1))), true});
        }
    }
    return document;
}

std::string SettingsFile::Serialize() const {
    std::string bytes;
    for (const Section& section : sections_) {
        bytes += '[';
        bytes += section.name;
        bytes += ']';
        bytes += kLineEnd;
        for (const Line& line : section.lines) {
            bytes += line.key;
            if (line.isEntry) {
                bytes += '=';
                bytes += line.value;
            }
            bytes += kLineEnd;
        }
        bytes += kLineEnd;
    }
    return bytes;
}

bool SettingsFile::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::optional<std::string> SettingsFile::Get(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto entry = found->firstEntry.find(FoldKey(key));
    if (entry == found->firstEntry.end()) {
        return std::nullopt;
    }
    return found->lines[entry->second].value;
}

void SettingsFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    std::string sectionName = OnOneLine(section);
    const auto existing = firstSection_.find(FoldKey(sectionName));
    Section& target = existing != firstSection_.end() ? sections_[existing->second]
                                                      : AddSection(std::move(sectionName));
    std::string keyName = OnOneLine(key);
    const auto entry = target.firstEntry.find(FoldKey(keyName));
    if (entry != target.firstEntry.end()) {
        Line& line = target.lines[entry->second];
        line.key = std::move(keyName);
        line.value = OnOneLine(value);
    } else {
        AddLine(target, Line{std::move(keyName), OnOneLine(value), true});
    }
}

void SettingsFile::CopySectionFrom(const SettingsFile& source, std::string_view name) {
    const Section* copy = source.FindSection(name);
    if (copy == nullptr) {
        return;
    }
    const auto existing = firstSection_.find(FoldKey(name));
    if (existing != firstSection_.end()) {
        sections_[existing->second] = *copy;
    } else {
        firstSection_.emplace(FoldKey(name), sections_.size());
        sections_.push_back(*copy);
    }
}

const SettingsFile::Section* SettingsFile::FindSection(std::string_view name) const {
    const auto found = firstSection_.find(FoldKey(name));
    return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

SettingsFile::Section& SettingsFile::AddSection(std::string name) {
    firstSection_.try_emplace(FoldKey(name), sections_.size());
    sections_.push_back(Section{std::move(name), {}, {}});
    return sections_.back();
}

void SettingsFile::AddLine(Section& section, Line line) {
    if (line.isEntry) {
        section.firstEntry.try_emplace(FoldKey(line.key), section.lines.size());
    }
    section.lines.push_back(std::move(line));
}

}  // namespace trevo::settings
