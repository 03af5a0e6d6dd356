#pragma once
#include <QFrame>

class QLabel;
class QProgressBar;

namespace vem {

// One device of a station: its name, the progress of its run, and how it stands in words and
// colour.
class StationTile : public QFrame {
    Q_OBJECT
public:
    enum class Tone { Neutral, Good, Held, Bad, Warning };

    StationTile(const QString& device, QWidget* parent);

    // `detail`, when there is one, shows when the pointer rests on the tile.
    void showState(const QString& text, Tone tone, const QString& detail = {});
    void showProgress(int position, int maximum);
    QString stateText() const;
    Tone tone() const { return tone_; }

private:
    QLabel* name_;
    QProgressBar* bar_;
    QLabel* state_;
    Tone tone_ = Tone::Neutral;
};

}  // namespace vem
