#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <vector>

#include "ui/common/MessagePresenter.h"
#include "ui/device/VideoSignalDialog.h"

namespace vem {
namespace {

class VideoDialog : public ::testing::Test {
protected:
    MessageTable messages;
    DialogMessages dialogMessages;
    MessagePresenter presenter{messages, dialogMessages};
    std::vector<MessagePresenter::Shown> shown;
    std::vector<VideoBlock> sent;
    VideoSignalDialog dialog{presenter, nullptr};

    void SetUp() override {
        presenter.setSink([this](const MessagePresenter::Shown& m) { shown.push_back(m); });
        QObject::connect(&dialog, &VideoSignalDialog::sendRequested, [this](VideoBlock b) { sent.push_back(b); });
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    template <class T>
    T* child(const QString& name) {
        T* c = dialog.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    // The value edits and their spin arrows, 1 to 4: brightness, contrast, chroma, luma.
    static QString value(int n) { return QStringList{"brightness", "contrast", "chroma", "luma"}.at(n - 1); }
    QLineEdit* edit(int n) { return child<QLineEdit>(value(n) + "Edit"); }
    void type(int n, const QString& text) {
        edit(n)->selectAll();
        QTest::keyClick(edit(n), Qt::Key_Delete);
        QTest::keyClicks(edit(n), text);
    }
    void click(const QString& name) {
        auto* b = child<QAbstractButton>(name);
        const bool box = qobject_cast<QCheckBox*>(b);
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, box ? QPoint(6, b->height() / 2) : b->rect().center());
    }
    void spin(int n, bool up) { click(value(n) + (up ? "Up" : "Down")); }
    int videoMessages() const {
        int count = 0;
        for (const auto& m : shown) count += m.isDialogMessage && m.dialog == DialogId::Video;
        return count;
    }
};

TEST_F(VideoDialog, SpinArrowsStepTheirEditAndStopAtTheRangeEnds) {
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
        SCOPED_TRACE(QString("%1 %2 %3").arg(value(c.edit)).arg(c.typed).arg(c.up ? "up" : "down").toStdString());
        type(c.edit, c.typed);
        spin(c.edit, c.up);
        EXPECT_EQ(edit(c.edit)->text(), c.after);
    }
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(sent.empty());

    // An unreadable text stays and the dialog says why.
    type(3, "7x");
    spin(3, true);
    EXPECT_EQ(edit(3)->text(), "7x");
    EXPECT_EQ(videoMessages(), 1);
}

TEST_F(VideoDialog, ArrowSendsTheTypedValuesOnlyWhenAllAreInRange) {
    click("sendButton");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (VideoBlock{128, 128, 2, 238, 6, 94, 0, 0, 1, 1, 0}));

    type(1, "255");
    type(2, "0");
    type(3, "3750");
    type(4, "40961");  // four characters at most
    click("videoOffBox");
    click("colourOnBox");
    click("autoPllBox");
    click("sendButton");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], (VideoBlock{255, 0, 0x0E, 0xA6, 0x10, 0x00, 1, 0, 0, 1, 1}));
    EXPECT_TRUE(shown.empty());

    struct Refused {
        int edit;
        const char* typed;
    };
    for (const Refused& r : {Refused{2, "256"}, Refused{3, "3751"}, Refused{1, ""}}) {
        SCOPED_TRACE(QString("%1 \"%2\"").arg(value(r.edit)).arg(r.typed).toStdString());
        const QString kept = edit(r.edit)->text();
        const int before = videoMessages();
        type(r.edit, r.typed);
        click("sendButton");
        EXPECT_EQ(sent.size(), 2u);
        EXPECT_EQ(videoMessages(), before + 1);
        type(r.edit, kept);
    }
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(VideoDialog, ResetShowsAndSendsTheStartValuesKeepingThePllSwitch) {
    type(1, "7");
    type(3, "abc");
    click("videoOffBox");
    click("testPictureBox");
    click("autoColourBox");
    click("autoPllBox");
    click("resetButton");  // R, sent without checking

    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (VideoBlock{128, 128, 2, 238, 6, 94, 0, 0, 1, 1, 1}));
    EXPECT_EQ(edit(1)->text(), "128");
    EXPECT_EQ(edit(3)->text(), "750");
    EXPECT_FALSE(child<QCheckBox>("videoOffBox")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("autoColourBox")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("autoPllBox")->isChecked());
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(dialog.isVisible());

    click("cancelButton");  // abbrechen
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(sent.size(), 1u);
}

}  // namespace
}  // namespace vem
