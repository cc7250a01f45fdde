#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <vector>

#include "ProtocolFixture.h"
#include "protocol/codec/SensorTable.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol::testing {

// The process-wide device manager over a virtual bus and the process-wide store on a
// fresh file in a temporary folder, with one profile.
class CommandFixture : public ProtocolFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("db")));
        ASSERT_TRUE(db().close());
        ASSERT_TRUE(db().openForDevice(dir.path() + u'/', QStringLiteral("mouse")));
        store::ProfileRecord record;
        record.name = QStringLiteral("Profile 1");
        profile = db().createProfile(record);
        ASSERT_GT(profile, 0);
    }
    void TearDown() override {
        EXPECT_TRUE(db().close());
        ProtocolFixture::TearDown();
    }

    static store::ProfileDatabase& db() { return store::ProfileDatabase::instance(); }

    void set(QStringView key, int value) { ASSERT_TRUE(db().setSetting(profile, key, value)); }
    void setText(QStringView key, const QString& value) {
        ASSERT_TRUE(db().setSetting(profile, key, value));
    }
    int setting(QStringView key) { return db().getSettingInt(profile, key); }
    QString settingText(QStringView key) {
        QString value;
        db().getSetting(profile, key, value);
        return value;
    }

    // The sensor state of the current device's GetInfo answer, as the worker takes it.
    SensorState sensorOfCurrentDevice() {
        const std::vector<hid::ConnectedDevice> devices = manager().devices();
        EXPECT_FALSE(devices.empty());
        return devices.empty() ? SensorState() : sensorStateFromInfo(devices.front().info);
    }

    QTemporaryDir dir;
    int profile = 0;
};

} // namespace corvane::protocol::testing
