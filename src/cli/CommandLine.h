#pragma once
#include <QString>
#include <QStringList>

#include "CommandTable.h"

namespace vem::cli {

// What the command line asks for: help, a usage problem, or a command with its request.
struct Invocation {
    Verbosity verbosity = Verbosity::Normal;
    bool json = false;
    QString helpText;      // set when help was asked for
    QString problem;       // set when the command line is wrong
    QString languageFile;  // --language, absolute
    const CommandSpec* command = nullptr;
    Request request;
};

// `ports` lists the ports of --all-ports and VEM_PORT.
Invocation parseCommandLine(const QStringList& arguments, const PortRegistry& ports);

}  // namespace vem::cli
