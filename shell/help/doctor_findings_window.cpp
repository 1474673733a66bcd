#include "shell/help/doctor_findings_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovra::shell {

DoctorFindingsWindow::DoctorFindingsWindow(const QString& findings, QWidget* parent)
    : QDialog(parent)
{
    IntroLabel = new QLabel(this);
    IntroLabel->setWordWrap(true);
    FindingsText = new QPlainTextEdit(this);
    FindingsText->setReadOnly(true);
    FindingsText->setLineWrapMode(QPlainTextEdit::NoWrap);
    FindingsText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FindingsText->setPlainText(findings);
    CopyButton = new QPushButton(this);
    CloseButton = new QPushButton(this);
    CloseButton->setDefault(true);
    connect(CopyButton, &QPushButton::clicked, this, [this] {
        QGuiApplication::clipboard()->setText(FindingsText->toPlainText());
    });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CopyButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(IntroLabel);
    layout->addWidget(FindingsText);
    layout->addLayout(buttons);

    // Wide enough for the report's 78 columns and its command lines.
    const QFontMetrics metrics(FindingsText->font());
    resize(metrics.horizontalAdvance(QString(96, u'M')) + 40, metrics.lineSpacing() * 34 + 60);
    retranslate();
}

void DoctorFindingsWindow::retranslate()
{
    setWindowTitle(tr("Why the machine is not found"));
    IntroLabel->setText(tr("What this computer's serial ports show, and the commands that fix what stands in "
                           "the way:"));
    CopyButton->setText(tr("Copy"));
    CloseButton->setText(tr("Close"));
}

void DoctorFindingsWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void DoctorFindingsWindow::ShowModal(const QString& findings)
{
    DoctorFindingsWindow window(findings);
    window.setWindowModality(Qt::ApplicationModal);
    window.exec();
}

} // namespace kovra::shell
