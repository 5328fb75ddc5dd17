#pragma once

// The sub-commands of quarvel-cli. Each takes the arguments after its name
// and returns the exit code; a failure that stops the whole command is thrown
// (core::Error or CliFailure, exit code 1; UsageError, exit code 2).

#include "argparser.h"

#include "namecodepage.h"

#include <span>

namespace quarvel::cli {

struct CommandContext
{
    core::NameCodePage codePage;   // slide names (--codepage); converters made on first use
};

struct Command
{
    const char *name;
    const char *summary;   // one line for the tool's own help
    const char *help;      // the command's --help text
    int (*run)(const CommandContext &context, const Args &args);
    bool listed;           // developer commands stay out of the tool's help
};

std::span<const Command> commands();

int runInfo(const CommandContext &context, const Args &args);
int runNames(const CommandContext &context, const Args &args);
int runExtract(const CommandContext &context, const Args &args);
int runCreate(const CommandContext &context, const Args &args);
int runAdd(const CommandContext &context, const Args &args);
int runDelete(const CommandContext &context, const Args &args);
int runRename(const CommandContext &context, const Args &args);
int runRender(const CommandContext &context, const Args &args);
int runThumbnail(const CommandContext &context, const Args &args);
int runMakeSlide(const CommandContext &context, const Args &args);

} // namespace quarvel::cli
