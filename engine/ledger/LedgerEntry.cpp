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

    void Byte(std::size_t offset, std::uint8_t value) { bytes_[offset] = value; }

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

    void Int32(std::size_t offset, std::int32_t value) {
        Unsigned(offset, static_cast<std::uint32_t>(value), 4);
    }

    void Double(std::size_t offset, double value) {
        Unsigned(offset, std::bit_cast<std::uint64_t>(value), 8);
    }

    void Date(std::size_t offset, const RmdDate& date) {
        Byte(offset, date.day);
        Byte(offset + 1, date.month);
        Unsigned(offset + 2, date.year, 2);
    }

    template <std::size_t N>
    void Text(std::size_t offset, const ShortString<N>& text) {
        Byte(offset, static_cast<std::uint8_t>(text.Size()));
        std::memcpy(bytes_.data() + offset + 1, text.View().data(), text.Size());
    }

  private:
    LedgerRecordBytes& bytes_;
};

// Little-endian reads from the record at named offsets.
class RecordReader {
  public:
    explicit RecordReader(const LedgerRecordBytes& bytes) : bytes_(bytes) {}

    std::uint8_t Byte(std::size_t offset) const { return bytes_[offset]; }

    std::uint64_t Unsigned(std::size_t offset, int width) const {
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = (value << 8) | bytes_[offset + static_cast<std::size_t>(i)];
        }
        return value;
    }

    std::int32_t Int32(std::size_t offset) const {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(Unsigned(offset, 4)));
    }

    double Double(std::size_t offset) const { return std::bit_cast<double>(Unsigned(offset, 8)); }

    RmdDate Date(std::size_t offset) const {
        return {Byte(offset), Byte(offset + 1),
                static_cast<std::uint16_t>(Unsigned(offset + 2, 2))};
    }

    template <std::size_t N>
    void Text(std::size_t offset, ShortString<N>& text) const {
        const std::size_t length = std::min<std::size_t>(Byte(offset), N);
        text.Assign({reinterpret_cast<const char*>(bytes_.data() + offset + 1), length});
    }

  private:
    const LedgerRecordBytes& bytes_;
};

}  // namespace

LedgerEntry DecodeLedgerEntry(const LedgerRecordBytes& bytes) {
    namespace at = ledger_layout;
    const RecordReader r(bytes);
    LedgerEntry entry;
    entry.seqNo = r.Int32(at::kSeqNo);
    entry.docDate1 = r.Date(at::kDocDate1);
    entry.docDate2 = r.Date(at::kDocDate2);
    entry.entryDate = r.Date(at::kEntryDate);
    entry.docDate3 = r.Date(at::kDocDate3);
    r.Text(at::kDocNumber, entry.docNumber);
    r.Text(at::kNip, entry.nip);
    r.Text(at::kFirmName, entry.firmName);
    r.Text(at::kStreet, entry.street);
    r.Text(at::kCity, entry.city);
    r.Text(at::kRemark, entry.remark);
    entry.auxDate = r.Date(at::kAuxDate);
    entry.attributeLetter = static_cast<char>(r.Byte(at::kAttributeLetter));
    entry.entryKind = r.Byte(at::kEntryKind);
    entry.importDate = r.Date(at::kImportDate);
    entry.docFlags = r.Byte(at::kDocFlags);
    entry.registerLetter = static_cast<char>(r.Byte(at::kRegisterLetter));
    entry.netto1 = r.Double(at::kNetto1);
    entry.vat1 = r.Double(at::kVat1);
    entry.netto3 = r.Double(at::kNetto3);
    entry.vat3 = r.Double(at::kVat3);
    entry.netto4 = r.Double(at::kNetto4);
    entry.netto7 = r.Double(at::kNetto7);
    entry.netto5 = r.Double(at::kNetto5);
    entry.vat5 = r.Double(at::kVat5);
    entry.netto2 = r.Double(at::kNetto2);
    entry.vat2 = r.Double(at::kVat2);
    entry.nettoOther = r.Double(at::kNettoOther);
    entry.entryMark = r.Byte(at::kEntryMark);
    entry.kprCode = r.Byte(at::kKprCode);
    entry.nettoKpr = r.Double(at::kNettoKpr);
    return entry;
}

void EncodeLedgerEntry(const LedgerEntry& entry, LedgerRecordBytes& out) {
    namespace at = ledger_layout;
    RecordWriter w(out);
    w.Int32(at::kSeqNo, entry.seqNo);
    w.Date(at::kDocDate1, entry.docDate1);
    w.Date(at::kDocDate2, entry.docDate2);
    w.Date(at::kEntryDate, entry.entryDate);
    w.Date(at::kDocDate3, entry.docDate3);
    w.Text(at::kDocNumber, entry.docNumber);
    w.Text(at::kNip, entry.nip);
    w.Text(at::kFirmName, entry.firmName);
    w.Text(at::kStreet, entry.street);
    w.Text(at::kCity, entry.city);
    w.Text(at::kRemark, entry.remark);
    w.Date(at::kAuxDate, entry.auxDate);
    w.Byte(at::kAttributeLetter, static_cast<std::uint8_t>(entry.attributeLetter));
    w.Byte(at::kEntryKind, entry.entryKind);
    w.Date(at::kImportDate, entry.importDate);
    w.Byte(at::kDocFlags, entry.docFlags);
    w.Byte(at::kRegisterLetter, static_cast<std::uint8_t>(entry.registerLetter));
    w.Double(at::kNetto1, entry.netto1);
    w.Double(at::kVat1, entry.vat1);
    w.Double(at::kNetto3, entry.netto3);
    w.Double(at::kVat3, entry.vat3);
    w.Double(at::kNetto4, entry.netto4);
    w.Double(at::kNetto7, entry.netto7);
    w.Double(at::kNetto5, entry.netto5);
    w.Double(at::kVat5, entry.vat5);
    w.Double(at::kNetto2, entry.netto2);
    w.Double(at::kVat2, entry.vat2);
    w.Double(at::kNettoOther, entry.nettoOther);
    w.Byte(at::kEntryMark, entry.entryMark);
    w.Byte(at::kKprCode, entry.kprCode);
    w.Double(at::kNettoKpr, entry.nettoKpr);
}

}  // namespace trevo
