#pragma once

// Files quarvel-cli writes. Every one is streamed into a temporary file
// beside the target, every write and the close checked, then renamed over
// the target: a failure (no space, quota, read-only, I/O error) is reported
// with the system's reason, leaves an existing target as it was and no
// partial file behind.
//
// Slides are saved as libraries are (core::AtomicFile: synced to the disk
// before the rename). Pictures are output that can be made again, so on
// Linux a new picture skips the sync, which would cost several times the
// drawing; one that replaces an older picture is synced before the rename.
// The temporary file is unnamed until it is complete, so a killed run leaves
// nothing behind either.

#include "sink.h"

#include <functional>
#include <string>

namespace quarvel::cli {

enum class Durability { Synced, Picture };

// Runs produce with a sink that writes to target (UTF-8), then puts the file
// in place. Throws core::Error naming target.
void writeOutput(const std::string &target, const std::function<void(core::Sink &)> &produce,
                 Durability durability = Durability::Picture);

} // namespace quarvel::cli
