// The registered volumes' controls on strip 2.

#include "ui/presets/RegisteredVolumePanel.h"

#include "core/presets/RegisteredVolumeTexts.h"
#include "ui/widgets/ColourButton.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/mixer/VolumeStrip.h"
#include "ui/widgets/WidgetPlacement.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace nuvask {

RegisteredVolumePanel::RegisteredVolumePanel(VolumeStrip &strip, MixerLayer &layer, MessageBox &messages,
                                             const QString &dir, const QString &shortName, QObject *parent)
    : QObject(parent), m_strip(strip), m_messages(messages), m_files(dir, shortName), m_logic(layer, *this)
{
    setObjectName(QStringLiteral("RegisteredVolumes"));
    buildWidgets(&strip);
}

void RegisteredVolumePanel::buildWidgets(QWidget *panel)
{
    // Pixels on strip 2's panel. The list and "E" lie over the strip's device
    // list; the edit panel covers both while it is open.
    ComboBox_REC = placed(new QComboBox(panel), QStringLiteral("ComboBox_REC"), {2, 24, 71, 20}, presetText::HintName());
    ComboBox_REC->setEditable(false);
    Btn_REC_EDIT =
        colorButton(panel, QStringLiteral("Btn_REC_EDIT"), {73, 25, 17, 20}, presetText::Edit, presetText::HintEdit());
    Label_REC_SET = placed(new QLabel(panel), QStringLiteral("Label_REC_SET"), {52, 96, 36, 12}, presetText::HintValue());
    Label_REC_SET->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Btn_REC_SETEICHI = colorButton(panel, QStringLiteral("Btn_REC_SETEICHI"), {52, 110, 37, 17}, presetText::Apply(),
                                   presetText::HintApply());

    Panel_REC_EDIT = placed(new QFrame(panel), QStringLiteral("Panel_REC_EDIT"), {2, 24, 90, 72});
    Panel_REC_EDIT->setAutoFillBackground(true);
    Edit_REC = placed(new QLineEdit(Panel_REC_EDIT), QStringLiteral("Edit_REC"), {0, 0, 88, 20}, presetText::HintName());
    Btn_REC_SET = colorButton(Panel_REC_EDIT, QStringLiteral("Btn_REC_SET"), {0, 24, 52, 20}, presetText::Register(),
                              presetText::HintRegister());
    Btn_REC_CANCEL = colorButton(Panel_REC_EDIT, QStringLiteral("Btn_REC_CANCEL"), {54, 24, 34, 20}, presetText::Back(),
                                 presetText::HintBack());
    Btn_REC_HENKO = colorButton(Panel_REC_EDIT, QStringLiteral("Btn_REC_HENKO"), {0, 48, 29, 20}, presetText::Rename(),
                                presetText::HintRename());
    Btn_REC_SHINKI = colorButton(Panel_REC_EDIT, QStringLiteral("Btn_REC_SHINKI"), {30, 48, 29, 20}, presetText::New(),
                                 presetText::HintNew());
    Btn_REC_DEL = colorButton(Panel_REC_EDIT, QStringLiteral("Btn_REC_DEL"), {60, 48, 28, 20}, presetText::Delete(),
                              presetText::HintDelete());
    Panel_REC_EDIT->hide();
    // Words in buttons the design made for two narrow Gothic letters (and in
    // English for short words): drawn condensed, they keep inside.
    for (ColourButton *tight : {Btn_REC_SETEICHI, Btn_REC_SET, Btn_REC_CANCEL, Btn_REC_HENKO, Btn_REC_SHINKI, Btn_REC_DEL})
        condense(tight);

    // The user's pick only: the program's own refills run no handler.
    connect(ComboBox_REC, &QComboBox::activated, this, [this](int index) { m_logic.ComboBox_RECChange(index); });
    connect(Btn_REC_SETEICHI, &ColourButton::OnClick, this, [this] { m_logic.Btn_REC_SETEICHIClick(); });
    connect(Btn_REC_EDIT, &ColourButton::OnClick, this, [this] { m_logic.Btn_REC_EDITClick(); });
    connect(Btn_REC_SET, &ColourButton::OnClick, this, [this] { m_logic.Btn_REC_SETClick(); });
    connect(Btn_REC_HENKO, &ColourButton::OnClick, this, [this] { m_logic.Btn_REC_HENKOClick(); });
    connect(Btn_REC_SHINKI, &ColourButton::OnClick, this, [this] { m_logic.Btn_REC_SHINKIClick(); });
    connect(Btn_REC_DEL, &ColourButton::OnClick, this, [this] { m_logic.Btn_REC_DELClick(); });
    connect(Btn_REC_CANCEL, &ColourButton::OnClick, this, [this] { m_logic.Btn_REC_CANCELClick(); });
}

void RegisteredVolumePanel::Load(const QString &savedName)
{
    m_logic.Load(m_files, savedName);
}

QString RegisteredVolumePanel::Save()
{
    const QString error = m_logic.Save(m_files);
    if (!error.isEmpty())
        ShowMessage(error);
    return error;
}

void RegisteredVolumePanel::ShowNames(const QStringList &names, int picked)
{
    const QSignalBlocker quiet(ComboBox_REC);
    ComboBox_REC->clear();
    ComboBox_REC->addItems(names);
    ComboBox_REC->setCurrentIndex(picked < ComboBox_REC->count() ? picked : -1);
}

void RegisteredVolumePanel::ShowValue(const QString &value)
{
    Label_REC_SET->setText(value);
}

void RegisteredVolumePanel::ShowEditName(const QString &name)
{
    Edit_REC->setText(name);
}

QString RegisteredVolumePanel::EditName() const
{
    return Edit_REC->text();
}

void RegisteredVolumePanel::ShowRegisterCaption(const QString &caption)
{
    Btn_REC_SET->SetCaption(caption);
}

void RegisteredVolumePanel::ShowEditPanel(bool shown)
{
    if (shown)
        Panel_REC_EDIT->raise();
    Panel_REC_EDIT->setVisible(shown);
}

QString RegisteredVolumePanel::CurrentVolumeText() const
{
    return m_strip.nowText();
}

bool RegisteredVolumePanel::CurrentVolumeShown() const
{
    return m_strip.GroupShown(StripGroup::Volume);
}

void RegisteredVolumePanel::ShowMessage(const QString &text)
{
    m_messages.ShowOKTimer(text, 1);
}

} // namespace nuvask
