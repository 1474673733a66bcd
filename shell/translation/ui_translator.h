#pragma once
// The interface language for every text beyond the main window's caption
// table: the program's own texts (built in) and Qt's own (the buttons of
// standard dialogs, the file dialog; Debian's translations of Qt, read from
// Qt's translations folder or from translations/ beside the program, and
// left out where neither has them). The six interface languages are the
// language list's: English, Simplified Chinese, Japanese, French, Italian,
// German. When Chinese is chosen on a system set to Traditional Chinese,
// the traditional texts are used.
// Installing the translators tells every window to translate itself again.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>

namespace kovra::shell {

class UiTranslator {
public:
    UiTranslator();
    ~UiTranslator();
    UiTranslator(const UiTranslator&) = delete;
    UiTranslator& operator=(const UiTranslator&) = delete;

    // The translation locale of interface language 0..5 ("" for English and
    // for any other number); Chinese follows the system's script.
    static QString LocaleFor(int language, const QLocale& system = QLocale::system());

    // Where Qt's own texts are looked for, in that order.
    static QStringList QtTranslationFolders();

    // Switches to language (0..5; anything else is English). Nothing happens
    // when that is the language already. False when the program's own texts
    // for it could not be loaded (the window then stays in English).
    bool Apply(int language);
    // The locale in force, "" for English.
    const QString& locale() const { return m_locale; }
    // Whether Qt's own texts were found for the locale in force.
    bool qtTextsLoaded() const { return m_qtLoaded; }

private:
    void removeAll();

    QString m_locale;
    bool m_applied = false;
    bool m_qtLoaded = false;
    std::unique_ptr<QTranslator> m_own;
    std::unique_ptr<QTranslator> m_qt;
};

} // namespace kovra::shell
