#include "argparser.h"

#include "namecodec.h"

namespace quarvel::cli {

ArgParser::ArgParser(const QStringList &args, std::initializer_list<OptionSpec> options)
    : mSpecs(options)
{
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (optionsEnded || arg.size() < 2 || !arg.startsWith(QLatin1Char('-'))) {
            mPositionals << arg;   // a lone "-" is a name too
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        QString name = arg;
        QString inlineValue;
        bool hasInline = false;
        if (arg.startsWith(QLatin1String("--"))) {
            const qsizetype eq = arg.indexOf(QLatin1Char('='));
            if (eq > 0) {
                name = arg.left(eq);
                inlineValue = arg.mid(eq + 1);
                hasInline = true;
            }
        }
        const OptionSpec *spec = find(name);
        if (!spec)
            throw UsageError(QStringLiteral("unknown option %1").arg(name));
        if (!spec->takesValue) {
            if (hasInline)
                throw UsageError(QStringLiteral("option %1 takes no value").arg(name));
            mValues[spec->longName] = QString();
            continue;
        }
        if (!hasInline) {
            if (i + 1 >= args.size())
                throw UsageError(QStringLiteral("option %1 needs a value").arg(name));
            inlineValue = args[++i];
        }
        if (mValues.count(spec->longName))
            throw UsageError(QStringLiteral("option %1 given twice").arg(spec->longName));
        mValues[spec->longName] = inlineValue;
    }
}

const OptionSpec *ArgParser::find(const QString &name) const
{
    for (const OptionSpec &spec : mSpecs) {
        if (spec.longName == name || (!spec.shortName.isEmpty() && spec.shortName == name))
            return &spec;
    }
    return nullptr;
}

QString ArgParser::value(const QString &longName, const QString &fallback) const
{
    const auto it = mValues.find(longName);
    return it == mValues.end() ? fallback : it->second;
}

void ArgParser::expectPositionals(qsizetype min, qsizetype max, const QString &missing) const
{
    if (mPositionals.size() < min)
        throw UsageError(QStringLiteral("missing %1").arg(missing));
    if (max >= 0 && mPositionals.size() > max)
        throw UsageError(QStringLiteral("unexpected argument \"%1\"").arg(mPositionals[max]));
}

int takeCodePageOption(QStringList &args, int fallback)
{
    const QLatin1String option("--codepage");
    int codePage = fallback;
    bool seen = false;
    for (qsizetype i = 0; i < args.size();) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--"))
            break;
        QString value;
        qsizetype consumed = 0;
        if (arg == option) {
            if (i + 1 >= args.size())
                throw UsageError(QStringLiteral("option --codepage needs a value"));
            value = args[i + 1];
            consumed = 2;
        } else if (arg.startsWith(option + QLatin1Char('='))) {
            value = arg.mid(option.size() + 1);
            consumed = 1;
        } else {
            ++i;
            continue;
        }
        if (seen)
            throw UsageError(QStringLiteral("option --codepage given twice"));
        seen = true;
        bool ok = false;
        codePage = value.toInt(&ok);
        if (!ok || !NameCodec(codePage).isValid()) {
            QStringList known;
            for (int cp : NameCodec::supportedCodePages())
                known << QString::number(cp);
            throw UsageError(QStringLiteral("unsupported code page \"%1\" (known: %2)")
                                 .arg(value, known.join(QLatin1String(", "))));
        }
        args.remove(i, consumed);
    }
    return codePage;
}

} // namespace quarvel::cli
