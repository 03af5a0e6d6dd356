#include <gtest/gtest.h>

#include <QTest>

#include "UiHelpers.h"
#include "ui/main/MainWindow.h"

using namespace vem;

namespace {

struct PreviewWindowTest : test::SampleFolder {
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        window = std::make_unique<MainWindow>();
        watch(window->presenter());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* sink() const { return window->findChild<QWidget*>("KeyboardSink"); }
};

TEST_F(PreviewWindowTest, F5OpensThePreviewAndItFollowsEveryEdit) {
    EXPECT_EQ(window->preview().built(), nullptr) << "built only when first opened";
    QTest::keyClick(sink(), Qt::Key_F5);
    PreviewWindow* preview = window->preview().built();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->picture().at(15, 0).character, 'V');

    window->applyOutcome(window->session().document().mousePress(600, MouseButton::Left));
    test::typeText(sink(), "Z");
    EXPECT_EQ(preview->picture().at(15, 0).character, 'Z');
    EXPECT_EQ(preview->picture().at(15, 0).item, CellItem::Background);
}

TEST_F(PreviewWindowTest, AReceiptIsSteppedAndABadOneIsNamed) {
    QTest::keyClick(sink(), Qt::Key_F5);
    PreviewWindow& preview = *window->preview().built();
    QFile binary(folder.filePath("binary.txt"));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("\0\1\2\3", 4));
    binary.close();
    EXPECT_FALSE(preview.openReceipt(binary.fileName()));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].slot, Msg::ReceiptNotText);
    EXPECT_FALSE(preview.choosePhoto(binary.fileName()));
    EXPECT_EQ(shown.back().slot, Msg::BackgroundNotImage);

    // The sample project chooses no first line: a POS area in rows 7 and 8 shows the receipt.
    PosEntry pos = posEntry(window->project().pos);
    pos.firstLine = 6;
    pos.lineCount = 1;
    pos.scrollDirection = 1;
    pos.transparency = 0;
    window->applyOutcome(window->session().settings().acceptPos(pos));
    ASSERT_EQ(window->project().pos.FirstLine, 7);
    ASSERT_TRUE(preview.openReceipt(VEM_DATA_DIR "/receipt-en.txt"));
    preview.nextLine();
    preview.nextLine();
    EXPECT_EQ(preview.picture().at(6, 0).character, '1');  // "12 High Street", the newest, at the top
    EXPECT_EQ(preview.picture().at(7, 0).character, 'C');
    EXPECT_TRUE(preview.savePng(folder.filePath("preview.png")));
    EXPECT_EQ(QImage(folder.filePath("preview.png")).size(), QSize(720, 576));
}

}  // namespace
