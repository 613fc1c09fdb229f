// The language choice at start and the English catalogue's installation.

#include "core/startup/LanguageChoice.h"

#include <QCoreApplication>
#include <QTranslator>

namespace nuvask {

namespace {

UiLanguage g_current = UiLanguage::Japanese;
QTranslator *g_translator = nullptr;

bool IsJapanese(const QByteArray &locale)
{
    return locale.startsWith("ja");
}

} // namespace

LanguageEnv ReadLanguageEnv()
{
    return {qgetenv("NUVASK_LANG"), qgetenv("LANGUAGE"), qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
}

UiLanguage ChooseLanguage(const LanguageEnv &env)
{
    if (env.nuvaskLang == "ja")
        return UiLanguage::Japanese;
    if (env.nuvaskLang == "en")
        return UiLanguage::English;
    const QByteArray firstLanguage = env.language.split(':').constFirst();
    for (const QByteArray &value : {firstLanguage, env.lcAll, env.lcMessages, env.lang}) {
        if (!value.isEmpty())
            return IsJapanese(value) ? UiLanguage::Japanese : UiLanguage::English;
    }
    return UiLanguage::English;
}

bool InstallLanguage(UiLanguage language)
{
    if (language == UiLanguage::Japanese)
        return true;
    // Parented by the application: it lives as long as the texts it answers.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/i18n/nuvask_en.qm"))) {
        delete translator;
        return false;
    }
    RemoveLanguage();
    QCoreApplication::installTranslator(translator);
    g_translator = translator;
    g_current = language;
    return true;
}

void RemoveLanguage()
{
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator);
        delete g_translator;
        g_translator = nullptr;
    }
    g_current = UiLanguage::Japanese;
}

QString HelpFileName(const QString &shortName, UiLanguage language)
{
    return shortName + (language == UiLanguage::English ? QStringLiteral("_EN.HLP") : QStringLiteral(".HLP"));
}

UiLanguage CurrentLanguage()
{
    return g_current;
}

} // namespace nuvask
