#pragma once
// Man pages made from the programs' own --help texts at build time, so the
// two never drift apart. The help texts follow a few plain conventions that
// this converter reads:
//   usage: prog ARGS          a synopsis; indented lines that start with the
//          prog OTHER ARGS    program's name are further synopses, other
//                   MORE ARGS indented lines continue the one before;
//                             text after two spaces describes that form
//   Options:                  an unindented line ending in ':' is a heading
//     --flag VALUE  Meaning   an indented term, two spaces, its meaning;
//                   more      deeper lines continue the meaning
//   Other lines               paragraphs; a blank line ends one

#include <QList>
#include <QString>
#include <QStringList>

namespace kovra::packaging {

struct ManPageInfo {
    QString name;          // "kovra"
    int section = 1;
    QString version;       // "1.0.0"
    QString date;          // "2024-05-01"
    QString summary;       // the NAME line's words after the dash
    QStringList seeAlso;   // "kovra-sim(1)"
};

// One command's own --help text ("kovra engrave --help").
struct CommandHelp {
    QString command;       // "engrave"
    QString help;
};

// The page's roff source from the program's --help and its commands' texts.
QString HelpToManPage(const ManPageInfo& info, const QString& help, const QList<CommandHelp>& commands = {});

// The command words the usage lines name: "kovra engrave PICTURE" gives
// "engrave"; arguments in capitals or brackets are not commands.
QStringList CommandsInUsage(const QString& program, const QString& help);

// Text made safe for roff: backslashes, minus signs, a leading dot or quote.
QString RoffEscape(const QString& text);

} // namespace kovra::packaging
