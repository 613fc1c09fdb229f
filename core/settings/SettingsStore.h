#pragma once
// Every value the program keeps under its settings key: names, defaults, how
// each is read (with its own guard, so one bad value never spoils another) and
// the order in which they are read and written.

#include "core/settings/SettingsTree.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace nuvask {

inline constexpr int kStripCount = 3;

// The one table of value names and default texts. An empty default means the
// value has none (its reader says what happens then).
struct SettingDef
{
    const char *name;
    const char *defaultText;
};

namespace setting {
inline constexpr SettingDef Version{"Version", "255"};
inline constexpr SettingDef ExePath{"EXEPATH", ""};
inline constexpr SettingDef Group{"Group", ""};
inline constexpr SettingDef FP{"FP", ""};
inline constexpr SettingDef VPanel{"V_Panel", "-1"};
inline constexpr SettingDef MiniHelp{"minihelp", "1"};
inline constexpr SettingDef BackColor{"BackColor", "0"};
inline constexpr SettingDef KeldoColor{"KELDO_COLOR", "1"};
inline constexpr SettingDef VName{"V_Name", ""};
inline constexpr SettingDef MostTop{"MostTOP", "1"};
inline constexpr std::array<SettingDef, kStripCount> MlMixer{{{"ML_Mixer0", "0"}, {"ML_Mixer1", "0"}, {"ML_Mixer2", "0"}}};
inline constexpr std::array<SettingDef, kStripCount> MlDst{{{"ML_DST0", "4"}, {"ML_DST1", "4"}, {"ML_DST2", "7"}}};
inline constexpr std::array<SettingDef, kStripCount> MlSrc{{{"ML_SRC0", "4"}, {"ML_SRC1", "4104"}, {"ML_SRC2", "7"}}};
// The bound line's name beside its type: settings written before it existed
// have none, and their strips are restored by type alone.
inline constexpr std::array<SettingDef, kStripCount> MlSrcName{{{"ML_SRC_NAME0", ""}, {"ML_SRC_NAME1", ""}, {"ML_SRC_NAME2", ""}}};
inline constexpr SettingDef AutoRecV{"Auto_RecV", "0"};
inline constexpr SettingDef MeterOn{"Meter_ON", "1"};
inline constexpr SettingDef VCut{"V_CUT", "32763"};
inline constexpr SettingDef RlWait{"RL_WAIT", "0"};
// The volume guard on strip 2 (menu MO_Guard_RecV); older versions have no
// such value and ignore it.
inline constexpr SettingDef GuardRecV{"Guard_RecV", "0"};
inline constexpr SettingDef MixLineId{"MIX_Line_ID", ""}; // obsolete, deleted at every start
// The level history window: place ("x,y"), size ("w,h"), minutes shown and
// the folder of the last export. Written once the window has been opened;
// a missing value means the window's default.
inline constexpr SettingDef LvhFp{"LVH_FP", ""};
inline constexpr SettingDef LvhSize{"LVH_SIZE", ""};
inline constexpr SettingDef LvhSpan{"LVH_SPAN", "10"};
inline constexpr SettingDef LvhDir{"LVH_DIR", ""};
} // namespace setting

inline constexpr int kMaxCutLevel = 32763; // on the 16-bit sample scale

// "Software\KELDO SOFT32\" + the program's short name.
QString SettingsKeyPath(const QString &shortName);

// Read at window creation.
struct CreationSettings
{
    int hiddenStrip = -1;                // "V_Panel"; -1 = every strip shown
    std::optional<QPoint> position;      // "FP"; nothing = centre the window
};

// The level history window's values; nothing = not stored.
struct HistoryWindowSettings
{
    std::optional<QPoint> position; // pixels, the frame's top-left
    std::optional<QSize> size;      // pixels, inside the frame
    std::optional<int> spanMinutes;
    std::optional<QString> folder;
};

// Read by the deferred initialisation, and written back at close.
struct StripBinding
{
    int device = 0;         // item index of the device list
    QString destType;       // component type of the destination, decimal text
    QString srcType;        // component type of the source, decimal text
    QString srcName;        // the source line's name; empty when not known
};

struct StartupSettings
{
    bool miniHelp = true;
    bool backColor = false;
    bool keldoColor = true;
    QString vName;
    bool mostTop = true;
    std::array<StripBinding, kStripCount> strips;
    bool autoRecV = false;
    bool meterOn = true;
    int cutLevel = kMaxCutLevel; // 0..32763
    int rlWait = 0;              // item index of the display-interval list
    bool guardRecV = false;
    HistoryWindowSettings history;
};

struct SavedSettings
{
    QPoint position;
    bool backColor = false;
    bool miniHelp = true;
    bool keldoColor = true;
    QString vName;
    bool mostTop = true;
    int hiddenStrip = -1;
    std::array<StripBinding, kStripCount> strips;
    bool autoRecV = false;
    bool meterOn = true;
    int cutLevel = kMaxCutLevel;
    int rlWait = 0;
    bool guardRecV = false;
    HistoryWindowSettings history; // only what is present is written
};

class SettingsStore
{
public:
    explicit SettingsStore(ISettingsTree &settingsTree, QString shortName = QStringLiteral("NUVASK"));

    QString keyPath() const { return m_keyPath; }

    // "Version" as text; a missing key or value gives "255".
    QString readVersion() const;
    // Records `version` as installed for this user (the key is made when
    // missing); false when it could not be written.
    bool writeVersion(int version);
    CreationSettings readCreation() const;
    // Reads in the fixed start-up order and deletes the obsolete "MIX_Line_ID".
    StartupSettings readStartup();
    // Writes every value in the fixed close order as one guarded block: the
    // first write that fails ends it (later values keep their old contents)
    // and the result is false. A store that can makes it a single change.
    bool write(const SavedSettings &values);
    // Drops strip `strip`'s stored device, destination and source, so that
    // the next start binds that strip's default line. A missing key stays
    // missing.
    bool forgetStripBinding(int strip);

    // The guards every reader uses. A text that is not a decimal integer (or
    // does not fit 32 bits) gives the default; the empty text is replaced by
    // the default text first.
    static int parseInt(const QString &text, const char *defaultText);
    static bool parseSwitch(const QString &text, const char *defaultText);
    static std::optional<int> parseDecimal(const QString &text);
    static std::optional<QPoint> parsePosition(const QString &text);
    static QString formatPosition(QPoint position);

private:
    static HistoryWindowSettings readHistoryWindow(const std::function<QString(const SettingDef &)> &read);

    ISettingsTree &m_settingsTree;
    QString m_keyPath;
};

} // namespace nuvask
