#include "console.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace quarvel::cli {

namespace {
void writeLine(std::FILE *stream, std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
}
} // namespace

void printLine(std::string_view line)
{
    writeLine(stdout, line);
}

void printError(std::string_view line)
{
    // Anything already printed on stdout goes first, so that a failure shows
    // up after the output it interrupted.
    std::fflush(stdout);
    writeLine(stderr, line);
    std::fflush(stderr);
}

std::string oneLine(std::string_view text)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

void initConsole()
{
#ifdef _WIN32
    // UTF-8 on the console; lines end in LF as on every other system, so
    // scripts get the same bytes from both builds.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

} // namespace quarvel::cli
