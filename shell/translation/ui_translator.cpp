#include "shell/translation/ui_translator.h"

#include "translations/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace kovra::shell {

namespace {

bool isTraditionalChinese(const QLocale& system)
{
    if (system.language() != QLocale::Chinese)
        return false;
    if (system.script() == QLocale::TraditionalChineseScript)
        return true;
    const QLocale::Territory territory = system.territory();
    return territory == QLocale::Taiwan || territory == QLocale::HongKong || territory == QLocale::Macao;
}

} // namespace

UiTranslator::UiTranslator() = default;

UiTranslator::~UiTranslator()
{
    removeAll();
}

QString UiTranslator::LocaleFor(int language, const QLocale& system)
{
    switch (language) {
    case 1:
        return isTraditionalChinese(system) ? QStringLiteral("zh_TW") : QStringLiteral("zh_CN");
    case 2:
        return QStringLiteral("ja");
    case 3:
        return QStringLiteral("fr");
    case 4:
        return QStringLiteral("it");
    case 5:
        return QStringLiteral("de");
    default:
        return {};
    }
}

QStringList UiTranslator::QtTranslationFolders()
{
    // Qt's own folder where Qt is installed as a whole (a Linux system);
    // the folder beside the program where it was installed with its Qt
    // libraries (the Windows installer puts them there).
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
            QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
}

void UiTranslator::removeAll()
{
    if (m_own) {
        QCoreApplication::removeTranslator(m_own.get());
        m_own.reset();
    }
    if (m_qt) {
        QCoreApplication::removeTranslator(m_qt.get());
        m_qt.reset();
    }
    m_qtLoaded = false;
}

bool UiTranslator::Apply(int language)
{
    const QString locale = LocaleFor(language);
    if (m_applied && locale == m_locale)
        return true;
    m_applied = true;
    removeAll();
    m_locale = locale;
    if (locale.isEmpty())
        return true;
    auto qt = std::make_unique<QTranslator>();
    for (const QString& folder : QtTranslationFolders()) {
        if (qt->load(QStringLiteral("qtbase_") + locale, folder)) {
            QCoreApplication::installTranslator(qt.get());
            m_qt = std::move(qt);
            m_qtLoaded = true;
            break;
        }
    }
    // Ours last: the last installed is asked first.
    auto own = std::make_unique<QTranslator>();
    if (!own->load(translations::TranslationFile(locale)))
        return false;
    QCoreApplication::installTranslator(own.get());
    m_own = std::move(own);
    return true;
}

} // namespace kovra::shell
