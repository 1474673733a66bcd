#include "shell/help/help_window.h"

#include "shell/widgets/window_fonts.h"
#include "shell/widgets/window_placement.h"

#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>

namespace kovra::shell {

namespace {

struct Question {
    int x, y, w, h;
    const char* text;
};

const Question kQuestions[8] = {
    {8, 32, 208, 32, "1. 为什么一直连接不上？"},
    {8, 72, 216, 24, "2. 初次使用必看"},
    {8, 144, 184, 32, "3. 如何对焦？"},
    {8, 192, 216, 24, "4. 怎样雕刻效果好？（必看）"},
    {8, 240, 216, 32, "5. 灼烧时间设置多少合适？"},
    {8, 288, 216, 32, "6. 送的透明的垫子是什么？"},
    {8, 328, 184, 32, "7. 雕刻不了图像，不清晰，怎么办？"},
    {8, 416, 184, 72, "8. 出现任何问题都可以联系掌柜的帮忙解决！\r\n不要随意中差评！"},
};

QFont YaHei(int pixels, bool underline)
{
    QFont font = PixelFont(QString::fromUtf8("微软雅黑"), pixels);
    font.setFamilies({QString::fromUtf8("微软雅黑"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK JP")});
    font.setUnderline(underline);
    return font;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QString());
    setModal(true);
    WindowPlacement::Keep(this, QRect(50, 50, 808, 575), WindowPlacement::Sizing::Fixed,
        WindowPlacement::Title::Untitled);

    QuestionGroup = new QGroupBox(this);
    QuestionGroup->setObjectName(QStringLiteral("QuestionGroup"));
    QuestionGroup->setGeometry(8, 24, 232, 512);
    QuestionGroup->setTitle(QString::fromUtf8("问题列表："));
    QuestionGroup->setFont(YaHei(12, false));

    for (int i = 0; i < 8; ++i) {
        const Question& q = kQuestions[i];
        auto* label = new QLabel(QuestionGroup);
        label->setObjectName(QStringLiteral("QuestionLabel%1").arg(i + 1));
        label->setGeometry(q.x, q.y, q.w, q.h);
        QString text = QString::fromUtf8(q.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        label->setText(text);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFont(YaHei(16, true));
        label->setCursor(Qt::PointingHandCursor);
        // A question that wraps further than its design height (the CJK
        // faces here have taller lines) grows downwards into the free space.
        label->resize(q.w, std::max(q.h, label->heightForWidth(q.w)));
        QuestionLabels[i] = label;
    }

    AnswerPicture = new QLabel(this);
    AnswerPicture->setObjectName(QStringLiteral("AnswerPicture"));
    AnswerPicture->setGeometry(264, 32, 500, 500);
    AnswerPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    AnswerScrollBar = new QScrollBar(Qt::Vertical, this);
    AnswerScrollBar->setObjectName(QStringLiteral("AnswerScrollBar"));
    AnswerScrollBar->setGeometry(776, 8, 24, 528);
}

} // namespace kovra::shell
