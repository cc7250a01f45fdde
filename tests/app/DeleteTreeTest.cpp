#include "TestSupport.h"

#include "app/desktop/DeleteTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvane::app;
using corvane::app::test::writeFile;

namespace {

// A folder path below base of exactly the given length (base is short enough).
QString pathOfLength(const QString& base, int length) {
    QString path = base;
    while (path.size() < length) {
        const int room = length - static_cast<int>(path.size()) - 1;
        path += u'/' + QString(std::min(room, 60), u'd');
    }
    return path;
}

TEST(DeleteTree, RemovesAFolderWithEverythingBelowIt) {
    QTemporaryDir dir;
    const QString tree = dir.path() + QStringLiteral("/temp");
    QDir().mkpath(tree + QStringLiteral("/a/b"));
    writeFile(tree + QStringLiteral("/a/b/image.bin"), "x");
    writeFile(tree + QStringLiteral("/top.txt"), "y");
    EXPECT_TRUE(deleteTree(tree));
    EXPECT_FALSE(QFileInfo::exists(tree));
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}

TEST(DeleteTree, MissingPathIsFalse) {
    QTemporaryDir dir;
    EXPECT_FALSE(deleteTree(dir.path() + QStringLiteral("/absent")));
}

TEST(DeleteTree, SymbolicLinkIsRemovedNotFollowed) {
    QTemporaryDir dir;
    const QString kept = dir.path() + QStringLiteral("/kept");
    QDir().mkpath(kept);
    writeFile(kept + QStringLiteral("/file"), "x");
    const QString link = dir.path() + QStringLiteral("/link");
    ASSERT_TRUE(QFile::link(kept, link));
    EXPECT_TRUE(deleteTree(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(kept + QStringLiteral("/file")));
}

TEST(DeleteTree, RefusesRelativeEmptyAndOverlongPaths) {
    QTemporaryDir dir;
    ASSERT_LT(dir.path().size(), 150);
    EXPECT_FALSE(deleteTree(QString()));

    const QString longest = pathOfLength(dir.path(), maxDeletePathLength);
    const QString tooLong = pathOfLength(dir.path(), maxDeletePathLength + 1);
    ASSERT_EQ(longest.size(), maxDeletePathLength);
    ASSERT_EQ(tooLong.size(), maxDeletePathLength + 1);
    ASSERT_TRUE(QDir().mkpath(longest));
    ASSERT_TRUE(QDir().mkpath(tooLong));
    EXPECT_FALSE(deleteTree(tooLong));
    EXPECT_TRUE(QFileInfo(tooLong).isDir());
    EXPECT_TRUE(deleteTree(longest));
    EXPECT_FALSE(QFileInfo::exists(longest));

    const QString relative = QStringLiteral("relative-tree");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QDir().mkpath(relative);
    EXPECT_FALSE(deleteTree(relative));
    EXPECT_TRUE(QFileInfo(relative).isDir());
    QDir::setCurrent(previous);
}

} // namespace
