#pragma once
// Told of everything a run does to its period files, so that it can be taken back exactly:
// whether a file was there before, its size, the bytes every append overwrote and wrote.

#include <cstdint>
#include <string>
#include <string_view>

namespace trevo {

class PeriodWriteObserver {
  public:
    virtual ~PeriodWriteObserver() = default;
    // A period file was opened (or created: `existedBefore` false) and had `sizeAtOpen` bytes.
    virtual void PeriodOpened(const std::string& fileName, bool existedBefore,
                              std::uint64_t sizeAtOpen) = 0;
    // An append at `offset` into a file of `sizeBefore` bytes: `overwritten` held the bytes of
    // a part-record from `offset` on, `written` the bytes the system took (all 400, or fewer
    // when the write fell short).
    virtual void RecordWritten(const std::string& fileName, std::uint64_t offset,
                               std::uint64_t sizeBefore, std::string_view overwritten,
                               std::string_view written) = 0;
};

}  // namespace trevo
