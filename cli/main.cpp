// quarvel-cli: the command-line face of the slide component, for scripts and
// batch work. It needs no application object: nothing here uses fonts,
// windows or an event loop, and leaving it out keeps a run to a few ms.

#include "argparser.h"
#include "commands.h"
#include "console.h"
#include "slideerror.h"

#include <QString>
#include <QStringList>

#include <exception>
#include <new>

using namespace quarvel;
using namespace quarvel::cli;

namespace {

constexpr int kDefaultCodePage = 1251;

void printToolHelp()
{
    QString text = QStringLiteral(
        "Usage: quarvel-cli [--codepage N] COMMAND [ARGS...]\n"
        "\n"
        "Reads and writes AutoCAD slides (.sld) and slide libraries (.slb).\n"
        "\n"
        "Commands:\n");
    for (const Command &command : commands()) {
        if (command.listed)
            text += QStringLiteral("  %1\n").arg(QLatin1String(command.summary));
    }
    QStringList pages;
    for (int cp : NameCodec::supportedCodePages())
        pages << QString::number(cp);
    text += QStringLiteral(
                "\n"
                "Options:\n"
                "  --codepage N   code page of slide names in libraries (default %1;\n"
                "                 available: %2)\n"
                "  -h, --help     this help; \"quarvel-cli COMMAND --help\" for a command\n"
                "\n"
                "Names are printed as UTF-8. Exit code: 0 done, 1 failed (the reason on\n"
                "stderr, naming the file), 2 wrong usage.")
                .arg(kDefaultCodePage)
                .arg(pages.join(QLatin1String(", ")));
    printLine(text);
}

const Command *findCommand(const QString &name)
{
    for (const Command &command : commands()) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

int run(QStringList args)
{
    const Command *command = nullptr;
    try {
        const int codePage = takeCodePageOption(args, kDefaultCodePage);
        if (args.isEmpty()) {
            printToolHelp();
            return 2;
        }
        const QString name = args.takeFirst();
        if (name == QLatin1String("-h") || name == QLatin1String("--help") || name == QLatin1String("help")) {
            const Command *about = args.isEmpty() ? nullptr : findCommand(args.first());
            if (about)
                printLine(QString::fromUtf8(about->help).trimmed());
            else
                printToolHelp();
            return 0;
        }
        command = findCommand(name);
        if (!command)
            throw UsageError(QStringLiteral("unknown command \"%1\"").arg(name));
        if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
            const qsizetype end = args.indexOf(QLatin1String("--"));
            const qsizetype help = std::max(args.indexOf(QLatin1String("--help")), args.indexOf(QLatin1String("-h")));
            if (end < 0 || help < end) {
                printLine(QString::fromUtf8(command->help).trimmed());
                return 0;
            }
        }
        return command->run(CommandContext{NameCodec(codePage)}, args);
    } catch (const UsageError &e) {
        const QString prefix = command ? QStringLiteral("quarvel-cli %1").arg(QLatin1String(command->name))
                                       : QStringLiteral("quarvel-cli");
        printError(QStringLiteral("%1: %2 (see \"%1 --help\")").arg(prefix, e.message()));
        return 2;
    } catch (const SlideError &e) {
        printError(e.message());
    } catch (const CliFailure &e) {
        printError(e.line());
    } catch (const std::bad_alloc &) {
        printError(QStringLiteral("quarvel-cli: out of memory"));
    } catch (const std::exception &e) {
        printError(QStringLiteral("quarvel-cli: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    args.reserve(argc);
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return run(std::move(args));
}
