#include "gui/settings/StoredProperty.h"

#include <QMetaProperty>
#include <QVariant>
#include <QWidget>

#include "qtplatform/Win1250Text.h"
#include "settingsfile/FormSectionKeys.h"
#include "settingsfile/SettingsValues.h"

namespace trevo::gui {

StoredProperty::StoredProperty(QWidget* control, QByteArray property, std::string key, bool boolean)
    : control_(control), property_(std::move(property)), key_(std::move(key)), boolean_(boolean) {}

std::optional<StoredProperty> StoredProperty::Bind(QWidget* window, const QString& entry) {
    const auto name = settings::SplitStoredProp(Win1250FromQString(entry));
    if (!name) {
        return std::nullopt;
    }
    auto* control = window->findChild<QWidget*>(QStringFromWin1250(name->control));
    if (control == nullptr) {
        return std::nullopt;
    }
    QByteArray property = QByteArray::fromStdString(name->property);
    if (property[0] >= 'A' && property[0] <= 'Z') {
        property[0] = static_cast<char>(property[0] - 'A' + 'a');
    }
    const QMetaObject* type = control->metaObject();
    const int index = type->indexOfProperty(property.constData());
    if (index < 0) {
        return std::nullopt;
    }
    const QMetaProperty meta = type->property(index);
    if (!meta.isReadable() || !meta.isWritable()) {
        return std::nullopt;
    }
    const int kind = meta.metaType().id();
    if (kind != QMetaType::QString && kind != QMetaType::Bool) {
        return std::nullopt;
    }
    return StoredProperty(control, std::move(property), name->key, kind == QMetaType::Bool);
}

std::optional<std::string> StoredProperty::Value() const {
    if (!control_) {
        return std::nullopt;
    }
    const QVariant value = control_->property(property_.constData());
    if (boolean_) {
        return std::string(settings::BooleanValueText(value.toBool()));
    }
    return Win1250FromQString(value.toString());
}

bool StoredProperty::Restore(std::string_view value) const {
    if (!control_) {
        return false;
    }
    if (boolean_) {
        const auto flag = settings::ReadBooleanValue(value);
        return flag && control_->setProperty(property_.constData(), *flag);
    }
    return control_->setProperty(property_.constData(), QStringFromWin1250(value));
}

}  // namespace trevo::gui
