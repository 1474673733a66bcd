#include "sim/firmware_model.h"

#include <algorithm>

namespace kovra::sim {

namespace {

QString hexBytes(const std::uint8_t* bytes, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(' '));
}

QString hexByte(std::uint8_t b)
{
    return hexBytes(&b, 1);
}

int decimalPair(std::uint8_t p1, std::uint8_t p2)
{
    return p1 * 100 + p2;
}

// The trailer a command waits for, or 0 when it takes none.
std::uint8_t trailerFor(std::uint8_t code, std::uint8_t p1)
{
    if (code == 3 && p1 >= 1 && p1 <= 4)
        return p1;
    if (code == 7 && p1 == 1)
        return 0x55;
    if (code == 7 && p1 == 2)
        return 0xAA;
    return 0;
}

bool dotIsSet(const QByteArray& picture, int row, int column)
{
    const auto byte = static_cast<std::uint8_t>(picture[row * FirmwareModel::RowBytes + column / 8]);
    return (byte & (0x80 >> (column % 8))) != 0;
}

} // namespace

FirmwareModel::FirmwareModel(FirmwareOptions options)
    : m_options(options)
    , m_noise(options.noiseSeed)
    , m_picture(PictureBytes, '\0')
    , m_burned(PictureBytes, '\0')
    , m_burnTime(std::clamp(options.burnTime, 0, 9999))
{
    m_options.firmwareVersion = std::clamp(m_options.firmwareVersion, 0, 254);
    m_options.noiseRate = std::clamp(m_options.noiseRate, 0.0, 1.0);
    m_options.dotsPerStep = std::max(1, m_options.dotsPerStep);
    m_unplugAt = m_options.unplugAfterBytes;
}

QString FirmwareModel::commandName(std::uint8_t code, std::uint8_t p1)
{
    switch (code) {
    case 1:
        if (p1 == 1)
            return QStringLiteral("StartCarve");
        if (p1 == 2)
            return QStringLiteral("PauseCarve");
        if (p1 == 3)
            return QStringLiteral("Recarve");
        break;
    case 2:
        if (p1 == 1)
            return QStringLiteral("LocateCenter");
        if (p1 == 2)
            return QStringLiteral("LocateBox");
        break;
    case 3: {
        static const char* const jogs[] = {"JogUp", "JogDown", "JogLeft", "JogRight"};
        if (p1 >= 1 && p1 <= 4)
            return QString::fromLatin1(jogs[p1 - 1]);
        break;
    }
    case 4:
        if (p1 == 1)
            return QStringLiteral("RestartMachine");
        break;
    case 5:
        return QStringLiteral("SetBurnTime");
    case 6:
        return QStringLiteral("BeginImage");
    case 7:
        if (p1 == 1)
            return QStringLiteral("FastBackward");
        if (p1 == 2)
            return QStringLiteral("FastForward");
        break;
    case 8:
        if (p1 == 1)
            return QStringLiteral("ReverseMotorX");
        if (p1 == 2)
            return QStringLiteral("ReverseMotorY");
        break;
    case 9:
        return QStringLiteral("Handshake");
    case 10:
        return QStringLiteral("LocateX");
    case 11:
        return QStringLiteral("LocateY");
    default:
        break;
    }
    return QStringLiteral("unknown command");
}

void FirmwareModel::setDotsPerStep(int positions)
{
    m_options.dotsPerStep = std::max(1, positions);
}

void FirmwareModel::setNoise(double rate, quint32 seed)
{
    m_options.noiseRate = std::clamp(rate, 0.0, 1.0);
    m_options.noiseSeed = seed;
    m_noise.seed(seed);
}

void FirmwareModel::setUnplugAfter(qint64 bytesFromNow)
{
    m_unplugAt = bytesFromNow < 0 ? -1 : m_received + bytesFromNow;
}

void FirmwareModel::receive(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (m_unplugged)
            return;
        receiveByte(static_cast<std::uint8_t>(c));
    }
}

void FirmwareModel::receiveByte(std::uint8_t b)
{
    ++m_received;
    if (m_input == Input::Picture) {
        m_picture[m_pictureFill++] = static_cast<char>(b);
        if (m_pictureFill == PictureBytes)
            pictureComplete();
    } else if (b == 0xFF) {
        if (m_input == Input::Frame && m_frameFill > 1)
            m_transcript << QStringLiteral("%1  incomplete frame dropped").arg(hexBytes(m_frame, m_frameFill));
        else if (m_input == Input::Trailer)
            m_transcript << QStringLiteral("trailer missing for %1, command dropped")
                                .arg(commandName(m_frame[1], m_frame[2]));
        m_input = Input::Frame;
        m_frame[0] = b;
        m_frameFill = 1;
    } else if (m_input == Input::Frame) {
        m_frame[m_frameFill++] = b;
        if (m_frameFill == 4)
            frameComplete();
    } else if (m_input == Input::Trailer) {
        trailerArrived(b);
    } else {
        m_transcript << QStringLiteral("%1  stray byte").arg(hexByte(b));
    }

    if (m_unplugAt >= 0 && m_received >= m_unplugAt)
        unplugNow();
}

void FirmwareModel::frameComplete()
{
    const std::uint8_t code = m_frame[1];
    const std::uint8_t p1 = m_frame[2];
    const std::uint8_t p2 = m_frame[3];
    QString line = hexBytes(m_frame, 4) + QStringLiteral("  ") + commandName(code, p1);
    if (code == 5)
        line += QStringLiteral(" %1").arg(p1);
    else if (code == 10 || code == 11)
        line += QStringLiteral(" %1").arg(decimalPair(p1, p2));
    m_transcript << line;

    m_expectedTrailer = trailerFor(code, p1);
    if (m_expectedTrailer != 0) {
        m_input = Input::Trailer;
        return;
    }
    m_input = Input::Idle;
    execute(code, p1, p2);
}

void FirmwareModel::trailerArrived(std::uint8_t b)
{
    m_input = Input::Idle;
    const QString name = commandName(m_frame[1], m_frame[2]);
    if (b != m_expectedTrailer) {
        m_transcript << QStringLiteral("%1  wrong trailer for %2 (expected %3), command dropped")
                            .arg(hexByte(b), name, hexByte(m_expectedTrailer));
        return;
    }
    m_transcript << QStringLiteral("%1  trailer of %2").arg(hexByte(b), name);
    execute(m_frame[1], m_frame[2], m_frame[3]);
}

void FirmwareModel::execute(std::uint8_t code, std::uint8_t p1, std::uint8_t p2)
{
    // A silent device records what it hears and does nothing.
    if (m_options.silent)
        return;
    switch (code) {
    case 1:
        carveCommand(p1);
        break;
    case 2:
        if ((p1 == 1 || p1 == 2) && motorCanMove()) {
            m_boxMode = p1 == 2;
            m_headRow = Rows / 2;
            m_headColumn = Columns / 2;
            reportPosition();
        }
        break;
    case 3:
        jog(p1);
        break;
    case 4:
        if (p1 == 1) {
            m_state = CarveState::Idle;
            m_carveRow = 0;
            m_carveColumn = 0;
            m_boxMode = false;
        }
        break;
    case 5:
        m_burnTime = p1;
        break;
    case 6:
        beginPicture();
        break;
    case 7:
        if (p1 == 1)
            skipRows(-15);
        else if (p1 == 2)
            skipRows(15);
        break;
    case 8:
        if (p1 == 1)
            m_reverseX = !m_reverseX;
        else if (p1 == 2)
            m_reverseY = !m_reverseY;
        break;
    case 9:
        answerHandshake();
        break;
    case 10:
        if (motorCanMove()) {
            m_headColumn = std::clamp(decimalPair(p1, p2), 0, Columns - 1);
            reportPosition();
        }
        break;
    case 11:
        if (motorCanMove()) {
            m_headRow = std::clamp(decimalPair(p1, p2), 0, Rows - 1);
            reportPosition();
        }
        break;
    default:
        break;
    }
}

void FirmwareModel::carveCommand(std::uint8_t p1)
{
    if (p1 == 1) {
        startCarve();
    } else if (p1 == 2) {
        if (m_state == CarveState::Carving)
            m_state = CarveState::Paused;
    } else if (p1 == 3 && motorCanMove()) {
        m_carveRow = 0;
        m_carveColumn = 0;
        m_state = CarveState::Carving;
    }
}

void FirmwareModel::beginPicture()
{
    // Erase first, then ask for the new picture.
    m_picture.fill('\0');
    m_burned.fill('\0');
    m_burnedCount = 0;
    m_state = CarveState::Idle;
    m_carveRow = 0;
    m_carveColumn = 0;
    m_pictureFill = 0;
    m_input = Input::Picture;
    sendReplyRaw(ImageRequest, 0, 0);
}

void FirmwareModel::answerHandshake()
{
    sendReplyRaw(HandshakeAck, 0, 0);
    sendReplyRaw(FirmwareVersion, static_cast<std::uint8_t>(m_options.firmwareVersion), 0);
    sendReplyRaw(MotorStatus, m_options.motorPowerOff ? 0 : 1, 0);
    sendReply(BurnTimeReport, m_burnTime);
}

void FirmwareModel::pictureComplete()
{
    m_transcript << QStringLiteral("picture %1 bytes").arg(PictureBytes);
    m_pictureFill = -1;
    m_input = Input::Idle;
    ++m_picturesReceived;
}

bool FirmwareModel::motorCanMove()
{
    if (!m_options.motorPowerOff)
        return true;
    sendReplyRaw(MotorStatus, 0, 0);
    return false;
}

void FirmwareModel::startCarve()
{
    if (m_state == CarveState::Carving || !motorCanMove())
        return;
    if (m_state == CarveState::Finished || m_carveRow >= Rows) {
        m_carveRow = 0;
        m_carveColumn = 0;
    }
    m_state = CarveState::Carving;
}

void FirmwareModel::jog(int direction)
{
    if (!motorCanMove())
        return;
    // A reversed motor runs the other way, so the firmware turns the step around.
    const int rowSign = m_reverseY ? -1 : 1;
    const int columnSign = m_reverseX ? -1 : 1;
    switch (direction) {
    case 1:
        m_headRow -= rowSign;
        break;
    case 2:
        m_headRow += rowSign;
        break;
    case 3:
        m_headColumn -= columnSign;
        break;
    case 4:
        m_headColumn += columnSign;
        break;
    default:
        return;
    }
    m_headRow = std::clamp(m_headRow, 0, Rows - 1);
    m_headColumn = std::clamp(m_headColumn, 0, Columns - 1);
    reportPosition();
}

void FirmwareModel::skipRows(int delta)
{
    m_carveRow = std::clamp(m_carveRow + delta, 0, Rows - 1);
    m_carveColumn = 0;
    if (m_state == CarveState::Finished)
        m_state = CarveState::Paused;
    sendReply(PositionX, m_carveRow);
}

int FirmwareModel::step()
{
    return step(m_options.dotsPerStep);
}

int FirmwareModel::step(int positions)
{
    if (m_state != CarveState::Carving || m_unplugged)
        return 0;
    int burned = 0;
    for (int visited = 0; visited < positions && m_carveRow < Rows; ++visited) {
        const int row = m_carveRow;
        const int column = m_carveColumn;
        if (++m_carveColumn == Columns) {
            m_carveColumn = 0;
            ++m_carveRow;
        }
        if (!dotIsSet(m_picture, row, column))
            continue;
        const int index = row * RowBytes + column / 8;
        const auto mask = static_cast<char>(0x80 >> (column % 8));
        if ((m_burned[index] & mask) == 0) {
            m_burned[index] = static_cast<char>(m_burned[index] | mask);
            ++m_burnedCount;
        }
        m_headRow = row;
        m_headColumn = column;
        // The program draws a dot at (Y - 1, X) on each Y, so X goes first.
        sendReply(PositionX, row);
        sendReply(PositionY, column + 1);
        ++burned;
    }
    if (m_carveRow >= Rows) {
        m_state = CarveState::Finished;
        ++m_finishedCount;
        sendReplyRaw(CarveFinished, 0, 0);
    }
    return burned;
}

void FirmwareModel::reportPosition()
{
    sendReply(PositionX, m_headRow);
    sendReply(PositionY, m_headColumn + 1);
}

void FirmwareModel::sendReply(std::uint8_t code, int value)
{
    value = std::clamp(value, 0, 254 * 100 + 99);
    sendReplyRaw(code, static_cast<std::uint8_t>(value / 100), static_cast<std::uint8_t>(value % 100));
}

void FirmwareModel::sendReplyRaw(std::uint8_t code, std::uint8_t p1, std::uint8_t p2)
{
    if (m_options.silent || m_unplugged)
        return;
    // Noise only between frames: the 0xFF of the next frame puts the program back in step.
    if (m_options.noiseRate > 0.0) {
        std::uniform_real_distribution<double> chance(0.0, 1.0);
        if (chance(m_noise) < m_options.noiseRate) {
            std::uniform_int_distribution<int> count(1, 4);
            std::uniform_int_distribution<int> value(0x00, 0xFE);
            for (int n = count(m_noise); n > 0; --n)
                m_out.append(static_cast<char>(value(m_noise)));
        }
    }
    m_out.append(static_cast<char>(0xFF));
    m_out.append(static_cast<char>(code));
    m_out.append(static_cast<char>(p1));
    m_out.append(static_cast<char>(p2));
}

QByteArray FirmwareModel::takeReplies()
{
    QByteArray out;
    out.swap(m_out);
    return out;
}

void FirmwareModel::unplugNow()
{
    m_transcript << QStringLiteral("unplugged after %1 bytes").arg(m_received);
    m_unplugged = true;
    m_unplugAt = -1;
    m_out.clear();
}

void FirmwareModel::lineReset()
{
    if (m_input == Input::Picture)
        m_transcript << QStringLiteral("picture broken off after %1 bytes").arg(m_pictureFill);
    m_input = Input::Idle;
    m_frameFill = 0;
    m_pictureFill = -1;
    m_unplugged = false;
    m_out.clear();
    // A machine without its line stops the job where it was.
    if (m_state == CarveState::Carving)
        m_state = CarveState::Paused;
}

QImage FirmwareModel::burnedPicture() const
{
    QImage image(Columns, Rows, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    // Format_Mono keeps bit 7 leftmost, the picture's own order.
    for (int row = 0; row < Rows; ++row)
        std::copy_n(m_burned.constData() + row * RowBytes, RowBytes, image.scanLine(row));
    return image;
}

} // namespace kovra::sim
