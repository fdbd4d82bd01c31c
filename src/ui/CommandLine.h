#pragma once

#include <QString>
#include <QStringList>

namespace tesk {

// What the program was asked to do on its command line. Parsed before the Qt
// application exists, because --headless decides which kind of application to make.
struct CommandLine {
    bool headless = false;
    bool help = false;
    bool version = false;
    QString configPath;  // --config FILE
    QString error;       // not empty: the arguments are not understood
};

CommandLine parseCommandLine(const QStringList& arguments);  // without the program name

QString usageText();

}  // namespace tesk
