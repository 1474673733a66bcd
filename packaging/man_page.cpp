#include "packaging/man_page.h"

#include <QRegularExpression>

namespace kovra::packaging {

namespace {

int indentOf(const QString& line)
{
    int n = 0;
    while (n < line.size() && line[n] == u' ')
        ++n;
    return n;
}

bool isHeading(const QString& line)
{
    return !line.isEmpty() && line[0] != u' ' && line.endsWith(u':') && line.size() <= 40;
}

bool isUsageLine(const QString& line)
{
    return line.startsWith(QLatin1String("usage:"), Qt::CaseInsensitive);
}

// "  --flag VALUE   Meaning": term and meaning, split at the first run of two spaces.
struct TermLine {
    QString term;
    QString meaning;
    int meaningColumn = 0;
};
bool splitTerm(const QString& line, TermLine& out)
{
    static const QRegularExpression pattern(QStringLiteral("^( +)(\\S(?:.*?\\S)?)(?: {2,}(\\S.*))?$"));
    const QRegularExpressionMatch m = pattern.match(line);
    if (!m.hasMatch())
        return false;
    out.term = m.captured(2);
    out.meaning = m.captured(3);
    out.meaningColumn = m.capturedStart(3);
    return true;
}

struct Synopsis {
    QString form;          // "kovra engrave PICTURE ..."
    QString meaning;       // the words after two spaces, if any
};

// Reads the usage block that starts at lines[i]; leaves i after it.
QList<Synopsis> readUsage(const QString& program, const QStringList& lines, int& i)
{
    QList<Synopsis> forms;
    auto add = [&](const QString& text, bool continues) {
        const int gap = text.indexOf(QStringLiteral("  "));
        QString form = (gap < 0 ? text : text.left(gap)).trimmed();
        const QString meaning = gap < 0 ? QString() : text.mid(gap).trimmed();
        if (continues && !forms.isEmpty()) {
            forms.last().form += u' ' + form;
            if (!meaning.isEmpty())
                forms.last().meaning += (forms.last().meaning.isEmpty() ? QString() : QStringLiteral(" ")) + meaning;
        } else {
            forms.append(Synopsis{form, meaning});
        }
    };
    add(lines[i].mid(lines[i].indexOf(u':') + 1).trimmed(), false);
    for (++i; i < lines.size() && lines[i].startsWith(u' ') && !lines[i].trimmed().isEmpty(); ++i) {
        const QString text = lines[i].trimmed();
        add(text, !(text == program || text.startsWith(program + u' ')));
    }
    return forms;
}

// The program's name in bold, the rest as it stands, on one line (a .TP tag is one line).
QString synopsisRoff(const QString& program, const QString& form)
{
    if (form == program || form.startsWith(program + u' '))
        return QStringLiteral("\\fB") + RoffEscape(program) + QStringLiteral("\\fR")
               + RoffEscape(form.mid(program.size())) + u'\n';
    return RoffEscape(form) + u'\n';
}

// Everything after the usage block: headings, term lists and paragraphs.
// topLevel: headings become sections; inside a command they are bold lines.
QString bodyRoff(const QStringList& lines, int from, bool topLevel)
{
    QString out;
    QString paragraph;
    bool inTerm = false;
    int meaningColumn = 0;
    auto flush = [&] {
        if (!paragraph.isEmpty()) {
            out += QStringLiteral(".PP\n") + RoffEscape(paragraph) + u'\n';
            paragraph.clear();
        }
    };
    for (int i = from; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.trimmed().isEmpty()) {
            flush();
            inTerm = false;
            continue;
        }
        if (isHeading(line)) {
            flush();
            inTerm = false;
            const QString title = line.chopped(1).trimmed();
            out += topLevel ? QStringLiteral(".SH ") + RoffEscape(title.toUpper()) + u'\n'
                            : QStringLiteral(".PP\n.B ") + RoffEscape(title) + u'\n';
            continue;
        }
        if (line.startsWith(u' ')) {
            if (inTerm && meaningColumn > 0 && indentOf(line) >= meaningColumn - 1) {
                out += RoffEscape(line.trimmed()) + u'\n';
                continue;
            }
            TermLine term;
            if (splitTerm(line, term)) {
                flush();
                out += QStringLiteral(".TP\n.B ") + RoffEscape(term.term) + u'\n';
                if (!term.meaning.isEmpty())
                    out += RoffEscape(term.meaning) + u'\n';
                inTerm = true;
                meaningColumn = term.meaning.isEmpty() ? indentOf(line) + 2 : term.meaningColumn;
                continue;
            }
        }
        if (inTerm) {
            out += RoffEscape(line.trimmed()) + u'\n';
            continue;
        }
        paragraph += (paragraph.isEmpty() ? QString() : QStringLiteral(" ")) + line.trimmed();
    }
    flush();
    return out;
}

QStringList splitLines(const QString& help)
{
    QString text = help;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\t', QStringLiteral("        "));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        while (line.endsWith(u' '))
            line.chop(1);
    return lines;
}

} // namespace

QString RoffEscape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\e");
        else if (c == u'-')
            out += QStringLiteral("\\-");
        else
            out += c;
    }
    // A line of roff that starts with a dot or a quote is a request.
    out.replace(QStringLiteral("\n."), QStringLiteral("\n\\&.")).replace(QStringLiteral("\n'"), QStringLiteral("\n\\&'"));
    if (out.startsWith(u'.') || out.startsWith(u'\''))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

QStringList CommandsInUsage(const QString& program, const QString& help)
{
    static const QRegularExpression word(QStringLiteral("^[a-z][a-z0-9-]*$"));
    const QStringList lines = splitLines(help);
    QStringList commands;
    for (int i = 0; i < lines.size(); ++i) {
        if (!isUsageLine(lines[i]))
            continue;
        for (const Synopsis& s : readUsage(program, lines, i)) {
            const QStringList words = s.form.split(u' ', Qt::SkipEmptyParts);
            if (words.size() >= 2 && words[0] == program && word.match(words[1]).hasMatch() && !commands.contains(words[1]))
                commands.append(words[1]);
        }
    }
    return commands;
}

QString HelpToManPage(const ManPageInfo& info, const QString& help, const QList<CommandHelp>& commands)
{
    QString out;
    out += QStringLiteral(".\\\" Made from the output of \"%1 --help\" at build time; edit that text, not this file.\n")
               .arg(info.name);
    out += QStringLiteral(".TH %1 %2 \"%3\" \"%4 %5\" \"User Commands\"\n")
               .arg(RoffEscape(info.name.toUpper()))
               .arg(info.section)
               .arg(info.date, RoffEscape(info.name), RoffEscape(info.version));
    // Paths and options are never split at a hyphen, nor stretched.
    out += QStringLiteral(".nh\n.ad l\n");
    out += QStringLiteral(".SH NAME\n%1 \\- %2\n").arg(RoffEscape(info.name), RoffEscape(info.summary));

    const QStringList lines = splitLines(help);
    int i = 0;
    while (i < lines.size() && !isUsageLine(lines[i]))
        ++i;
    QList<Synopsis> forms;
    if (i < lines.size())
        forms = readUsage(info.name, lines, i);
    else
        i = 0;
    if (!forms.isEmpty()) {
        out += QStringLiteral(".SH SYNOPSIS\n");
        for (int f = 0; f < forms.size(); ++f)
            out += (f ? QStringLiteral(".br\n") : QString()) + synopsisRoff(info.name, forms[f].form);
    }
    out += QStringLiteral(".SH DESCRIPTION\n");
    for (const Synopsis& form : forms)
        if (!form.meaning.isEmpty())
            out += QStringLiteral(".TP\n") + synopsisRoff(info.name, form.form) + RoffEscape(form.meaning) + u'\n';
    out += bodyRoff(lines, i, true);

    if (!commands.isEmpty())
        out += QStringLiteral(".SH COMMANDS\n");
    for (const CommandHelp& command : commands) {
        out += QStringLiteral(".SS \"%1 %2\"\n").arg(RoffEscape(info.name), RoffEscape(command.command));
        const QStringList commandLines = splitLines(command.help);
        int c = 0;
        while (c < commandLines.size() && !isUsageLine(commandLines[c]))
            ++c;
        if (c < commandLines.size()) {
            const QList<Synopsis> commandForms = readUsage(info.name, commandLines, c);
            out += QStringLiteral(".PP\n");
            for (int f = 0; f < commandForms.size(); ++f)
                out += (f ? QStringLiteral(".br\n") : QString()) + synopsisRoff(info.name, commandForms[f].form);
        } else {
            c = 0;
        }
        out += bodyRoff(commandLines, c, false);
    }

    if (!info.seeAlso.isEmpty()) {
        QStringList refs;
        static const QRegularExpression ref(QStringLiteral("^(.+)\\((\\w+)\\)$"));
        for (const QString& s : info.seeAlso) {
            const QRegularExpressionMatch m = ref.match(s);
            refs << (m.hasMatch() ? QStringLiteral(".BR %1 (%2)").arg(RoffEscape(m.captured(1)), m.captured(2)) : RoffEscape(s));
        }
        out += QStringLiteral(".SH SEE ALSO\n") + refs.join(QStringLiteral(",\n")) + u'\n';
    }
    return out;
}

} // namespace kovra::packaging
