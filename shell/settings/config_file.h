#pragma once
// The configuration file: a sections-and-keys text file that behaves like the
// platform's private-profile functions. Section and key names compare without
// regard to case, every other line of the file is left exactly as it was, the
// file is created by the first write, and a value is read up to 10,240 bytes.
// The file is UTF-8 on disk. A write that cannot be done (read-only file,
// missing folder, no permission) returns false and changes nothing; the
// program's own ConfigFile makes a missing folder first.

#include <QString>
#include <QStringView>

#include <utility>

namespace kovra::shell {

// Reads section/key of file; defaultText when the file, section or key is
// missing. Leading characters with codes up to 32 are skipped in file, section
// and key; when one of them is then empty the result is empty, not the default.
QString ReadProfileText(const QString& file, const QString& section, const QString& key,
                        const QString& defaultText);
// Writes key=value into section of file, adding the section or key when
// missing. false when nothing was written (also for names or values that would
// break the file's line structure: a line break anywhere, ']' in a section
// name, '=' in a key name).
bool WriteProfileText(const QString& file, const QString& section, const QString& key,
                      const QString& value);

// One configuration file by its local path (see platform/paths.h for where
// "C:\Kovra\Config.ini" lives).
class ConfigFile {
public:
    static constexpr int MaxValueBytes = 10240;

    explicit ConfigFile(QString file) : m_file(std::move(file)) {}

    QString Read(const QString& section, const QString& key, const QString& defaultText) const
    {
        return ReadProfileText(m_file, section, key, defaultText);
    }
    // Makes the file's folder when it is missing (a command-line run can be
    // the first to store anything), then writes.
    bool Write(const QString& section, const QString& key, const QString& value);
    const QString& file() const { return m_file; }

private:
    QString m_file;
};

// The usual decimal rules for stored numbers. Integer: leading white space, an
// optional sign, then leading digits; 0 when there are none (clamped to int).
int DecimalTextToInt(QStringView text);
// Number: leading white space, an optional sign, digits with an optional
// fraction and exponent; 0 when the text does not start with a number.
double DecimalTextToNumber(QStringView text);

} // namespace kovra::shell
