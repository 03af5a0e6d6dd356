#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "ui/common/MessagePresenter.h"
#include "ui/common/QtTranslation.h"
#include "ui/main/ProjectFiles.h"
#include "serial/PortRegistry.h"
#include "session/Session.h"

class QAction;
class QLabel;

namespace Ui {
class MainWindow;
}

namespace vem {

class DeviceInfoDialog;
class DeviceMenu;
class FieldControls;
class FieldDialog;
class KeyboardSink;
class ProgressWindow;
class ScreenGrid;
class SerialPort;
class SessionLink;
class SettingsDialogs;

// The main window: the screen grid, the field list, the data sets, the summaries and the menu.
// Every event goes to the Session; the window shows what the returned Outcome asks for.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Opens `projectFile` when one is given (its folder becomes the working folder), otherwise
    // "default.qor" of the working folder. `beforeProject` runs on the built window before the
    // project opens, so that what it loads (the language file) speaks in the project's messages.
    explicit MainWindow(QWidget* parent = nullptr, const QString& projectFile = {},
                        const std::function<void(MainWindow&)>& beforeProject = {});
    ~MainWindow() override;

    Session& session() { return session_; }
    const Project& project() const { return session_.document().project(); }
    const DeviceImage& image() const { return session_.document().image(); }
    const Editor& editor() const { return session_.document().editor(); }
    MessagePresenter& presenter() { return presenter_; }
    ScreenGrid* grid() const { return grid_; }
    SettingsDialogs& settingsDialogs() { return *settings_; }
    SerialPort& serial() { return *serial_; }
    PortRegistry& ports() { return ports_; }
    DeviceMenu& deviceMenu() { return *device_; }
    ProgressWindow& progressWindow();
    DeviceInfoDialog& deviceInfoDialog();

    // Puts the texts of a language file on every window and into the message tables; false,
    // with `fault` telling why, when the file cannot be read.
    bool loadLanguage(const QString& path, LanguageFileFault& fault);
    bool loadLanguage(const QString& path);

    // Carries out what an operation asks of the port and the timers, then shows the rest.
    void applyOutcome(const Outcome& outcome);
    // Shows the editor's state: cells, field list, data set buttons, clock box.
    void showEditorState();
    void showInterfaceSummary();
    void showHoldTimes();
    void showProjectName();

    // What the controls and menu items do. The grid: a field button opens the field dialog, a
    // field's check box places or frees it, a data set button switches to that set.
    void editField(int field);
    void toggleField(int field);
    void selectDataSet(int dataSet);
    void toggleSummerTime();
    void sendKeyToGrid(QKeyEvent* event);
    // The settings dialogs, the PC port, the video signal and the files.
    void editHoldTimes();
    void editDeviceSerial();
    void editIpAddress();
    void editDataSend();
    void editPos();
    void editPortSettings();
    void editVideoSignal();
    void openProject();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Every item that starts an exchange with the device, with what it does; they wait while one runs.
    using ExchangeItems = std::array<std::pair<QAction*, void (DeviceMenu::*)()>, 7>;
    ExchangeItems exchangeItems() const;
    void connectControls();
    void connectMenu();
    // The captions of the items that come from message slots.
    void showMenuTexts();
    // The keyboard goes back to the grid.
    void focusGrid();
    // Shows what an operation asks for: its messages, captions, labels and the editor.
    void showOutcome(const Outcome& outcome);

    std::unique_ptr<Ui::MainWindow> ui_;
    Session session_;
    MessagePresenter presenter_;
    QtTranslation qtTranslation_;
    std::unique_ptr<ProjectFiles> files_;
    std::unique_ptr<FieldControls> fieldControls_;
    std::unique_ptr<DeviceMenu> device_;
    std::unique_ptr<SettingsDialogs> settings_;
    ScreenGrid* grid_ = nullptr;
    KeyboardSink* keyboardSink_ = nullptr;
    FieldDialog* fieldDialog_ = nullptr;
    PortRegistry ports_;
    SerialPort* serial_ = nullptr;
    SessionLink* link_ = nullptr;
    QLabel* statusLine_ = nullptr;  // how the last device operation ended
    QString windowCaption_ = QStringLiteral("VEM Setup V1.13");  // the title after the project
    bool busyCursor_ = false;
    bool captionModified_ = false;  // the caption shows the "*"
};

}  // namespace vem
