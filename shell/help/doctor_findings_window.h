#pragma once
// A small text window with what the serial doctor found: the help window's
// first answer shows it where no driver installer exists. Read-only, in a
// fixed-pitch font so the command lines stand out; "Copy" takes the text.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kovra::shell {

class DoctorFindingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit DoctorFindingsWindow(const QString& findings, QWidget* parent = nullptr);

    // Shows the findings modal for the whole program, like the message boxes.
    static void ShowModal(const QString& findings);

    // What the findings are, in the user's language; the findings
    // themselves are the doctor's report, as the command line prints it.
    QLabel* IntroLabel = nullptr;
    QPlainTextEdit* FindingsText = nullptr;
    QPushButton* CopyButton = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
};

} // namespace kovra::shell
