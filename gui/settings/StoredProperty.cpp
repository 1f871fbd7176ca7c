#include "gui/settings/StoredProperty.h"

#include <QMetaProperty>
#include <QVariant>
#include <QWidget>

#include "settingsfile/FormSectionKeys.h"

namespace trevo::gui {

StoredProperty::StoredProperty(QWidget* control, QByteArray property, bool boolean)
    : control_(control), property_(std::move(property)), boolean_(boolean) {}

std::optional<StoredProperty> StoredProperty::Bind(QWidget* window, const QString& entry) {
    const auto name = settings::SplitStoredProp(entry.toStdString());
    if (!name) {
        return std::nullopt;
    }
    auto* control = window->findChild<QWidget*>(QString::fromStdString(name->control));
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
    return StoredProperty(control, std::move(property), kind == QMetaType::Bool);
}

std::optional<QString> StoredProperty::Text() const {
    if (!control_) {
        return std::nullopt;
    }
    return control_->property(property_.constData()).toString();
}

std::optional<bool> StoredProperty::Checked() const {
    if (!control_) {
        return std::nullopt;
    }
    return control_->property(property_.constData()).toBool();
}

void StoredProperty::SetText(const QString& text) const {
    if (control_) {
        control_->setProperty(property_.constData(), text);
    }
}

void StoredProperty::SetChecked(bool checked) const {
    if (control_) {
        control_->setProperty(property_.constData(), checked);
    }
}

}  // namespace trevo::gui
