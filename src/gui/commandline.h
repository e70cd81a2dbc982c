#pragma once

#include <QString>
#include <QStringList>

namespace aurelant {

// What the command line asks for: aurelant [--help | --version] [FILE].
struct CommandLine {
    enum class Action { Run, Help, Version, Mistake };
    Action action = Action::Run;
    QString file;     // the history file to open at start-up; empty for none
    QString mistake;  // what is wrong with the command line, for Action::Mistake
};

// Reads the arguments after the program's name. Help and version win over mistakes, so that
// they work whatever else stands on the line; a second file is a mistake.
CommandLine parseCommandLine(const QStringList& arguments);

// The text that --help prints, and the start of a mistake's message.
QString usageText();

}  // namespace aurelant
