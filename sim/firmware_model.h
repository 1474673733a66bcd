#pragma once
// The engraver's firmware as a pure model: command bytes go in, reply bytes come
// out, nothing touches a device or a clock. Engraving advances only when step()
// is called, so tests run a whole job fast and deterministically and the pty
// front end decides the pace.
//
// Wire rules the model plays by:
//  - commands are FF code p1 p2; a 0xFF always starts a new frame;
//  - jogs (3/d) are followed by the trailer d, FastBackward (7/1) by 0x55 and
//    FastForward (7/2) by 0xAA; the command acts once its trailer has arrived,
//    whichever write it came in;
//  - after BeginImage the machine answers ImageRequest and takes the next 32768
//    bytes raw as the picture (0xFF included);
//  - replies are FF code p1 p2, numbers as p1*100 + p2.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QStringList>
#include <cstdint>
#include <random>

namespace kovra::sim {

struct FirmwareOptions {
    int firmwareVersion = 1;       // reported in FirmwareVersion (0..254)
    int burnTime = 50;             // reported in BurnTimeReport until SetBurnTime changes it
    bool motorPowerOff = false;    // MotorStatus 0; the head refuses to move
    bool silent = false;           // never answers anything (frames are still recorded)
    qint64 unplugAfterBytes = -1;  // the cable is pulled when this many bytes arrived; <0 never
    double noiseRate = 0.0;        // chance (0..1) of a burst of noise bytes before each reply
    quint32 noiseSeed = 1;
    int dotsPerStep = 8192;        // raster positions visited by one step()
};

enum class CarveState { Idle, Carving, Paused, Finished };

class FirmwareModel {
public:
    static constexpr int Columns = 512;
    static constexpr int Rows = 512;
    static constexpr int RowBytes = Columns / 8;
    static constexpr int PictureBytes = RowBytes * Rows; // 32768

    // Reply codes the machine sends.
    enum Reply : std::uint8_t {
        HandshakeAck = 1,
        FirmwareVersion = 2,
        PositionY = 3,
        PositionX = 4,
        ImageRequest = 5,
        CarveFinished = 6,
        MotorStatus = 7,
        ValueReport = 8,
        BurnTimeReport = 10,
    };

    explicit FirmwareModel(FirmwareOptions options = {});

    // Bytes from the program, in arrival order; any split is fine.
    void receive(QByteArrayView bytes);
    // Engraves up to dotsPerStep raster positions; returns the dots burned.
    int step();
    int step(int positions);

    // Reply bytes produced so far and not yet taken.
    QByteArray takeReplies();
    qsizetype pendingReplyBytes() const { return m_out.size(); }

    // The line dropped (pulled cable, new plug): partial frames, a waiting trailer
    // and an unfinished picture are forgotten. An unplug fault that fired is spent;
    // one still waiting keeps counting.
    void lineReset();
    bool isUnplugged() const { return m_unplugged; }
    void setUnplugAfter(qint64 bytesFromNow);

    const FirmwareOptions& options() const { return m_options; }
    void setDotsPerStep(int positions);
    // Faults switched while running (tests reach these through PtyMachine::withModel).
    void setSilent(bool silent) { m_options.silent = silent; }
    void setMotorPowerOff(bool off) { m_options.motorPowerOff = off; }
    void setNoise(double rate, quint32 seed);

    // Job and head state.
    CarveState carveState() const { return m_state; }
    bool isCarving() const { return m_state == CarveState::Carving; }
    int carveRow() const { return m_carveRow; }
    int carveColumn() const { return m_carveColumn; }
    int headRow() const { return m_headRow; }
    int headColumn() const { return m_headColumn; }
    int burnTime() const { return m_burnTime; }
    bool motorXReversed() const { return m_reverseX; }
    bool motorYReversed() const { return m_reverseY; }
    bool boxMode() const { return m_boxMode; }
    int carveFinishedCount() const { return m_finishedCount; }

    // The picture transfer.
    bool isReceivingPicture() const { return m_pictureFill >= 0; }
    qsizetype pictureBytesReceived() const { return m_pictureFill < 0 ? 0 : m_pictureFill; }
    int picturesReceived() const { return m_picturesReceived; }
    const QByteArray& storedPicture() const { return m_picture; }

    // Every dot burned since the last BeginImage, in the picture's layout.
    const QByteArray& burnedDots() const { return m_burned; }
    qint64 burnedDotCount() const { return m_burnedCount; }
    // The same as a 512 x 512 one-bit image: white paper, black burns.
    QImage burnedPicture() const;

    // One line per received frame, trailer, picture or stray byte.
    const QStringList& transcript() const { return m_transcript; }
    qint64 bytesReceived() const { return m_received; }

    static QString commandName(std::uint8_t code, std::uint8_t p1);

private:
    enum class Input { Idle, Frame, Trailer, Picture };

    void receiveByte(std::uint8_t b);
    void frameComplete();
    void trailerArrived(std::uint8_t b);
    void execute(std::uint8_t code, std::uint8_t p1, std::uint8_t p2);
    // Steps of execute: the carve commands, a new picture, the handshake.
    void carveCommand(std::uint8_t p1);
    void beginPicture();
    void answerHandshake();
    void pictureComplete();

    void sendReply(std::uint8_t code, int value);
    void sendReplyRaw(std::uint8_t code, std::uint8_t p1, std::uint8_t p2);
    void reportPosition();
    bool motorCanMove();

    void startCarve();
    void jog(int direction);
    void skipRows(int delta);
    void unplugNow();

    FirmwareOptions m_options;
    std::mt19937 m_noise;

    Input m_input = Input::Idle;
    std::uint8_t m_frame[4] = {};
    int m_frameFill = 0;
    std::uint8_t m_expectedTrailer = 0;
    qsizetype m_pictureFill = -1;

    QByteArray m_picture;
    QByteArray m_burned;
    qint64 m_burnedCount = 0;
    int m_picturesReceived = 0;

    CarveState m_state = CarveState::Idle;
    int m_carveRow = 0;
    int m_carveColumn = 0;
    int m_headRow = 0;
    int m_headColumn = 0;
    int m_burnTime = 50;
    bool m_reverseX = false;
    bool m_reverseY = false;
    bool m_boxMode = false;
    int m_finishedCount = 0;

    qint64 m_received = 0;
    qint64 m_unplugAt = -1;
    bool m_unplugged = false;

    QByteArray m_out;
    QStringList m_transcript;
};

} // namespace kovra::sim
