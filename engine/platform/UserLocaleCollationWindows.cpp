#include <windows.h>

#include <string>

#include "engine/platform/UserLocaleCollation.h"

namespace trevo {

namespace {

std::wstring FromWin1250(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(1250, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(1250, 0, bytes.data(), size, text.data(), length);
    }
    return text;
}

}  // namespace

UserLocaleCollation::UserLocaleCollation() = default;

UserLocaleCollation::UserLocaleCollation(std::wstring localeName)
    : localeName_(std::move(localeName)) {}

int UserLocaleCollation::Compare(std::string_view a, std::string_view b) const {
    const std::wstring wideA = FromWin1250(a);
    const std::wstring wideB = FromWin1250(b);
    const int result =
        ::CompareStringEx(localeName_.empty() ? LOCALE_NAME_USER_DEFAULT : localeName_.c_str(), 0,
                          wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                          static_cast<int>(wideB.size()), nullptr, nullptr, 0);
    // CSTR_LESS_THAN 1, CSTR_EQUAL 2, CSTR_GREATER_THAN 3; 0 on failure, taken as equal texts
    // only when they are equal bytes.
    if (result == 0) {
        return a.compare(b);
    }
    return result - CSTR_EQUAL;
}

}  // namespace trevo
