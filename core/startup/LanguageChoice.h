#pragma once
// Which language the program speaks, chosen once at start: the texts as they
// are written (Japanese) for a Japanese locale, English for every other one.
// The English texts come from the compiled-in catalogue (i18n/nuvask_en.ts);
// the help file is chosen the same way.

#include <QByteArray>
#include <QString>

namespace nuvask {

enum class UiLanguage { Japanese, English };

// The environment the choice reads, so that tests can hand it in.
struct LanguageEnv
{
    QByteArray nuvaskLang; // NUVASK_LANG: "ja" or "en" overrides the locale
    QByteArray language;   // LANGUAGE: a colon-separated list, its first entry counts
    QByteArray lcAll;      // LC_ALL
    QByteArray lcMessages; // LC_MESSAGES
    QByteArray lang;       // LANG
};

LanguageEnv ReadLanguageEnv();

// NUVASK_LANG=ja|en decides; any other value is ignored. Otherwise the first
// set one of LANGUAGE, LC_ALL, LC_MESSAGES, LANG: starting with "ja" is
// Japanese; anything else, "C", "POSIX" and nothing set at all are English.
UiLanguage ChooseLanguage(const LanguageEnv &env);

// Installs the English catalogue into the application for English; Japanese
// needs none (the source texts are Japanese). Returns false when the
// catalogue cannot be loaded (the texts then stay Japanese). Call once,
// before the first window is made.
bool InstallLanguage(UiLanguage language);

// Back to the texts as written (tests that show English put it back).
void RemoveLanguage();

// The help file's name beside the program: NUVASK.HLP, or NUVASK_EN.HLP.
QString HelpFileName(const QString &shortName, UiLanguage language);

// The language installed by InstallLanguage (Japanese until then).
UiLanguage CurrentLanguage();

} // namespace nuvask
