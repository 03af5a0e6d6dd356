#pragma once
#include <QTranslator>
#include <string>

namespace vem {

// Qt's own texts (standard buttons, file dialogs) in the language the language file names,
// from the translations installed with Qt. Follows each language file taken; a language
// without installed translations, or none named, leaves Qt's texts in English.
class QtTranslation {
public:
    QtTranslation() = default;
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // Replaces the translation in force by that of `code` ("de"), when Qt has one.
    void follow(const std::string& code);

private:
    QTranslator translator_;
    bool installed_ = false;
};

}  // namespace vem
