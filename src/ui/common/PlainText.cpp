#include "ui/common/PlainText.h"

#include <QLabel>
#include <QTextDocument>

namespace vem {

void showLabelsPlain(QWidget* root) {
    for (QLabel* label : root->findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
}

QString plainToolTip(const QString& text) {
    return text.isEmpty() ? text : Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}

}  // namespace vem
