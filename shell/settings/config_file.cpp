#include "shell/settings/config_file.h"

#include "platform/paths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <climits>
#include <cmath>
#include <optional>

namespace kovra::shell {

namespace {

// A configuration file is a few hundred bytes; anything past this is not ours
// and is neither parsed nor rewritten.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

const QByteArray Utf8Bom("\xEF\xBB\xBF");

// Leading characters with codes up to 32 are skipped, as the profile
// functions do with their name arguments; trailing ones do not count either.
QString nameArgument(const QString& text)
{
    qsizetype begin = 0;
    while (begin < text.size() && text.at(begin).unicode() <= 32)
        ++begin;
    qsizetype end = text.size();
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QByteArray trimmedBytes(const QByteArray& bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && quint8(bytes.at(begin)) <= 32)
        ++begin;
    while (end > begin && quint8(bytes.at(end - 1)) <= 32)
        --end;
    return bytes.mid(begin, end - begin);
}

bool sameName(const QByteArray& stored, const QString& wanted)
{
    return QString::fromUtf8(stored).compare(wanted, Qt::CaseInsensitive) == 0;
}

// One line of the file: its text without the line end, and the line end.
struct Line {
    QByteArray text;
    QByteArray end;
};

struct Document {
    QByteArray bom;
    QList<Line> lines;
    QByteArray newline;
};

Document parse(QByteArray bytes)
{
    Document doc;
    if (bytes.startsWith(Utf8Bom)) {
        doc.bom = Utf8Bom;
        bytes.remove(0, Utf8Bom.size());
    }
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', pos);
        Line line;
        if (lf < 0) {
            line.text = bytes.mid(pos);
            pos = bytes.size();
        } else {
            line.text = bytes.mid(pos, lf - pos);
            line.end = "\n";
            if (line.text.endsWith('\r')) {
                line.text.chop(1);
                line.end = "\r\n";
            }
            pos = lf + 1;
        }
        if (doc.newline.isEmpty() && !line.end.isEmpty())
            doc.newline = line.end;
        doc.lines.append(line);
    }
    if (doc.newline.isEmpty())
        doc.newline = platform::TextFileLineEnd();
    return doc;
}

QByteArray serialise(const Document& doc)
{
    QByteArray out = doc.bom;
    for (const Line& line : doc.lines)
        out += line.text + line.end;
    return out;
}

// The section name when the line is a section header.
std::optional<QByteArray> sectionName(const QByteArray& line)
{
    const QByteArray text = trimmedBytes(line);
    if (!text.startsWith('['))
        return std::nullopt;
    qsizetype close = text.indexOf(']');
    if (close < 0)
        close = text.size();
    return trimmedBytes(text.mid(1, close - 1));
}

// The key name when the line is a key line (comments and lines without '='
// hold no key).
std::optional<QByteArray> keyName(const QByteArray& line)
{
    const QByteArray text = trimmedBytes(line);
    if (text.startsWith(';') || text.startsWith('['))
        return std::nullopt;
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return trimmedBytes(text.left(eq));
}

QByteArray lineValue(const QByteArray& line)
{
    QByteArray value = trimmedBytes(line.mid(line.indexOf('=') + 1));
    // A value in matching quotes is read without them.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// Cuts to the value limit without splitting a UTF-8 sequence.
QByteArray limitValue(QByteArray value)
{
    if (value.size() <= ConfigFile::MaxValueBytes)
        return value;
    qsizetype cut = ConfigFile::MaxValueBytes;
    while (cut > 0 && (quint8(value.at(cut)) & 0xC0) == 0x80)
        --cut;
    value.truncate(cut);
    return value;
}

// Index of the first header line of section, or -1.
qsizetype findSection(const Document& doc, const QString& section)
{
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const auto name = sectionName(doc.lines.at(i).text);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

// Index one past the last line of the section that starts at header.
qsizetype sectionEnd(const Document& doc, qsizetype header)
{
    qsizetype i = header + 1;
    while (i < doc.lines.size() && !sectionName(doc.lines.at(i).text))
        ++i;
    return i;
}

qsizetype findKey(const Document& doc, qsizetype header, const QString& key)
{
    const qsizetype end = sectionEnd(doc, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const auto name = keyName(doc.lines.at(i).text);
        if (name && sameName(*name, key))
            return i;
    }
    return -1;
}

enum class Load { Missing, Loaded, Failed };

Load loadFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.exists())
        return Load::Missing;
    if (file.size() > MaxFileBytes || !file.open(QIODevice::ReadOnly))
        return Load::Failed;
    // In small pieces: a read of the limit at once allocates all of it for
    // the few hundred bytes there are.
    bytes.clear();
    while (bytes.size() <= MaxFileBytes) {
        const QByteArray piece = file.read(4096);
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (bytes.size() > MaxFileBytes || file.error() != QFileDevice::NoError)
        return Load::Failed;
    return Load::Loaded;
}

bool breaksLines(const QString& text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

} // namespace

QString ReadProfileText(const QString& file, const QString& section, const QString& key,
                        const QString& defaultText)
{
    const QString path = nameArgument(file);
    const QString sectionArg = nameArgument(section);
    const QString keyArg = nameArgument(key);
    if (path.isEmpty() || sectionArg.isEmpty() || keyArg.isEmpty())
        return QString();

    QByteArray bytes;
    if (loadFile(path, bytes) != Load::Loaded)
        return defaultText;
    const Document doc = parse(bytes);
    const qsizetype header = findSection(doc, sectionArg);
    if (header < 0)
        return defaultText;
    const qsizetype line = findKey(doc, header, keyArg);
    if (line < 0)
        return defaultText;
    return QString::fromUtf8(limitValue(lineValue(doc.lines.at(line).text)));
}

bool WriteProfileText(const QString& file, const QString& section, const QString& key,
                      const QString& value)
{
    const QString path = nameArgument(file);
    const QString sectionArg = nameArgument(section);
    const QString keyArg = nameArgument(key);
    if (path.isEmpty() || sectionArg.isEmpty() || keyArg.isEmpty())
        return false;
    if (breaksLines(sectionArg) || sectionArg.contains(u']') || breaksLines(keyArg) || keyArg.contains(u'=')
        || keyArg.startsWith(u';') || keyArg.startsWith(u'[') || breaksLines(value))
        return false;

    QByteArray bytes;
    const Load load = loadFile(path, bytes);
    if (load == Load::Failed)
        return false;
    // A file without write permission for its owner is read-only, even for an
    // administrator (the platform's read-only attribute behaves that way).
    if (load == Load::Loaded && !(QFile::permissions(path) & QFileDevice::WriteOwner))
        return false;

    Document doc = parse(bytes);
    const QByteArray valueBytes = value.toUtf8();
    const qsizetype header = findSection(doc, sectionArg);
    if (header < 0) {
        if (!doc.lines.isEmpty() && doc.lines.last().end.isEmpty())
            doc.lines.last().end = doc.newline;
        doc.lines.append({"[" + sectionArg.toUtf8() + "]", doc.newline});
        doc.lines.append({keyArg.toUtf8() + "=" + valueBytes, doc.newline});
    } else if (const qsizetype line = findKey(doc, header, keyArg); line >= 0) {
        // Keep the line's own spelling of the key and everything up to '='.
        QByteArray& text = doc.lines[line].text;
        text = text.left(text.indexOf('=') + 1) + valueBytes;
    } else {
        // After the last non-blank line of the section, so blank lines that
        // separate it from the next section stay where they are.
        qsizetype at = sectionEnd(doc, header);
        while (at > header + 1 && trimmedBytes(doc.lines.at(at - 1).text).isEmpty())
            --at;
        if (doc.lines.at(at - 1).end.isEmpty())
            doc.lines[at - 1].end = doc.newline;
        doc.lines.insert(at, {keyArg.toUtf8() + "=" + valueBytes, doc.newline});
    }

    QSaveFile out(path);
    // Where no temporary file can be made next to it, a writable file is
    // written in place.
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = serialise(doc);
    if (out.write(data) != data.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool ConfigFile::Write(const QString& section, const QString& key, const QString& value)
{
    const QString folder = QFileInfo(m_file).path();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return false;
    return WriteProfileText(m_file, section, key, value);
}

int DecimalTextToInt(QStringView text)
{
    qsizetype i = 0;
    auto isSpace = [](QChar c) { return c == u' ' || (c.unicode() >= 9 && c.unicode() <= 13); };
    while (i < text.size() && isSpace(text.at(i)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    long long value = 0;
    while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9') {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
        ++i;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

double DecimalTextToNumber(QStringView text)
{
    qsizetype i = 0;
    auto isSpace = [](QChar c) { return c == u' ' || (c.unicode() >= 9 && c.unicode() <= 13); };
    auto isDigit = [&](qsizetype at) { return at < text.size() && text.at(at) >= u'0' && text.at(at) <= u'9'; };
    while (i < text.size() && isSpace(text.at(i)))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    qsizetype digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text.at(i) == u'.') {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    if (i < text.size() && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype e = i + 1;
        if (e < text.size() && (text.at(e) == u'+' || text.at(e) == u'-'))
            ++e;
        if (isDigit(e)) {
            while (isDigit(e))
                ++e;
            end = e;
        }
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toString().toDouble(&ok);
    if (!ok) // out of double range: keep the sign, the size is lost anyway
        return text.at(start) == u'-' ? -HUGE_VAL : HUGE_VAL;
    return value;
}

} // namespace kovra::shell
