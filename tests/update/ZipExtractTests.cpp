// Unpacking archives, hostile ones included: nothing may be written outside the target
// folder, only regular files are written, and a broken archive leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/ZipBuilder.h"
#include "update/ZipExtract.h"

namespace corvane::update {
namespace {

namespace fs = std::filesystem;
using test::ZipEntry;

TEST(EntryPath, NamesAreKeptInsideTheFolder) {
    const struct {
        const char* stored;
        const char* inside; // nullptr: nothing left
    } cases[] = {
        {"setup", "setup"},
        {"dir/file.txt", "dir/file.txt"},
        {"../evil", "evil"},
        {"../../../../etc/passwd", "etc/passwd"},
        {"/etc/passwd", "etc/passwd"},
        {"//server/share/x", "server/share/x"},
        {"..\\..\\evil.exe", "evil.exe"},
        {"C:\\Windows\\evil.dll", "Windows/evil.dll"},
        {"C:evil", "C:evil"}, // no separator: a name, not a drive
        {"a/./b/../c", "a/b/c"},
        {"a\\b/c", "a/b/c"},
        {"dir/", "dir"},
        {"..", nullptr},
        {"./", nullptr},
        {"", nullptr},
        {"/", nullptr},
        {"...", "..."},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> inside = entryPathInside(c.stored);
        if (c.inside) {
            EXPECT_EQ(inside, std::optional<std::string>(c.inside)) << c.stored;
        } else {
            EXPECT_FALSE(inside.has_value()) << c.stored;
        }
    }
    EXPECT_FALSE(entryPathInside(std::string("a\0b", 3)).has_value());
}

class ZipExtractTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sandbox.isValid());
        root = fs::path(sandbox.path().toStdString());
        target = root / "temp";
    }

    bool extract(const std::vector<ZipEntry>& entries, ExtractLimits limits = {}) {
        const QString archive = sandbox.filePath(QStringLiteral("archive.zip"));
        EXPECT_TRUE(test::writeZip(archive, entries));
        const bool ok = extractAll(archive, QString::fromStdString(target.string()), limits);
        QFile::remove(archive);
        return ok;
    }

    // Every path below the sandbox, relative to it (links are listed, not followed).
    std::set<std::string> everything() const {
        std::set<std::string> paths;
        for (auto it = fs::recursive_directory_iterator(root);
             it != fs::recursive_directory_iterator(); ++it) {
            paths.insert(fs::relative(it->path(), root).string());
        }
        return paths;
    }

    static std::string contentOf(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    QTemporaryDir sandbox;
    fs::path root;
    fs::path target;
};

TEST_F(ZipExtractTest, UnpacksFilesAndFolders) {
    ASSERT_TRUE(extract({
        {"Mouse-Setup-1.0.2", "#!/bin/sh\n"},
        {"docs/", ""},
        {"docs/readme.txt", std::string(50000, 'r')},
        {"data/deep/file.bin", "bin", true},
        {"empty", ""},
    }));
    EXPECT_EQ(contentOf(target / "Mouse-Setup-1.0.2"), "#!/bin/sh\n");
    EXPECT_EQ(contentOf(target / "docs/readme.txt"), std::string(50000, 'r'));
    EXPECT_EQ(contentOf(target / "data/deep/file.bin"), "bin");
    EXPECT_TRUE(fs::is_regular_file(target / "empty"));
}

// Hostile names end up inside the folder; the sandbox around it stays as it was.
TEST_F(ZipExtractTest, HostileNamesStayInside) {
    const struct {
        const char* stored;
        const char* landsAt;
    } cases[] = {
        {"../evil.txt", "temp/evil.txt"},
        {"../../../../../../tmp/evil.txt", "temp/tmp/evil.txt"},
        {"/etc/evil.txt", "temp/etc/evil.txt"},
        {"..\\..\\evil.exe", "temp/evil.exe"},
        {"C:\\evil.dll", "temp/evil.dll"},
        {"a/../../b.txt", "temp/a/b.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        fs::remove_all(target);
        ASSERT_TRUE(extract({{c.stored, "payload"}}));
        EXPECT_EQ(contentOf(root / c.landsAt), "payload");
        for (const std::string& path : everything()) {
            EXPECT_TRUE(path.rfind("temp", 0) == 0) << path << " was written outside";
        }
    }
}

TEST_F(ZipExtractTest, OnlyRegularFilesAreWritten) {
    ASSERT_TRUE(extract({
        {"link", "/etc", false, test::kLinkMode},
        {"link/passwd", "not the system's", false, test::kRegularMode},
        {"tool", "#!/bin/sh\n", false, test::kRegularMode},
        {"folder", "", false, test::kFolderMode},
        {"fifo", "", false, 0010644},
    }));
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(target / "link")))
        << "the link entry was not made; its name became an ordinary folder";
    EXPECT_EQ(contentOf(target / "link/passwd"), "not the system's");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target / "tool")));
    EXPECT_TRUE(fs::is_directory(target / "folder"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(target / "fifo")));
}

TEST_F(ZipExtractTest, LinksAlreadyInTheFolderAreNotWrittenThrough) {
    fs::create_directories(target);
    fs::create_directories(root / "outside");
    std::ofstream(root / "victim.txt") << "keep me";
    fs::create_directory_symlink(root / "outside", target / "out");
    fs::create_symlink(root / "victim.txt", target / "file.txt");

    // A file through a linked folder: refused as a whole.
    EXPECT_FALSE(extract({{"out/x.txt", "escaped"}}));
    EXPECT_TRUE(fs::is_empty(root / "outside"));

    // A file at the place of a link: the link goes, the file is written in its place.
    ASSERT_TRUE(extract({{"file.txt", "archive"}}));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target / "file.txt")));
    EXPECT_EQ(contentOf(target / "file.txt"), "archive");
    EXPECT_EQ(contentOf(root / "victim.txt"), "keep me");
}

// A broken archive fails and takes back the files it had written before the fault.
TEST_F(ZipExtractTest, FailuresLeaveNothingBehind) {
    const std::string zeros(8 * 1024 * 1024, '\0');
    const struct {
        const char* name;
        std::vector<ZipEntry> entries;
        ExtractLimits limits;
    } cases[] = {
        {"CRC error", {{"first.txt", "fine"}, {"dir/second.txt", "damaged", true, 0, true}}, {}},
        {"zip bomb", {{"first.txt", "fine"}, {"bomb", zeros}}, {1024 * 1024, 100, {}}},
        {"too many entries", {{"a", "1"}, {"b", "2"}, {"c", "3"}}, {1024, 2, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(target);
        EXPECT_FALSE(extract(c.entries, c.limits));
        EXPECT_TRUE(!fs::exists(target) || fs::is_empty(target));
        EXPECT_EQ(everything(), (std::set<std::string>{"temp"}));
    }
}

// Only the expected file is taken: the rest of the archive, however large, is not
// unpacked and does not count against the limits sized to that file.
TEST_F(ZipExtractTest, OnlyTheExpectedEntryIsTaken) {
    const std::string zeros(4 * 1024 * 1024, '\0');
    const std::string image(1000, 'i');
    ExtractLimits imageOnly{2048, 64, "firmware     -106.bin"};
    ASSERT_TRUE(extract({{"bomb", zeros},
                         {"docs/", ""},
                         {"docs/firmware     -106.bin", "not at the top"},
                         {"firmware     -106.bin", image}},
                        imageOnly));
    EXPECT_EQ(everything(), (std::set<std::string>{"temp", "temp/firmware     -106.bin"}));
    EXPECT_EQ(contentOf(target / "firmware     -106.bin"), image);

    const struct {
        const char* name;
        std::vector<ZipEntry> entries;
    } refused[] = {
        {"missing", {{"other.bin", image}}},
        {"larger than its limit", {{"firmware     -106.bin", std::string(4096, 'i')}}},
        {"twice", {{"firmware     -106.bin", image}, {"./firmware     -106.bin", "x"}}},
        {"a link", {{"firmware     -106.bin", "/etc/passwd", false, test::kLinkMode}}},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        fs::remove_all(target);
        EXPECT_FALSE(extract(c.entries, imageOnly));
        EXPECT_EQ(everything(), (std::set<std::string>{"temp"}));
    }
}

TEST_F(ZipExtractTest, WhatIsNotAnArchiveFails) {
    const QString page = sandbox.filePath(QStringLiteral("page.zip"));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body>404 Not Found</body></html>");
    file.close();
    EXPECT_FALSE(extractAll(page, QString::fromStdString(target.string())));
    EXPECT_FALSE(extractAll(sandbox.filePath(QStringLiteral("missing.zip")),
                            QString::fromStdString(target.string())));
    // A truncated archive.
    std::string bytes = test::zipBytes({{"a.txt", std::string(4000, 'a')}});
    ASSERT_FALSE(bytes.empty());
    bytes.resize(bytes.size() / 2);
    std::ofstream(root / "half.zip", std::ios::binary) << bytes;
    EXPECT_FALSE(extractAll(sandbox.filePath(QStringLiteral("half.zip")),
                            QString::fromStdString(target.string())));
    EXPECT_TRUE(!fs::exists(target) || fs::is_empty(target));
}

} // namespace
} // namespace corvane::update
