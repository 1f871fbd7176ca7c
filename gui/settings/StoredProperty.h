#pragma once
// One stored property of a window, "Control.Prop", bound to the descendant widget named
// "Control" and its toolkit property named like Prop with a lower-case first letter ("Text" is
// "text", "FileName" is "fileName"). Texts are kept as Windows-1250 bytes, booleans as the
// boolean words.

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace trevo::gui {

class StoredProperty {
  public:
    // Nothing when the entry is no "Control.Prop", the window has no such control, or the
    // control has no readable and writable text or boolean property of that name.
    static std::optional<StoredProperty> Bind(QWidget* window, const QString& entry);

    // "Control_Prop".
    const std::string& Key() const { return key_; }

    // The value as the settings file holds it; nothing when the control is gone.
    std::optional<std::string> Value() const;

    // Sets the property from a value of the file. A value that does not convert leaves the
    // property as it is and gives false.
    bool Restore(std::string_view value) const;

  private:
    StoredProperty(QWidget* control, QByteArray property, std::string key, bool boolean);

    QPointer<QWidget> control_;
    QByteArray property_;
    std::string key_;
    bool boolean_;
};

}  // namespace trevo::gui
