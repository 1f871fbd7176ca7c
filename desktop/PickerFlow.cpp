#include "desktop/PickerFlow.h"

#include <exception>

#include "companies/LedgerDirectoryChoice.h"
#include "desktop/PathQuotes.h"
#include "desktop/PickerForm.h"
#include "desktop/Win1250Boundary.h"
#include "engine/files/FileSystem.h"
#include "engine/text/Win1250.h"

namespace trevo::desktop {

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
#else
constexpr std::string_view kSeparators = "/";
#endif

// The directory part of a path, without its last separator unless that is the root's ("/",
// "c:\"); empty when the path has no separator.
std::string DirectoryOf(std::string_view path) {
    const auto end = path.find_last_of(kSeparators);
    if (end == std::string_view::npos) {
        return {};
    }
    const bool root = end == 0 || (end == 2 && path[1] == ':');
    return std::string(path.substr(0, root ? end + 1 : end));
}

}  // namespace

std::string CurrentKatalogOfLedgerDir(std::string_view ledgerDirUtf8) {
    return CurrentKatalogOf(Win1250OrQuestionMarks(ledgerDirUtf8));
}

PickerFlow::PickerFlow(PickerView& view, FileSystem& files, const StringCollation& collation,
                       LedgerCodeSource ledgerCode)
    : view_(view), files_(files), collation_(collation), ledgerCode_(std::move(ledgerCode)) {}

void PickerFlow::SetCurrentKatalog(std::string_view win1250) {
    currentKatalog_ = std::string(win1250.substr(0, kKatalogWidth));
}

void PickerFlow::Activated() {
    if (loadOnActivate_) {
        loadOnActivate_ = false;
        LoadAsked();
    }
}

void PickerFlow::LoadAsked() {
    Load(Trigger::Asked);
}

void PickerFlow::FileBoxChanged() {
    lastTried_.clear();
    if (!list_.Source()) {
        return;
    }
    // A letter outside Windows-1250 names no file the rows could have come from.
    const auto path = text::Utf8ToWin1250(ListFileName());
    if (path && list_.IsFrom(*path)) {
        return;
    }
    list_.Clear();
    view_.ShowRows(list_.Rows(), std::nullopt);
    Status("Nowa nazwa pliku: Enter wczyta z niego listę firm.");
}

void PickerFlow::FileBoxLeft() {
    const std::string name = ListFileName();
    const bool fromIt = list_.Source() && text::Win1250ToUtf8(*list_.Source()) == name;
    if (!fromIt && name != lastTried_) {
        Load(Trigger::LeavingTheBox);
    }
}

void PickerFlow::FileChosen(std::string_view pathUtf8) {
    view_.SetFileBoxText(QuotePathWithSpaces(pathUtf8));
    chosenDirectory_ = DirectoryOf(pathUtf8);
    LoadAsked();
}

bool PickerFlow::ConfirmAsked() {
    // Without a list there is no company, and no directory to give.
    if (!ChosenLedgerDirectory()) {
        view_.Beep();
        return false;
    }
    return true;
}

std::optional<std::string> PickerFlow::ChosenLedgerDirectory() const {
    const auto directory = list_.LedgerDirectoryFor(view_.CurrentRow());
    if (!directory) {
        return std::nullopt;
    }
    return text::Win1250ToUtf8(*directory);
}

std::string PickerFlow::CurrentRowKatalog() const {
    const auto row = view_.CurrentRow();
    if (!row || *row >= list_.Rows().size()) {
        return {};
    }
    return list_.Rows()[*row].katalog;
}

std::string PickerFlow::ListFileName() const {
    return UnquotePath(view_.FileBoxText());
}

std::string PickerFlow::BrowseStartDirectory() const {
    const std::string directory = DirectoryOf(ListFileName());
    if (!directory.empty()) {
        const auto path = text::Utf8ToWin1250(directory);
        if (path && files_.DirectoryExists(*path)) {
            return directory;
        }
    }
    return chosenDirectory_.empty() ? std::string(picker_form::kInitialDirectory)
                                    : chosenDirectory_;
}

void PickerFlow::Status(std::string text) {
    status_ = std::move(text);
    view_.ShowStatus(status_);
}

void PickerFlow::Load(Trigger trigger) {
    const std::string name = ListFileName();
    lastTried_ = name;
    const auto refuse = [&](std::string_view reason) {
        Status("Nie wczytano listy firm: " + std::string(reason) + ".");
        if (trigger == Trigger::Asked) {
            view_.Beep();
            view_.FocusFileBox();
        }
    };
    // A letter the file layer cannot spell would become '?' and could name another file.
    const auto path = text::Utf8ToWin1250(name);
    if (!path) {
        list_.Clear();
        view_.ShowRows(list_.Rows(), std::nullopt);
        refuse("nazwa ma znaki spoza Windows-1250");
        return;
    }

    CompanyListFailure failure = CompanyListFailure::None;
    std::string error;
    try {
        failure = list_.Load(files_, *path, ledgerCode_(), currentKatalog_, collation_);
    } catch (const std::exception& caught) {
        // The list is empty then; the user is told, and the dialog stays usable.
        error = caught.what();
        if (error.empty()) {
            error = "nieznany błąd";
        }
    }
    view_.ShowRows(list_.Rows(), list_.LoadedRow());

    if (!error.empty()) {
        Status("Nie wczytano listy firm: " + error + ".");
        view_.ShowErrorBox(error);
        return;
    }
    if (failure != CompanyListFailure::None) {
        refuse(text::Win1250ToUtf8(CompanyListFailureReason(failure)));
        return;
    }
    Status("Lista firm z pliku " + name + " (firm: " + std::to_string(list_.Rows().size()) + ").");
    if (trigger == Trigger::Asked) {
        view_.FocusGrid();
    }
}

}  // namespace trevo::desktop
