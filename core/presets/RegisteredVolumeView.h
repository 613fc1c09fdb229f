#pragma once
// What the registered volumes show on strip 2's panel and read back from it.
// Implemented by the preset controls of the main window; tests implement it
// with a recording fake.

#include <QString>
#include <QStringList>

namespace nuvask {

class RegisteredVolumeView
{
public:
    virtual ~RegisteredVolumeView() = default;

    // ComboBox_REC: all items in screen order and the picked one (-1 = none).
    // Set from the logic only; no change handler runs for it.
    virtual void ShowNames(const QStringList &names, int picked) = 0;
    // Label_REC_SET.
    virtual void ShowValue(const QString &value) = 0;
    // Edit_REC.
    virtual void ShowEditName(const QString &name) = 0;
    virtual QString EditName() const = 0;
    // Btn_REC_SET's caption.
    virtual void ShowRegisterCaption(const QString &caption) = 0;
    // Panel_REC_EDIT, lying over ComboBox_REC while shown.
    virtual void ShowEditPanel(bool shown) = 0;
    // Strip 2's Label_NOW_2: its text, and whether it is shown at all (the
    // strip has a volume control).
    virtual QString CurrentVolumeText() const = 0;
    virtual bool CurrentVolumeShown() const = 0;
    // An OK message with the countdown; waits until it is closed.
    virtual void ShowMessage(const QString &text) = 0;
};

} // namespace nuvask
