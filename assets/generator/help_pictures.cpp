#include "assets/generator/help_pictures.h"

#include "assets/generator/artwork_fonts.h"
#include "assets/generator/help_page.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace kovra::assets {

namespace {

using namespace help_colour;
constexpr int W = HelpPage::ContentWidth;

QImage intro(HelpPage& page)
{
    page.paragraph(QStringLiteral("欢迎使用本雕刻软件！这里是它的电子教程。"));
    page.space(8);
    page.paragraph(QStringLiteral("请%1，右边就会显示这个问题的解答。").arg(Emphasis("点击左边的问题")));
    page.space(8);
    page.paragraph(QStringLiteral("建议第一次使用前，%1，可以少走很多弯路。").arg(Emphasis("从上到下把所有解答都看一遍")));
    page.space(18);
    page.drawing(190, [](QPainter& p) {
        // A small picture of this window: questions on the left, the answer on the right.
        p.setPen(QPen(QColor(150, 160, 175), 2));
        p.setBrush(QColor(248, 249, 251));
        p.drawRoundedRect(QRectF(0, 0, W, 180), 10, 10);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 8; ++i) {
            const QRectF row(16, 16 + i * 19.5, 150, 12);
            p.setBrush(i == 1 ? Accent : QColor(190, 198, 210));
            p.drawRoundedRect(row, 4, 4);
        }
        DrawMousePointer(p, QPointF(120, 42), 0.9);
        p.setPen(QPen(Banner, 2));
        p.setBrush(Soft);
        const QRectF answer(236, 16, W - 252, 148);
        p.drawRoundedRect(answer, 8, 8);
        DrawLabel(p, answer, QStringLiteral("解答"), 30, Banner, true);
        DrawArrow(p, QPointF(172, 42), QPointF(228, 70), Accent, 3);
    });
    return page.finish();
}

QImage answer1(HelpPage& page)
{
    page.paragraph(QStringLiteral("第一次使用时一直连接不上，通常是因为电脑还%1。").arg(Emphasis("没有安装 USB 串口驱动")));
    page.space(6);
    page.paragraph(QStringLiteral("请%1下面的“安装驱动”四个字，按提示完成安装：").arg(Emphasis("双击")));
    page.space(12);
    page.drawing(118, [](QPainter& p) {
        const QRectF button(W / 2.0 - 140, 4, 280, 92);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawRoundedRect(button.translated(4, 5), 18, 18);
        QLinearGradient fill(button.topLeft(), button.bottomLeft());
        fill.setColorAt(0, QColor(236, 72, 60));
        fill.setColorAt(1, QColor(178, 24, 24));
        p.setBrush(fill);
        p.setPen(QPen(QColor(130, 10, 10), 2));
        p.drawRoundedRect(button, 18, 18);
        DrawLabel(p, button, QStringLiteral("安装驱动"), 54, Qt::white, true);
        DrawMousePointer(p, QPointF(button.right() - 22, button.bottom() - 24), 1.3);
        DrawLabel(p, QRectF(button.right() + 8, 4, 90, 40), QStringLiteral("双击"), 24, Accent, true,
                  Qt::AlignLeft | Qt::AlignVCenter);
    });
    page.paragraph(QStringLiteral("%1").arg(Strong("装好驱动后仍然连接不上：")));
    page.space(4);
    page.paragraph(QStringLiteral("① 检查数据线是否插好，两头都要插紧；<br>"
                                  "② 换一根数据线试试，线可能已经折断或损坏；<br>"
                                  "③ 还是不行，请联系卖家，我们帮您解决。"),
                   17);
    return page.finish();
}

QImage answer2(HelpPage& page)
{
    page.paragraph(QStringLiteral("按下面的顺序操作，就能刻出第一件作品："), 18);
    page.space(6);
    page.paragraph(QStringLiteral("① 打开本软件，等待它自动连接雕刻机；<br>"
                                  "② 把图片拖进软件窗口，选择一种喜欢的效果；<br>"
                                  "③ 点击右上角的%1按钮；<br>"
                                  "④ 对焦（见问题 3）；<br>"
                                  "⑤ 点击%2，开始雕刻。")
                       .arg(Strong("“发送数据到雕刻机”"), Strong("“开始”")),
                   17);
    page.space(14);
    page.drawing(86, [](QPainter& p) {
        const QStringList steps = {QStringLiteral("打开\n软件"), QStringLiteral("拖入\n图片"), QStringLiteral("发送\n数据"),
                                   QStringLiteral("对焦"), QStringLiteral("开始\n雕刻")};
        const qreal box = 68;
        const qreal gap = (W - steps.size() * box) / (steps.size() - 1);
        for (int i = 0; i < steps.size(); ++i) {
            const QRectF r(i * (box + gap), 4, box, 68);
            p.setPen(QPen(Banner, 2));
            p.setBrush(i == 3 ? QColor(255, 236, 230) : Soft);
            p.drawRoundedRect(r, 10, 10);
            DrawLabel(p, r, steps[i], 17, i == 3 ? Accent : Banner, true);
            if (i + 1 < steps.size())
                DrawArrow(p, QPointF(r.right() + 4, r.center().y()), QPointF(r.right() + gap - 4, r.center().y()),
                          QColor(120, 130, 150), 2.5);
        }
    });
    page.paragraph(QStringLiteral("问题 3、4、5 %1，请一定仔细看！").arg(Emphasis("非常重要")));
    return page.finish();
}

QImage answer3(HelpPage& page)
{
    page.paragraph(QStringLiteral("① 把附送的%1放在要雕刻的物体上；<br>"
                                  "② 慢慢旋转激光头下面的%2，看纸上的光点；<br>"
                                  "③ 光点%3就对好了，冒出淡淡的烟说明焦距最好；<br>"
                                  "④ 雕刻高度一变（换了厚薄不同的物体），就要重新对焦。")
                       .arg(Strong("黑色卡纸"), Strong("对焦旋钮"), Emphasis("最小、最亮")),
                   16);
    page.space(14);
    page.drawing(196, [](QPainter& p) {
        const qreal cx = 170;
        // Laser head and its focus knob.
        const QRectF head(cx - 55, 0, 110, 62);
        QLinearGradient metal(head.topLeft(), head.topRight());
        metal.setColorAt(0, QColor(90, 96, 108));
        metal.setColorAt(0.5, QColor(150, 158, 170));
        metal.setColorAt(1, QColor(80, 86, 98));
        p.setPen(QPen(QColor(50, 54, 62), 1.5));
        p.setBrush(metal);
        p.drawRoundedRect(head, 6, 6);
        const QRectF knob(cx - 34, 62, 68, 22);
        p.setBrush(QColor(60, 64, 72));
        p.drawRoundedRect(knob, 5, 5);
        p.setPen(QPen(QColor(150, 156, 166), 1.5));
        for (int i = 1; i < 8; ++i)
            p.drawLine(QPointF(knob.left() + i * 8.5, knob.top() + 4), QPointF(knob.left() + i * 8.5, knob.bottom() - 4));
        // Turning arrows around the knob.
        p.setPen(QPen(Accent, 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(cx - 58, 56, 116, 36), 200 * 16, 140 * 16);
        DrawArrow(p, QPointF(cx + 44, 88), QPointF(cx + 56, 80), Accent, 3);

        // Beam converging on the paper.
        const qreal paperTop = 148;
        QPolygonF beam;
        beam << QPointF(cx - 12, 84) << QPointF(cx + 12, 84) << QPointF(cx + 1.5, paperTop) << QPointF(cx - 1.5, paperTop);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 60, 50, 170));
        p.drawPolygon(beam);

        // Object with the black paper on it, and the dot.
        p.setBrush(QColor(196, 150, 96));
        p.drawRect(QRectF(cx - 120, paperTop + 6, 240, 36));
        p.setBrush(QColor(20, 20, 20));
        p.drawRect(QRectF(cx - 100, paperTop, 200, 6));
        QRadialGradient dot(QPointF(cx, paperTop + 1), 10);
        dot.setColorAt(0, QColor(255, 255, 220));
        dot.setColorAt(0.4, QColor(255, 120, 60));
        dot.setColorAt(1, QColor(255, 60, 40, 0));
        p.setBrush(dot);
        p.drawEllipse(QPointF(cx, paperTop + 1), 10, 10);
        // A wisp of smoke.
        p.setPen(QPen(QColor(160, 160, 160), 2, Qt::SolidLine, Qt::RoundCap));
        QPainterPath smoke;
        smoke.moveTo(cx + 10, paperTop - 6);
        smoke.cubicTo(cx + 28, paperTop - 20, cx + 10, paperTop - 30, cx + 26, paperTop - 46);
        p.setBrush(Qt::NoBrush);
        p.drawPath(smoke);

        // Labels.
        const QColor lead(110, 118, 130);
        auto label = [&](qreal y, const QPointF& target, const QString& text, const QColor& colour) {
            p.setPen(QPen(lead, 1.2, Qt::DashLine));
            p.drawLine(QPointF(318, y), target);
            DrawLabel(p, QRectF(324, y - 14, W - 324, 28), text, 16, colour, true, Qt::AlignLeft | Qt::AlignVCenter);
        };
        label(24, QPointF(cx + 56, 24), QStringLiteral("激光头"), Text);
        label(72, QPointF(cx + 36, 72), QStringLiteral("对焦旋钮"), Accent);
        label(122, QPointF(cx + 10, paperTop - 2), QStringLiteral("光点最小最亮"), Accent);
        label(156, QPointF(cx + 100, paperTop + 3), QStringLiteral("黑色卡纸"), Text);
        label(184, QPointF(cx + 120, paperTop + 26), QStringLiteral("要雕刻的物体"), Text);
    });
    return page.finish();
}

QImage answer4(HelpPage& page)
{
    page.paragraph(QStringLiteral("想要刻得清楚漂亮，下面%1缺一不可：").arg(Emphasis("四点")));
    page.space(12);
    page.drawing(330, [](QPainter& p) {
        struct Key {
            QString title;
            QString detail;
        };
        const Key keys[4] = {
            {QStringLiteral("焦距对准"), QStringLiteral("光点最小最亮\n（见问题 3）")},
            {QStringLiteral("灼烧时间合适"), QStringLiteral("太短刻不深，太长会烧焦\n（见问题 5）")},
            {QStringLiteral("材料容易雕刻"), QStringLiteral("深色塑料、木头、竹子、\n皮革、牛皮纸")},
            {QStringLiteral("物体固定牢"), QStringLiteral("雕刻时不能移动\n（见问题 6）")},
        };
        const qreal cardW = (W - 14) / 2.0;
        const qreal cardH = 156;
        for (int i = 0; i < 4; ++i) {
            const QRectF card((i % 2) * (cardW + 14), (i / 2) * (cardH + 14), cardW, cardH);
            p.setPen(QPen(Banner.lighter(150), 1.5));
            p.setBrush(Soft);
            p.drawRoundedRect(card, 12, 12);
            const QPointF badge(card.left() + 30, card.top() + 32);
            p.setPen(Qt::NoPen);
            p.setBrush(Accent);
            p.drawEllipse(badge, 18, 18);
            DrawLabel(p, QRectF(badge.x() - 18, badge.y() - 18, 36, 36), QString::number(i + 1), 22, Qt::white, true);
            DrawLabel(p, QRectF(card.left() + 56, card.top() + 12, cardW - 62, 40), keys[i].title, 20, Banner, true,
                      Qt::AlignLeft | Qt::AlignVCenter);
            DrawLabel(p, QRectF(card.left() + 14, card.top() + 62, cardW - 28, cardH - 72), keys[i].detail, 16, Text,
                      false, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        }
    });
    return page.finish();
}

QImage answer5(HelpPage& page)
{
    page.paragraph(QStringLiteral("软件%1的滑块用来设置灼烧时间：").arg(Strong("最下面一行")));
    page.space(4);
    page.paragraph(QStringLiteral("往%1拉：时间短，颜色浅；<br>往%2拉：时间长，颜色深。")
                       .arg(Emphasis("左"), Emphasis("右")));
    page.space(16);
    page.drawing(150, [](QPainter& p) {
        const qreal trackY = 40;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 204, 212));
        p.drawRoundedRect(QRectF(10, trackY - 4, W - 20, 8), 4, 4);
        p.setPen(QPen(QColor(120, 126, 136), 1.5));
        for (int i = 0; i <= 10; ++i) {
            const qreal x = 10 + i * (W - 20) / 10.0;
            p.drawLine(QPointF(x, trackY + 12), QPointF(x, trackY + 20));
        }
        const QRectF thumb(W * 0.45 - 11, trackY - 20, 22, 40);
        QLinearGradient metal(thumb.topLeft(), thumb.topRight());
        metal.setColorAt(0, QColor(250, 250, 250));
        metal.setColorAt(1, QColor(200, 204, 212));
        p.setPen(QPen(QColor(60, 80, 120), 1.5));
        p.setBrush(metal);
        p.drawRoundedRect(thumb, 4, 4);
        DrawArrow(p, QPointF(thumb.left() - 10, trackY - 28), QPointF(40, trackY - 28), Accent, 3);
        DrawArrow(p, QPointF(thumb.right() + 10, trackY - 28), QPointF(W - 40, trackY - 28), Accent, 3);

        // What the two ends burn like.
        QLinearGradient shade(10, 0, W - 10, 0);
        shade.setColorAt(0, QColor(236, 214, 178));
        shade.setColorAt(0.5, QColor(160, 108, 60));
        shade.setColorAt(1, QColor(40, 22, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawRoundedRect(QRectF(10, trackY + 34, W - 20, 30), 6, 6);
        DrawLabel(p, QRectF(10, trackY + 72, 200, 30), QStringLiteral("时间短 · 颜色浅"), 17, Text, true,
                  Qt::AlignLeft | Qt::AlignVCenter);
        DrawLabel(p, QRectF(W - 210, trackY + 72, 200, 30), QStringLiteral("时间长 · 颜色深"), 17, Text, true,
                  Qt::AlignRight | Qt::AlignVCenter);
    });
    page.paragraph(QStringLiteral("合适的数值%1，不同材料不一样，可以先在边角试刻一小块。雕刻过程中也%2。")
                       .arg(Emphasis("要看材料"), Strong("可以随时调整")),
                   17);
    return page.finish();
}

QImage answer6(HelpPage& page)
{
    page.paragraph(QStringLiteral("随机附送的透明垫子是%1。").arg(Emphasis("防滑垫")));
    page.space(6);
    page.paragraph(QStringLiteral("雕刻手机壳、塑料片等表面光滑的物体时，把防滑垫垫在物体下面，"
                                  "雕刻中物体就不会%1，图案也不会错位。")
                       .arg(Strong("滑动")),
                   17);
    page.space(16);
    page.drawing(190, [](QPainter& p) {
        const qreal cx = 150;
        // Head and beam.
        p.setPen(QPen(QColor(50, 54, 62), 1.5));
        p.setBrush(QColor(120, 128, 140));
        p.drawRoundedRect(QRectF(cx - 40, 0, 80, 44), 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 60, 50, 170));
        p.drawPolygon(QPolygonF() << QPointF(cx - 7, 44) << QPointF(cx + 7, 44) << QPointF(cx + 1, 104)
                                  << QPointF(cx - 1, 104));
        // Object, pad, machine base.
        p.setBrush(QColor(40, 44, 52));
        p.drawRoundedRect(QRectF(cx - 80, 104, 160, 22), 8, 8);
        p.setPen(QPen(QColor(110, 170, 220), 1.5));
        p.setBrush(QColor(170, 215, 245, 150));
        p.drawRoundedRect(QRectF(cx - 110, 126, 220, 12), 4, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(190, 194, 200));
        p.drawRect(QRectF(cx - 140, 138, 280, 26));
        p.setBrush(QColor(150, 154, 162));
        p.drawRect(QRectF(cx - 140, 164, 280, 6));

        const QColor lead(110, 118, 130);
        auto label = [&](qreal y, const QPointF& target, const QString& text, const QColor& colour) {
            p.setPen(QPen(lead, 1.2, Qt::DashLine));
            p.drawLine(QPointF(306, y), target);
            DrawLabel(p, QRectF(312, y - 14, W - 312, 28), text, 17, colour, true, Qt::AlignLeft | Qt::AlignVCenter);
        };
        label(112, QPointF(cx + 80, 114), QStringLiteral("光滑的物体"), Text);
        label(140, QPointF(cx + 110, 132), QStringLiteral("透明防滑垫"), Accent);
        label(170, QPointF(cx + 140, 152), QStringLiteral("雕刻机底板"), Text);
    });
    return page.finish();
}

QImage answer7(HelpPage& page)
{
    page.paragraph(QStringLiteral("刻不出图像或者不清晰，请依次检查：<br>"
                                  "① %1是否对准（见问题 3）；<br>"
                                  "② %2是否太短，适当往右调（见问题 5）；<br>"
                                  "③ %3是否合适：透明、白色、反光或蓝色的材料几乎不吸收激光，很难刻出图案。")
                       .arg(Strong("焦距"), Strong("灼烧时间"), Strong("材料")),
                   17);
    page.space(14);
    page.drawing(200, [](QPainter& p) {
        struct Swatch {
            QString name;
            QColor colour;
        };
        const Swatch good[4] = {{QStringLiteral("木头"), QColor(196, 150, 96)},
                                {QStringLiteral("竹子"), QColor(222, 196, 128)},
                                {QStringLiteral("皮革"), QColor(120, 70, 40)},
                                {QStringLiteral("深色塑料"), QColor(40, 40, 44)}};
        const Swatch bad[4] = {{QStringLiteral("透明"), QColor(225, 240, 250)},
                               {QStringLiteral("白色"), QColor(255, 255, 255)},
                               {QStringLiteral("反光"), QColor(200, 204, 210)},
                               {QStringLiteral("蓝色"), QColor(40, 90, 200)}};
        auto row = [&](qreal y, const Swatch* swatches, bool takes) {
            DrawLabel(p, QRectF(0, y, 84, 60), takes ? QStringLiteral("容易\n雕刻") : QStringLiteral("很难\n雕刻"), 17,
                      takes ? Good : Accent, true);
            for (int i = 0; i < 4; ++i) {
                const QRectF box(92 + i * 92, y, 60, 60);
                if (!takes && i == 2) {
                    QLinearGradient shine(box.topLeft(), box.bottomRight());
                    shine.setColorAt(0, QColor(250, 250, 252));
                    shine.setColorAt(0.5, QColor(170, 176, 186));
                    shine.setColorAt(1, QColor(235, 238, 242));
                    p.setBrush(shine);
                } else {
                    p.setBrush(swatches[i].colour);
                }
                p.setPen(QPen(QColor(150, 156, 166), 1.2));
                p.drawRoundedRect(box, 8, 8);
                const QPointF mark(box.right() + 2, box.top() + 4);
                p.setPen(Qt::NoPen);
                p.setBrush(Qt::white);
                p.drawEllipse(mark, 13, 13);
                if (takes)
                    DrawCheckMark(p, mark, 22, Good);
                else
                    DrawCrossMark(p, mark, 22, Accent);
                DrawLabel(p, QRectF(box.left() - 16, box.bottom() + 2, box.width() + 32, 24), swatches[i].name, 15,
                          Text);
            }
        };
        row(10, good, true);
        row(106, bad, false);
    });
    return page.finish();
}

QImage answer8(HelpPage& page)
{
    page.paragraph(QStringLiteral("使用中遇到%1，都可以联系卖家（掌柜），我们会尽快帮您解决。").arg(Emphasis("任何问题")));
    page.space(6);
    page.paragraph(QStringLiteral("请%1，谢谢您的理解和支持！").arg(Strong("不要随意给中评、差评")));
    page.space(18);
    page.drawing(230, [](QPainter& p) {
        auto bubble = [&](const QRectF& r, bool left, const QColor& fill, const QString& text, const QColor& ink) {
            QPainterPath path;
            path.addRoundedRect(r, 16, 16);
            QPolygonF tail;
            if (left)
                tail << QPointF(r.left() + 24, r.bottom() - 2) << QPointF(r.left() + 8, r.bottom() + 18)
                     << QPointF(r.left() + 46, r.bottom() - 2);
            else
                tail << QPointF(r.right() - 24, r.bottom() - 2) << QPointF(r.right() - 8, r.bottom() + 18)
                     << QPointF(r.right() - 46, r.bottom() - 2);
            path.addPolygon(tail);
            path.setFillRule(Qt::WindingFill);
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawPath(path.simplified());
            DrawLabel(p, r.adjusted(14, 6, -14, -6), text, 17, ink, false, Qt::AlignCenter | Qt::TextWordWrap);
        };
        bubble(QRectF(0, 4, 300, 66), true, QColor(236, 238, 242), QStringLiteral("掌柜，我的雕刻机好像有点问题……"),
               Text);
        bubble(QRectF(W - 360, 104, 360, 66), false, Banner, QStringLiteral("别着急，告诉我们情况，马上帮您解决！"),
               Qt::white);
        // A heart to close with.
        QPainterPath heart;
        const QPointF c(40, 150);
        heart.moveTo(c + QPointF(0, 14));
        heart.cubicTo(c + QPointF(-34, -8), c + QPointF(-14, -34), c + QPointF(0, -16));
        heart.cubicTo(c + QPointF(14, -34), c + QPointF(34, -8), c + QPointF(0, 14));
        p.setPen(Qt::NoPen);
        p.setBrush(Accent);
        p.drawPath(heart);
    });
    return page.finish();
}

const QString Titles[9] = {
    QStringLiteral("电子教程"),
    QStringLiteral("1. 为什么一直连接不上？"),
    QStringLiteral("2. 初次使用必看"),
    QStringLiteral("3. 如何对焦？"),
    QStringLiteral("4. 怎样雕刻效果好？（必看）"),
    QStringLiteral("5. 灼烧时间设置多少合适？"),
    QStringLiteral("6. 送的透明的垫子是什么？"),
    QStringLiteral("7. 雕刻不了图像，不清晰，怎么办？"),
    QStringLiteral("8. 出现任何问题都可以联系掌柜的帮忙解决！"),
};

} // namespace

QImage DrawHelpPicture(int index, QStringList* overflowing)
{
    using Builder = QImage (*)(HelpPage&);
    static const Builder builders[9] = {intro, answer1, answer2, answer3, answer4, answer5, answer6, answer7, answer8};
    if (index < 0 || index >= 9)
        return {};
    HelpPage page(Titles[index]);
    QImage image = builders[index](page);
    if (!page.fits() && overflowing)
        overflowing->append(Titles[index]);
    return image;
}

} // namespace kovra::assets
