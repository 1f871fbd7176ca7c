#pragma once
// The run journal on disk: one file per writing run in the ledger directory's journal folder,
// "<ledger dir>/trevo2KPR.dziennik/<number>", numbered from 000001 upwards in the order the
// runs started. Little-endian throughout:
//   header  "T2KPRJ1\n", u16 length + export path (Windows-1250), u16 year, u8 month, u8 day,
//           u8 hour, u8 minute, u8 second
//   'O'     a period file opened: u16 length + file name (within the ledger directory),
//           u8 existed before (0/1), u64 size at opening
//   'W'     an append: u16 length + file name, u64 offset, u64 size before,
//           u16 length + the bytes overwritten, u16 length + the bytes written
//   'E'     the run ended; a journal without it is of a run that did not finish

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ledger/zdRMD.h"

namespace trevo::journal {

inline constexpr std::string_view kMagic = "T2KPRJ1\n";
inline constexpr std::string_view kDirectoryName = "trevo2KPR.dziennik";
// Journals of older runs are removed when a new one starts.
inline constexpr std::size_t kRunsKept = 20;

std::string JournalDirectory(const std::string& ledgerDir);
// The run number a journal file name stands for; nothing for any other name.
std::optional<std::uint32_t> JournalNumber(std::string_view fileName);
std::string JournalFileName(std::uint32_t number);

struct OpenedRecord {
    std::string fileName;
    bool existedBefore = false;
    std::uint64_t sizeAtOpen = 0;
};

struct WrittenRecord {
    std::string fileName;
    std::uint64_t offset = 0;
    std::uint64_t sizeBefore = 0;
    std::string overwritten;
    std::string written;
};

struct Journal {
    std::string exportPath;
    LocalDateTime started;
    // In the order they happened.
    std::vector<OpenedRecord> opened;
    std::vector<WrittenRecord> writes;
    std::vector<std::string> fileOrder;  // each period file once, in the order first opened
    bool ended = false;
};

void AppendHeader(std::string& out, std::string_view exportPath, const LocalDateTime& started);
void AppendOpened(std::string& out, std::string_view fileName, bool existedBefore,
                  std::uint64_t sizeAtOpen);
void AppendWritten(std::string& out, std::string_view fileName, std::uint64_t offset,
                   std::uint64_t sizeBefore, std::string_view overwritten,
                   std::string_view written);
void AppendEnd(std::string& out);

// Nothing when the bytes are no journal or are cut inside a record.
std::optional<Journal> ParseJournal(std::string_view bytes);

}  // namespace trevo::journal
