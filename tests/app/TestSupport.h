#pragma once

#include "app/start/UserValues.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace corvane::app::test {

// The QCoreApplication the event-driven tests need (created once, kept to the end).
void ensureCoreApplication();

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name;
    std::optional<QByteArray> previous;
};

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
// Names of the entries of a folder (files and folders, hidden ones too).
QStringList entriesOf(const QString& folder);

// Per-user values in memory; records every write in order.
class MemoryUserValues : public UserValues {
public:
    int readUserValue(const QString& name) override;
    bool writeUserValue(const QString& name, const QString& text) override;

    std::map<QString, QString> values;
    std::vector<std::pair<QString, QString>> writes;
};

} // namespace corvane::app::test
