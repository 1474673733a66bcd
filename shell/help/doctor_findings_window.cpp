#include "shell/help/doctor_findings_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovra::shell {

DoctorFindingsWindow::DoctorFindingsWindow(const QString& findings, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Why the machine is not found"));
    FindingsText = new QPlainTextEdit(this);
    FindingsText->setReadOnly(true);
    FindingsText->setLineWrapMode(QPlainTextEdit::NoWrap);
    FindingsText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FindingsText->setPlainText(findings);
    CopyButton = new QPushButton(QStringLiteral("Copy"), this);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
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
    layout->addWidget(FindingsText);
    layout->addLayout(buttons);

    // Wide enough for the report's 78 columns and its command lines.
    const QFontMetrics metrics(FindingsText->font());
    resize(metrics.horizontalAdvance(QString(96, u'M')) + 40, metrics.lineSpacing() * 34 + 60);
}

void DoctorFindingsWindow::ShowModal(const QString& findings)
{
    DoctorFindingsWindow window(findings);
    window.setWindowModality(Qt::ApplicationModal);
    window.exec();
}

} // namespace kovra::shell
