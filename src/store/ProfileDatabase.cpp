#include "store/ProfileDatabase.h"

#include "store/Schema.h"

#include <QFile>
#include <QFileInfo>

#include <string>
#include <vector>

namespace corvane::store {

namespace {

int collectFirstColumn(void* rows, int columns, char** values, char**) {
    auto* list = static_cast<std::vector<std::string>*>(rows);
    list->emplace_back(columns > 0 && values[0] != nullptr ? values[0] : "");
    return 0;
}

enum class FileCheck { Sound, Damaged, Locked };

// SQLite opens any file lazily; a file that is not a database, or is
// truncated or damaged, only shows when it is read. Checking it up front
// keeps the store from writing into a file it would damage further. A file
// another program holds locked cannot be read for a while: that says nothing
// about its state.
FileCheck checkFile(SQLiteDB& connection) {
    std::vector<std::string> rows;
    const int result = connection.exec("PRAGMA quick_check", collectFirstColumn, &rows);
    if (result == kSqliteBusy || result == kSqliteLocked) {
        return FileCheck::Locked;
    }
    if (result != kSqliteOk) {
        return FileCheck::Damaged;
    }
    return rows.size() == 1 && rows.front() == "ok" ? FileCheck::Sound : FileCheck::Damaged;
}

// Each check already waits the connection's busy timeout; a lock that outlasts
// a few of those is not a moment's lock, and the store stays closed until the
// next open (the next choice of device type).
constexpr int kCheckAttempts = 3;

bool isSoundDatabase(SQLiteDB& connection) {
    for (int attempt = 0; attempt < kCheckAttempts; ++attempt) {
        switch (checkFile(connection)) {
        case FileCheck::Sound:
            return true;
        case FileCheck::Damaged:
            return false;
        case FileCheck::Locked:
            break;
        }
    }
    return false;
}

} // namespace

ProfileDatabase& ProfileDatabase::instance() {
    static ProfileDatabase database;
    return database;
}

ProfileDatabase::~ProfileDatabase() {
    if (opened_) {
        close();
    }
}

bool ProfileDatabase::openForDevice(const QString& dataFolder, const QString& deviceAttr) {
    std::lock_guard lock(mutex_);
    QString folder = dataFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/')) {
        folder += u'/';
    }
    const QString filePath =
        folder + QStringLiteral("db/") + deviceAttr + QStringLiteral("_data1.db");
    path_ = filePath.toUtf8();

    // Another device type's file is closed first, so the two never mix.
    if (connection_.isOpen() && openPath_ != path_ && !close()) {
        opened_ = false;
        return false;
    }
    bool result = false;
    if (QFileInfo::exists(filePath)) {
        result = connection_.isOpen() || openExisting();
    } else {
        result = createDatabase();
    }
    opened_ = result;
    return result;
}

bool ProfileDatabase::openExisting() {
    if (!connection_.open(path_.constData(), kOpenExisting)) {
        return false;
    }
    if (!isSoundDatabase(connection_)) {
        connection_.close();
        return false;
    }
    openPath_ = path_;
    return true;
}

bool ProfileDatabase::createDatabase() {
    std::lock_guard lock(mutex_);
    if (connection_.isOpen()) {
        return true;
    }
    // SQLite reads an empty name as a private temporary database, which
    // would silently lose everything stored in it.
    if (path_.isEmpty()) {
        return false;
    }
    const QString filePath = QString::fromUtf8(path_);
    const bool existed = QFileInfo::exists(filePath);
    if (!connection_.open(path_.constData(), kOpenCreate)) {
        return false;
    }
    if (existed && !isSoundDatabase(connection_)) {
        connection_.close();
        return false;
    }
    bool allCreated = true;
    for (const char* statement : kSchemaStatements) {
        allCreated = connection_.exec(statement) == kSqliteOk && allCreated;
    }
    if (!allCreated) {
        // A file made here that did not get its whole schema would be taken
        // for a complete one at the next start; it holds nothing, so it goes.
        if (connection_.close() && !existed) {
            QFile::remove(filePath);
        }
        return false;
    }
    openPath_ = path_;
    return true;
}

bool ProfileDatabase::close() {
    std::lock_guard lock(mutex_);
    if (!connection_.close()) {
        return false;
    }
    opened_ = false;
    openPath_.clear();
    return true;
}

bool ProfileDatabase::isOpen() const {
    std::lock_guard lock(mutex_);
    return connection_.isOpen();
}

bool ProfileDatabase::opened() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

QString ProfileDatabase::path() const {
    std::lock_guard lock(mutex_);
    return QString::fromUtf8(path_);
}

} // namespace corvane::store
