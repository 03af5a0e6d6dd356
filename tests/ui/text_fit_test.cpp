#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "UiHelpers.h"
#include "ui/common/WrapCheckBox.h"
#include "ui/device/DeviceInfoDialog.h"
#include "ui/device/ProgressWindow.h"
#include "ui/settings/SettingsDialogs.h"
#include "ui/settings/PosExtendedDialog.h"

// Every text of every window fits its control, in each shipped language; run once more at
// QT_SCALE_FACTOR=2.

namespace vem {
namespace {

QString where(const QWidget* w) {
    return w->window()->objectName() + "/" + w->objectName();
}

QString misfit(const QWidget* w, const QString& text, QSize needs, QSize has) {
    return QString("%1 \"%2\" needs %3x%4, has %5x%6")
        .arg(where(w), text)
        .arg(needs.width())
        .arg(needs.height())
        .arg(has.width())
        .arg(has.height());
}

QString rectText(const QRect& r) {
    return QString("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

bool fits(QSize needs, QSize has) { return needs.width() <= has.width() && needs.height() <= has.height(); }

// The room a control gives its text, and the size its text takes there.
void checkText(const QWidget* w, QStringList& out) {
    const QFontMetrics fm(w->font());
    auto need = [&](const QString& text, int flags) { return fm.size(flags, text); };
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty()) return;
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                          -label->margin());
        const QSize needs = label->wordWrap()
                                ? fm.boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, label->text()).size()
                                : need(label->text(), label->buddy() ? Qt::TextShowMnemonic : 0);
        if (!fits(needs, room.size())) out << misfit(w, label->text(), needs, room.size());
    } else if (auto* box = qobject_cast<const QCheckBox*>(w); box || qobject_cast<const QRadioButton*>(w)) {
        auto* button = static_cast<const QAbstractButton*>(w);
        if (button->text().isEmpty()) return;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room = w->style()->subElementRect(
            box ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, w);
        const QSize needs = qobject_cast<const WrapCheckBox*>(w)
                                ? fm.boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, button->text()).size()
                                : need(button->text(), Qt::TextShowMnemonic);
        if (!fits(needs, room.size())) out << misfit(w, button->text(), needs, room.size());
    } else if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        if (button->text().isEmpty()) return;
        const QSize room = button->size() - QSize(4, 2);
        const QSize needs = need(button->text(), Qt::TextShowMnemonic);
        if (!fits(needs, room)) out << misfit(w, button->text(), needs, room);
    } else if (auto* group = qobject_cast<const QGroupBox*>(w)) {
        if (group->title().isEmpty()) return;
        const QSize room(group->width() - 16, group->height());
        const QSize needs = need(group->title(), Qt::TextShowMnemonic);
        if (!fits(needs, room)) out << misfit(w, group->title(), needs, room);
    } else if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
        if (edit->text().isEmpty() || qobject_cast<const QAbstractSpinBox*>(w->parentWidget())) return;
        // The frame on each side, then the edit's own margin of 2 pixels.
        const int frame = edit->hasFrame() ? w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w) : 0;
        const QMargins margins = edit->textMargins();
        const QSize room(edit->width() - 2 * frame - 4 - margins.left() - margins.right(),
                         edit->height() - 2 * frame - margins.top() - margins.bottom());
        const QSize needs = need(edit->text(), 0);
        if (!fits(needs, room)) out << misfit(w, edit->text(), needs, room);
    }
}

bool isControl(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QGroupBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

// The texts that do not fit and the controls that overlap a sibling.
QStringList misfits(QWidget* window) {
    QStringList out;
    QList<QWidget*> all = window->findChildren<QWidget*>();
    all.prepend(window);
    for (QWidget* w : all) {
        if (!w->isVisible() || w->window() != window) continue;
        checkText(w, out);
        QList<QWidget*> siblings;
        for (QObject* o : w->children())
            if (auto* c = qobject_cast<QWidget*>(o); c && c->isVisible() && !c->isWindow() && isControl(c))
                siblings << c;
        for (int i = 0; i < siblings.size(); ++i)
            for (int j = i + 1; j < siblings.size(); ++j)
                if (siblings[i]->geometry().intersects(siblings[j]->geometry()))
                    out << QString("%1 %2 overlaps %3 %4")
                               .arg(where(siblings[i]), rectText(siblings[i]->geometry()),
                                    siblings[j]->objectName(), rectText(siblings[j]->geometry()));
    }
    return out;
}

// Runs `check` on the next modal window, then closes it.
void checkNextModal(QStringList& out, std::function<void(QWidget*)> prepare = {}) {
    test::onNextModal([&out, prepare](QWidget* w) {
        if (prepare) prepare(w);
        out << misfits(w);
        if (auto* box = qobject_cast<QMessageBox*>(w))
            box->done(QMessageBox::Cancel);
        else
            static_cast<QDialog*>(w)->reject();
    });
}

void checkShown(QWidget* w, QStringList& out) {
    w->show();
    out << misfits(w);
    w->hide();
}

TEST(MainWindow, EveryTextOfEveryWindowFitsItsControlInEveryLanguage) {
    test::SampleWorkingFolder folder;
    for (const char* file : {"language.txt", "language-en.txt"}) {
        SCOPED_TRACE(file);
        MainWindow window;
        folder.watch(window.presenter());
        ASSERT_TRUE(window.loadLanguage(QString(VEM_DATA_DIR "/") + file));
        QStringList out;
        checkShown(&window, out);

        const std::pair<void (MainWindow::*)(), std::function<void(QWidget*)>> modals[] = {
            {&MainWindow::editHoldTimes, {}},
            {&MainWindow::editDeviceSerial, {}},
            {&MainWindow::editIpAddress, {}},
            {&MainWindow::editDataSend, {}},
            {&MainWindow::editPos, {}},
            {&MainWindow::editPortSettings, {}},
            {&MainWindow::editVideoSignal,
             [](QWidget* w) {  // the widest values the dialog takes
                 w->findChild<QLineEdit*>("chromaEdit")->setText("3750");
                 w->findChild<QLineEdit*>("lumaEdit")->setText("4096");
             }},
        };
        for (const auto& [open, prepare] : modals) {
            checkNextModal(out, prepare);
            (window.*open)();
        }
        checkNextModal(out);
        window.editField(1);

        PosExtendedDialog& posExtended = window.settingsDialogs().posExtendedDialog();
        posExtended.fill(window.project().posExtended);
        checkShown(&posExtended, out);
        auto* info = &window.deviceInfoDialog();
        info->fill({"default.qor", "07.12.26  12:13"});
        checkShown(info, out);
        checkShown(&window.progressWindow(), out);

        window.presenter().setSink({});
        window.presenter().setAnswerer({});
        checkNextModal(out);
        window.presenter().showSlot(Msg::PortNoPermission, &window, "/dev/ttyUSB0");
        checkNextModal(out);
        window.presenter().ask(Msg::UnsavedChanges, &window);
        EXPECT_TRUE(out.isEmpty()) << out.join('\n').toStdString();
    }
}

}  // namespace
}  // namespace vem
