#include "session/Session.h"

namespace vem {

Outcome Session::takeLanguage(const LanguageFile& file) {
    applyLanguageMessages(file, messages_, dialogMessages_);
    document_.takeLanguage();
    Outcome outcome;
    outcome.refreshCaption = true;
    outcome.refreshEditor = true;
    return outcome;
}

Outcome Session::answer(bool yes) {
    if (device_.readBackWaiting()) return yes ? device_.takeReadBack() : device_.dropReadBack();
    return document_.answer(yes);
}

}  // namespace vem
