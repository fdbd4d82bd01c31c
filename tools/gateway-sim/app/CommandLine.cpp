#include "CommandLine.h"

#include <QCommandLineParser>

namespace {

bool readNumber(const QString& value, int min, int max, int* out) {
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < min || number > max) {
        return false;
    }
    *out = number;
    return true;
}

}  // namespace

ParseResult parseCommandLine(const QStringList& arguments, CommandLine* commandLine,
                             QString* text) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A chat gateway simulator for TESK: a TCP server speaking the gateway's line "
        "protocol, with scripted users.");
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption address("address", "Address to listen on (default 127.0.0.1).",
                                     "ADDRESS", "127.0.0.1");
    const QCommandLineOption port("port", "Port to listen on; 0 picks a free one (default 6112).",
                                  "PORT", "6112");
    const QCommandLineOption scenario("scenario", "Scripted users and their timeline.", "FILE");
    const QCommandLineOption account(
        "account",
        "Accept this account (repeatable). Without any, every name and password is accepted.",
        "NAME:PASSWORD");
    const QCommandLineOption noAnonymous("no-anonymous", "Refuse anonymous logins.");
    const QCommandLineOption dialect("dialect", "The server to play: classic (default) or pvpgn.",
                                     "DIALECT", "classic");
    const QCommandLineOption floodLines(
        "flood-lines",
        "Disconnect a client that sends more than N lines within the window (pvpgn: the quota "
        "in units of 40 bytes).",
        "N", "0");
    const QCommandLineOption floodWindow("flood-window-ms", "Flood window (default 5000).", "MS",
                                         "5000");
    const QCommandLineOption refuse("refuse", "Refuse every connection.");
    const QCommandLineOption quiet("quiet", "Print errors only.");
    const QCommandLineOption verbose("verbose", "Also print every line, C> received, S< sent.");
    parser.addOptions({help, address, port, scenario, account, noAnonymous, dialect, floodLines,
                       floodWindow, refuse, quiet, verbose});

    if (!parser.parse(arguments)) {
        *text = parser.errorText();
        return ParseResult::Error;
    }
    if (parser.isSet(help)) {
        *text = parser.helpText();
        return ParseResult::ShowHelp;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *text = "unexpected argument " + parser.positionalArguments().first();
        return ParseResult::Error;
    }

    CommandLine result;
    gatewaysim::Options& options = result.options;
    if (!options.address.setAddress(parser.value(address))) {
        *text = "not an IP address: " + parser.value(address);
        return ParseResult::Error;
    }
    int number = 0;
    if (!readNumber(parser.value(port), 0, 65535, &number)) {
        *text = "the port must be a number from 0 to 65535";
        return ParseResult::Error;
    }
    options.port = static_cast<quint16>(number);
    for (const QString& value : parser.values(account)) {
        const qsizetype colon = value.indexOf(':');
        if (colon <= 0) {
            *text = "--account needs NAME:PASSWORD, got " + value;
            return ParseResult::Error;
        }
        options.accounts.insert(value.left(colon), value.mid(colon + 1));
    }
    options.anonymousAllowed = !parser.isSet(noAnonymous);
    const QString dialectName = parser.value(dialect).toLower();
    if (dialectName == "pvpgn") {
        options.dialect = gatewaysim::Dialect::Pvpgn;
    } else if (dialectName != "classic") {
        *text = "--dialect must be classic or pvpgn, got " + parser.value(dialect);
        return ParseResult::Error;
    }
    if (!readNumber(parser.value(floodLines), 0, 1'000'000, &options.floodLines)) {
        *text = "--flood-lines must be a number from 0 to 1000000";
        return ParseResult::Error;
    }
    if (!readNumber(parser.value(floodWindow), 1, 3'600'000, &options.floodWindowMs)) {
        *text = "--flood-window-ms must be a number from 1 to 3600000";
        return ParseResult::Error;
    }
    options.refuse = parser.isSet(refuse);
    if (parser.isSet(quiet) && parser.isSet(verbose)) {
        *text = "--quiet and --verbose exclude each other";
        return ParseResult::Error;
    }
    result.verbosity = parser.isSet(quiet)     ? Verbosity::Quiet
                       : parser.isSet(verbose) ? Verbosity::Verbose
                                               : Verbosity::Normal;
    result.scenarioPath = parser.value(scenario);
    *commandLine = result;
    return ParseResult::Run;
}
