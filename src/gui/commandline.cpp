#include "commandline.h"

#include "cli/predictcommand.h"
#include "cli/updatecommand.h"

namespace aurelant {

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    QStringList files;
    bool optionsEnded = false;
    for (const QString& argument : arguments.mid(1)) {
        if (optionsEnded || !argument.startsWith('-') || argument == "-") {
            files << argument;
        } else if (argument == "--") {
            optionsEnded = true;  // what follows is a file, even when it starts with "-"
        } else if (argument == "-h" || argument == "--help") {
            line.action = CommandLine::Action::Help;
        } else if (argument == "-v" || argument == "--version") {
            if (line.action != CommandLine::Action::Help) {
                line.action = CommandLine::Action::Version;
            }
        } else if (line.mistake.isEmpty()) {
            line.mistake = "unknown option " + argument;
        }
    }
    if (files.size() > 1 && line.mistake.isEmpty()) {
        line.mistake = "one history file at a time, please";
    }
    if (line.action == CommandLine::Action::Run && !line.mistake.isEmpty()) {
        line.action = CommandLine::Action::Mistake;
    }
    line.file = files.value(0);
    return line;
}

QString usageText() {
    return "Usage: aurelant [FILE]\n       " + QString::fromStdString(predictSynopsis()) +
           "\n       " + QString::fromStdString(updateSynopsis()) +
           "\nPredicts the next trading day from a history of daily prices. FILE, when given, is\n"
           "opened as File > Open opens it: the file is checked, cleaned in place and shown.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the program's version and exit\n"
           "\n"
           "The predict sub-command prints the next day's prediction of each FILE without a\n"
           "window (see aurelant predict --help). The update sub-command appends to each FILE\n"
           "the days its source on the web has after its latest one (see aurelant update "
           "--help).\n";
}

}  // namespace aurelant
