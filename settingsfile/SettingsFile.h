#pragma once
// The settings file as a document: sections of "key=value" entries, single-byte text
// (Windows-1250), lines ending with CR LF.
//
// Reading: every line is trimmed of blanks and control characters (bytes up to 32); empty lines
// and lines beginning with ";" are skipped; "[name]" opens a section; lines before the first
// section are ignored; an entry splits at its first "=", key and value trimmed; a line without
// "=" stays where it is and is written back as it was read. Section names and keys compare
// without regard to letter case; when a name occurs twice, the first one counts.
//
// Writing: the sections in order, each header followed by its lines and one empty line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace trevo {
class WholeFileStore;
}

namespace trevo::settings {

// Section names and keys of the settings file compare without regard to letter case, for ASCII
// letters and the letters of Windows-1250 (so "[łódź]" finds "[ŁÓDŹ]").

// The form under which a section name or key is looked up.
std::string FoldKey(std::string_view name);

// How a file operation ended; `reason` (Windows-1250) says why it failed.
struct SettingsFileStatus {
    bool ok = true;
    std::string reason;
};

struct SettingsFileRead;

class SettingsFile {
  public:
    static SettingsFile Parse(std::string_view bytes);
    std::string Serialize() const;

    // Paths are the system's file names. Without a file system, the machine's own is used.

    // A missing file gives an empty document; a file that exists but cannot be read gives an
    // empty document and a failed status.
    static SettingsFileRead Read(const std::string& path);
    static SettingsFileRead Read(WholeFileStore& files, const std::string& path);
    // Creates the file's directory when it is missing. The old contents are replaced only once
    // the new ones are completely on disk (see ReplaceWholeFile).
    SettingsFileStatus Write(const std::string& path) const;
    SettingsFileStatus Write(WholeFileStore& files, const std::string& path) const;

    bool HasSection(std::string_view section) const;
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // An existing key keeps its place; a new key goes to the end of its section, a new section
    // to the end of the document. Line breaks in any of the three become blanks, so that a
    // value can never start a line of its own.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // Makes this document's section `name` a copy of the one in `source`, in place when it
    // exists here, appended otherwise. Nothing happens when `source` has no such section.
    void CopySectionFrom(const SettingsFile& source, std::string_view name);

    std::size_t SectionCount() const { return sections_.size(); }

  private:
    struct Line {
        std::string key;  // the whole text for a line without "="
        std::string value;
        bool isEntry = true;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> firstEntry;  // folded key -> line
    };

    const Section* FindSection(std::string_view name) const;
    Section& AddSection(std::string name);
    static void AddLine(Section& section, Line line);

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> firstSection_;  // folded name -> section
};

struct SettingsFileRead {
    SettingsFile document;
    SettingsFileStatus status;
};

}  // namespace trevo::settings
