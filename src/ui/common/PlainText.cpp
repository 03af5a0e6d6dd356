#include "common/PlainText.h"

#include <QLabel>

namespace vem {

void showLabelsPlain(QWidget* root) {
    for (QLabel* label : root->findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
}

}  // namespace vem
