#include "engine/files/FileResult.h"

#include <string>

namespace trevo {

namespace {

class FileErrorCategoryImpl final : public std::error_category {
  public:
    const char* name() const noexcept override { return "trevo.file"; }

    std::string message(int value) const override {
        switch (static_cast<FileErrc>(value)) {
            case FileErrc::IsLink:
                return "the name is a symbolic link";
            case FileErrc::ReadOnly:
                return "the file is read-only";
            case FileErrc::HeldByAnotherRun:
                return "another run holds the file's lock";
            case FileErrc::NameMoved:
                return "the name no longer stands for the open file";
            case FileErrc::NotRegularFile:
                return "not a regular file";
            case FileErrc::Exists:
                return "the name exists";
        }
        return "unknown file error " + std::to_string(value);
    }
};

}  // namespace

const std::error_category& FileErrorCategory() {
    // Immutable after construction: one instance for the category's identity.
    static const FileErrorCategoryImpl category;
    return category;
}

}  // namespace trevo
