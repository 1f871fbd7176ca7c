#include "engine/inspect/EntryFields.h"

#include <charconv>
#include <cstdio>

#include "engine/ledger/LedgerEntryLayout.h"

namespace trevo {

std::string FormatRmdDate(const RmdDate& date) {
    if (date == RmdDate{}) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", unsigned{date.year}, unsigned{date.month},
                  unsigned{date.day});
    return text;
}

std::string FormatAmount(double value) {
    char text[64];
    const auto printed = std::to_chars(text, text + sizeof text, value);
    return {text, printed.ptr};
}

namespace {

// One named value per field, by the field's type.
class FieldValues {
  public:
    explicit FieldValues(PolishCharset ledgerCode) : ledgerCode_(ledgerCode) {}

    void operator()(const char* name, std::size_t, std::int32_t value) { Integer(name, value); }
    void operator()(const char* name, std::size_t, std::uint8_t value) { Integer(name, value); }
    void operator()(const char* name, std::size_t, char letter) {
        Add(name, EntryField::Kind::Text, letter == 0 ? std::string() : std::string(1, letter));
    }
    void operator()(const char* name, std::size_t, double value) {
        Add(name, EntryField::Kind::Amount, FormatAmount(value));
    }
    void operator()(const char* name, std::size_t, const RmdDate& date) {
        Add(name, EntryField::Kind::Text, FormatRmdDate(date));
    }
    template <std::size_t N>
    void operator()(const char* name, std::size_t, const ShortString<N>& text) {
        Add(name, EntryField::Kind::Text, ToWin1250(text.View(), ledgerCode_));
    }

    std::vector<EntryField> fields;

  private:
    void Integer(const char* name, long long value) {
        Add(name, EntryField::Kind::Integer, std::to_string(value));
    }
    void Add(const char* name, EntryField::Kind kind, std::string value) {
        fields.push_back({name, kind, std::move(value)});
    }

    PolishCharset ledgerCode_;
};

}  // namespace

std::vector<EntryField> EntryFields(const LedgerEntry& entry, PolishCharset ledgerCode) {
    FieldValues values(ledgerCode);
    ForEachLedgerField(entry, values);
    return std::move(values.fields);
}

std::vector<const char*> EntryFieldNames() {
    std::vector<const char*> names;
    for (const EntryField& field : EntryFields(LedgerEntry{}, PolishCharset::pcMazovia)) {
        names.push_back(field.name);
    }
    return names;
}

}  // namespace trevo
