#include "ui/common/WrapCheckBox.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace vem {

void WrapCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    option.rect = QRect(indicator.left(), (height() - indicator.height()) / 2, indicator.width(), indicator.height());
    p.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
    const int textLeft = indicator.right() + 6;
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(QRect(textLeft, 0, width() - textLeft, height()), Qt::AlignVCenter | Qt::TextWordWrap, caption);
}

}  // namespace vem
