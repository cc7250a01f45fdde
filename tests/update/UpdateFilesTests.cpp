// Names and addresses on the server and in the temporary folder, and the file work.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QTemporaryDir>

#include "update/UpdateFiles.h"

namespace corvane::update {
namespace {

namespace fs = std::filesystem;

TEST(UpdateFiles, NamesAndAddresses) {
    const QString base = QStringLiteral("https://corvane.example/upgrade/");
    const QString firmware = QStringLiteral("https://corvane.example/firmware/m1");
    EXPECT_EQ(programVersionAddress(base), base + "version");
    EXPECT_EQ(setupArchiveName("1.0.2"), "Mouse-Setup-1.0.2.zip");
    EXPECT_EQ(setupArchiveAddress(base, "Mouse-Setup-1.0.2.zip"),
              "https://corvane.example/upgrade///Mouse-Setup-1.0.2.zip");
    EXPECT_EQ(setupProgramName("1.0.2"), "Mouse-Setup-1.0.2");
    EXPECT_EQ(firmwareVersionAddress(firmware), firmware + "/mouse/version");
    EXPECT_EQ(firmwareArchiveName("105"), "firmware-105.zip");
    EXPECT_EQ(firmwareArchiveAddress(firmware, "firmware-105.zip"),
              firmware + "//mouse//firmware-105.zip");
    EXPECT_EQ(firmwareImageName("105"), "firmware     -105.bin");
}

TEST(UpdateFiles, OnlyARegularFileIsMadeExecutable) {
    QTemporaryDir dir;
    const fs::path root(dir.path().toStdString());
    std::ofstream(root / "setup") << "#!/bin/sh\n";
    fs::permissions(root / "setup", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(root / "setup", root / "link");
    fs::create_directory(root / "folder");

    EXPECT_TRUE(makeExecutable(dir.filePath("setup")));
    EXPECT_EQ(fs::status(root / "setup").permissions(),
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                  fs::perms::others_read | fs::perms::others_exec);
    EXPECT_FALSE(makeExecutable(dir.filePath("link")));
    EXPECT_FALSE(makeExecutable(dir.filePath("folder")));
    EXPECT_FALSE(makeExecutable(dir.filePath("missing")));
}

TEST(UpdateFiles, ImageFilesAreReadWholeWithinTheLimit) {
    QTemporaryDir dir;
    const fs::path root(dir.path().toStdString());
    std::ofstream(root / "empty");
    std::ofstream(root / "image", std::ios::binary) << std::string(48, '\x5A');
    fs::create_symlink(root / "image", root / "link");

    const auto image = readImageFile(dir.filePath("image"), 48);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), 48u);
    EXPECT_EQ(image->front(), 0x5A);
    EXPECT_FALSE(readImageFile(dir.filePath("image"), 47).has_value()) << "too large";
    EXPECT_FALSE(readImageFile(dir.filePath("empty"), 48).has_value());
    EXPECT_FALSE(readImageFile(dir.filePath("missing"), 48).has_value());
    EXPECT_FALSE(readImageFile(dir.filePath("link"), 48).has_value());
}

} // namespace
} // namespace corvane::update
