// Registered volumes: named recording volumes recalled into strip 2.

#include "core/presets/RegisteredVolumes.h"

#include "core/mixer/MixerLayer.h"
#include "core/presets/RegisteredVolumeFiles.h"
#include "core/presets/RegisteredVolumeTexts.h"

#include <QDebug>
#include <QSet>

#include <algorithm>

namespace nuvask {

namespace {

bool lessIgnoringCase(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

// A name is one line of its file: a line break in it would shift every later
// name against its value.
QString singleLine(QString name)
{
    name.replace(QLatin1String("\r\n"), QLatin1String(" "));
    name.replace(QLatin1Char('\r'), QLatin1Char(' '));
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return name;
}

} // namespace

RegisteredVolumes::RegisteredVolumes(MixerLayer &layer, RegisteredVolumeView &view) : m_layer(layer), m_view(view) {}

qsizetype RegisteredVolumes::InsertSorted(QStringList &names, const QString &name)
{
    const auto at = std::upper_bound(names.cbegin(), names.cend(), name, lessIgnoringCase);
    const qsizetype position = at - names.cbegin();
    names.insert(position, name);
    return position;
}

QString RegisteredVolumes::FirstFreeName(const QStringList &names)
{
    QSet<QString> used;
    used.reserve(names.size());
    for (const QString &name : names)
        used.insert(name.toUpper());
    // At most names.size() + 1 candidates are tried.
    for (int counter = 0;; ++counter) {
        const QString candidate =
            presetText::NewNamePrefix + QStringLiteral("%1").arg(counter, 3, 10, QLatin1Char('0'));
        if (!used.contains(candidate))
            return candidate;
    }
}

std::optional<int> RegisteredVolumes::VolumeSteps(const QString &text)
{
    // A negative number would read as "set by bar position" to the layer, and
    // anything else is no volume at all: such a value is not applied.
    const QString digits = text.trimmed();
    if (digits.isEmpty() || !std::all_of(digits.cbegin(), digits.cend(),
                                         [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return std::nullopt;
    bool ok = false;
    const int steps = digits.toInt(&ok);
    return ok ? std::optional<int>(steps) : std::nullopt;
}

void RegisteredVolumes::Load(RegisteredVolumeFiles &files, const QString &savedName)
{
    RegisteredVolumeLists read = files.read();
    if (read.names.isEmpty()) {
        read.names = {presetText::DefaultName};
        read.values = {presetText::DefaultValue};
    }
    while (read.values.size() < read.names.size())
        read.values.append(presetText::DefaultValue);
    read.values.resize(read.names.size());

    // Each value goes exactly where its name landed, so equal names in other
    // letter case cannot pull a value away from its own name.
    m_names.clear();
    m_values.clear();
    for (qsizetype i = 0; i < read.names.size(); ++i)
        m_values.insert(InsertSorted(m_names, read.names.at(i)), read.values.at(i));

    m_picked = 0;
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        if (QString::compare(m_names.at(i), savedName, Qt::CaseInsensitive) == 0) {
            m_picked = int(i);
            break;
        }
    }
    showList();
    showValue(m_values.at(m_picked));

    // A file past a limit is said at once (on the error output too, for a
    // start without a screen to read), and is not written over at close.
    if (const QString problem = files.LimitMessage(); !problem.isEmpty()) {
        qWarning().noquote() << problem;
        m_view.ShowMessage(problem);
    }
}

QString RegisteredVolumes::Save(RegisteredVolumeFiles &files) const
{
    return files.write(m_names, m_values);
}

QString RegisteredVolumes::PickedName() const
{
    return validPick() ? m_names.at(m_picked) : QString();
}

void RegisteredVolumes::showList()
{
    m_view.ShowNames(m_names, m_picked);
}

void RegisteredVolumes::showValue(const QString &value)
{
    m_valueShown = value;
    m_view.ShowValue(value);
}

void RegisteredVolumes::ComboBox_RECChange(int index)
{
    m_picked = index;
    if (validPick())
        showValue(m_values.at(m_picked));
}

void RegisteredVolumes::Btn_REC_SETEICHIClick()
{
    if (!m_view.CurrentVolumeShown())
        return;
    if (const auto steps = VolumeSteps(m_valueShown))
        m_layer.StripSetVolume(TargetStrip, *steps, 0);
}

void RegisteredVolumes::Btn_REC_EDITClick()
{
    m_view.ShowEditName(PickedName());
    m_view.ShowRegisterCaption(presetText::Register() + m_view.CurrentVolumeText());
    m_view.ShowEditPanel(true);
}

void RegisteredVolumes::Btn_REC_SETClick()
{
    const QString current = m_view.CurrentVolumeText();
    if (validPick())
        m_values[m_picked] = current;
    showValue(current);
    m_view.ShowEditPanel(false);
}

void RegisteredVolumes::Btn_REC_HENKOClick()
{
    const QString edited = singleLine(m_view.EditName());
    const QString wanted = edited.toUpper();
    for (const QString &name : std::as_const(m_names)) {
        if (name.toUpper() == wanted) {
            m_view.ShowMessage(edited + QLatin1Char('\n') + presetText::NameInUse());
            return;
        }
    }
    if (validPick()) {
        // Renamed in place: the list is not sorted again.
        m_names[m_picked] = edited;
        showList();
    }
    m_view.ShowEditPanel(false);
}

void RegisteredVolumes::Btn_REC_SHINKIClick()
{
    const QString name = FirstFreeName(m_names);
    m_view.ShowEditName(name);
    m_names.append(name);
    m_values.append(m_valueShown); // the value of the entry picked before
    m_picked = int(m_names.size()) - 1;
    showList();
}

void RegisteredVolumes::Btn_REC_DELClick()
{
    if (!validPick())
        return;
    m_names.removeAt(m_picked);
    m_values.removeAt(m_picked);
    if (m_names.isEmpty()) {
        m_names = {presetText::DefaultName};
        m_values = {presetText::DefaultValue};
    }
    m_picked = std::min(m_picked, int(m_names.size()) - 1);
    showList();
    m_view.ShowEditName(m_names.at(m_picked));
    showValue(m_values.at(m_picked));
}

void RegisteredVolumes::Btn_REC_CANCELClick()
{
    m_view.ShowEditPanel(false);
}

} // namespace nuvask
