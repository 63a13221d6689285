#include "platform/interfacelanguage.h"

#include "platform/workingfiles.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace InterfaceLanguage {

namespace {

// The program's own setting of its language, made once at start-up (tests change it between windows).
Language g_current = Language::Japanese;
QPointer<QTranslator> g_translator;

const QString EnglishTranslation = QStringLiteral(":/i18n/horavista_en.qm");

} // namespace

Language choose(const QStringList &uiLanguages)
{
    for (const QString &tag : uiLanguages) {
        // "C" is the locale of a system that names no language: the designed default.
        if (tag == QLatin1String("C"))
            return Language::Japanese;
        const QString language = tag.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
        if (language == QLatin1String("ja"))
            return Language::Japanese;
        if (language == QLatin1String("en"))
            return Language::English;
    }
    return uiLanguages.isEmpty() ? Language::Japanese : Language::English;
}

Language desktop()
{
    return choose(QLocale::system().uiLanguages());
}

bool use(Language language)
{
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator);
        delete g_translator;
    }
    g_current = Language::Japanese;
    if (language == Language::Japanese)
        return true;

    // Owned by the application, so that it goes with it.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(EnglishTranslation) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        qWarning().noquote()
            << QStringLiteral("%1 cannot be loaded; the interface stays Japanese").arg(EnglishTranslation);
        return false;
    }
    g_translator = translator;
    g_current = language;
    return true;
}

QString helpFile()
{
    return QString::fromLatin1(g_current == Language::English ? WorkingFiles::EnglishHelp : WorkingFiles::Help);
}

} // namespace InterfaceLanguage
