#pragma once
// The registered-volume controls on strip 2's panel: the name list with its
// value and "設定値", the "E" button, and the edit panel that lies over the
// list while a name is edited. The logic lives in RegisteredVolumes; this
// class builds the widgets, forwards their events and shows what the logic
// decides. The main window calls Load in its deferred initialisation and Save
// in its close sequence.

#include "core/presets/RegisteredVolumeFiles.h"
#include "core/presets/RegisteredVolumeView.h"
#include "core/presets/RegisteredVolumes.h"

#include <QObject>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;

namespace nuvask {

class MixerLayer;
class ColourButton;
class MessageBox;
class VolumeStrip;

class RegisteredVolumePanel : public QObject, public RegisteredVolumeView
{
    Q_OBJECT
public:
    // Builds the controls on `strip` (strip 2's panel); the files are
    // <shortName>VN.LIS and <shortName>VR.LIS in `dir`.
    RegisteredVolumePanel(VolumeStrip &strip, MixerLayer &layer, MessageBox &messages, const QString &dir,
                          const QString &shortName, QObject *parent = nullptr);

    // Start-up: fills the list, picking the entry named `savedName`.
    void Load(const QString &savedName);
    // Close: writes both files; a failure is shown to the user and the old
    // files stay. Returns the error text (empty on success).
    QString Save();
    // Name of the picked entry, stored as "V_Name".
    QString PickedName() const { return m_logic.PickedName(); }
    RegisteredVolumes &logic() { return m_logic; }
    RegisteredVolumeFiles &files() { return m_files; }

    // RegisteredVolumeView
    void ShowNames(const QStringList &names, int picked) override;
    void ShowValue(const QString &value) override;
    void ShowEditName(const QString &name) override;
    QString EditName() const override;
    void ShowRegisterCaption(const QString &caption) override;
    void ShowEditPanel(bool shown) override;
    QString CurrentVolumeText() const override;
    bool CurrentVolumeShown() const override;
    void ShowMessage(const QString &text) override;

private:
    void buildWidgets(QWidget *panel);

    VolumeStrip &m_strip;
    MessageBox &m_messages;
    RegisteredVolumeFiles m_files;
    RegisteredVolumes m_logic;

    QComboBox *ComboBox_REC = nullptr;
    QLabel *Label_REC_SET = nullptr;
    ColourButton *Btn_REC_SETEICHI = nullptr;
    ColourButton *Btn_REC_EDIT = nullptr;
    QFrame *Panel_REC_EDIT = nullptr;
    QLineEdit *Edit_REC = nullptr;
    ColourButton *Btn_REC_SET = nullptr;
    ColourButton *Btn_REC_HENKO = nullptr;
    ColourButton *Btn_REC_SHINKI = nullptr;
    ColourButton *Btn_REC_DEL = nullptr;
    ColourButton *Btn_REC_CANCEL = nullptr;
};

} // namespace nuvask
