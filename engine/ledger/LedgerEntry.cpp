#include "engine/ledger/LedgerEntry.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/ledger/LedgerEntryLayout.h"

namespace trevo {

namespace {

// Every field at its offset, in record order: the one list both directions follow. `field` is
// called with the offset and the member.
template <class Entry, class Field>
void ForEachField(Entry& e, Field& field) {
    namespace at = ledger_layout;
    field(at::kSeqNo, e.seqNo);
    field(at::kDocDate1, e.docDate1);
    field(at::kDocDate2, e.docDate2);
    field(at::kEntryDate, e.entryDate);
    field(at::kDocDate3, e.docDate3);
    field(at::kDocNumber, e.docNumber);
    field(at::kNip, e.nip);
    field(at::kFirmName, e.firmName);
    field(at::kStreet, e.street);
    field(at::kCity, e.city);
    field(at::kRemark, e.remark);
    field(at::kAuxDate, e.auxDate);
    field(at::kAttributeLetter, e.attributeLetter);
    field(at::kEntryKind, e.entryKind);
    field(at::kImportDate, e.importDate);
    field(at::kDocFlags, e.docFlags);
    field(at::kRegisterLetter, e.registerLetter);
    field(at::kNetto1, e.netto1);
    field(at::kVat1, e.vat1);
    field(at::kNetto3, e.netto3);
    field(at::kVat3, e.vat3);
    field(at::kNetto4, e.netto4);
    field(at::kNetto7, e.netto7);
    field(at::kNetto5, e.netto5);
    field(at::kVat5, e.vat5);
    field(at::kNetto2, e.netto2);
    field(at::kVat2, e.vat2);
    field(at::kNettoOther, e.nettoOther);
    field(at::kEntryMark, e.entryMark);
    field(at::kKprCode, e.kprCode);
    field(at::kNettoKpr, e.nettoKpr);
}

// Little-endian writes into the record at named offsets.
class RecordWriter {
  public:
    explicit RecordWriter(LedgerRecordBytes& bytes) : bytes_(bytes) { bytes_.fill(0); }

    void operator()(std::size_t offset, std::uint8_t value) { bytes_[offset] = value; }
    void operator()(std::size_t offset, char value) {
        bytes_[offset] = static_cast<std::uint8_t>(value);
    }
    void operator()(std::size_t offset, std::int32_t value) {
        Unsigned(offset, static_cast<std::uint32_t>(value), 4);
    }
    void operator()(std::size_t offset, double value) {
        Unsigned(offset, std::bit_cast<std::uint64_t>(value), 8);
    }
    void operator()(std::size_t offset, const RmdDate& date) {
        bytes_[offset] = date.day;
        bytes_[offset + 1] = date.month;
        Unsigned(offset + 2, date.year, 2);
    }
    template <std::size_t N>
    void operator()(std::size_t offset, const ShortString<N>& text) {
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

    void operator()(std::size_t offset, std::uint8_t& value) const { value = bytes_[offset]; }
    void operator()(std::size_t offset, char& value) const {
        value = static_cast<char>(bytes_[offset]);
    }
    void operator()(std::size_t offset, std::int32_t& value) const {
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(Unsigned(offset, 4)));
    }
    void operator()(std::size_t offset, double& value) const {
        value = std::bit_cast<double>(Unsigned(offset, 8));
    }
    void operator()(std::size_t offset, RmdDate& date) const {
        date = {bytes_[offset], bytes_[offset + 1],
                static_cast<std::uint16_t>(Unsigned(offset + 2, 2))};
    }
    template <std::size_t N>
    void operator()(std::size_t offset, ShortString<N>& text) const {
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
    ForEachField(entry, reader);
    return entry;
}

void EncodeLedgerEntry(const LedgerEntry& entry, LedgerRecordBytes& out) {
    RecordWriter writer(out);
    ForEachField(entry, writer);
}

}  // namespace trevo
