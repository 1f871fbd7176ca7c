#include "desktop/InputChecks.h"

#include "engine/files/DirectoryStore.h"
#include "engine/text/Win1250.h"

namespace trevo::desktop {

namespace {

// The captions of the boxes as the window shows them.
constexpr std::string_view kExportBox = "Plik Exp2Kap.kpm";
constexpr std::string_view kLedgerBox = "Katalog danych KPR";
constexpr std::string_view kAttributeBox = "Atrybut KPR";
constexpr std::string_view kRegisterBox = "Rejestr( )";
constexpr std::string_view kOutsideCodePage = "ścieżka ma znaki spoza Windows-1250";

InputRefusal Refuse(InputBox box, std::string_view caption, std::string_view reason,
                    std::string_view subject = {}) {
    std::string message = std::string(caption) + ": " + std::string(reason);
    const std::size_t kept = message.size();
    if (!subject.empty()) {
        message += ": ";
        message += subject;
    }
    return {box, std::move(message), kept};
}

std::optional<InputRefusal> CheckExportFile(const std::string& path, DirectoryStore& directories) {
    constexpr auto box = InputBox::ExportFile;
    if (path.empty()) {
        return Refuse(box, kExportBox, "nie wskazano pliku eksportu");
    }
    const auto name = text::Utf8ToWin1250(path);
    if (!name) {
        return Refuse(box, kExportBox, kOutsideCodePage, path);
    }
    // Exactly as typed: a quoted path names no file.
    if (directories.FileExists(*name)) {
        return std::nullopt;
    }
    if (directories.DirectoryExists(*name)) {
        return Refuse(box, kExportBox, "to katalog, nie plik", path);
    }
    return Refuse(box, kExportBox, "nie ma takiego pliku", path);
}

std::optional<InputRefusal> CheckLetter(InputBox box, std::string_view caption,
                                        std::string_view letter) {
    if (LetterByte(letter)) {
        return std::nullopt;
    }
    return Refuse(box, caption, "to nie jest znak Windows-1250", "\"" + std::string(letter) + "\"");
}

}  // namespace

std::optional<InputRefusal> CheckLedgerDirectory(const std::string& ledgerDir,
                                                 DirectoryStore& directories) {
    constexpr auto box = InputBox::LedgerDirectory;
    if (ledgerDir.empty()) {
        return Refuse(box, kLedgerBox, "nie wskazano katalogu");
    }
    const auto name = text::Utf8ToWin1250(ledgerDir);
    if (!name) {
        return Refuse(box, kLedgerBox, kOutsideCodePage, ledgerDir);
    }
    if (directories.DirectoryExists(*name)) {
        return std::nullopt;
    }
    if (directories.FileExists(*name)) {
        return Refuse(box, kLedgerBox, "to plik, nie katalog", ledgerDir);
    }
    return Refuse(box, kLedgerBox, "nie ma takiego katalogu", ledgerDir);
}

std::optional<InputRefusal> CheckConversionInputs(const ConversionInputTexts& inputs,
                                                  DirectoryStore& directories) {
    if (auto refusal = CheckExportFile(inputs.exportPath, directories)) {
        return refusal;
    }
    if (!inputs.checkOnly) {
        if (auto refusal = CheckLedgerDirectory(inputs.ledgerDir, directories)) {
            return refusal;
        }
    } else if (!text::Utf8ToWin1250(inputs.ledgerDir)) {
        return Refuse(InputBox::LedgerDirectory, kLedgerBox, kOutsideCodePage, inputs.ledgerDir);
    }
    if (auto refusal =
            CheckLetter(InputBox::AttributeLetter, kAttributeBox, inputs.attributeLetter)) {
        return refusal;
    }
    return CheckLetter(InputBox::RegisterLetter, kRegisterBox, inputs.registerLetter);
}

std::optional<char> LetterByte(std::string_view utf8) {
    if (utf8.empty()) {
        return '\0';
    }
    const auto bytes = text::Utf8ToWin1250(utf8);
    if (!bytes || bytes->size() != 1) {
        return std::nullopt;
    }
    return bytes->front();
}

}  // namespace trevo::desktop
