#include "TestSupport.h"

#include "app/start/AppState.h"
#include "app/start/DeviceFileName.h"
#include "app/start/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvane::app;
using corvane::app::test::ScopedEnv;
using corvane::app::test::writeFile;

namespace {

TEST(ExeFolder, BuildTreeWhenConfigSitsBesideTheExecutable) {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/build"));
    writeFile(dir.path() + QStringLiteral("/build/config.xml"), "<config/>");
    EXPECT_EQ(exeFolderFor(dir.path() + QStringLiteral("/build/corvane")),
              dir.path() + QStringLiteral("/build"));
}

TEST(ExeFolder, InstalledShareFolderBesideBin) {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/usr/bin"));
    EXPECT_EQ(exeFolderFor(dir.path() + QStringLiteral("/usr/bin/corvane")),
              dir.path() + QStringLiteral("/usr/share/corvane"));
    EXPECT_EQ(exeFolderFor(QStringLiteral("/nonexistent/prefix/bin/corvane")),
              QStringLiteral("/nonexistent/prefix/share/corvane"));
}

TEST(ExeFolder, RunningTestProgramResolves) {
    EXPECT_TRUE(executablePath().endsWith(QStringLiteral("/app_tests")));
    EXPECT_TRUE(QDir::isAbsolutePath(exeFolder()));
}

TEST(SkinFolder, ThemeBelowSkinsWithTrailingSlash) {
    EXPECT_EQ(skinFolderFor(QStringLiteral("/opt/c"), QStringLiteral("dark")),
              QStringLiteral("/opt/c/skins/dark/"));
    EXPECT_EQ(skinFolderFor(QStringLiteral("/opt/c"), QString()),
              QStringLiteral("/opt/c/skins/default/"));
}

TEST(XdgFolder, VariableWhenAbsoluteElseHomeDefault) {
    const QString home = QStringLiteral("/home/u");
    EXPECT_EQ(xdgFolderFor(QStringLiteral("/data/cfg/"), home, QStringLiteral(".config")),
              QStringLiteral("/data/cfg"));
    EXPECT_EQ(xdgFolderFor(QString(), home, QStringLiteral(".config")),
              QStringLiteral("/home/u/.config"));
    EXPECT_EQ(xdgFolderFor(QStringLiteral("relative/cfg"), home, QStringLiteral(".local/share")),
              QStringLiteral("/home/u/.local/share"));
}

TEST(XdgFolder, WrappersReadTheEnvironment) {
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/tmp/cfg-test");
        ScopedEnv data("XDG_DATA_HOME", "/tmp/data-test");
        EXPECT_EQ(configHome(), QStringLiteral("/tmp/cfg-test"));
        EXPECT_EQ(dataHome(), QStringLiteral("/tmp/data-test"));
    }
    ScopedEnv config("XDG_CONFIG_HOME", "");
    ScopedEnv data("XDG_DATA_HOME", "");
    EXPECT_EQ(configHome(), QDir::homePath() + QStringLiteral("/.config"));
    EXPECT_EQ(dataHome(), QDir::homePath() + QStringLiteral("/.local/share"));
}

TEST(DataFolder, DeviceNameFilesBelowDataHome) {
    EXPECT_EQ(dataFolderFor(QStringLiteral("/home/u/.local/share"), QStringLiteral("Mouse X")),
              QStringLiteral("/home/u/.local/share/Mouse X Files/"));

    ScopedEnv data("XDG_DATA_HOME", "/tmp/data-test");
    const QString previous = appState().deviceName;
    appState().deviceName = QStringLiteral("Mouse X");
    EXPECT_EQ(dataFolder(), QStringLiteral("/tmp/data-test/Mouse X Files/"));
    appState().deviceName = previous;
}

TEST(DeviceFileName, KeepsNamesInTheirFolder) {
    EXPECT_EQ(deviceFileName(QStringLiteral("Mouse X")), QStringLiteral("Mouse X"));
    EXPECT_EQ(deviceFileName(QString()), QStringLiteral("Corvane"));
    EXPECT_EQ(deviceFileName(QStringLiteral("../a/b")), QStringLiteral(".._a_b"));
    EXPECT_EQ(deviceFileName(QStringLiteral("..")), QStringLiteral("__"));
    EXPECT_EQ(dataFolderFor(QStringLiteral("/d"), QString()), QStringLiteral("/d/Corvane Files/"));
}

TEST(EnsureDirectory, CreatesEveryMissingParent) {
    QTemporaryDir dir;
    const QString nested = dir.path() + QStringLiteral("/Mouse Files/db/a/b");
    EXPECT_TRUE(ensureDirectory(nested));
    EXPECT_TRUE(QFileInfo(nested).isDir());
    EXPECT_TRUE(ensureDirectory(nested)); // already there
}

TEST(EnsureDirectory, FailsBelowAFileAndForNothing) {
    QTemporaryDir dir;
    writeFile(dir.path() + QStringLiteral("/file"), "x");
    EXPECT_FALSE(ensureDirectory(dir.path() + QStringLiteral("/file/db")));
    EXPECT_FALSE(ensureDirectory(dir.path() + QStringLiteral("/file")));
    EXPECT_FALSE(ensureDirectory(QString()));
}

} // namespace
