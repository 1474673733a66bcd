// The texts beyond the caption table in every interface language: each
// translation file complete, its placeholders kept, and the windows saying
// their texts again in the language chosen, Qt's own texts with them.
#include "job/job_progress.h"
#include "shell/effects/contact_sheet_window.h"
#include "shell/effects/tuning_strip.h"
#include "shell/help/missing_machine_notice.h"
#include "shell/job_progress_view.h"
#include "shell/translation/ui_translator.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace kovra;

namespace {

const QStringList kLocales = {"zh_CN", "zh_TW", "ja", "fr", "it", "de"};

// The placeholders a text carries (%1, %2, %p%), sorted.
QStringList placeholders(const QString& text)
{
    QStringList found;
    auto it = QRegularExpression(QStringLiteral("%(\\d|p%)")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

struct TsMessage {
    QString context, source, translation;
    bool unfinished = false;
};

// The messages of a .ts file and its language; false when it cannot be read.
bool readTs(const QString& path, QString& language, QList<TsMessage>& messages)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("TS")) {
            language = xml.attributes().value("language").toString();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("source")) {
            messages.append({context, xml.readElementText(), {}, false});
        } else if (name == QLatin1String("translation") && !messages.isEmpty()) {
            messages.last().unfinished = xml.attributes().hasAttribute("type");
            messages.last().translation = xml.readElementText();
        }
    }
    return !xml.hasError();
}

TEST(Translations, EveryLanguageHasEveryTextFinishedWithItsPlaceholders)
{
    QStringList firstSources;
    for (const QString& locale : kLocales) {
        SCOPED_TRACE(locale.toStdString());
        QString language;
        QList<TsMessage> messages;
        ASSERT_TRUE(readTs(QDir(QStringLiteral(KOVRA_TRANSLATION_SOURCES)).filePath("kovra_" + locale + ".ts"),
                           language, messages))
            << "no translation file";
        EXPECT_EQ(language, locale);
        QStringList sources;
        for (const TsMessage& m : messages) {
            SCOPED_TRACE(m.source.toStdString());
            EXPECT_FALSE(m.unfinished) << "unfinished or obsolete";
            EXPECT_FALSE(m.translation.trimmed().isEmpty());
            EXPECT_EQ(placeholders(m.translation), placeholders(m.source));
            sources << m.context + "|" + m.source;
        }
        EXPECT_GT(sources.size(), 50);
        // The same texts in every language.
        if (firstSources.isEmpty())
            firstSources = sources;
        EXPECT_EQ(sources, firstSources);
    }
}

TEST(Translations, ChineseFollowsTheSystemsScriptAndOtherNumbersAreEnglish)
{
    const struct {
        int language;
        const char* system;
        const char* locale;
    } cases[] = {
        {1, "zh_CN", "zh_CN"}, {1, "zh_TW", "zh_TW"}, {1, "zh_HK", "zh_TW"}, {1, "zh_Hant_SG", "zh_TW"},
        {1, "en_US", "zh_CN"}, {2, "de_DE", "ja"},    {3, "en_US", "fr"},    {4, "en_US", "it"},
        {5, "fr_FR", "de"},    {0, "de_DE", ""},      {-1, "de_DE", ""},     {6, "ja_JP", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shell::UiTranslator::LocaleFor(c.language, QLocale(QString::fromLatin1(c.system))),
                  QString::fromLatin1(c.locale))
            << c.language << " on " << c.system;
}

TEST(Translations, WindowsSayTheirTextsAgainInTheLanguageChosen)
{
    shell::TuningStrip strip;
    shell::ContactSheetWindow sheet;
    job::JobProgressState paused;
    paused.phase = job::JobProgressState::Phase::Paused;
    paused.percent = 37;
    paused.secondsLeft = -1;
    const auto shown = [&] {
        return QStringList{strip.ResetButton->text(), strip.ThresholdLabel->text(), sheet.windowTitle(),
                           shell::JobProgressView::Text(paused), shell::MissingMachineNotice::Line(false),
                           QCoreApplication::translate("QPlatformTheme", "Cancel")};
    };
    const QStringList english = shown();
    EXPECT_EQ(english.mid(0, 4), QStringList({"Reset", "Threshold", "All renderings", "37 %  ·  paused"}));
    const struct {
        int language;
        const char* reset;
        const char* paused;
    } cases[] = {
        {1, "重置", "37 %  ·  已暂停"}, {2, "リセット", "37 %  ·  一時停止中"}, {3, "Neutre", "37 %  ·  en pause"},
        {4, "Azzera", "37 %  ·  in pausa"}, {5, "Neutral", "37 %  ·  pausiert"},
    };
    shell::UiTranslator translator;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        ASSERT_TRUE(translator.Apply(c.language));
        QCoreApplication::sendPostedEvents();
        const QStringList now = shown();
        EXPECT_EQ(now[0], QString::fromUtf8(c.reset));
        EXPECT_EQ(now[3], QString::fromUtf8(c.paused));
        for (int i = 1; i < 5; ++i)
            EXPECT_NE(now[i], english[i]) << "text " << i << " stayed English";
        // Qt's own texts, where Debian's translations of Qt are installed.
        const QString qtFile = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_"
            + shell::UiTranslator::LocaleFor(c.language) + ".qm";
        EXPECT_EQ(translator.qtTextsLoaded(), QFile::exists(qtFile));
        if (translator.qtTextsLoaded()) {
            EXPECT_NE(now[5], english[5]);
        }
    }
    // Back to English: every text as it was.
    ASSERT_TRUE(translator.Apply(0));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(shown(), english);
}

// The room a control's text has: a check box's text sits beside its box, a
// button's inside its frame.
int textRoom(const QWidget* control)
{
    if (qobject_cast<const QCheckBox*>(control))
        return control->width() - 20;
    if (qobject_cast<const QPushButton*>(control))
        return control->width() - 6;
    return control->width();
}

QString textOf(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    return static_cast<const QAbstractButton*>(control)->text();
}

TEST(Translations, TheStripsAndTheSheetsTextsFitTheirControlsInEveryLanguage)
{
    shell::TuningStrip strip;
    shell::ContactSheetWindow sheet;
    shell::UiTranslator translator;
    for (int language = 0; language < 6; ++language) {
        SCOPED_TRACE(language);
        ASSERT_TRUE(translator.Apply(language));
        QCoreApplication::sendPostedEvents();
        QList<QWidget*> controls;
        for (QWidget* w : strip.findChildren<QWidget*>())
            if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))
                controls << w;
        for (QLabel* label : sheet.findChildren<QLabel*>())
            if (label != sheet.HintLabel && !label->text().isEmpty())
                controls << label;
        for (const QWidget* c : std::as_const(controls)) {
            const QString text = textOf(c);
            EXPECT_LE(QFontMetrics(c->font()).horizontalAdvance(text), textRoom(c))
                << c->objectName().toStdString() << " cuts " << text.toStdString();
        }
        // The check box and the hint share the sheet's top row.
        EXPECT_LT(QFontMetrics(sheet.ActualSizeCheck->font()).horizontalAdvance(sheet.ActualSizeCheck->text()) + 20
                      + QFontMetrics(sheet.HintLabel->font()).horizontalAdvance(sheet.HintLabel->text()),
                  sheet.width() - 16);
    }
    ASSERT_TRUE(translator.Apply(0));
}

} // namespace
