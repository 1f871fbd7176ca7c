#include "engine/files/WindowsInputFile.h"

#include <algorithm>

#include "engine/files/WindowsError.h"

namespace trevo::windows {

namespace {

struct Stamp {
    std::int64_t size = 0;
    std::int64_t lastWrite = 0;
    bool operator==(const Stamp&) const = default;
};

FileResult<Stamp> StampOf(HANDLE handle) {
    FILE_BASIC_INFO basic{};
    LARGE_INTEGER size{};
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
        !::GetFileSizeEx(handle, &size)) {
        return LastError();
    }
    return Stamp{size.QuadPart, basic.LastWriteTime.QuadPart};
}

class WindowsInputFile final : public InputFile {
  public:
    WindowsInputFile(Handle handle, Stamp opened) : handle_(std::move(handle)), opened_(opened) {}

    FileResult<std::size_t> Read(char* buffer, std::size_t capacity) override {
        constexpr std::size_t kMaxRead = std::size_t{1} << 30;
        DWORD got = 0;
        if (!::ReadFile(handle_.Get(), buffer, static_cast<DWORD>(std::min(capacity, kMaxRead)),
                        &got, nullptr)) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_HANDLE_EOF) {
                return std::size_t{0};
            }
            return ErrorFromCode(code);
        }
        return static_cast<std::size_t>(got);
    }

    std::uint64_t SizeAtOpen() const override { return static_cast<std::uint64_t>(opened_.size); }

    // Kept although the export's share mode lets no other open write it: share modes bind
    // only this machine's opens, not the other clients of a network share's server, nor
    // (under an emulation) the programs of the system below.
    bool ChangedSinceOpen() override {
        const auto now = StampOf(handle_.Get());
        return !now || !(*now == opened_);
    }

  private:
    Handle handle_;
    Stamp opened_;
};

}  // namespace

FileResult<std::unique_ptr<InputFile>> ReadingFrom(Handle handle) {
    const auto opened = StampOf(handle.Get());
    if (!opened) {
        return opened.error();
    }
    return std::unique_ptr<InputFile>(
        std::make_unique<WindowsInputFile>(std::move(handle), *opened));
}

}  // namespace trevo::windows
