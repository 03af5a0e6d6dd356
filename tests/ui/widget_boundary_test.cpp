#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTextDocumentFragment>

#include "UiHelpers.h"
#include "host/Encoding.h"
#include "ui/common/MessagePresenter.h"
#include "ui/common/PlainText.h"
#include "ui/settings/SettingsDialogs.h"
#include "session/Session.h"
#include "ui/settings/HoldTimesDialog.h"
#include "ui/device/DeviceInfoDialog.h"
#include "ui/port/PortSettingsDialog.h"

namespace vem {
namespace {

TEST(Encoding, EveryByteRoundTripsThroughAWidgetText) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const QString shown = fromCp1252(all);
    ASSERT_EQ(shown.size(), 256);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(cp1252Byte(shown.at(b)), static_cast<unsigned char>(b)) << b;
    EXPECT_EQ(toCp1252(shown), all);
    EXPECT_EQ(toCp1252(QString::fromUtf8("Σ")), "?");
}

TEST(PosExtendedDialog, AcceptedUnchangedKeepsEveryByte) {
    Session session;
    Project p;
    PosExtendedSettings& s = p.posExtended;
    s.StartDefinition = "\x81S\x9D";
    s.StartDefinitionLength = 3;
    s.Keyword[0] = "K\x81\x9D";
    s.KeywordLength[0] = 3;
    session.document().takeProject(p, DeviceImage{});
    MessagePresenter presenter(session.messages(), session.dialogMessages());
    SettingsDialogs dialogs(session, presenter, nullptr);
    test::onNextModal([](QWidget* d) { d->findChild<QAbstractButton*>("acceptButton")->click(); });  // übernehmen
    dialogs.runPosExtended();
    EXPECT_EQ(session.document().project().posExtended.StartDefinition, "\x81S\x9D");
    EXPECT_EQ(session.document().project().posExtended.Keyword[0], "K\x81\x9D");
}

TEST(ControlValues, LongValueIsShownWholeButTypingNeverGoesBeyondTheDesignedLength) {
    HoldTimesDialog form(nullptr);  // the edits take 3 characters
    auto* data = form.findChild<QLineEdit*>("dataHoldEdit");
    form.show();
    form.fill({"12345", "1"});
    EXPECT_EQ(data->text(), "12345");  // shown whole
    QTest::keyClicks(data, "6");
    data->setCursorPosition(2);
    QTest::keyClick(data, Qt::Key_Delete);
    QTest::keyClicks(data, "7");
    EXPECT_EQ(data->text(), "1245");  // shortened, it may not grow again
    data->clear();
    QTest::keyClicks(data, "98765");
    EXPECT_EQ(data->text(), "987");

    form.fill({"4567", "0"});
    EXPECT_EQ(data->text(), "4567");
    form.fill({"1", "0"});
    QTest::keyClicks(data, "234");
    EXPECT_EQ(data->text(), "123");
}

TEST(MessagePresenter, BoxWithoutVisibleOwnerIsCentredOnThePrimaryScreen) {
    MessageTable messages;
    DialogMessages dialogMessages;
    MessagePresenter presenter(messages, dialogMessages);
    QWidget hiddenOwner;  // the main window before it is shown
    hiddenOwner.setGeometry(0, 0, 120, 80);
    for (QWidget* owner : {static_cast<QWidget*>(nullptr), &hiddenOwner}) {
        QRect placed;
        test::onNextModal([&placed](QWidget* box) {
            placed = box->frameGeometry();
            static_cast<QMessageBox*>(box)->accept();
        });
        presenter.showSlot(0, owner);
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        EXPECT_LE((placed.center() - centre).manhattanLength(), 2) << (owner ? "hidden owner" : "no owner");
    }
}

TEST(PlainText, TextsFromADeviceOrAFileAreNeverReadAsMarkup) {
    MainWindow window;
    PortSettingsDialog port(window.ports(), window.session().messages(), &window);
    QList<QLabel*> labels = window.findChildren<QLabel*>();
    ASSERT_GT(labels.size(), 30);
    for (QLabel* label : labels)
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << qPrintable(label->window()->objectName() + "/" + label->objectName());

    const std::string markup = "<h1>x</h1>\x1b]0;title\x07";
    auto* info = &window.deviceInfoDialog();
    info->fill({markup, "07.12.26  12:13"});
    EXPECT_EQ(info->findChild<QLabel*>("fileNameValue")->text(), fromCp1252(markup));

    Qt::TextFormat shown = Qt::AutoText;
    test::onNextModal([&shown](QWidget* box) {
        shown = static_cast<QMessageBox*>(box)->textFormat();
        static_cast<QMessageBox*>(box)->accept();
    });
    window.presenter().showSlot(Msg::PortCannotOpen, &window, markup);
    EXPECT_EQ(shown, Qt::PlainText);

    const QString description = "<h1>USB</h1> & <i>serial</i>";  // as a device may name itself
    EXPECT_EQ(QTextDocumentFragment::fromHtml(plainToolTip(description)).toPlainText(), description);
}

}  // namespace
}  // namespace vem
