// One whole engraving through Wine's serial ports: the Windows build's
// channel (the Win32 communications calls) finds kovra-sim, a Unix program
// on a pseudo-terminal linked into the Wine prefix as COM9, by its own scan,
// sends the picture and runs the job; what the machine burned is the picture.
#include "app/engrave_command.h"

#include "tests/support/scoped_env.h"
#include "tests/support/wine_host.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

QString writePicture(const QTemporaryDir& dir)
{
    QImage img(600, 600, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QRadialGradient g(QPointF(300, 300), 280);
    g.setColorAt(0, Qt::black);
    g.setColorAt(1, Qt::white);
    p.fillRect(20, 20, 560, 560, g);
    p.end();
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    img.save(path);
    return path;
}

TEST(WineEngraving, TheMachineOnAWineComPortBurnsThePictureDotForDot)
{
    QTemporaryDir dir;
    const ScopedEnv config("KOVRA_CONFIG_DIR", dir.filePath(QStringLiteral("config")).toUtf8());
    const QString burned = dir.filePath(QStringLiteral("burned.png"));
    WineMachine machine(9, {QStringLiteral("--fast"), QStringLiteral("--exit-after-carve"), QStringLiteral("--burned"),
                            UnixPathOf(burned)});
    const QString why = machine.start();
    if (why == QLatin1String("not running under Wine"))
        GTEST_SKIP() << why.toStdString();
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();

    app::EngraveOptions options;
    options.picture = writePicture(dir);
    options.connectTimeoutS = 30;
    options.jobTimeoutS = 60;
    QString log, errors;
    QTextStream out(&log), err(&errors);
    QByteArray buffer;
    const int code = app::RunEngraveCommand(options, out, err, &buffer);
    out.flush();
    err.flush();
    ASSERT_EQ(code, 0) << errors.toStdString() << log.toStdString();
    EXPECT_TRUE(log.contains(QLatin1String("CONNECTED !"))) << log.toStdString();
    const QImage picture = WineMachine::waitForPicture(burned, 30000);
    ASSERT_EQ(picture.size(), QSize(512, 512)) << "the machine writes what it burned when it has finished";
    ASSERT_EQ(buffer.size(), 32768);
    int wrong = 0;
    int dark = 0;
    for (int row = 0; row < 512; ++row)
        for (int column = 0; column < 512; ++column) {
            const bool set = (quint8(buffer[row * 64 + column / 8]) & (0x80 >> (column % 8))) != 0;
            const bool burnedDot = qGray(picture.pixel(column, row)) < 128;
            wrong += set != burnedDot;
            dark += set;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(dark, 1000) << "something was engraved";
}

} // namespace
} // namespace kovra::test
