#pragma once

#include "SimTypes.h"

#include <QString>
#include <QStringList>

enum class Verbosity { Quiet, Normal, Verbose };

struct CommandLine {
    gatewaysim::Options options;
    QString scenarioPath;
    Verbosity verbosity = Verbosity::Normal;
};

enum class ParseResult { Run, ShowHelp, Error };

// Reads the program's arguments (the first one is the program). On ShowHelp `text` is the
// help text, on Error the reason.
ParseResult parseCommandLine(const QStringList& arguments, CommandLine* commandLine, QString* text);
