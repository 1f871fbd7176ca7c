#pragma once
// One stored property of a window, "Control.Prop", bound to the descendant widget named
// "Control" and its toolkit property named like Prop with a lower-case first letter ("Text" is
// "text", "FileName" is "fileName"): a text or a boolean. How the settings file keeps the
// values is the binding's (desktop/FormSettings.h).

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <optional>

class QWidget;

namespace trevo::gui {

class StoredProperty {
  public:
    // Nothing when the entry is no "Control.Prop", the window has no such control, or the
    // control has no readable and writable text or boolean property of that name.
    static std::optional<StoredProperty> Bind(QWidget* window, const QString& entry);

    bool IsBoolean() const { return boolean_; }

    // The value; nothing when the control is gone.
    std::optional<QString> Text() const;
    std::optional<bool> Checked() const;
    void SetText(const QString& text) const;
    void SetChecked(bool checked) const;

  private:
    StoredProperty(QWidget* control, QByteArray property, bool boolean);

    QPointer<QWidget> control_;
    QByteArray property_;
    bool boolean_;
};

}  // namespace trevo::gui
