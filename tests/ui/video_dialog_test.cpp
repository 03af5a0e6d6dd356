#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <vector>

#include "ui/common/MessagePresenter.h"
#include "UiHelpers.h"
#include "ui/device/VideoSignalDialog.h"

namespace vem {
namespace {

// The video signal dialog, shown, with what it says and sends recorded.
struct VideoSignalDialogTest {
    MessageTable messages;
    DialogMessages dialogMessages;
    MessagePresenter presenter{messages, dialogMessages};
    std::vector<MessagePresenter::Shown> shown;
    std::vector<VideoBlock> sent;
    VideoSignalDialog dialog{presenter, nullptr};

    VideoSignalDialogTest() {
        presenter.setSink([this](const MessagePresenter::Shown& m) { shown.push_back(m); });
        QObject::connect(&dialog, &VideoSignalDialog::sendRequested, [this](VideoBlock b) { sent.push_back(b); });
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    template <class T>
    T* child(const QString& name) { return test::child<T>(&dialog, name); }
    // The value edits and their spin arrows, 1 to 4: brightness, contrast, chroma, luma.
    static QString value(int n) { return QStringList{"brightness", "contrast", "chroma", "luma"}.at(n - 1); }
    QLineEdit* edit(int n) { return child<QLineEdit>(value(n) + "Edit"); }
    void type(int n, const QString& text) {
        edit(n)->selectAll();
        QTest::keyClick(edit(n), Qt::Key_Delete);
        QTest::keyClicks(edit(n), text);
    }
    void click(const QString& name) { test::click(&dialog, name); }
    void spin(int n, bool up) { click(value(n) + (up ? "Up" : "Down")); }
    int videoMessages() const {
        int count = 0;
        for (const auto& m : shown) count += m.isDialogMessage && m.dialog == DialogId::Video;
        return count;
    }
};

TEST(VideoSignalDialog, SpinArrowsStepTheirEditAndStopAtTheRangeEnds) {
    VideoSignalDialogTest t;
    struct Case {
        int edit;
        const char* typed;
        bool up;
        const char* after;
    };
    const Case cases[] = {
        {1, "3", false, "0"}, {2, "255", true, "255"}, {3, "3750", true, "3750"}, {4, "1630", false, "1610"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1 %2 %3").arg(t.value(c.edit)).arg(c.typed).arg(c.up ? "up" : "down").toStdString());
        t.type(c.edit, c.typed);
        t.spin(c.edit, c.up);
        EXPECT_EQ(t.edit(c.edit)->text(), c.after);
    }
    EXPECT_TRUE(t.shown.empty());
    EXPECT_TRUE(t.sent.empty());

    // An unreadable text stays and the dialog says why.
    t.type(3, "7x");
    t.spin(3, true);
    EXPECT_EQ(t.edit(3)->text(), "7x");
    EXPECT_EQ(t.videoMessages(), 1);
}

TEST(VideoSignalDialog, SendButtonSendsTheTypedValuesOnlyWhenAllAreInRange) {
    VideoSignalDialogTest t;
    t.click("sendButton");
    ASSERT_EQ(t.sent.size(), 1u);
    EXPECT_EQ(t.sent[0], (VideoBlock{128, 128, 2, 238, 6, 94, 0, 0, 1, 1, 0}));

    t.type(1, "255");
    t.type(2, "0");
    t.type(3, "3750");
    t.type(4, "40961");  // four characters at most
    t.click("videoOffBox");
    t.click("colourOnBox");
    t.click("autoPllBox");
    t.click("sendButton");
    ASSERT_EQ(t.sent.size(), 2u);
    EXPECT_EQ(t.sent[1], (VideoBlock{255, 0, 0x0E, 0xA6, 0x10, 0x00, 1, 0, 0, 1, 1}));
    EXPECT_TRUE(t.shown.empty());

    struct Refused {
        int edit;
        const char* typed;
    };
    for (const Refused& r : {Refused{2, "256"}, Refused{3, "3751"}, Refused{1, ""}}) {
        SCOPED_TRACE(QString("%1 \"%2\"").arg(t.value(r.edit)).arg(r.typed).toStdString());
        const QString kept = t.edit(r.edit)->text();
        const int before = t.videoMessages();
        t.type(r.edit, r.typed);
        t.click("sendButton");
        EXPECT_EQ(t.sent.size(), 2u);
        EXPECT_EQ(t.videoMessages(), before + 1);
        t.type(r.edit, kept);
    }
    EXPECT_TRUE(t.dialog.isVisible());
}

TEST(VideoSignalDialog, ResetShowsAndSendsTheStartValuesKeepingThePllSwitch) {
    VideoSignalDialogTest t;
    t.type(1, "7");
    t.type(3, "abc");
    t.click("videoOffBox");
    t.click("testPictureBox");
    t.click("autoColourBox");
    t.click("autoPllBox");
    t.click("resetButton");  // R, sent without checking

    ASSERT_EQ(t.sent.size(), 1u);
    EXPECT_EQ(t.sent[0], (VideoBlock{128, 128, 2, 238, 6, 94, 0, 0, 1, 1, 1}));
    EXPECT_EQ(t.edit(1)->text(), "128");
    EXPECT_EQ(t.edit(3)->text(), "750");
    EXPECT_FALSE(t.child<QCheckBox>("videoOffBox")->isChecked());
    EXPECT_TRUE(t.child<QCheckBox>("autoColourBox")->isChecked());
    EXPECT_TRUE(t.child<QCheckBox>("autoPllBox")->isChecked());
    EXPECT_TRUE(t.shown.empty());
    EXPECT_TRUE(t.dialog.isVisible());

    t.click("cancelButton");  // abbrechen
    EXPECT_FALSE(t.dialog.isVisible());
    EXPECT_EQ(t.sent.size(), 1u);
}

}  // namespace
}  // namespace vem
