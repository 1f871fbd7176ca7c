#include "testing/SyntheticExport.h"

#include <array>
#include <cstdio>
#include <fstream>

#include "testing/ExportLineBuilder.h"

namespace trevo::testing {

namespace {

constexpr std::array kCompanies = {
    "Przedsiębiorstwo Handlowe \"Łódź\" Sp. z o.o.",
    "Zakład Usługowy Żółw",
    "Ćma Sklep Wielobranżowy",
    "Hurtownia Śnieżka",
    "Piekarnia Źródełko s.c.",
    "Biuro Rachunkowe Ęta",
    "Czarny Kot Restauracja",
    "Lublin-Trans Spedycja",
    "Kowalski Jan Usługi Remontowo-Budowlane Łazienki i Kuchnie Kompleksowo",
    "ABC Sp. z o.o.",
};

constexpr std::array kStreets = {
    "ul. Długa 5",   "Al. Jana Pawła II 3", "ul. Źródlana 12/4", "Plac Wolności 1",
    "ul.Ogrodowa 7", "UL. Śląska 22",       "Aleja Róż 9",       "al. Niepodległości 144",
};

constexpr std::array kCities = {
    "Łódź", "Kraków", "Gdańsk", "Poznań", "Wrocław", "Zielona Góra", "Częstochowa", "Bielsko-Biała",
};

// Amounts are kept in grosze so that the texts are exact.
std::string Money(long long grosze) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%02lld", grosze < 0 ? "-" : "",
                  (grosze < 0 ? -grosze : grosze) / 100, (grosze < 0 ? -grosze : grosze) % 100);
    return text;
}

// A small deterministic mix, so that neighbouring documents differ.
unsigned long long Mix(std::size_t index, unsigned salt) {
    unsigned long long x = index * 0x9E3779B97F4A7C15ull + salt * 0xBF58476D1CE4E5B9ull;
    x ^= x >> 31;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 29;
    return x;
}

// Ten digits: nine from the mix, then the check digit (weights 6 5 7 2 3 4 5 6 7, mod 11), or a
// wrong one when asked. A ninth digit that would need the check digit 10 is moved on.
std::string Nip(unsigned long long mix, bool wrongCheckDigit) {
    constexpr int kWeights[9] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
    char digits[11];
    std::snprintf(digits, sizeof digits, "%09llu", mix % 1'000'000'000ull);
    for (;;) {
        int sum = 0;
        for (int i = 0; i < 9; ++i) {
            sum += (digits[i] - '0') * kWeights[i];
        }
        if (sum % 11 != 10) {
            const int check = sum % 11;
            digits[9] = static_cast<char>('0' + (wrongCheckDigit ? (check + 1) % 10 : check));
            digits[10] = '\0';
            return digits;
        }
        digits[8] = static_cast<char>('0' + (digits[8] - '0' + 1) % 10);
    }
}

}  // namespace

std::string SyntheticDocumentLine(std::size_t index, const SyntheticExportOptions& options) {
    namespace col = export_columns;
    const std::size_t total = options.documents == 0 ? 1 : options.documents;
    const int monthOffset =
        static_cast<int>(index * static_cast<std::size_t>(options.months) / total);
    const int monthIndex = options.firstMonth - 1 + monthOffset;
    const int year = options.year + monthIndex / 12;
    const int month = monthIndex % 12 + 1;
    // Days rise through each month.
    const int day = static_cast<int>(
        1 + (index * static_cast<std::size_t>(options.months) % total) * 28 / total);

    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", year, month, day);
    char number[32];
    std::snprintf(number, sizeof number, "FV %zu/%02d/%d", index + 1, month, year);
    const std::size_t position = index % kPatternLength;
    const std::string nip = Nip(Mix(index, 1), position == kBadNipAt);
    const bool typeOne = index % 7 == 3;
    const long long netto1 = 100 + static_cast<long long>(Mix(index, 2) % 999'900);
    const long long vat1 = netto1 * 23 / 100;
    const long long netto3 = index % 3 == 0 ? static_cast<long long>(Mix(index, 3) % 50'000) : 0;
    const long long vat3 = netto3 * 8 / 100;
    long long nettoKpr = netto1 + netto3;
    if (position == kDisagreeingAt) {
        nettoKpr -= 10;
    }

    ExportLineBuilder line;
    line.Set({1, 9}, std::to_string(index + 1))
        .Date(date)
        .Number(number)
        .Company(Win1250(kCompanies[Mix(index, 4) % kCompanies.size()]))
        .Street(Win1250(kStreets[Mix(index, 5) % kStreets.size()]))
        .City(Win1250(kCities[Mix(index, 6) % kCities.size()]))
        .KprCode(typeOne ? "" : std::to_string(7 + index % 2))
        .Amount(col::kNettoKpr, Money(nettoKpr))
        .Marker(index % 11 == 5 ? "2" : "1")
        .Nip(nip)
        .Type(position == kRejectedTypeAt ? "2" : (typeOne ? "1" : "0"))
        .Amount(col::kNetto1, Money(netto1))
        .Amount(col::kVat1, Money(vat1))
        .SecondDate(date)
        .CountryPrefix(position == kForeignPrefixAt ? "DE" : "PL");
    if (netto3 != 0) {
        line.Amount(col::kNetto3, Money(netto3)).Amount(col::kVat3, Money(vat3));
    }
    return line.Line();
}

bool WriteSyntheticExport(const std::string& path, const SyntheticExportOptions& options) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string block;
    for (std::size_t i = 0; i < options.documents && out; ++i) {
        block += SyntheticDocumentLine(i, options);
        block += "\r\n";
        if (block.size() >= 1 << 20) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.clear();
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace trevo::testing
