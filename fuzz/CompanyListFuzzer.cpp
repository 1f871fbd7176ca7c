// The company list reader over arbitrary bytes, read in pieces of any size, from a file that
// may shrink while it is read: whole records only, texts within their rooms, the directory
// byte for byte.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "companies/CompanyList.h"
#include "fuzz/FuzzCheck.h"
#include "testing/RefusingFileSystem.h"

namespace trevo::fuzz {
namespace {

namespace layout = company_layout;

// A list file whose size at opening may be larger than what is left to read.
class ShrinkingListFile final : public InputFile {
  public:
    ShrinkingListFile(std::string_view bytes, std::size_t chunk, std::uint64_t sizeAtOpen)
        : bytes_(bytes), chunk_(chunk), sizeAtOpen_(sizeAtOpen) {}

    FileResult<std::size_t> Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min({capacity, chunk_, bytes_.size() - pos_});
        std::memcpy(buffer, bytes_.data() + pos_, n);
        pos_ += n;
        return n;
    }
    std::uint64_t SizeAtOpen() const override { return sizeAtOpen_; }

  private:
    std::string_view bytes_;
    std::size_t chunk_;
    std::uint64_t sizeAtOpen_;
    std::size_t pos_ = 0;
};

class OneFileSystem final : public testing::RefusingFileSystem {
  public:
    OneFileSystem(std::string_view bytes, std::size_t chunk, std::uint64_t sizeAtOpen)
        : bytes_(bytes), chunk_(chunk), sizeAtOpen_(sizeAtOpen) {}

    bool FileExists(const std::string&) override { return true; }
    FileResult<std::unique_ptr<InputFile>> OpenRecordFileForReading(const std::string&) override {
        return std::unique_ptr<InputFile>(
            std::make_unique<ShrinkingListFile>(bytes_, chunk_, sizeAtOpen_));
    }

  private:
    std::string_view bytes_;
    std::size_t chunk_;
    std::uint64_t sizeAtOpen_;
};

void CheckList(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return;
    }
    // The first byte chooses the code page and the size of the pieces, the second how much the
    // file shrank after it was opened.
    const PolishCharset code = data[0] & 1 ? PolishCharset::pcMazovia : PolishCharset::pcCp852;
    const std::size_t chunk = 1 + (data[0] >> 1);
    const std::uint64_t shrunk = data[1];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    OneFileSystem fileSystem(bytes, chunk, bytes.size() + shrunk);

    std::size_t seen = 0;
    const std::size_t delivered =
        ReadCompanyList(fileSystem, "spisfirm.dat", code, [&](const CompanyRecord& record) {
            const auto* raw =
                reinterpret_cast<const std::uint8_t*>(bytes.data()) + seen * layout::kRecordSize;
            Require(record.companyName.size() ==
                        std::min<std::size_t>(raw[layout::kCompanyName], layout::kCompanyNameRoom),
                    "name length differs from its clamped length byte");
            Require(record.companyInfo.size() ==
                        std::min<std::size_t>(raw[layout::kCompanyInfo], layout::kCompanyInfoRoom),
                    "info length differs from its clamped length byte");
            Require(record.companyDir ==
                        std::string(reinterpret_cast<const char*>(raw) + layout::kCompanyDir + 1,
                                    std::min<std::size_t>(raw[layout::kCompanyDir],
                                                          layout::kCompanyDirRoom)),
                    "the directory is not delivered byte for byte");
            ++seen;
        });
    Require(delivered == seen, "the count differs from the records delivered");
    Require(delivered == bytes.size() / layout::kRecordSize,
            "not every whole record that is there was delivered");
}

}  // namespace
}  // namespace trevo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    trevo::fuzz::CheckList(data, size);
    return 0;
}
