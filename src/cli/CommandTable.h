#pragma once
#include <QString>
#include <optional>
#include <span>

#include "Console.h"
#include "Request.h"
#include "i18n/LanguageFile.h"
#include "serial/PortRegistry.h"

namespace vem::cli {

// What every command gets besides its request.
struct Context {
    Console& console;
    PortRegistry& ports;
    std::optional<LanguageFile> language;  // none: the built-in texts
    // A session speaking the chosen language.
    void prepare(Session& session) const {
        if (language) session.takeLanguage(*language);
    }
    // The chosen language's messages.
    MessageTable messages() const {
        MessageTable table;
        DialogMessages dialogs;
        if (language) applyLanguageMessages(*language, table, dialogs);
        return table;
    }
};

enum class PortUse { None, One, Several };

struct CommandSpec {
    const char* name;
    const char* arguments;  // as the help shows them
    int argumentCount;
    const char* summary;    // one line
    PortUse ports;
    bool output;            // needs -o
    int (*run)(const Request&, Context&);
    bool argumentsOptional = false;  // the arguments may also be left out
};

std::span<const CommandSpec> commandTable();
const CommandSpec* findCommand(const QString& name);
// The help's list of commands, one line each.
QString commandList();

}  // namespace vem::cli
