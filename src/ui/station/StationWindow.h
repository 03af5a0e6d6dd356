#pragma once
#include <QStringList>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>

#include "i18n/LanguageFile.h"
#include "session/Station.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QGridLayout;

namespace vem {

class PortRegistry;
class ProductionStation;
class Session;
class StationRecord;
class StationTile;

// "Serienprogrammierung...": a production station on the project's file, in this window's event
// loop: one tile per device that appears in the watched folder, the counts of this run and its
// last records. The station is the one vemctl station runs; its record is station.sqlite beside
// the project.
class StationWindow : public QWidget {
    Q_OBJECT
public:
    StationWindow(Session& session, PortRegistry& ports, QWidget* parent);
    ~StationWindow() override;

    // The language the runs speak in their messages.
    void takeLanguage(const std::optional<LanguageFile>& language) { language_ = language; }
    // Every caption from the message table.
    void showTexts();
    void setFolder(const QString& folder);
    // Starts the station on the project as saved; false, with the reason in the window, when it
    // cannot (no file yet, a project that cannot be programmed, a record that cannot be written).
    bool start();
    // Takes no further device; the running ones are abandoned.
    void stop();
    bool running() const;
    const StationTile* tile(const QString& device) const;
    QString problem() const;
    QStringList lastRecords() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onEvent(const StationEvent& event);
    void showProgress(const QString& device);
    void showCounters();
    void showRecords();
    void showProblem(const QString& text);
    void showButton();
    StationTile* tileFor(const QString& device);
    QString say(int slot, const QStringList& values = {}) const;
    QString resultText(StationResult result, const std::string& step, const std::string& message) const;

    Session& session_;
    PortRegistry& ports_;
    std::optional<LanguageFile> language_;
    QLabel* folderLabel_;
    QLineEdit* folderEdit_;
    QPushButton* startButton_;
    QLabel* problem_;
    QWidget* tilesArea_;
    QGridLayout* tiles_;
    QLabel* counters_;
    QLabel* recordsLabel_;
    QListWidget* records_;
    std::unique_ptr<ProductionStation> station_;
    std::unique_ptr<StationRecord> reader_;
    QString recordTarget_;
    QString startedAt_;  // this run's start, ISO 8601 UTC: the records shown are this run's
    std::map<QString, StationTile*> tileOf_;
};

}  // namespace vem
