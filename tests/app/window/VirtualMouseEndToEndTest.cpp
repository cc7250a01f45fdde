// The program's window against the virtual mice of "--virtual-mouse": the worker finds
// them, the device list shows them, and the store under the user's data folder holds
// the profiles with what the mouse reported.
#include "WindowTest.h"

#include "app/demo/VirtualDevices.h"
#include "app/start/Folders.h"
#include "app/window/MainWindowIds.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "ui/base/Settings.h"
#include "ui/views/DeviceList.h"
#include "ui/views/MousePicture.h"
#include "virtualmouse/VirtualMouse.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <atomic>
#include <map>

namespace corvane::app::test {
namespace {

// Reads the database file with a connection of its own.
class DatabaseFile {
public:
    explicit DatabaseFile(const QString& path) {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    }
    ~DatabaseFile() { sqlite3_close(db); }
    // Rows of two integer columns.
    std::map<int, int> pairs(const char* sql) const {
        std::map<int, int> rows;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
            return rows;
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows[sqlite3_column_int(statement, 0)] = sqlite3_column_int(statement, 1);
        sqlite3_finalize(statement);
        return rows;
    }
    QString value(int profile, const char* key) const {
        sqlite3_stmt* statement = nullptr;
        QString result;
        if (sqlite3_prepare_v2(db, "SELECT value FROM t_configdata WHERE profile=? AND key=?", -1,
                               &statement, nullptr) != SQLITE_OK)
            return result;
        sqlite3_bind_int(statement, 1, profile);
        sqlite3_bind_text(statement, 2, key, -1, SQLITE_STATIC);
        if (sqlite3_step(statement) == SQLITE_ROW)
            result =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return result;
    }

private:
    sqlite3* db = nullptr;
};

class VersionPage : public RecordingPage {
public:
    using RecordingPage::RecordingPage;
    void showVersion(const protocol::VersionView& version) override {
        lastRelease = version.firmwareRelease;
        ++versions;
    }
    std::atomic<int> versions = 0;
    int lastRelease = -1;
};

using VirtualMouseEndToEnd = WindowTest;

TEST_F(VirtualMouseEndToEnd, FindsTheMiceAndKeepsFourProfilesWithWhatTheMouseHolds) {
    ScopedEnv dataHomeVariable("XDG_DATA_HOME", dataDir.path().toUtf8());
    const VirtualDeviceSet devices = makeVirtualDevices();
    installVirtualDevices(devices);
    bus = devices.bus;

    // The wired mouse holds settings of its own: three stages of 1000, 2000 and 3000
    // DPI (sensor 0x11 counts 50 DPI a unit), the third active, and 125 Hz.
    vm::MouseSettings::Kept dpi{0x25, {}};
    dpi.parameters[0] = (2 << 4) | 3;
    for (int k = 0; k < 6; ++k)
        dpi.parameters[1 + 4 * k] = dpi.parameters[3 + 4 * k] = std::uint8_t(20 * (k + 1));
    ASSERT_TRUE(devices.wired->setKept(0x03, dpi));
    ASSERT_TRUE(devices.wired->setKept(0x02, {0x01, {0x08}}));

    std::vector<std::string> log;
    VersionPage* page = nullptr;
    const QString data = dataFolderFor(dataHome(), QStringLiteral("Corvane"));
    ASSERT_TRUE(ensureDirectory(data + QStringLiteral("db")));
    watchVirtualHotplug = true;
    startWindowIn(data, [&](DeviceMainDlg& w) {
        auto made = std::make_unique<VersionPage>(log, "device");
        page = made.get();
        w.addPage(PageSlot::DeviceSettings, std::move(made));
    });

    ASSERT_TRUE(waitUntil([&] { return page->versions > 0; }, 20000))
        << "the mouse was not read back";
    waitForWorker();
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(51));
    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);
    EXPECT_TRUE(list->isOnline(1));
    EXPECT_TRUE(list->isOnline(201));
    EXPECT_EQ(list->selectedType(), 1);
    EXPECT_TRUE(shown(MainControl::Tabs));
    EXPECT_EQ(page->lastRelease, 0x0105);

    const QString file = data + QStringLiteral("db/corvane_m1_data1.db");
    ASSERT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    DatabaseFile db(file);
    const std::map<int, int> status = db.pairs("SELECT profile, status FROM t_profile_data");
    EXPECT_EQ(status, (std::map<int, int>{{1, 1}, {2, 0}, {3, 0}, {4, 0}}));
    const std::map<int, int> settings =
        db.pairs("SELECT profile, COUNT(*) FROM t_configdata GROUP BY profile");
    EXPECT_EQ(settings, (std::map<int, int>{{1, 40}, {2, 40}, {3, 40}, {4, 40}}));

    // Profile 1 holds what the mouse reported; the others the factory values.
    EXPECT_EQ(db.value(1, "dpi_count"), QStringLiteral("3"));
    EXPECT_EQ(db.value(1, "dpi_index"), QStringLiteral("2"));
    EXPECT_EQ(db.value(1, "dpi_group0_value"), QStringLiteral("1000"));
    EXPECT_EQ(db.value(1, "dpi_group2_value"), QStringLiteral("3000"));
    EXPECT_EQ(db.value(1, "report_rate"), QStringLiteral("8"));
    EXPECT_EQ(db.value(2, "dpi_count"), QStringLiteral("6"));
    EXPECT_EQ(db.value(2, "dpi_group5_value"), QStringLiteral("12000"));
    EXPECT_EQ(textOf(MainControl::Profile), QStringLiteral("Profile 1"));
}

// A model from the user's own device file sits in the home page's list like the
// installed ones and, having no picture of its own, gets its callouts on the outline.
TEST_F(VirtualMouseEndToEnd, UserDeviceFileModelIsListedAndDrawnOnTheOutline) {
    QTemporaryDir userDevices;
    QFile file(userDevices.filePath(QStringLiteral("corvane_m3.xml")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <catalog name="Corvane M3" device_type="300">
    <mode value="0" vid="0x1209" pid="0xC0C1" dev_id="CVM3"/>
  </catalog>
  <menu light="0"/>
  <mouse_key>
    <key name="143" key_value="0" direction="0" rect="150#20#90" func_desc="106" func_type="1" func_value="1"/>
    <key name="148" key_value="5" direction="1" rect="190#340#190" func_desc="142" func_type="5" func_value="3"/>
  </mouse_key>
</mouse>
)");
    file.close();
    // The window tests draw without a skin; this one looks at the outline picture.
    ui::setSkinFolder(sourceData() + QStringLiteral("/skins/default/"));
    adjustContext = [&](WindowContext& context) { context.userDeviceFolder = userDevices.path(); };
    const VirtualDeviceSet devices = makeVirtualDevices();
    installVirtualDevices(devices);
    bus = devices.bus;
    devices.wired->unplug();
    devices.receiver->unplug();
    devices.secondWired->unplug();

    startWindow();
    waitForStart();

    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->entryName(2), QStringLiteral("Corvane M3"));
    EXPECT_EQ(list->entryType(2), 300);
    ASSERT_TRUE(waitUntil([&] { return list->isOnline(300); }, 20000));
    EXPECT_FALSE(list->isOnline(1));
    EXPECT_EQ(list->selectedType(), 300);

    auto* picture = window->find<ui::MousePicture>(MainControl::MousePicture);
    ASSERT_TRUE(waitUntil([&] { return picture->count() == 2; }, 20000));
    EXPECT_EQ(picture->image(), QStringLiteral("device/outline.png"));
    EXPECT_FALSE(picture->imageSize().isEmpty()) << "the skin has no outline picture";
    EXPECT_EQ(picture->calloutText(0), englishText(143));
}

} // namespace
} // namespace corvane::app::test
