#pragma once
#include <array>
#include <functional>

#include "editor/Editor.h"

class QCheckBox;
class QToolButton;
class QWidget;

namespace vem {

// The controls beside the screen grid, found by their names in the window's form: a button and a
// check box per data field, the date and time check boxes, the summer time box and the data set
// buttons. Their clicks go to the handlers; they show the editor's MainControls.
class FieldControls {
public:
    struct Handlers {
        std::function<void(int field)> editField;
        std::function<void(int field)> toggleField;
        std::function<void(int dataSet)> selectDataSet;
        std::function<void()> toggleSummerTime;
    };

    FieldControls(QWidget* form, const Handlers& handlers);

    void show(const MainControls& controls, int activeDataSet);

private:
    std::array<QToolButton*, DataFieldCount> fieldButtons_{};
    std::array<QCheckBox*, FieldCount> fieldBoxes_{};
    std::array<QToolButton*, DataSetCount> dataSetButtons_{};
    QCheckBox* summerTimeBox_ = nullptr;
};

}  // namespace vem
