// quarvel-cli: the command-line face of the slide core, for scripts and batch
// work. It links the core alone (C++ standard library and zlib): no GUI
// library is loaded, so a run takes a few milliseconds.

#include "argparser.h"
#include "commands.h"
#include "console.h"

#include "coreerror.h"

#include <algorithm>
#include <csignal>
#include <exception>
#include <new>
#include <string>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

using namespace quarvel;
using namespace quarvel::cli;

namespace {

constexpr int kDefaultCodePage = 1251;

// text broken into lines of at most width columns at ", ", each indented.
std::string wrapped(const std::string &text, std::size_t indent, std::size_t width)
{
    std::string out;
    std::string line(indent, ' ');
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(", ", start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string word = text.substr(start, end - start);
        if (line.size() > indent && line.size() + 1 + word.size() > width) {
            out += line + "\n";
            line.assign(indent, ' ');
        }
        line += (line.size() > indent ? " " : "") + word;
        start = end < text.size() ? end + 1 : end;
    }
    return out + line;
}

void printToolHelp()
{
    std::string text =
        "Usage: quarvel-cli [--codepage N] COMMAND [ARGS...]\n"
        "\n"
        "Reads and writes AutoCAD slides (.sld) and slide libraries (.slb).\n"
        "\n"
        "Commands:\n";
    for (const Command &command : commands()) {
        if (command.listed)
            text += std::string("  ") + command.summary + "\n";
    }
    text += "\n"
            "Options:\n"
            "  --codepage N   code page of slide names in libraries (default "
            + std::to_string(kDefaultCodePage) + ";\n"
            + wrapped("available: " + knownCodePagesText() + ")", 17, 78) + "\n"
            "  -h, --help     this help; \"quarvel-cli COMMAND --help\" for a command\n"
            "\n"
            "Names are printed as UTF-8; control bytes and bytes the code page\n"
            "cannot decode are shown escaped (\\x1b). Exit code: 0 done, 1 failed\n"
            "(one line on stderr naming the file and the reason), 2 wrong usage.";
    printLine(text);
}

std::string trimmed(const char *text)
{
    std::string s(text);
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

const Command *findCommand(const std::string &name)
{
    for (const Command &command : commands()) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}

std::ptrdiff_t indexOf(const Args &args, const char *what)
{
    const auto it = std::find(args.begin(), args.end(), what);
    return it == args.end() ? -1 : it - args.begin();
}

int run(Args args)
{
    const Command *command = nullptr;
    try {
        const int codePage = takeCodePageOption(args, kDefaultCodePage);
        if (args.empty()) {
            printToolHelp();
            return 2;
        }
        const std::string name = args.front();
        args.erase(args.begin());
        if (name == "-h" || name == "--help" || name == "help") {
            const Command *about = args.empty() ? nullptr : findCommand(args.front());
            if (about)
                printLine(trimmed(about->help));
            else
                printToolHelp();
            return 0;
        }
        command = findCommand(name);
        if (!command)
            throw UsageError("unknown command \"" + name + "\"");
        const std::ptrdiff_t help = std::max(indexOf(args, "--help"), indexOf(args, "-h"));
        const std::ptrdiff_t end = indexOf(args, "--");
        if (help >= 0 && (end < 0 || help < end)) {
            printLine(trimmed(command->help));
            return 0;
        }
        return command->run(CommandContext{core::NameCodePage(codePage)}, args);
    } catch (const UsageError &e) {
        const std::string prefix = command ? std::string("quarvel-cli ") + command->name : std::string("quarvel-cli");
        printError(prefix + ": " + e.message() + " (see \"" + prefix + " --help\")");
        return 2;
    } catch (const core::Error &e) {
        printError(oneLine(e.message()));
    } catch (const CliFailure &e) {
        printError(oneLine(e.line()));
    } catch (const std::bad_alloc &) {
        printError("quarvel-cli: out of memory");
    } catch (const std::exception &e) {
        printError(oneLine(std::string("quarvel-cli: ") + e.what()));
    }
    return 1;
}

} // namespace

#ifdef _WIN32
// The command line as UTF-8 whatever the console's code page: names in any
// script and paths with drive letters and backslashes arrive intact.
int wmain(int argc, wchar_t **argv)
{
    initConsole();
    Args args;
    for (int i = 1; i < argc; ++i) {
        const int length = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(length > 0 ? static_cast<std::size_t>(length - 1) : 0, '\0');
        if (length > 1)
            WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), length, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    return run(std::move(args));
}
#else
int main(int argc, char **argv)
{
    initConsole();
    // A write past the file-size limit then fails with EFBIG and is reported
    // like a full disk, instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    Args args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return run(std::move(args));
}
#endif
