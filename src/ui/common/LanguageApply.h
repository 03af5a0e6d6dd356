#pragma once
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "i18n/LanguageFile.h"

class QWidget;

namespace vem {

// Puts a section's texts on the controls of `window`, found by object name: captions, menu
// items, group boxes, and combo box runs (the first entry of a run clears the list). Entries
// without a control (file filters, messages) and surplus entries do nothing. Returns the names
// of the controls the section names and `window` lacks, each also logged as a warning.
QStringList applyLanguageSection(QWidget* window, LanguageSection section, const std::vector<std::string>& texts);

// The file's "description|pattern[|description|pattern...]" as a Qt file dialog filter.
QString qtFileFilter(const std::string& filter);

}  // namespace vem
