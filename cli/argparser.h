#pragma once

// Command-line parsing for quarvel-cli: positional arguments and the options a
// command declares. Anything else starting with "-" is a usage error; "--"
// ends the options, so file names that start with "-" can still be given.
// Arguments are UTF-8 strings on every system.

#include <initializer_list>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace quarvel::cli {

using Args = std::vector<std::string>;

// Wrong usage: the command line itself is at fault (exit code 2).
class UsageError : public std::runtime_error
{
public:
    explicit UsageError(const std::string &message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};

// A failure already worded as the one line to show (exit code 1).
class CliFailure : public std::runtime_error
{
public:
    explicit CliFailure(const std::string &line) : std::runtime_error(line) {}
    std::string line() const { return what(); }
};

struct OptionSpec
{
    std::string longName;    // "--size"
    std::string shortName;   // "-o", or empty
    bool takesValue = true;
};

class ArgParser
{
public:
    // Parses args; throws UsageError for unknown options or missing values.
    // (--help is answered before a command parses its arguments.)
    ArgParser(const Args &args, std::initializer_list<OptionSpec> options);

    bool has(const std::string &longName) const { return mValues.count(longName) != 0; }
    std::string value(const std::string &longName, const std::string &fallback = {}) const;
    const Args &positionals() const { return mPositionals; }
    // The positionals from index first on.
    std::span<const std::string> positionalsFrom(std::size_t first) const;
    // Throws UsageError unless there are min..max positional arguments
    // (max < 0: no upper limit); missing names what is needed, e.g. "FILE".
    void expectPositionals(std::size_t min, long max, const std::string &missing) const;

private:
    const OptionSpec *find(const std::string &name) const;

    std::vector<OptionSpec> mSpecs;
    std::map<std::string, std::string> mValues;
    Args mPositionals;
};

// Removes the global "--codepage N" (or "--codepage=N") wherever it stands
// before "--" and returns its value, or fallback when it is absent.
int takeCodePageOption(Args &args, int fallback);

bool isKnownCodePage(int number);
std::string knownCodePagesText();   // "1250, 1251, ..."

// A whole decimal number, or false.
bool parseInt(const std::string &text, int &value);

} // namespace quarvel::cli
