#pragma once

// Command-line parsing for quarvel-cli: positional arguments and the options a
// command declares. Anything else starting with "-" is a usage error; "--"
// ends the options, so file names that start with "-" can still be given.

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <map>
#include <stdexcept>
#include <vector>

namespace quarvel::cli {

// Wrong usage: the command line itself is at fault (exit code 2).
class UsageError : public std::runtime_error
{
public:
    explicit UsageError(const QString &message)
        : std::runtime_error(message.toStdString()), mMessage(message)
    {}
    const QString &message() const { return mMessage; }

private:
    QString mMessage;
};

// A failure already worded as the one line to show (exit code 1).
class CliFailure : public std::runtime_error
{
public:
    explicit CliFailure(const QString &line)
        : std::runtime_error(line.toStdString()), mLine(line)
    {}
    const QString &line() const { return mLine; }

private:
    QString mLine;
};

struct OptionSpec
{
    QString longName;    // "--size"
    QString shortName;   // "-o", or empty
    bool takesValue = true;
};

class ArgParser
{
public:
    // Parses args; throws UsageError for unknown options or missing values.
    // (--help is answered before a command parses its arguments.)
    ArgParser(const QStringList &args, std::initializer_list<OptionSpec> options);

    bool has(const QString &longName) const { return mValues.count(longName) != 0; }
    QString value(const QString &longName, const QString &fallback = {}) const;
    const QStringList &positionals() const { return mPositionals; }
    // Throws UsageError unless there are min..max positional arguments
    // (max < 0: no upper limit); missing names what is needed, e.g. "FILE".
    void expectPositionals(qsizetype min, qsizetype max, const QString &missing) const;

private:
    const OptionSpec *find(const QString &name) const;

    std::vector<OptionSpec> mSpecs;
    std::map<QString, QString> mValues;
    QStringList mPositionals;
};

// Removes the global "--codepage N" (or "--codepage=N") wherever it stands
// before "--" and returns its value, or fallback when it is absent.
int takeCodePageOption(QStringList &args, int fallback);

} // namespace quarvel::cli
