#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>

#include "util/Result.h"

namespace zolt {

// A program that zolt-brand runs: its name on PATH and, for the message
// when it is missing, where it comes from.
struct ToolProgram {
    const char* name;
    const char* comesWith;  // "the Debian package dpkg"
};

// Runs `program` with `args`, never through a shell, with `input` on its
// standard input and `folder` (empty: this process's) as working folder.
// Returns its standard output, or a failure naming the program and what it
// wrote on standard error. Waits ten minutes at most.
Result<QByteArray> RunTool(const ToolProgram& program, const QStringList& args,
                           const QByteArray& input = {}, const QString& folder = {});

}  // namespace zolt
