#pragma once
// Where each value stands in a document line: 1-based inclusive columns. Every column not named
// here is ignored.

namespace trevo::export_columns {

struct Columns {
    int from;
    int to;
};

inline constexpr Columns kDocumentDate{10, 17};
inline constexpr Columns kDocumentNumber{34, 53};
inline constexpr Columns kCompanyName{54, 123};
inline constexpr Columns kStreet{124, 173};
inline constexpr Columns kCity{174, 213};
inline constexpr Columns kKprCode{214, 215};
inline constexpr Columns kNettoKpr{216, 236};
inline constexpr Columns kMarker{257, 257};  // 2 sets bit 128 of the flags
inline constexpr Columns kNip{258, 270};
inline constexpr Columns kDocumentType{271, 271};  // TYP(8)
inline constexpr Columns kNetto1{272, 284};
inline constexpr Columns kNetto2{285, 296};
inline constexpr Columns kNetto3{297, 308};
inline constexpr Columns kNetto4{309, 320};
inline constexpr Columns kNetto5{321, 332};
inline constexpr Columns kNetto7{345, 356};
inline constexpr Columns kVat1{357, 368};
inline constexpr Columns kVat2{369, 380};
inline constexpr Columns kVat3{381, 392};
inline constexpr Columns kVat5{405, 416};
inline constexpr Columns kNettoOther{477, 488};
inline constexpr Columns kSecondDate{497, 504};
inline constexpr Columns kCountryPrefix{509, 510};

}  // namespace trevo::export_columns
