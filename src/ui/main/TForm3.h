#pragma once
#include <QWidget>

namespace vem {

class TForm1;

// The start-up initialiser, never shown: fills the summaries and opens "default.qor".
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(TForm1& mainWindow);
};

}  // namespace vem
