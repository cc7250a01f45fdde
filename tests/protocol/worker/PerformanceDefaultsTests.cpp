#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "catalog/PerformanceDefaults.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol::testing {
namespace {

class PerformanceDefaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(data.isValid() && exe.isValid());
        ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral("db")));
        ASSERT_TRUE(QDir(exe.path()).mkpath(QStringLiteral("device")));
        store().close();
        ASSERT_TRUE(store().openForDevice(data.path(), QStringLiteral("m")));
        profile = store().createProfile({});
        ASSERT_NE(profile, 0);
    }
    void TearDown() override { store().close(); }

    static store::ProfileDatabase& store() { return store::ProfileDatabase::instance(); }
    void writeDeviceFile(const QByteArray& text) {
        QFile file(exe.filePath(QStringLiteral("device/m.xml")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    int value(const char* key) { return store().getSettingInt(profile, QString::fromLatin1(key)); }

    QTemporaryDir data;
    QTemporaryDir exe;
    int profile = 0;
};

const QByteArray kDeviceFile = R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <mouse_info>
    <dpi_info default_dpi="2" dpi_count="3">
      <dpi_1 value="500" color="#FF8000"/>
      <dpi_2 value="900" color="#000001"/>
    </dpi_info>
    <report_rate default_value="4"/>
    <sleep_light value="60"/>
    <lod value="2"/>
  </mouse_info>
</mouse>
)";

TEST_F(PerformanceDefaults, WritesTheDeviceFilesFactoryValues) {
    writeDeviceFile(kDeviceFile);
    EXPECT_EQ(catalog::applyPerformanceDefaults(exe.path(), QStringLiteral("m"), profile, false),
              3 + 4 + 4);
    EXPECT_EQ(value("dpi_index"), 2);
    EXPECT_EQ(value("dpi_flag"), 3);
    EXPECT_EQ(value("dpi_count"), 3);
    EXPECT_EQ(value("dpi_group0_value"), 500);
    EXPECT_EQ(value("dpi_group0_rgb"), 255 + 128 * 256);
    EXPECT_EQ(value("dpi_group1_rgb"), 0x010000);
    EXPECT_EQ(value("dpi_group2_value"), 2400) << "no dpi_3: the default stays";
    EXPECT_EQ(value("report_rate"), 4);
    EXPECT_EQ(value("sleep_light"), 60);
    EXPECT_EQ(value("liftoff_height"), 2);
    EXPECT_EQ(value("button_respondtime"), 8) << "not in the file: the default stays";
}

TEST_F(PerformanceDefaults, DpiOnlyLeavesTheRestAlone) {
    writeDeviceFile(kDeviceFile);
    EXPECT_EQ(catalog::applyPerformanceDefaults(exe.path(), QStringLiteral("m"), profile, true),
              3 + 4);
    EXPECT_EQ(value("dpi_group1_value"), 900);
    EXPECT_EQ(value("report_rate"), 2);
    EXPECT_EQ(value("sleep_light"), 1);
}

TEST_F(PerformanceDefaults, AnUnreadableFileOrAMissingProfileWritesNothing) {
    EXPECT_EQ(catalog::applyPerformanceDefaults(exe.path(), QStringLiteral("m"), profile, false), 0)
        << "no device file";
    writeDeviceFile("<mouse><mouse_info><dpi_info dpi_count=\"3\">");
    EXPECT_EQ(catalog::applyPerformanceDefaults(exe.path(), QStringLiteral("m"), profile, false), 0)
        << "malformed";
    EXPECT_EQ(value("dpi_count"), 6);
    writeDeviceFile(kDeviceFile);
    EXPECT_EQ(
        catalog::applyPerformanceDefaults(exe.path(), QStringLiteral("m"), profile + 1, false), 0)
        << "no such profile";
}

} // namespace
} // namespace corvane::protocol::testing
