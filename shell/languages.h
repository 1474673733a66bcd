#pragma once
// The interface languages: the caption blocks of the main window, the drop
// prompt picture of each language, and ApplyLanguage, which switches both and
// remembers the choice in the configuration file.

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <span>

class QComboBox;

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::shell {

class ConfigFile;
class MainWindow;

inline constexpr int LanguageCount = 6;

// One caption: the control's object name and its text in one language.
struct Caption {
    const char* control;
    const char16_t* text;
};

// The caption block of language 0..5 (captions.cpp), empty for any other.
std::span<const Caption> LanguageCaptions(int language);
// LanguageCombo's items, in language order.
QStringList LanguageNames();

// The stored language number: the text as a decimal number, rounded down,
// where a value within 0.000000000001 below a whole number counts as that
// number (2.9 -> 2, -0.5 -> -1, 2.9999999999999 -> 3). Not a number -> 0.
int LanguageFromText(const QString& text);
// Key "Language" of section "MainWindow" (default "0"), as a number.
int ReadStoredLanguage(const ConfigFile& config);

class InterfaceLanguages : public QObject {
    Q_OBJECT
public:
    // Picture shown on the preview board for a language 0..5.
    using DropPromptSource = std::function<QImage(int language)>;

    // mainWindow holds the captioned controls and LanguageCombo. An empty
    // LanguageCombo is given the six language items. Every selection change
    // of LanguageCombo runs ApplyLanguage.
    InterfaceLanguages(MainWindow& mainWindow, image::DrawingBoard& previewBoard, ConfigFile& config,
                       DropPromptSource dropPrompt, QObject* parent = nullptr);

    // Startup: makes the stored language LanguageCombo's selection (a number
    // outside 0..5 selects nothing), then runs ApplyLanguage.
    void ApplyStoredLanguage();
    // Sets the captions and drop prompt of the selected language (none when
    // nothing is selected) and writes the selection back as "Language".
    void ApplyLanguage();
    // LanguageCombo's selection, -1 when nothing is selected.
    int LanguageIndex() const;

signals:
    // The drop prompt is about to replace whatever the preview board shows.
    void boardAboutToBeReplaced();
    // ApplyLanguage has run for language (LanguageIndex(), -1 for none): the
    // texts beyond the caption table follow it.
    void languageApplied(int language);

private:
    void setCaptions(int language);

    MainWindow& m_mainWindow;
    image::DrawingBoard& m_previewBoard;
    ConfigFile& m_config;
    DropPromptSource m_dropPrompt;
    QComboBox* m_combo = nullptr;
};

} // namespace kovra::shell
