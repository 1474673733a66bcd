// The themed look: push buttons pixel by pixel in every state, and the other controls' shapes.
#include "shell/look/themed_control_look.h"

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStyleOption>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using kovra::shell::ThemedControlLook;

namespace {

constexpr QRgb kBackdrop = qRgb(255, 0, 255);
constexpr QRgb kFace = qRgb(240, 240, 240);
constexpr QRgb kBorder = qRgb(0, 60, 115);
constexpr QRgb kBlack = qRgb(0, 0, 0);

std::string rgb(QRgb c)
{
    return "(" + std::to_string(qRed(c)) + "," + std::to_string(qGreen(c)) + "," + std::to_string(qBlue(c)) + ")";
}

std::string at(const QImage& image, int x, int y)
{
    return rgb(image.pixel(x, y));
}

QFont captionFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Calibri"));
    font.setFamilies({QStringLiteral("Calibri"), QStringLiteral("Carlito"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QStyleOptionButton buttonOption(QStyle::State state, QSize size, const QString& text = {}, int features = 0)
{
    QStyleOptionButton o;
    o.rect = QRect(QPoint(0, 0), size);
    o.state = state;
    o.text = text;
    o.features = QStyleOptionButton::ButtonFeatures(features);
    o.palette.setCurrentColorGroup((state & QStyle::State_Enabled) ? QPalette::Active : QPalette::Disabled);
    return o;
}

QImage paint(const QStyle& style, QStyle::ControlElement element, const QStyleOptionButton& o, const QFont& font,
    QRgb backdrop = kBackdrop)
{
    QImage image(o.rect.size(), QImage::Format_RGB32);
    image.fill(backdrop);
    QPainter p(&image);
    p.setFont(font);
    style.drawControl(element, &o, &p);
    return image;
}

QImage paintButton(const QStyle& style, QStyle::State state, int features = 0, QSize size = {64, 40})
{
    return paint(style, QStyle::CE_PushButton, buttonOption(state, size, {}, features), captionFont(12));
}

QImage renderWidget(QWidget& w)
{
    QImage image(w.size(), QImage::Format_RGB32);
    image.fill(kBackdrop);
    w.render(&image);
    return image;
}

bool isDark(QRgb c)
{
    return qRed(c) + qGreen(c) + qBlue(c) < 300;
}

// Bands of consecutive rows that hold caption pixels: one per text line.
int textLines(const QImage& image)
{
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < image.height(); ++y) {
        bool dark = false;
        for (int x = 0; x < image.width() && !dark; ++x)
            dark = isDark(image.pixel(x, y));
        if (dark && !inLine)
            ++lines;
        inLine = dark;
    }
    return lines;
}

QRect darkBounds(const QImage& image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isDark(image.pixel(x, y)))
                r |= QRect(x, y, 1, 1);
    return r;
}

QRgb darkest(const QImage& image, const QRect& area)
{
    QRgb best = qRgb(255, 255, 255);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qRed(c) + qGreen(c) + qBlue(c) < qRed(best) + qGreen(best) + qBlue(best))
                best = c;
        }
    return best;
}

bool contains(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}

struct StateCase {
    const char* name;
    QStyle::State state;
    int features;
    QRgb ringTop, ringBottom, faceTop, faceBottom, border, corner, besideCorner;
};

constexpr QRgb kDisabledFill = qRgb(245, 244, 234);
constexpr QRgb kPushedFace = qRgb(231, 227, 222);
constexpr QRgb kDisabledBorder = qRgb(208, 208, 208); // 240 - 32

const StateCase kStates[] = {
    {"normal", QStyle::State_Enabled, 0, qRgb(255, 255, 255), qRgb(226, 223, 214), qRgb(252, 252, 251),
        qRgb(236, 235, 230), kBorder, kFace, kBorder},
    {"mouse over", QStyle::State_Enabled | QStyle::State_MouseOver, 0, qRgb(255, 240, 207), qRgb(229, 151, 0),
        qRgb(252, 252, 251), qRgb(236, 235, 230), kBorder, kFace, kBorder},
    {"pressed", QStyle::State_Enabled | QStyle::State_Sunken, 0, qRgb(209, 204, 193), qRgb(242, 241, 238), kPushedFace,
        kPushedFace, kBorder, kFace, kBorder},
    {"pressed beats mouse over", QStyle::State_Enabled | QStyle::State_Sunken | QStyle::State_MouseOver, 0,
        qRgb(209, 204, 193), qRgb(242, 241, 238), kPushedFace, kPushedFace, kBorder, kFace, kBorder},
    {"checked", QStyle::State_Enabled | QStyle::State_On, 0, qRgb(214, 203, 189), qRgb(247, 243, 239), kPushedFace,
        kPushedFace, kBorder, kFace, kBorder},
    {"indeterminate", QStyle::State_Enabled | QStyle::State_NoChange, 0, qRgb(214, 203, 189), qRgb(247, 243, 239),
        kPushedFace, kPushedFace, kBorder, kFace, kBorder},
    {"mouse over beats checked", QStyle::State_Enabled | QStyle::State_On | QStyle::State_MouseOver, 0,
        qRgb(255, 240, 207), qRgb(229, 151, 0), kPushedFace, kPushedFace, kBorder, kFace, kBorder},
    {"focused", QStyle::State_Enabled | QStyle::State_HasFocus, 0, qRgb(206, 231, 255), qRgb(105, 130, 238),
        qRgb(252, 252, 251), qRgb(236, 235, 230), kBorder, kFace, kBorder},
    {"default", QStyle::State_Enabled, QStyleOptionButton::DefaultButton, qRgb(206, 231, 255), qRgb(105, 130, 238),
        qRgb(252, 252, 251), qRgb(236, 235, 230), kBorder, kFace, kBorder},
    {"disabled", QStyle::State_None, 0, kDisabledFill, kDisabledFill, kDisabledFill, kDisabledFill, kDisabledBorder,
        qRgb(219, 219, 219), qRgb(223, 223, 223)},
    {"disabled and checked", QStyle::State_On, 0, kDisabledFill, kDisabledFill, kPushedFace, kPushedFace,
        kDisabledBorder, qRgb(219, 219, 219), qRgb(223, 223, 223)},
};

} // namespace

TEST(ThemedControlLook, PushButtonLayersShowTheStateColours)
{
    ThemedControlLook look(1);
    ASSERT_TRUE(look.isOn());
    for (const StateCase& c : kStates) {
        SCOPED_TRACE(c.name);
        const QImage b = paintButton(look, c.state, c.features);
        const int x = 10, w = b.width(), h = b.height();
        EXPECT_EQ(at(b, x, 0), rgb(kFace));              // step 1: the button-face frame
        EXPECT_EQ(at(b, x, 1), rgb(c.border));           // step 2
        EXPECT_EQ(at(b, x, h - 2), rgb(c.border));
        EXPECT_EQ(at(b, 1, h / 2), rgb(c.border));
        EXPECT_EQ(at(b, x, 2), rgb(c.ringTop));          // step 3: first and last row of the ring
        EXPECT_EQ(at(b, x, h - 3), rgb(c.ringBottom));
        EXPECT_EQ(at(b, x, 4), rgb(c.faceTop));          // step 4: first and last row of the face
        EXPECT_EQ(at(b, x, h - 5), rgb(c.faceBottom));
        for (const QPoint corner : {QPoint(1, 1), QPoint(w - 2, 1), QPoint(1, h - 2), QPoint(w - 2, h - 2)}) {
            EXPECT_EQ(at(b, corner.x(), corner.y()), rgb(c.corner)); // step 5: rounded corners
            const QPoint inside(corner.x() == 1 ? 2 : w - 3, corner.y() == 1 ? 2 : h - 3);
            EXPECT_EQ(at(b, inside.x(), inside.y()), rgb(c.besideCorner));
        }
    }
}

TEST(ThemedControlLook, GradientRunsLinearlyRowByRow)
{
    ThemedControlLook look(1);
    const QImage b = paintButton(look, QStyle::State_Enabled | QStyle::State_MouseOver, 0, {64, 104});
    // Ring rows 2..101: (255,240,207) to (229,151,0); the middle row lies half way.
    const QRgb mid = b.pixel(3, 2 + 99 / 2);
    EXPECT_NEAR(qRed(mid), 255 + (229 - 255) * 49.0 / 99, 1.0);
    EXPECT_NEAR(qGreen(mid), 240 + (151 - 240) * 49.0 / 99, 1.0);
    EXPECT_NEAR(qBlue(mid), 207 + (0 - 207) * 49.0 / 99, 1.0);
    for (int y = 3; y <= 101; ++y)
        EXPECT_LE(qGreen(b.pixel(3, y)), qGreen(b.pixel(3, y - 1))) << "row " << y;
}

TEST(ThemedControlLook, FocusedButtonHasDottedRectangleJustOutsideTheFace)
{
    ThemedControlLook look(1);
    auto blackOnRow = [](const QImage& b, int y) {
        int n = 0;
        for (int x = 4; x < b.width() - 4; ++x)
            n += b.pixel(x, y) == kBlack;
        return n;
    };
    const QImage focused = paintButton(look, QStyle::State_Enabled | QStyle::State_HasFocus);
    EXPECT_NEAR(blackOnRow(focused, 3), (64 - 8) / 2, 1);
    EXPECT_NEAR(blackOnRow(focused, 40 - 4), (64 - 8) / 2, 1);
    EXPECT_EQ(blackOnRow(focused, 4), 0);
    EXPECT_EQ(blackOnRow(focused, 2), 0);
    EXPECT_EQ(blackOnRow(paintButton(look, QStyle::State_Enabled), 3), 0);
}

TEST(ThemedControlLook, CaptionIsBlackOrGreyWhenDisabledOrIndeterminate)
{
    ThemedControlLook look(1);
    const QFont big = captionFont(24, true);
    auto caption = [&](QStyle::State state) {
        const QImage b = paint(look, QStyle::CE_PushButton, buttonOption(state, {64, 40}, QStringLiteral("HH")), big);
        return rgb(darkest(b, QRect(5, 5, 54, 30)));
    };
    EXPECT_EQ(caption(QStyle::State_Enabled), rgb(kBlack));
    EXPECT_EQ(caption(QStyle::State_None), rgb(qRgb(165, 162, 148)));
    EXPECT_EQ(caption(QStyle::State_Enabled | QStyle::State_NoChange), rgb(qRgb(165, 162, 148)));
}

TEST(ThemedControlLook, PressedCaptionMovesOnePixelRightAndDown)
{
    ThemedControlLook look(1);
    const QFont font = captionFont(16);
    const QImage normal = paint(look, QStyle::CE_PushButtonLabel,
        buttonOption(QStyle::State_Enabled, {64, 40}, QStringLiteral("Clear")), font, qRgb(255, 255, 255));
    const QImage pressed = paint(look, QStyle::CE_PushButtonLabel,
        buttonOption(QStyle::State_Enabled | QStyle::State_Sunken, {64, 40}, QStringLiteral("Clear")), font,
        qRgb(255, 255, 255));
    const QRect text = darkBounds(normal);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(darkBounds(pressed), text.translated(1, 1));
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x)
            ASSERT_EQ(normal.pixel(x, y), pressed.pixel(x + 1, y + 1)) << x << "," << y;
}

TEST(ThemedControlLook, LongCaptionsWrapInsideTheButtonLikeAMultiLineButton)
{
    ThemedControlLook look(1);
    const QFont font = captionFont(12);
    const QImage fast = paint(look, QStyle::CE_PushButtonLabel,
        buttonOption(QStyle::State_Enabled, {64, 40}, QStringLiteral("      Fast      Forward")), font, qRgb(255, 255, 255));
    EXPECT_EQ(textLines(fast), 2);
    const QRect fastText = darkBounds(fast);
    EXPECT_GE(fastText.left(), 2);
    EXPECT_LE(fastText.right(), 61);

    const QImage send = paint(look, QStyle::CE_PushButtonLabel,
        buttonOption(QStyle::State_Enabled, {168, 56}, QStringLiteral("Send Image To Machine")), font, qRgb(255, 255, 255));
    EXPECT_EQ(textLines(send), 1);
    const QRect sendText = darkBounds(send);
    EXPECT_NEAR((sendText.left() + sendText.right()) / 2.0, 83.5, 2.0);
    EXPECT_NEAR((sendText.top() + sendText.bottom()) / 2.0, 27.5, 3.0);
}

TEST(ThemedControlLook, SchemesAreColourSetsAndOtherNumbersSwitchTheLookOff)
{
    ThemedControlLook one(1), two(2), three(3), off(0), alsoOff(4);
    EXPECT_FALSE(off.isOn());
    EXPECT_FALSE(alsoOff.isOn());
    EXPECT_TRUE(two.isOn());
    EXPECT_TRUE(three.isOn());

    const QImage themed = paintButton(one, QStyle::State_Enabled);
    const QImage plain = paintButton(off, QStyle::State_Enabled);
    EXPECT_NE(plain, themed);
    EXPECT_NE(at(plain, 10, 1), rgb(kBorder));

    for (const ThemedControlLook* look : {&two, &three}) {
        SCOPED_TRACE(look->scheme());
        const QImage b = paintButton(*look, QStyle::State_Enabled);
        EXPECT_NE(at(b, 10, 1), rgb(kBorder));
        EXPECT_NE(at(b, 10, 37), at(themed, 10, 37));
        EXPECT_EQ(at(b, 2, 2), at(b, 10, 1)); // same rounded shape in its own border colour
        EXPECT_EQ(at(b, 1, 1), rgb(kFace));
    }
}

TEST(ThemedControlLook, RealPushButtonsUseTheirStateAndPalette)
{
    ThemedControlLook look(1);
    QPushButton button(QStringLiteral("Start"));
    button.setStyle(&look);
    button.resize(96, 40);

    button.setEnabled(false);
    EXPECT_EQ(at(renderWidget(button), 10, 1), rgb(kDisabledBorder));

    button.setEnabled(true);
    button.setCheckable(true);
    button.setChecked(true);
    QImage b = renderWidget(button);
    EXPECT_EQ(at(b, 10, 1), rgb(kBorder));
    EXPECT_EQ(at(b, 10, 2), rgb(qRgb(214, 203, 189)));

    // A palette that sets its own button face is used for the frame and the corners.
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, QColor(200, 100, 50));
    button.setPalette(palette);
    b = renderWidget(button);
    EXPECT_EQ(at(b, 10, 0), rgb(qRgb(200, 100, 50)));
    EXPECT_EQ(at(b, 1, 1), rgb(qRgb(200, 100, 50)));
}

TEST(ThemedControlLook, IndicatorsUseTheBorderColourAndShowTheirMark)
{
    ThemedControlLook look(1), off(0);
    auto indicator = [](const QStyle& style, QStyle::PrimitiveElement element, QStyle::State state) {
        QStyleOptionButton o = buttonOption(state, {13, 13});
        QImage image(13, 13, QImage::Format_RGB32);
        image.fill(kBackdrop);
        QPainter p(&image);
        style.drawPrimitive(element, &o, &p);
        return image;
    };
    for (auto element : {QStyle::PE_IndicatorRadioButton, QStyle::PE_IndicatorCheckBox}) {
        SCOPED_TRACE(element);
        const QImage on = indicator(look, element, QStyle::State_Enabled | QStyle::State_On);
        const QImage offState = indicator(look, element, QStyle::State_Enabled | QStyle::State_Off);
        EXPECT_EQ(at(offState, 0, 6), rgb(kBorder));         // left edge of the outline
        EXPECT_EQ(at(offState, 0, 0), rgb(kBackdrop));       // corners stay round
        EXPECT_EQ(at(offState, 6, 1), rgb(qRgb(255, 255, 255))); // the ring's first row
        EXPECT_EQ(at(on, 6, 6), rgb(kBorder));               // dot or check mark in the middle
        EXPECT_NE(at(offState, 6, 6), rgb(kBorder));
        const QImage hover = indicator(look, element, QStyle::State_Enabled | QStyle::State_MouseOver);
        EXPECT_EQ(at(hover, 6, 1), rgb(qRgb(255, 240, 207)));
        EXPECT_FALSE(contains(indicator(off, element, QStyle::State_Enabled | QStyle::State_On), kBorder));
    }
}

TEST(ThemedControlLook, SliderShowsATickBelowForEveryStep)
{
    ThemedControlLook look(1);
    QSlider slider(Qt::Horizontal);
    slider.setStyle(&look);
    slider.resize(752, 40);
    slider.setRange(1, 100);
    slider.setTickPosition(QSlider::TicksBelow);
    slider.setTickInterval(1);
    slider.setValue(40);
    const QImage image = renderWidget(slider);

    QStyleOptionSlider o;
    o.initFrom(&slider);
    o.orientation = Qt::Horizontal;
    o.minimum = 1;
    o.maximum = 100;
    o.sliderPosition = o.sliderValue = 40;
    o.tickPosition = QSlider::TicksBelow;
    o.tickInterval = 1;
    o.subControls = QStyle::SC_All;
    const QRect handle = look.subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, &slider);
    const QRect groove = look.subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderGroove, &slider);
    EXPECT_EQ(at(image, handle.center().x(), handle.top()), rgb(kBorder)); // the handle is a small button
    EXPECT_EQ(at(image, handle.center().x(), handle.top() + 1), rgb(qRgb(255, 255, 255)));

    int most = 0;
    for (int y = groove.bottom() + 1; y < image.height(); ++y) {
        int ticks = 0;
        for (int x = 0; x < image.width(); ++x)
            ticks += image.pixel(x, y) == kBorder && (x == 0 || image.pixel(x - 1, y) != kBorder);
        most = std::max(most, ticks);
    }
    EXPECT_EQ(most, 100);
}

TEST(ThemedControlLook, FramesOfGroupBoxesEditsAndListsUseTheBorderColour)
{
    ThemedControlLook look(1);
    QGroupBox box(QStringLiteral("Movement"));
    box.setStyle(&look);
    box.resize(232, 112);
    const QImage boxImage = renderWidget(box);
    const int top = box.fontMetrics().height() / 2;
    EXPECT_EQ(at(boxImage, 200, top), rgb(kBorder));
    EXPECT_EQ(at(boxImage, 0, 60), rgb(kBorder));
    EXPECT_EQ(at(boxImage, 231, 111), at(boxImage, 120, 60)); // rounded corner: the background shows
    EXPECT_EQ(at(boxImage, 230, 110), rgb(kBorder));
    EXPECT_NE(at(boxImage, 9, top), rgb(kBorder)); // the line breaks for the caption

    QLineEdit edit(QStringLiteral("000"));
    edit.setStyle(&look);
    edit.resize(72, 24);
    EXPECT_EQ(at(renderWidget(edit), 10, 0), rgb(kBorder));

    QComboBox combo;
    combo.setStyle(&look);
    combo.addItem(QStringLiteral("English"));
    combo.resize(120, 20);
    const QImage comboImage = renderWidget(combo);
    EXPECT_EQ(at(comboImage, 10, 1), rgb(kBorder));
    EXPECT_EQ(at(comboImage, 10, 2), rgb(qRgb(255, 255, 255)));
}

TEST(ThemedControlLook, ProgressCaptionStaysDarkOverTheChunk)
{
    ThemedControlLook look(1);
    QProgressBar bar;
    bar.setStyle(&look);
    bar.resize(528, 14);
    bar.setRange(0, 100);
    bar.setValue(100); // the chunk lies under the whole caption
    bar.setFormat(QStringLiteral("WWWWWWWWWW"));
    const QImage image = renderWidget(bar);
    int darkest = 255;
    for (int x = 200; x < 328; ++x)
        for (int y = 2; y < 12; ++y)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    EXPECT_LT(darkest, 80) << "the caption is drawn dark, readable on the light chunk";
}
