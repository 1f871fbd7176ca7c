#include "engine/files/FileFailureReason.h"

#include "engine/files/FileResult.h"
#include "engine/text/Win1250.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

std::string FileFailureReason(std::error_code error) {
    if (error.category() == FileErrorCategory()) {
        switch (static_cast<FileErrc>(error.value())) {
            case FileErrc::IsLink:
                return std::string("nazwa jest dowiązaniem symbolicznym"_w1250);
            case FileErrc::ReadOnly:
                return std::string("plik tylko do odczytu"_w1250);
            case FileErrc::HeldByAnotherRun:
                return std::string("plik jest zapisywany przez inną konwersję"_w1250);
            case FileErrc::NameMoved:
                return std::string("pod nazwą jest już inny plik"_w1250);
            case FileErrc::NotRegularFile:
                return std::string("to nie jest zwykły plik"_w1250);
            case FileErrc::Exists:
                return std::string("plik już istnieje"_w1250);
        }
        return std::string("nieznany błąd"_w1250);
    }
    if (error == std::errc::no_space_on_device) {
        return std::string("brak miejsca na dysku"_w1250);
    }
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
        return std::string("brak uprawnień"_w1250);
    }
    if (error == std::errc::read_only_file_system) {
        return std::string("nośnik tylko do odczytu"_w1250);
    }
    if (error == std::errc::no_such_file_or_directory) {
        return std::string("nie ma takiego pliku ani katalogu"_w1250);
    }
    if (error == std::errc::not_a_directory) {
        return std::string("część ścieżki nie jest katalogiem"_w1250);
    }
    if (error == std::errc::is_a_directory) {
        return std::string("to jest katalog, nie plik"_w1250);
    }
    if (error == std::errc::too_many_symbolic_link_levels) {
        return std::string("za dużo dowiązań symbolicznych"_w1250);
    }
    if (error == std::errc::filename_too_long) {
        return std::string("za długa nazwa"_w1250);
    }
    if (error == std::errc::too_many_files_open ||
        error == std::errc::too_many_files_open_in_system) {
        return std::string("za dużo otwartych plików"_w1250);
    }
    if (error == std::errc::no_such_device_or_address || error == std::errc::no_such_device) {
        return std::string("urządzenie niedostępne"_w1250);
    }
    if (error == std::errc::io_error) {
        return std::string("błąd wejścia/wyjścia"_w1250);
    }
    if (!error) {
        return std::string("nieznany błąd"_w1250);
    }
#ifdef _WIN32
    // A sharing or lock violation: the file layers on Windows give it as this condition.
    if (error == std::errc::device_or_resource_busy) {
        return std::string("plik jest otwarty w innym programie"_w1250);
    }
    // This compiler's library words the system's numbers as if they were C library ones.
    if (error.category() == std::system_category()) {
        return std::string("błąd systemu nr "_w1250) + std::to_string(error.value());
    }
#endif
    // The system's own words come in the locale's encoding, UTF-8 here.
    const std::string message = error.message();
    if (auto converted = text::Utf8ToWin1250(message)) {
        return *std::move(converted);
    }
    std::string ascii;
    for (const char c : message) {
        ascii += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    }
    return ascii;
}

}  // namespace trevo
