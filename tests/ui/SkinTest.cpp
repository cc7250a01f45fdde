// Skin images where they exist, the drawn look where they do not.

#include "UiTest.h"

#include "ui/base/Settings.h"
#include "ui/base/Skin.h"
#include "ui/controls/PushButton.h"
#include "ui/views/Icon.h"
#include "ui/views/Picture.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvane::ui::test {
namespace {

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QImage red(40, 20, QImage::Format_RGB32);
        red.fill(Qt::red);
        ASSERT_TRUE(QDir().mkpath(folder.filePath("icon")));
        ASSERT_TRUE(red.save(folder.filePath("icon/btn.png")));
        previous = skinFolder();
        setSkinFolder(folder.path());
    }
    void TearDown() override { setSkinFolder(previous); }

    static QColor centre(QWidget* w) {
        return w->grab().toImage().pixelColor(w->width() / 2, w->height() / 2);
    }

    QTemporaryDir folder;
    QString previous;
};

TEST_F(SkinTest, ImagesComeFromTheSkinFolderWithEitherSlash) {
    EXPECT_EQ(skin::imagePath("icon\\btn.png"), folder.filePath("icon/btn.png"));
    EXPECT_EQ(skin::imagePath("/abs/x.png"), "/abs/x.png");
    EXPECT_EQ(skin::image("icon\\btn.png").size(), QSize(40, 20));
    EXPECT_TRUE(skin::image("missing.png").isNull());
    EXPECT_TRUE(skin::image("").isNull());
}

TEST_F(SkinTest, ControlsDrawTheirImageOrTheFallbackLook) {
    RecordingDialog d;
    d.create(nullptr, "Skin", StylePopup, 0, QRect(0, 0, 300, 200));
    auto* imaged = d.add<PushButton>(1, QRect(0, 0, 80, 30));
    imaged->setImages("icon/btn.png", "missing_hover.png");
    auto* fallback = d.add<PushButton>(2, QRect(0, 40, 80, 30));
    fallback->setImages("missing.png");
    auto* picture = d.add<Picture>(3, QRect(0, 80, 80, 30));
    picture->setImage("missing.png");
    picture->setFillColour(QColor(10, 200, 30));

    EXPECT_EQ(centre(imaged), QColor(Qt::red));
    EXPECT_EQ(centre(fallback), skin::faceColour());
    EXPECT_EQ(centre(picture), QColor(10, 200, 30)) << "a missing picture shows its fill";
    picture->setImage("icon/btn.png");
    EXPECT_EQ(picture->imageSize(), QSize(40, 20));
    EXPECT_EQ(centre(picture), QColor(Qt::red));
}

TEST_F(SkinTest, MissingIconIsDrawnNotBlank) {
    setDeviceName("Corvane");
    const QIcon icon = loadIcon("missing.ico");
    ASSERT_FALSE(icon.isNull());
    const QImage image = icon.pixmap(32).toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.pixelColor(16, 4).alpha(), 0);
    EXPECT_FALSE(loadIcon("icon/btn.png").pixmap(16).isNull());
}

} // namespace
} // namespace corvane::ui::test
