#include "ui/CommandLine.h"

#include <QCommandLineParser>

namespace tesk {

namespace {

constexpr int kShortestPollMs = 1000;

// Qt's own options (a single dash, and not one of ours) are left for the application,
// with their values.
QStringList withoutQtOptions(const QStringList& arguments) {
    static const QStringList ours = {"-h", "-?", "-v"};
    static const QStringList withValue = {"-platform",        "-style",        "-display",
                                          "-qwindowgeometry", "-qwindowtitle", "-stylesheet"};
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith('-') && !argument.startsWith("--") && !ours.contains(argument)) {
            if (withValue.contains(argument)) {
                ++i;
            }
            continue;
        }
        kept << argument;
    }
    return kept;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption headlessOption("headless");
    const QCommandLineOption configOption("config", {}, "FILE");
    const QCommandLineOption pollOption("poll-interval", {}, "MS");
    const QCommandLineOption quitOption("quit-when-shown");
    parser.addOptions({headlessOption, configOption, pollOption, quitOption});

    CommandLine result;
    if (!parser.parse(QStringList{"tesk"} + withoutQtOptions(arguments))) {
        result.error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = "unexpected argument: " + parser.positionalArguments().first();
        return result;
    }
    result.help = parser.isSet(helpOption);
    result.version = parser.isSet(versionOption);
    result.headless = parser.isSet(headlessOption);
    result.configPath = parser.value(configOption);
    result.quitWhenShown = parser.isSet(quitOption);
    if (parser.isSet(pollOption)) {
        bool ok = false;
        const int ms = parser.value(pollOption).toInt(&ok);
        if (!ok || ms < kShortestPollMs) {
            result.error = QString("--poll-interval needs a number of milliseconds, at least %1")
                               .arg(kShortestPollMs);
            return result;
        }
        result.pollInterval = std::chrono::milliseconds(ms);
    }
    return result;
}

QString usageText() {
    return "Usage: tesk [--headless] [--config FILE] [--help] [--version]\n"
           "Watches user names on a chat gateway from the system tray.\n"
           "\n"
           "  --headless     no windows: print every change as a line on standard output\n"
           "  --config FILE  use FILE instead of Tesk.ini beside the program (or\n"
           "                 ~/.config/tesk/Tesk.ini when the program's folder is not\n"
           "                 writable)\n"
           "  --help         show this text\n"
           "  --version      show the version\n";
}

}  // namespace tesk
