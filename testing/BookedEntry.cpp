#include "testing/BookedEntry.h"

namespace trevo::testing {

LedgerEntry BookedEntry(std::int32_t seqNo, std::uint16_t year, std::uint8_t month) {
    LedgerEntry e;
    e.seqNo = seqNo;
    e.docDate1 = e.docDate2 = e.entryDate = e.docDate3 = {15, month, year};
    e.docNumber.Assign("FV 1/2024");
    e.nip.Assign("DE123456789");
    e.firmName.Assign("\x86\x8D\x91 Firma");  // ą ć ę in Mazovia
    e.street.Assign("Street 1");
    e.city.Assign("City");
    e.auxDate = {1, 2, 2024};
    e.attributeLetter = 'A';
    e.entryKind = 3;
    e.importDate = {8, 12, 2026};
    e.docFlags = 129;
    e.registerLetter = '\xAF';
    e.netto1 = 0.1;
    e.vat1 = -23.5;
    e.netto3 = 1e300;
    e.vat3 = 3;
    e.netto4 = 4;
    e.netto7 = 7;
    e.netto5 = 5;
    e.vat5 = 5.5;
    e.netto2 = 2;
    e.vat2 = 2.25;
    e.nettoOther = 1.0 / 3.0;
    e.entryMark = 1;
    e.kprCode = 10;
    e.nettoKpr = 123.45;
    return e;
}

std::string RecordBytes(const LedgerEntry& entry) {
    LedgerRecordBytes bytes;
    EncodeLedgerEntry(entry, bytes);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace trevo::testing
