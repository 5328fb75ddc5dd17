#include "argparser.h"

#include "namecodepage.h"

#include <charconv>

namespace quarvel::cli {

bool parseInt(const std::string &text, int &value)
{
    const char *first = text.data();
    const char *last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last;
}

ArgParser::ArgParser(const Args &args, std::initializer_list<OptionSpec> options)
    : mSpecs(options)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            mPositionals.push_back(arg);   // a lone "-" is a name too
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::string inlineValue;
        bool hasInline = false;
        if (arg.starts_with("--")) {
            const std::size_t eq = arg.find('=');
            if (eq != std::string::npos && eq > 0) {
                name = arg.substr(0, eq);
                inlineValue = arg.substr(eq + 1);
                hasInline = true;
            }
        }
        const OptionSpec *spec = find(name);
        if (!spec)
            throw UsageError("unknown option " + name);
        if (!spec->takesValue) {
            if (hasInline)
                throw UsageError("option " + name + " takes no value");
            mValues[spec->longName].clear();
            continue;
        }
        if (!hasInline) {
            if (i + 1 >= args.size())
                throw UsageError("option " + name + " needs a value");
            inlineValue = args[++i];
        }
        if (mValues.count(spec->longName))
            throw UsageError("option " + spec->longName + " given twice");
        mValues[spec->longName] = inlineValue;
    }
}

const OptionSpec *ArgParser::find(const std::string &name) const
{
    for (const OptionSpec &spec : mSpecs) {
        if (spec.longName == name || (!spec.shortName.empty() && spec.shortName == name))
            return &spec;
    }
    return nullptr;
}

std::string ArgParser::value(const std::string &longName, const std::string &fallback) const
{
    const auto it = mValues.find(longName);
    return it == mValues.end() ? fallback : it->second;
}

std::span<const std::string> ArgParser::positionalsFrom(std::size_t first) const
{
    if (first >= mPositionals.size())
        return {};
    return std::span<const std::string>(mPositionals).subspan(first);
}

void ArgParser::expectPositionals(std::size_t min, long max, const std::string &missing) const
{
    if (mPositionals.size() < min)
        throw UsageError("missing " + missing);
    if (max >= 0 && mPositionals.size() > static_cast<std::size_t>(max))
        throw UsageError("unexpected argument \"" + mPositionals[static_cast<std::size_t>(max)] + "\"");
}

bool isKnownCodePage(int number)
{
    return core::NameCodePage(number).isSupported();
}

std::string knownCodePagesText()
{
    std::string text;
    for (const core::CodePageInfo &page : core::NameCodePage::supportedCodePages())
        text += (text.empty() ? "" : ", ") + std::to_string(page.number);
    return text;
}

int takeCodePageOption(Args &args, int fallback)
{
    const std::string option = "--codepage";
    int codePage = fallback;
    bool seen = false;
    for (std::size_t i = 0; i < args.size();) {
        const std::string &arg = args[i];
        if (arg == "--")
            break;
        std::string value;
        std::size_t consumed = 0;
        if (arg == option) {
            if (i + 1 >= args.size())
                throw UsageError("option --codepage needs a value");
            value = args[i + 1];
            consumed = 2;
        } else if (arg.starts_with(option + "=")) {
            value = arg.substr(option.size() + 1);
            consumed = 1;
        } else {
            ++i;
            continue;
        }
        if (seen)
            throw UsageError("option --codepage given twice");
        seen = true;
        if (!parseInt(value, codePage) || !isKnownCodePage(codePage))
            throw UsageError("unsupported code page \"" + value + "\" (known: " + knownCodePagesText() + ")");
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i + consumed));
    }
    return codePage;
}

} // namespace quarvel::cli
