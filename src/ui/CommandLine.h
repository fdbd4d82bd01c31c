#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

namespace tesk {

// What the program was asked to do on its command line. Parsed before the Qt
// application exists, because --headless decides which kind of application to make.
struct CommandLine {
    bool headless = false;
    bool help = false;
    bool version = false;
    QString configPath;  // --config FILE
    // --poll-interval MS: a polling cycle this often instead of once a minute (the demo
    // run, so that a newcomer sees changes within the first minute); zero: the default.
    std::chrono::milliseconds pollInterval{0};
    bool quitWhenShown = false;  // --quit-when-shown: the start-up benchmark's exit
    QString error;               // not empty: the arguments are not understood
};

CommandLine parseCommandLine(const QStringList& arguments);  // without the program name

QString usageText();

}  // namespace tesk
