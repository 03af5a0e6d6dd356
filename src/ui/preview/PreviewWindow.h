#pragma once
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "preview/PreviewPicture.h"
#include "preview/ReceiptText.h"

namespace Ui {
class PreviewWindow;
}

namespace vem {

class MessagePresenter;
class Session;

// "Vorschau": the device's screen as the preview model computes it, over the test picture or a
// photo, following every edit; a receipt played line by line or at the register's pace.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow(Session& session, MessagePresenter& presenter, QWidget* parent);
    ~PreviewWindow() override;

    // Shows the window in front.
    void open();
    // Computes and paints the picture of the project as it is now; texts in the current language.
    void refresh();
    const PreviewPicture& picture() const { return picture_; }
    int dataSet() const { return dataSet_; }

    // What the buttons do once a file is chosen; false (and the reason shown) when it cannot serve.
    bool openReceipt(const QString& path);
    void nextLine();
    bool choosePhoto(const QString& path);
    bool savePng(const QString& path);

private:
    void connectControls();
    void showTexts();
    void showReceiptState();
    void selectDataSet(int dataSet);
    void play(bool running);
    // Plays the first `lines` lines of the receipt again, through the project's rules as they are now.
    void replay(std::size_t lines);
    void showProblem(const SlotMessage& message);

    std::unique_ptr<Ui::PreviewWindow> ui_;
    Session& session_;
    MessagePresenter& presenter_;
    QImage frame_;
    PreviewPicture picture_;
    int dataSet_ = 0;
    int followedActiveDataSet_ = -1;
    ReceiptText receipt_;
    QString receiptName_;
    std::size_t played_ = 0;
    std::unique_ptr<ReceiptPlayer> player_;
    QTimer lineTimer_;   // the register's next line while playing
    QTimer clockTimer_;  // date and time move on while the window shows
};

}  // namespace vem
