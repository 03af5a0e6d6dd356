#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "ui/common/MessagePresenter.h"
#include "ui/common/QtTranslation.h"
#include "ui/main/ProjectFiles.h"
#include "ui/port/PortSettingsFlow.h"
#include "serial/PortRegistry.h"
#include "session/Session.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QToolButton;

namespace vem {

class KeyboardSink;
class ScreenGrid;
class SettingsDialogs;
class FieldDialog;
class ProgressWindow;
class DeviceInfoDialog;
class VideoSignalDialog;
class SessionLink;
class SerialPort;

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
    const Project& project() const { return session_.project(); }
    const DeviceImage& image() const { return session_.image(); }
    const Editor& editor() const { return session_.editor(); }
    MessagePresenter& presenter() { return presenter_; }
    ScreenGrid* grid() const { return grid_; }
    SettingsDialogs& settingsDialogs() { return *settings_; }
    SerialPort& serial() { return *serial_; }
    PortRegistry& ports() { return ports_; }
    ProgressWindow& progressWindow() { return *progress_; }
    DeviceInfoDialog& deviceInfoDialog() { return *deviceInfo_; }

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
    // The settings dialogs and the files.
    void editHoldTimes();
    void editDeviceSerial();
    void editIpAddress();
    void editDataSend();
    void editPos();
    void openProject();
    void saveProject();
    void saveProjectAs();
    void undo();
    void redo();
    void openImageFile();
    void editPortSettings();
    // The exchanges with the device and the service menu.
    void programDevice();
    void readBack();
    void readDeviceInfo();
    void setDeviceClock();
    void uploadFont();
    void uploadFirmware();
    void sendFuses();
    void editVideoSignal();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFieldList(QWidget* client);
    void buildSummaries(QWidget* client);
    void buildMenu();
    void buildStatusBar();
    // The captions of the items that come from message slots.
    void showMenuTexts();
    void showProjectInTitle();
    QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int x, int y,
                     const QColor& colour = QColor());
    // The keyboard goes back to the grid.
    void focusGrid();
    // Shows what an operation asks for: its messages, captions, labels and the editor.
    void showOutcome(const Outcome& outcome);
    // The port as messages name it.
    std::string portName() const;

    Session session_;
    MessagePresenter presenter_;
    QtTranslation qtTranslation_;
    std::unique_ptr<ProjectFiles> files_;

    ScreenGrid* grid_ = nullptr;
    KeyboardSink* keyboardSink_ = nullptr;
    FieldDialog* fieldDialog_ = nullptr;
    std::unique_ptr<SettingsDialogs> settings_;
    ProgressWindow* progress_ = nullptr;
    DeviceInfoDialog* deviceInfo_ = nullptr;
    VideoSignalDialog* videoSignal_ = nullptr;
    PortRegistry ports_;
    SerialPort* serial_ = nullptr;
    PortSettingsFlow portSettings_{ports_, session_.messages(), this};
    SessionLink* link_ = nullptr;
    QMenu* systemMenu_ = nullptr;
    std::array<QAction*, 7> deviceActions_{};
    QAction* openProjectItem_ = nullptr;  // waits, like the device items, while an exchange runs
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QAction* saveProjectItem_ = nullptr;
    QAction* undoItem_ = nullptr;
    QAction* redoItem_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    ProjectFiles::RecentItems recentItems_{};
    QString windowCaption_ = QStringLiteral("VEM Setup V1.13");  // the title after the project
    bool busyCursor_ = false;
    bool captionModified_ = false;  // the caption shows the "*"
    QGroupBox* interfaceBox_ = nullptr;
    std::array<QToolButton*, DataFieldCount> fieldButtons_{};
    std::array<QCheckBox*, FieldCount> fieldBoxes_{};
    std::array<QToolButton*, DataSetCount> dataSetButtons_{};
    QCheckBox* summerTimeBox_ = nullptr;
    QButtonGroup* dataSetGroup_ = nullptr;
    QLabel* handshakeValue_ = nullptr;
    QLabel* formatValue_ = nullptr;
    QLabel* baudValue_ = nullptr;
    QLabel* ipValue_ = nullptr;
    QLabel* portValue_ = nullptr;
    QLabel* dataHoldValue_ = nullptr;
    QLabel* relayHoldValue_ = nullptr;
    QLabel* statusLine_ = nullptr;  // how the last device operation ended
};

}  // namespace vem
