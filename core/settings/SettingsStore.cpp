// Every value under the program's settings key: names, defaults, read and write.

#include "core/settings/SettingsStore.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <vector>

namespace nuvask {

QString SettingsKeyPath(const QString &shortName)
{
    return QStringLiteral("Software\\KELDO SOFT32\\") + shortName;
}

SettingsStore::SettingsStore(ISettingsTree &settingsTree, QString shortName)
    : m_settingsTree(settingsTree), m_keyPath(SettingsKeyPath(shortName))
{
}

std::optional<int> SettingsStore::parseDecimal(const QString &text)
{
    // Optional sign and decimal digits only: no blanks, no hexadecimal.
    if (text.isEmpty() || text.size() > 12)
        return std::nullopt;
    qsizetype i = (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')) ? 1 : 0;
    if (i == text.size())
        return std::nullopt;
    for (qsizetype j = i; j < text.size(); ++j)
        if (text[j] < QLatin1Char('0') || text[j] > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

int SettingsStore::parseInt(const QString &text, const char *defaultText)
{
    const int fallback = parseDecimal(QString::fromLatin1(defaultText)).value_or(0);
    const QString t = text.isEmpty() ? QString::fromLatin1(defaultText) : text;
    return parseDecimal(t).value_or(fallback);
}

bool SettingsStore::parseSwitch(const QString &text, const char *defaultText)
{
    return parseInt(text, defaultText) != 0;
}

std::optional<QPoint> SettingsStore::parsePosition(const QString &text)
{
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    const auto left = parseDecimal(text.left(comma));
    const auto top = parseDecimal(text.mid(comma + 1));
    if (!left || !top)
        return std::nullopt;
    return QPoint(*left, *top);
}

QString SettingsStore::formatPosition(QPoint position)
{
    return QString::number(position.x()) + QLatin1Char(',') + QString::number(position.y());
}

QString SettingsStore::readVersion() const
{
    QString version;
    if (auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_keyPath, false))
        version = key->readString(QLatin1String(setting::Version.name));
    return version.isEmpty() ? QString::fromLatin1(setting::Version.defaultText) : version;
}

bool SettingsStore::writeVersion(int version)
{
    auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_keyPath, true);
    return key && key->writeString(QLatin1String(setting::Version.name), QString::number(version));
}

CreationSettings SettingsStore::readCreation() const
{
    CreationSettings out;
    auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_keyPath, false);
    if (!key)
        return out;
    out.hiddenStrip = parseInt(key->readString(QLatin1String(setting::VPanel.name)), setting::VPanel.defaultText);
    const QString fp = key->readString(QLatin1String(setting::FP.name));
    if (!fp.isEmpty())
        out.position = parsePosition(fp);
    return out;
}

StartupSettings SettingsStore::readStartup()
{
    StartupSettings s;
    auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_keyPath, false);
    if (!key) {
        for (int n = 0; n < kStripCount; ++n)
            s.strips[n] = {0, QLatin1String(setting::MlDst[n].defaultText), QLatin1String(setting::MlSrc[n].defaultText)};
        return s;
    }
    auto read = [&](const SettingDef &def) { return key->readString(QLatin1String(def.name)); };
    auto readSwitch = [&](const SettingDef &def) { return parseSwitch(read(def), def.defaultText); };
    auto readInt = [&](const SettingDef &def) { return parseInt(read(def), def.defaultText); };
    // Binding types are compared as text with the mixer's lists, never converted.
    auto readText = [&](const SettingDef &def) {
        const QString t = read(def);
        return t.isEmpty() ? QString::fromLatin1(def.defaultText) : t;
    };

    s.miniHelp = readSwitch(setting::MiniHelp);
    s.backColor = readSwitch(setting::BackColor);
    s.keldoColor = readSwitch(setting::KeldoColor);
    s.vName = read(setting::VName);
    s.mostTop = readSwitch(setting::MostTop);
    key->deleteValue(QLatin1String(setting::MixLineId.name));
    for (int n = 0; n < kStripCount; ++n)
        s.strips[n].device = readInt(setting::MlMixer[n]);
    for (int n = 0; n < kStripCount; ++n) {
        s.strips[n].destType = readText(setting::MlDst[n]);
        s.strips[n].srcType = readText(setting::MlSrc[n]);
        s.strips[n].srcName = read(setting::MlSrcName[n]);
    }
    s.autoRecV = readSwitch(setting::AutoRecV);
    s.meterOn = readSwitch(setting::MeterOn);
    s.cutLevel = std::clamp(readInt(setting::VCut), 0, kMaxCutLevel);
    s.rlWait = readInt(setting::RlWait);
    s.guardRecV = readSwitch(setting::GuardRecV);
    s.history = readHistoryWindow(read);
    return s;
}

HistoryWindowSettings SettingsStore::readHistoryWindow(const std::function<QString(const SettingDef &)> &read)
{
    HistoryWindowSettings h;
    h.position = parsePosition(read(setting::LvhFp));
    if (const auto size = parsePosition(read(setting::LvhSize)); size && size->x() > 0 && size->y() > 0)
        h.size = QSize(size->x(), size->y());
    if (const QString span = read(setting::LvhSpan); !span.isEmpty())
        h.spanMinutes = parseInt(span, setting::LvhSpan.defaultText);
    if (const QString folder = read(setting::LvhDir); !folder.isEmpty())
        h.folder = folder;
    return h;
}

bool SettingsStore::write(const SavedSettings &v)
{
    auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_keyPath, true);
    if (!key)
        return false;
    auto sw = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    std::vector<std::pair<const SettingDef *, QString>> order{
        {&setting::FP, formatPosition(v.position)},
        {&setting::BackColor, sw(v.backColor)},
        {&setting::MiniHelp, sw(v.miniHelp)},
        {&setting::KeldoColor, sw(v.keldoColor)},
        {&setting::VName, v.vName},
        {&setting::MostTop, sw(v.mostTop)},
        {&setting::VPanel, QString::number(v.hiddenStrip)},
    };
    for (int n = 0; n < kStripCount; ++n) {
        order.emplace_back(&setting::MlDst[n], v.strips[n].destType);
        order.emplace_back(&setting::MlSrc[n], v.strips[n].srcType);
    }
    for (int n = 0; n < kStripCount; ++n)
        order.emplace_back(&setting::MlMixer[n], QString::number(v.strips[n].device));
    order.emplace_back(&setting::AutoRecV, sw(v.autoRecV));
    order.emplace_back(&setting::MeterOn, sw(v.meterOn));
    order.emplace_back(&setting::VCut, QString::number(v.cutLevel));
    order.emplace_back(&setting::RlWait, QString::number(v.rlWait));
    for (int n = 0; n < kStripCount; ++n)
        order.emplace_back(&setting::MlSrcName[n], v.strips[n].srcName);
    order.emplace_back(&setting::GuardRecV, sw(v.guardRecV));
    const HistoryWindowSettings &h = v.history;
    if (h.position)
        order.emplace_back(&setting::LvhFp, formatPosition(*h.position));
    if (h.size)
        order.emplace_back(&setting::LvhSize, formatPosition(QPoint(h.size->width(), h.size->height())));
    if (h.spanMinutes)
        order.emplace_back(&setting::LvhSpan, QString::number(*h.spanMinutes));
    if (h.folder)
        order.emplace_back(&setting::LvhDir, *h.folder);

    SettingsValues values;
    for (const auto &[def, text] : order)
        values.append({QLatin1String(def->name), text});
    return key->writeStrings(values);
}

bool SettingsStore::forgetStripBinding(int strip)
{
    if (strip < 0 || strip >= kStripCount)
        return false;
    auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_keyPath, false);
    if (!key)
        return true;
    bool ok = true;
    for (const SettingDef *def : {&setting::MlMixer[strip], &setting::MlDst[strip], &setting::MlSrc[strip]}) {
        const QString name = QLatin1String(def->name);
        if (key->readStringIfPresent(name))
            ok = key->deleteValue(name) && ok;
    }
    return ok;
}

} // namespace nuvask
