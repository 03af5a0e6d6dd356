#pragma once

class QWidget;

namespace vem {

// Every label under `root` shows its text as it is: a text from a device or a file that looks
// like markup is never interpreted.
void showLabelsPlain(QWidget* root);

}  // namespace vem
