#pragma once
// Registered volumes: named volume values on the step scale that the user
// recalls into strip 2 with one click, edits, adds and deletes. Two parallel
// lists, names in their order on screen and values beside them, loaded from
// the two list files at start-up and written back at close. A recalled value
// goes to the strip through the mixer layer like any other volume change, so
// the strip's display follows from the mixer's change notification.

#include "core/mixer/MixerLayer.h"
#include "core/presets/RegisteredVolumeView.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nuvask {

class RegisteredVolumeFiles;

class RegisteredVolumes
{
public:
    static constexpr int TargetStrip = MixerLayer::RecordingStrip;

    RegisteredVolumes(MixerLayer &layer, RegisteredVolumeView &view);

    // Fills the list from the files and picks the entry named `savedName`
    // (letter case ignored), else the first.
    void Load(RegisteredVolumeFiles &files, const QString &savedName);
    // Writes both lists in screen order; empty text on success.
    QString Save(RegisteredVolumeFiles &files) const;

    const QStringList &Names() const { return m_names; }
    const QStringList &Values() const { return m_values; }
    int Picked() const { return m_picked; }
    // The picked entry's name ("V_Name" at close); empty when none is picked.
    QString PickedName() const;

    // Handlers of the controls on strip 2's panel.
    void ComboBox_RECChange(int index);
    void Btn_REC_SETEICHIClick(); // 設定値
    void Btn_REC_EDITClick();     // E
    void Btn_REC_SETClick();      // 登録
    void Btn_REC_HENKOClick();    // 変更
    void Btn_REC_SHINKIClick();   // 新規
    void Btn_REC_DELClick();      // 削除
    void Btn_REC_CANCELClick();   // 戻る

    // Inserts `name` at its place in a list kept in case-insensitive order,
    // after any equal names; returns that place.
    static qsizetype InsertSorted(QStringList &names, const QString &name);
    // The first of R_V000, R_V001, ... (R_V1000 and on in full) that no name
    // equals once both are upper-cased.
    static QString FirstFreeName(const QStringList &names);
    // A stored value as UI steps: a plain non-negative decimal number, else nothing.
    static std::optional<int> VolumeSteps(const QString &text);

private:
    bool validPick() const { return m_picked >= 0 && m_picked < m_names.size(); }
    void showList();
    void showValue(const QString &value);

    MixerLayer &m_layer;
    RegisteredVolumeView &m_view;
    QStringList m_names;  // in screen order
    QStringList m_values; // parallel to m_names
    int m_picked = -1;
    QString m_valueShown; // Label_REC_SET
};

} // namespace nuvask
