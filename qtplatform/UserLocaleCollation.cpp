#include "qtplatform/UserLocaleCollation.h"

#include <QLocale>
#include <QString>
#include <QStringDecoder>

namespace trevo::qt {

namespace {

QString Decode(std::string_view win1250) {
    QStringDecoder decoder("windows-1250");
    return decoder(QByteArrayView(win1250.data(), static_cast<qsizetype>(win1250.size())));
}

}  // namespace

UserLocaleCollation::UserLocaleCollation() : collator_(QLocale()) {
    collator_.setCaseSensitivity(Qt::CaseSensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
}

int UserLocaleCollation::Compare(std::string_view a, std::string_view b) const {
    return collator_.compare(Decode(a), Decode(b));
}

}  // namespace trevo::qt
