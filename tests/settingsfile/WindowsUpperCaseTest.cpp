// The settings file's keys fold as Windows upper-cases (LCMapStringEx, LCMAP_UPPERCASE), byte for
// byte over Windows-1250, so that a key Windows programs wrote in any case is found.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "settingsfile/SettingsFile.h"

namespace trevo::settings {
namespace {

// Windows' capital of one Windows-1250 byte; the byte itself when the capital has no byte.
char WindowsUpper(const wchar_t* locale, char byte) {
    wchar_t wide[2];
    const int length = ::MultiByteToWideChar(1250, 0, &byte, 1, wide, 2);
    wchar_t upper[4];
    const int mapped =
        ::LCMapStringEx(locale, LCMAP_UPPERCASE, wide, length, upper, 4, nullptr, nullptr, 0);
    char back[4];
    BOOL lossy = FALSE;
    const int size =
        ::WideCharToMultiByte(1250, WC_NO_BEST_FIT_CHARS, upper, mapped, back, 4, nullptr, &lossy);
    return size == 1 && !lossy ? back[0] : byte;
}

TEST(WindowsUpperCase, KeysFoldAsWindowsUpperCasesEveryByte) {
    for (const wchar_t* locale :
         {static_cast<const wchar_t*>(LOCALE_NAME_USER_DEFAULT), L"pl-PL", L"tr-TR"}) {
        for (int byte = 1; byte < 256; ++byte) {
            const char c = static_cast<char>(byte);
            EXPECT_EQ(FoldKey(std::string(1, c)), std::string(1, WindowsUpper(locale, c)))
                << "byte " << byte;
        }
    }
}

}  // namespace
}  // namespace trevo::settings
