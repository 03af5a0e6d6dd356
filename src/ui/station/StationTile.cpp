#include "ui/station/StationTile.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace vem {
namespace {

// The background of each tone; text stays black on every one.
QString toneColour(StationTile::Tone tone) {
    switch (tone) {
    case StationTile::Tone::Neutral: return "#e8e8e8";
    case StationTile::Tone::Good: return "#9be59b";
    case StationTile::Tone::Held: return "#a8c8f0";
    case StationTile::Tone::Bad: return "#f08c8c";
    case StationTile::Tone::Warning: return "#f5d27a";
    }
    return "#e8e8e8";
}

}  // namespace

StationTile::StationTile(const QString& device, QWidget* parent)
    : QFrame(parent), name_(new QLabel(this)), bar_(new QProgressBar(this)), state_(new QLabel(this)) {
    setObjectName("stationTile");
    setFrameShape(QFrame::StyledPanel);
    setFixedSize(230, 96);
    auto* layout = new QVBoxLayout(this);
    // A by-id name is long; its end tells devices apart.
    name_->setText(name_->fontMetrics().elidedText(device, Qt::ElideLeft, 210));
    name_->setToolTip(device);
    name_->setTextFormat(Qt::PlainText);
    state_->setTextFormat(Qt::PlainText);
    state_->setWordWrap(true);
    bar_->setTextVisible(false);
    bar_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(name_);
    layout->addWidget(bar_);
    layout->addWidget(state_);
    showState({}, Tone::Neutral);
}

void StationTile::showState(const QString& text, Tone tone, const QString& detail) {
    tone_ = tone;
    state_->setText(text);
    setToolTip(detail.isEmpty() ? text : detail);
    setStyleSheet("#stationTile { background: " + toneColour(tone) + "; } QLabel { color: black; }");
}

void StationTile::showProgress(int position, int maximum) {
    bar_->setMaximum(maximum);
    bar_->setValue(position);
}

QString StationTile::stateText() const { return state_->text(); }

}  // namespace vem
