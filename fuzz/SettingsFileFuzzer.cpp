// The settings file over arbitrary bytes: reading, writing and reading again must give the same
// document, and a value set is found again under any letter case of its key.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "settingsfile/SettingsFile.h"

namespace trevo::fuzz {
namespace {

void CheckDocument(std::string_view bytes) {
    using settings::SettingsFile;
    const SettingsFile first = SettingsFile::Parse(bytes);
    const std::string written = first.Serialize();
    const SettingsFile second = SettingsFile::Parse(written);
    Require(second.Serialize() == written, "reading what was written changes the document");
    Require(second.SectionCount() == first.SectionCount(), "writing loses or adds sections");

    // The last line of the input as a value under a fixed key: found again after a round trip.
    SettingsFile edited = second;
    const std::size_t cut = bytes.rfind('\n');
    const std::string_view value = cut == std::string_view::npos ? bytes : bytes.substr(cut + 1);
    edited.Set("main", "FE_EPP_Text", value);
    const SettingsFile reread = SettingsFile::Parse(edited.Serialize());
    Require(reread.Get("MAIN", "fe_epp_text").has_value(), "a value set is lost");
    Require(SettingsFile::Parse(reread.Serialize()).Serialize() == reread.Serialize(),
            "a document with a value set does not settle");
}

}  // namespace
}  // namespace trevo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    trevo::fuzz::CheckDocument({reinterpret_cast<const char*>(data), size});
    return 0;
}
