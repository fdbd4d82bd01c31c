#include "ui/CommandLine.h"

namespace tesk {

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--headless") {
            result.headless = true;
        } else if (argument == "--help" || argument == "-h") {
            result.help = true;
        } else if (argument == "--version" || argument == "-v") {
            result.version = true;
        } else if (argument == "--config" && i + 1 < arguments.size()) {
            result.configPath = arguments[++i];
        } else if (argument.startsWith("--config=")) {
            result.configPath = argument.mid(9);
        } else if (argument == "--config") {
            result.error = "--config needs a file name";
        } else if (argument.startsWith('-') && !argument.startsWith("--")) {
            // Qt's own options are left for the application, with their values.
            static const QStringList withValue = {"-platform",     "-style",
                                                  "-display",      "-qwindowgeometry",
                                                  "-qwindowtitle", "-stylesheet"};
            if (withValue.contains(argument)) {
                ++i;
            }
        } else {
            result.error = "unexpected argument: " + argument;
        }
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
