#pragma once
// One command's command line, read by Qt's parser in the usual conventions:
// "--name value" and "--name=value" (one dash is taken as two), options
// before, between or after the other words, and "--" before words that begin
// with a dash. Every message is one line that names the option at fault.

#include <QCommandLineParser>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace kovra::app {

class CommandLine {
public:
    CommandLine(); // -h and --help are always there

    // An option without a value: on when given.
    void addFlag(const QString& name, const QString& description);
    // An option with a value. takes completes "--name ..." in messages
    // ("takes a whole number from 1 to 100").
    void addValue(const QString& name, const QString& valueName, const QString& description, const QString& takes);

    // Reads the words after the command's name; false with error() set.
    bool parse(const QStringList& args);
    // --help was given (also among wrong words: help wins).
    bool helpWanted() const;
    // Between min and max words besides the options; false with error()
    // set: too many names a word that came right after an option without a
    // value ("--invert yes") as that option's, else says tooMany; too few
    // says tooFew.
    bool checkWords(int min, int max, const QString& tooFew, const QString& tooMany);

    bool isSet(const QString& name) const { return m_parser.isSet(name); }
    QString value(const QString& name) const { return m_parser.value(name); }
    QStringList words() const { return m_parser.positionalArguments(); }

    // The option's value as a whole number in lo..hi into into (left alone
    // when the option is not given); false with error() set.
    bool readNumber(const QString& name, int lo, int hi, int& into);
    // Sets error() for a value the option does not take; returns false.
    bool refuseValue(const QString& name);
    void setError(const QString& error) { m_error = error; }
    const QString& error() const { return m_error; }

    // The options with their descriptions, as --help lists them.
    QString optionsHelp() const;

private:
    QString parseError() const;
    bool isFlag(const QString& word) const;

    QCommandLineParser m_parser;
    QStringList m_args;
    QStringList m_flags;              // the options without a value
    QHash<QString, QString> m_takes;  // option name -> what it takes
    QStringList m_known;              // the options as typed, in their order, for messages
    QString m_error;
};

} // namespace kovra::app
