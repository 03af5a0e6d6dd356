#include "ui/main/FieldControls.h"

#include <QCheckBox>
#include <QToolButton>

#include "host/Encoding.h"

namespace vem {

namespace {

template <class Control>
Control* named(QWidget* form, const char* name, int number) {
    return form->findChild<Control*>(QString("%1%2").arg(name).arg(number));
}

}  // namespace

FieldControls::FieldControls(QWidget* form, const Handlers& handlers)
    : summerTimeBox_(form->findChild<QCheckBox*>("summerTimeBox")) {
    for (int n = 1; n <= FieldCount; ++n) {
        fieldBoxes_[n - 1] = n == DateField   ? form->findChild<QCheckBox*>("dateBox")
                             : n == TimeField ? form->findChild<QCheckBox*>("timeBox")
                                              : named<QCheckBox>(form, "fieldBox", n);
        QObject::connect(fieldBoxes_[n - 1], &QCheckBox::clicked, form, [handlers, n] { handlers.toggleField(n); });
    }
    for (int n = 1; n <= DataFieldCount; ++n) {
        fieldButtons_[n - 1] = named<QToolButton>(form, "fieldButton", n);
        QObject::connect(fieldButtons_[n - 1], &QToolButton::clicked, form, [handlers, n] { handlers.editField(n); });
    }
    for (int k = 0; k < DataSetCount; ++k) {
        dataSetButtons_[k] = named<QToolButton>(form, "dataSetButton", k + 1);
        QObject::connect(dataSetButtons_[k], &QToolButton::clicked, form, [handlers, k] { handlers.selectDataSet(k); });
    }
    QObject::connect(summerTimeBox_, &QCheckBox::clicked, form, [handlers] { handlers.toggleSummerTime(); });
}

void FieldControls::show(const MainControls& c, int activeDataSet) {
    for (int n = 1; n <= DataFieldCount; ++n) {
        fieldButtons_[n - 1]->setEnabled(c.fieldButtonEnabled[n - 1]);
        fieldBoxes_[n - 1]->setText(fromCp1252(c.fieldBoxCaption[n - 1]));
    }
    for (int n = 1; n <= FieldCount; ++n) {
        QCheckBox* box = fieldBoxes_[n - 1];
        const QSignalBlocker block(box);
        box->setChecked(c.fieldBoxTicked[n - 1]);
        box->setEnabled(c.fieldBoxEnabled[n - 1]);
    }
    for (int k = 0; k < DataSetCount; ++k) {
        dataSetButtons_[k]->setEnabled(c.dataSetButtonEnabled[k]);
        dataSetButtons_[k]->setChecked(k == activeDataSet);
    }
    const QSignalBlocker block(summerTimeBox_);
    summerTimeBox_->setChecked(c.summerTimeTicked);
}

}  // namespace vem
