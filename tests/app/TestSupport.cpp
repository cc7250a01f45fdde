#include "TestSupport.h"

#include "app/start/DecimalText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace corvane::app::test {

void ensureCoreApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv); // lives until the process ends
}

ScopedEnv::ScopedEnv(const char* variable, const QByteArray& value) : name(variable) {
    if (qEnvironmentVariableIsSet(name))
        previous = qgetenv(name);
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv() {
    if (previous)
        qputenv(name, *previous);
    else
        qunsetenv(name);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

int MemoryUserValues::readUserValue(const QString& name) {
    const auto it = values.find(name);
    return it == values.end() ? 0 : leadingInt(it->second);
}

bool MemoryUserValues::writeUserValue(const QString& name, const QString& text) {
    values[name] = text;
    writes.emplace_back(name, text);
    return true;
}

} // namespace corvane::app::test
