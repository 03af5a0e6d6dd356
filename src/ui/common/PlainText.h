#pragma once
#include <QString>

class QWidget;

namespace vem {

// Every label under `root` shows its text as it is: a text from a device or a file that looks
// like markup is never interpreted.
void showLabelsPlain(QWidget* root);

// A tool tip that shows `text` as it is (a tool tip takes markup whenever the text looks like it).
QString plainToolTip(const QString& text);

}  // namespace vem
