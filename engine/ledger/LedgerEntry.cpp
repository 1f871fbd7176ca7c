#include "engine/ledger/LedgerEntry.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/ledger/LedgerEntryLayout.h"

namespace trevo {

namespace {

// Little-endian writes into the record at named offsets.
class RecordWriter {
  public:
    explicit RecordWriter(LedgerRecordBytes& bytes) : bytes_(bytes) { bytes_.fill(0); }

    void operator()(const char*, std::size_t offset, std::uint8_t value) { bytes_[offset] = value; }
    void operator()(const char*, std::size_t offset, char value) {
        bytes_[offset] = static_cast<std::uint8_t>(value);
    }
    void operator()(const char*, std::size_t offset, std::int32_t value) {
        Unsigned(offset, static_cast<std::uint32_t>(value), 4);
    }
    void operator()(const char*, std::size_t offset, double value) {
        Unsigned(offset, std::bit_cast<std::uint64_t>(value), 8);
    }
    void operator()(const char*, std::size_t offset, const RmdDate& date) {
        bytes_[offset] = date.day;
        bytes_[offset + 1] = date.month;
        Unsigned(offset + 2, date.year, 2);
    }
    template <std::size_t N>
    void operator()(const char*, std::size_t offset, const ShortString<N>& text) {
        bytes_[offset] = static_cast<std::uint8_t>(text.Size());
        std::memcpy(bytes_.data() + offset + 1, text.View().data(), text.Size());
    }

  private:
    void Unsigned(std::size_t offset, std::uint64_t value, int width) {
        if constexpr (std::endian::native == std::endian::little) {
            // The value's own first bytes are the ones wanted: one store.
            std::memcpy(bytes_.data() + offset, &value, static_cast<std::size_t>(width));
        } else {
            for (int i = 0; i < width; ++i) {
                bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        }
    }

    LedgerRecordBytes& bytes_;
};

// Little-endian reads from the record at named offsets.
class RecordReader {
  public:
    explicit RecordReader(const LedgerRecordBytes& bytes) : bytes_(bytes) {}

    void operator()(const char*, std::size_t offset, std::uint8_t& value) const {
        value = bytes_[offset];
    }
    void operator()(const char*, std::size_t offset, char& value) const {
        value = static_cast<char>(bytes_[offset]);
    }
    void operator()(const char*, std::size_t offset, std::int32_t& value) const {
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(Unsigned(offset, 4)));
    }
    void operator()(const char*, std::size_t offset, double& value) const {
        value = std::bit_cast<double>(Unsigned(offset, 8));
    }
    void operator()(const char*, std::size_t offset, RmdDate& date) const {
        date = {bytes_[offset], bytes_[offset + 1],
                static_cast<std::uint16_t>(Unsigned(offset + 2, 2))};
    }
    template <std::size_t N>
    void operator()(const char*, std::size_t offset, ShortString<N>& text) const {
        const std::size_t length = std::min<std::size_t>(bytes_[offset], N);
        text.Assign({reinterpret_cast<const char*>(bytes_.data() + offset + 1), length});
    }

  private:
    std::uint64_t Unsigned(std::size_t offset, int width) const {
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = (value << 8) | bytes_[offset + static_cast<std::size_t>(i)];
        }
        return value;
    }

    const LedgerRecordBytes& bytes_;
};

}  // namespace

LedgerEntry DecodeLedgerEntry(const LedgerRecordBytes& bytes) {
    const RecordReader reader(bytes);
    LedgerEntry entry;
    ForEachLedgerField(entry, reader);
    return entry;
}

void EncodeLedgerEntry(const LedgerEntry& entry, LedgerRecordBytes& out) {
    RecordWriter writer(out);
    ForEachLedgerField(entry, writer);
}

}  // namespace trevo
