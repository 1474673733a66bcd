#include "app/command_line.h"

namespace kovra::app {

namespace {

const QString kHelp = QStringLiteral("help");

// The option a word names, without its dashes and any "=value"; empty for a word that is no option.
QString optionOf(const QString& word)
{
    if (word.size() < 2 || !word.startsWith(u'-') || word == QLatin1String("--"))
        return QString();
    const QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.section(u'=', 0, 0);
}

QString dashed(const QString& name) { return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name; }

} // namespace

CommandLine::CommandLine()
{
    // No option is a single letter to be run together with others, so
    // "-effect" is "--effect", as users of older tools type it.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(QCommandLineOption({QStringLiteral("h"), kHelp}, QStringLiteral("Show this help.")));
    m_flags << QStringLiteral("h") << kHelp;
}

void CommandLine::addFlag(const QString& name, const QString& description)
{
    m_parser.addOption(QCommandLineOption(name, description));
    m_flags << name;
    m_known << dashed(name);
}

void CommandLine::addValue(const QString& name, const QString& valueName, const QString& description,
                           const QString& takes)
{
    m_parser.addOption(QCommandLineOption(name, description, valueName));
    m_takes.insert(name, takes);
    m_known << dashed(name);
}

bool CommandLine::parse(const QStringList& args)
{
    m_args = args;
    m_error.clear();
    // The parser reads the program's name first.
    if (m_parser.parse(QStringList{QStringLiteral("kovra")} + args))
        return true;
    m_error = parseError();
    return false;
}

bool CommandLine::helpWanted() const { return m_parser.isSet(kHelp); }

QString CommandLine::parseError() const
{
    const QStringList unknown = m_parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        // Named as it was typed.
        QString typed = dashed(unknown.first());
        for (const QString& word : m_args)
            if (optionOf(word) == unknown.first())
                typed = word.section(u'=', 0, 0);
        if (m_known.isEmpty())
            return QStringLiteral("unknown option %1; the only option is --help").arg(typed);
        return QStringLiteral("unknown option %1; the options are %2").arg(typed, m_known.join(u", "));
    }
    for (qsizetype i = 0; i < m_args.size() && m_args[i] != QLatin1String("--"); ++i) {
        const QString name = optionOf(m_args[i]);
        // A value missing at the end, or one given to an option without a value.
        if (m_takes.contains(name) && !m_args[i].contains(u'=') && i + 1 == m_args.size())
            return dashed(name) + QLatin1Char(' ') + m_takes[name];
        if (m_flags.contains(name) && m_args[i].contains(u'='))
            return QStringLiteral("%1 takes no value, not \"%2\"").arg(dashed(name), m_args[i].section(u'=', 1));
    }
    return m_parser.errorText();
}

bool CommandLine::isFlag(const QString& word) const
{
    return !word.contains(u'=') && m_flags.contains(optionOf(word));
}

bool CommandLine::checkWords(int min, int max, const QString& tooFew, const QString& tooMany)
{
    const qsizetype count = words().size();
    if (count < min) {
        m_error = tooFew;
        return false;
    }
    if (count <= max)
        return true;
    for (qsizetype i = 0; i + 1 < m_args.size() && m_args[i] != QLatin1String("--"); ++i) {
        if (isFlag(m_args[i]) && optionOf(m_args[i + 1]).isEmpty() && m_args[i + 1] != QLatin1String("--")) {
            m_error = QStringLiteral("%1 takes no value, not \"%2\"").arg(dashed(optionOf(m_args[i])), m_args[i + 1]);
            return false;
        }
    }
    m_error = tooMany;
    return false;
}

bool CommandLine::readNumber(const QString& name, int lo, int hi, int& into)
{
    if (!isSet(name))
        return true;
    bool ok = false;
    const int v = value(name).toInt(&ok);
    if (!ok || v < lo || v > hi)
        return refuseValue(name);
    into = v;
    return true;
}

bool CommandLine::refuseValue(const QString& name)
{
    m_error = QStringLiteral("%1 %2, not \"%3\"").arg(dashed(name), m_takes.value(name), value(name));
    return false;
}

QString CommandLine::optionsHelp() const
{
    // Qt's help text without its first line, which names the program by the
    // path it was started from.
    const QString text = m_parser.helpText();
    const qsizetype options = text.indexOf(QLatin1String("\n\n"));
    return options < 0 ? text : text.mid(options + 2);
}

} // namespace kovra::app
