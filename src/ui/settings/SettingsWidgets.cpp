#include "settings/SettingsWidgets.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QVariant>
#include <vector>

#include "common/Encoding.h"
#include "settings/SettingsRules.h"

namespace vem {

namespace {
constexpr const char* TypingLimit = "vemTypingLimit";
}

void showInEdit(QLineEdit* edit, const std::string& text) {
    QVariant limit = edit->property(TypingLimit);
    if (!limit.isValid()) {
        limit = edit->maxLength();
        edit->setProperty(TypingLimit, limit);
    }
    const QString shown = fromCp1252(text);
    edit->setMaxLength(std::max(limit.toInt(), static_cast<int>(shown.size())));
    edit->setText(shown);
}

std::string editText(const QLineEdit* edit) { return toCp1252(edit->text()); }

void selectEntry(QComboBox* box, int position) {
    box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
    if (box->currentIndex() < 0 && box->isEditable()) box->setEditText(QString());
}

int typedEntry(const QComboBox* box) {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(box->count()));
    for (int i = 0; i < box->count(); ++i) entries.push_back(toCp1252(box->itemText(i)));
    if (!box->isEditable()) return box->currentIndex();
    return matchListEntry(entries, toCp1252(box->currentText()));
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->parentWidget() ? window->parentWidget()->screen() : window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // The frame is known once the window has been shown; before that its inner size stands in.
    const QSize outer = window->frameGeometry().size();
    window->move(screen->availableGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2));
}

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
    for (QChar c : input)
        if (!cp1252Byte(c)) return Invalid;
    return Acceptable;
}

}  // namespace vem
