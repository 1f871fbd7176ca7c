#pragma once
// The run journal on disk: one file per writing run in the ledger directory's journal folder,
// "<ledger dir>/trevo2KPR.dziennik/<number>", numbered upwards in the order the runs started
// (ten digits; older six-digit names are read by their value). After the magic "T2KPRJ2\n"
// come entries, each framed and checked on its own, little-endian throughout:
//   u8 kind, u32 payload length, payload, u64 XXH3-64 of kind, length and payload
// Payloads (u16 length + bytes for a text):
//   'H'  the run: export path (Windows-1250), u16 year, u8 month, day, hour, minute, second
//   'O'  a period file opened: file name (within the ledger directory), u8 existed before
//        (0/1), u64 size at opening; on disk before the run appends to that file
//   'F'  what the run left in a period file it wrote: file name, u64 size before its first
//        append, u64 offset of that append, u64 size after its last, u64 whole records
//        written, u8 interleaved (another writer appended between the run's appends), bytes
//        of a part-record the run overwrote (u16 length + bytes), XXH3-128 (low, then high
//        64 bits) of the file's bytes from that first offset to the size after
//   'E'  the run ended; empty payload. A journal without it is of a run that did not finish.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ledger/zdRMD.h"

namespace trevo::journal {

inline constexpr std::string_view kMagic = "T2KPRJ2\n";
// The previous format, which kept a copy of every record written and no checksums.
inline constexpr std::string_view kOldMagic = "T2KPRJ1\n";
inline constexpr std::string_view kDirectoryName = "trevo2KPR.dziennik";
// Journals of older runs are removed when a new one starts.
inline constexpr std::size_t kRunsKept = 20;

// Entry framing: kind, payload length, payload, checksum.
inline constexpr std::size_t kEntryKindSize = 1;
inline constexpr std::size_t kEntryLengthSize = 4;
inline constexpr std::size_t kEntryChecksumSize = 8;
// No entry this program writes comes near this; a larger length is damage.
inline constexpr std::uint32_t kMaxPayload = 64 * 1024;

// Names beside the journals in the folder: "<number><suffix>".
inline constexpr std::string_view kSetAsideSuffix = ".odlozony";  // an unfinished run put aside
inline constexpr std::string_view kUndoingSuffix = ".cofanie";    // an undo of it under way
inline constexpr std::string_view kSavedSuffix = ".ogon";  // the bytes an undo cut, for going back

std::string JournalDirectory(const std::string& ledgerDir);
// The run number a journal file name stands for (six to twenty digits); nothing for any other
// name.
std::optional<std::uint64_t> JournalNumber(std::string_view fileName);
// The number any name of the folder is of: a journal, or a name beside one.
std::optional<std::uint64_t> JournalNumberOfAnyName(std::string_view fileName);
std::string JournalFileName(std::uint64_t number);

using Digest = std::array<std::uint64_t, 2>;  // low, high

struct OpenedRecord {
    std::string fileName;
    bool existedBefore = false;
    std::uint64_t sizeAtOpen = 0;
};

// What a run appended to one period file: the F entry.
struct AppendedFile {
    std::string fileName;
    std::uint64_t sizeBefore = 0;
    std::uint64_t firstOffset = 0;
    std::uint64_t sizeAfter = 0;
    std::uint64_t records = 0;
    bool interleaved = false;
    std::string overwritten;
    Digest digest{};
};

enum class JournalState : std::uint8_t {
    Ended,       // a whole journal of a run that finished
    Unfinished,  // sound so far, but without the end mark (its last entry may be cut)
    Damaged,     // an entry fails its check, or is no entry of this format
    OldFormat,   // written by the previous version
};

struct Journal {
    JournalState state = JournalState::Damaged;
    std::string exportPath;
    LocalDateTime started;
    std::vector<OpenedRecord> opened;  // in the order they happened
    std::vector<AppendedFile> files;
    std::vector<std::string> fileOrder;  // each period file once, in the order first opened
};

void AppendHeader(std::string& out, std::string_view exportPath, const LocalDateTime& started);
void AppendOpened(std::string& out, std::string_view fileName, bool existedBefore,
                  std::uint64_t sizeAtOpen);
void AppendFileEntry(std::string& out, const AppendedFile& result);
void AppendEnd(std::string& out);

Journal ParseJournal(std::string_view bytes);

}  // namespace trevo::journal
