#pragma once

class QWidget;

namespace vem::startup {

// How long each part of the start takes. With QT_LOGGING_RULES="vem.timing.info=true" each part
// is logged when it ends, as "vem.timing: <part> <milliseconds> ms"; a part may be logged in
// several pieces. Without beginTiming (in a test, say) nothing is measured.

// Starts the clock; the first statement of main.
void beginTiming();
// Ends the part that ran since the previous one ended.
void endPart(const char* part);
// Once `window` has been painted the first time, logs "shown <milliseconds> ms" since beginTiming.
void logWhenShown(QWidget* window);

}  // namespace vem::startup
