#pragma once

// The sub-commands of quarvel-cli. Each takes the arguments after its name
// and returns the exit code; a failure that stops the whole command is thrown
// (SlideError or CliFailure, exit code 1; UsageError, exit code 2).

#include "namecodec.h"

#include <QString>
#include <QStringList>

#include <span>

namespace quarvel::cli {

struct CommandContext
{
    NameCodec codec;   // decodes and encodes slide names (--codepage)
};

struct Command
{
    const char *name;
    const char *summary;   // one line for the tool's own help
    const char *help;      // the command's --help text
    int (*run)(const CommandContext &context, const QStringList &args);
    bool listed;           // developer commands stay out of the tool's help
};

std::span<const Command> commands();

int runInfo(const CommandContext &context, const QStringList &args);
int runNames(const CommandContext &context, const QStringList &args);
int runExtract(const CommandContext &context, const QStringList &args);
int runCreate(const CommandContext &context, const QStringList &args);
int runAdd(const CommandContext &context, const QStringList &args);
int runDelete(const CommandContext &context, const QStringList &args);
int runRender(const CommandContext &context, const QStringList &args);
int runMakeSlide(const CommandContext &context, const QStringList &args);

} // namespace quarvel::cli
