#pragma once
#include <QCheckBox>

namespace vem {

// A check box whose caption wraps onto further lines within its width.
class WrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent*) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace vem
