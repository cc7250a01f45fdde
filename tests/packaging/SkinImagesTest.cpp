// The default skin holds every image the program draws its windows from, in the
// sizes its layout expects, and the mouse pictures match the device files: each
// key's callout starts on the mouse, not beside it.

#include "PackagingFiles.h"

#include "catalog/DeviceCatalog.h"
#include "catalog/DeviceDetails.h"

#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

namespace corvane::packaging {
namespace {

QImage skinImage(const QString& relative) {
    return QImage(kSkinFolder + u'/' + relative);
}

TEST(SkinImages, EveryNamedImageInItsSize) {
    struct Named {
        const char* path;
        QSize size;
    };
    const Named images[] = {
        {"main_bkg.png", {1300, 788}}, // the main window's design size
        {"logo.png", {160, 40}},
        {"corvane.png", {256, 256}},
        {"icon/icon_battery_bkg.png", {32, 16}},
        {"icon/icon_batteryvalue.png", {32, 16}}, // laid over the outline: same size
        {"icon/icon_charge.png", {32, 16}},
        {"icon/tab_home.png", {32, 32}},
        {"icon/tab_key.png", {32, 32}},
        {"icon/tab_dpi.png", {32, 32}},
        {"icon/tab_macro.png", {32, 32}},
        {"icon/tab_light.png", {32, 32}},
        {"icon/tab_set.png", {32, 32}},
        {"sysbtn_close.png", {32, 32}},
        {"sysbtn_minimize.png", {32, 32}},
        {"sysbtn_maximize.png", {32, 32}},
        {"sysbtn_restore.png", {32, 32}},
        {"sysbtn_setting.png", {32, 32}},
    };
    for (const Named& image : images) {
        const QImage loaded = skinImage(QString::fromLatin1(image.path));
        EXPECT_EQ(loaded.size(), image.size) << image.path;
    }
}

TEST(SkinImages, ConnectionModeStripHasAnIconPerMode) {
    const QImage strip = skinImage(QStringLiteral("device_mode.png"));
    ASSERT_FALSE(strip.isNull());
    int highestMode = 0;
    for (const catalog::DeviceMode& mode : catalog::readCatalog(kConfigXml).modes)
        highestMode = std::max(highestMode, mode.mode);
    // Square icons side by side, indexed by mode: 0 cable, 1 receiver.
    EXPECT_EQ(strip.width(), strip.height() * (highestMode + 1));
}

TEST(SkinImages, IconFileHoldsTheTraySizes) {
    QImageReader reader(kSkinFolder + QStringLiteral("/Corvane.ico"));
    ASSERT_EQ(reader.imageCount(), 4) << reader.errorString().toStdString();
    std::vector<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage frame = reader.read();
        EXPECT_EQ(frame.width(), frame.height());
        EXPECT_TRUE(frame.hasAlphaChannel());
        sizes.push_back(frame.width());
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
}

TEST(SkinImages, DevicePicturesMatchTheirDeviceFiles) {
    const catalog::DeviceCatalog devices = catalog::readCatalog(kConfigXml);
    ASSERT_GE(devices.devices.size(), 2u);
    for (const catalog::DeviceDescription& device : devices.devices) {
        SCOPED_TRACE(device.deviceAttr.toStdString());
        EXPECT_FALSE(QImage(device.imagePath(kSkinFolder)).isNull()) << "device list picture";

        catalog::DeviceDetails details;
        ASSERT_TRUE(catalog::readDeviceDetails(sourcePath("data"), device.deviceAttr, details));
        const QImage picture = skinImage(details.mousePicture);
        ASSERT_FALSE(picture.isNull()) << details.mousePicture.toStdString();
        ASSERT_FALSE(details.keys.empty());
        for (const catalog::KeyEntry& key : details.keys) {
            const catalog::CalloutLine& line = key.callout;
            SCOPED_TRACE(testing::Message() << "key " << key.keyValue << " callout " << line.x1
                                            << "#" << line.x2 << "#" << line.y);
            ASSERT_TRUE(picture.rect().contains(line.x1, line.y));
            EXPECT_TRUE(picture.rect().contains(line.x2, line.y)) << "label end off the picture";
            EXPECT_EQ(qAlpha(picture.pixel(line.x1, line.y)), 255)
                << "callout starts off the mouse";
        }
    }
}

} // namespace
} // namespace corvane::packaging
