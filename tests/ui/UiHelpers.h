#pragma once
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QDialog>
#include <QAbstractItemView>
#include <QFileSystemModel>
#include <QTest>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/common/MessagePresenter.h"
#include "editor/Editor.h"
#include "ui/main/MainWindow.h"

namespace vem::test {

// Runs `act` on the modal dialog named `name` once it shows (while the caller shows it modally).
inline void onModal(const QString& name, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, name, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || (!name.isEmpty() && modal->objectName() != name)) return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

// The same for the next modal dialog, whatever its name.
inline void onNextModal(std::function<void(QWidget*)> act) { onModal({}, std::move(act)); }

// The child `name` of `w`; a test fails when it is not there.
template <class T>
T* child(const QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}

// Clicks a button where an operator does: a check box or radio button takes clicks only on its
// indicator or caption.
inline void click(QAbstractButton* button) {
    const bool indicator = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                      indicator ? QPoint(6, button->height() / 2) : button->rect().center());
}
inline void click(const QWidget* w, const QString& name) { click(child<QAbstractButton>(w, name)); }

// A working folder with the sample project and template, current while it lives; the messages
// of the windows it watches are collected in `shown`.
struct SampleWorkingFolder {
    QTemporaryDir folder;
    QString previous = QDir::currentPath();
    std::vector<MessagePresenter::Shown> shown;

    SampleWorkingFolder() {
        for (const char* name : {"default.qor", "default.bin"})
            EXPECT_TRUE(QFile::copy(QString(VEM_DATA_DIR "/") + name, folder.filePath(name))) << name;
        QDir::setCurrent(folder.path());
    }
    ~SampleWorkingFolder() { QDir::setCurrent(previous); }
    SampleWorkingFolder(const SampleWorkingFolder&) = delete;
    SampleWorkingFolder& operator=(const SampleWorkingFolder&) = delete;

    void watch(MessagePresenter& presenter) {
        presenter.setSink([this](const MessagePresenter::Shown& m) { shown.push_back(m); });
    }
};

// The same for the tests of a fixture.
struct SampleFolder : ::testing::Test, SampleWorkingFolder {};

// Answers the next file dialog with `path`, typed into its name field as an operator would.
inline void chooseInNextFileDialog(const QString& path) {
    onNextModal([path](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        auto* name = w->findChild<QLineEdit*>("fileNameEdit");
        if (!dialog || !name) return;
        // An operator types once the folder is listed: its late listing would select the name
        // the dialog started with again.
        if (auto* files = w->findChild<QFileSystemModel*>()) {
            EXPECT_TRUE(QTest::qWaitFor([files] { return files->rowCount(files->index(files->rootPath())) > 0; }));
        }
        // A selected file wins over the name typed; a user typing has the focus in the name field,
        // which drops that selection, but the focus may not have arrived yet.
        for (auto* view : w->findChildren<QAbstractItemView*>())
            if (view->selectionModel()) view->selectionModel()->clearSelection();
        // As a user's edit, which replaces the name the dialog starts with.
        name->setText(path);
        emit name->textEdited(path);
        dialog->done(QDialog::Accepted);
    });
}

// The cells whose tag is `tag`, in order.
inline std::vector<int> cellsOf(const Editor& editor, int tag) {
    std::vector<int> out;
    for (int k = 0; k < CellCount; ++k)
        if (editor.cells()[k].tag == tag) out.push_back(k);
    return out;
}

// `project` and `image` become the window's, as a test's starting state, and the window shows
// them.
inline void showTaken(MainWindow& window, const Project& project, const DeviceImage& image) {
    window.applyOutcome(window.session().document().takeProject(project, image));
}

// Types `text` into `widget` one character at a time, as a keyboard with those keys would.
inline void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

}  // namespace vem::test
