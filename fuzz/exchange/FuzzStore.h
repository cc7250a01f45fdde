#pragma once

// What the exchange fuzzers share: a store in a temporary folder with a profile that
// uses every field and a few macros, the input bytes written to a file, and a step
// around each import that is undone afterwards, so every input meets the same store.

#include "store/ProfileDatabase.h"
#include "store/StoreTransaction.h"
#include "store/ValueRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace corvane::exchange::fuzz {

inline store::ProfileDatabase& db() {
    return store::ProfileDatabase::instance();
}

// In memory where the machine has a tmpfs.
inline QString tempFolder() {
    // Never destroyed, so the clean-up at exit can still read it.
    static const QString* folder = [] {
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm")
                                 : QDir::tempPath();
        auto* path = new QString(
            base + QStringLiteral("/corvane-exchange-fuzz-%1").arg(QString::number(getpid())));
        QDir(*path).removeRecursively();
        QDir().mkpath(*path + QStringLiteral("/db"));
        std::atexit([] {
            store::ProfileDatabase::instance().close();
            QDir(tempFolder()).removeRecursively();
        });
        return path;
    }();
    return *folder;
}

inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Opens the store once and fills profile 1.
inline void prepareStore() {
    static const bool prepared = [] {
        // The store first: it is then destroyed after the folder's clean-up has run.
        store::ProfileDatabase& database = db();
        const QString folder = tempFolder();
        check(database.openForDevice(folder + u'/', QStringLiteral("fuzz")), "store opens");
        db().connection().exec("PRAGMA journal_mode=MEMORY");
        db().connection().exec("PRAGMA synchronous=OFF");
        store::ProfileRecord record;
        record.name = QStringLiteral("Profile 1");
        check(db().createProfile(record) == 1, "profile");
        db().setCurrentProfile(1);
        db().createDefaultLights(1, {true, true, true, true, false, true});
        for (int m = 1; m <= 3; ++m) {
            const int id = db().createMacro(QStringLiteral("macro %1").arg(m));
            store::MacroEvent step;
            step.macroId = id;
            step.type = 2;
            step.value = 64 + m;
            step.desc = QStringLiteral("down");
            db().insertMacroEvent(step);
            step.type = 3;
            step.index = 1;
            db().insertMacroEvent(step);
        }
        store::ButtonBinding binding;
        binding.profile = 1;
        binding.keyCode = 3;
        binding.macroType = 4;
        binding.macroValue = 2;
        db().saveBinding(binding);
        db().setSetting(1, u"sleep_light", QStringLiteral("30"));
        return true;
    }();
    (void)prepared;
}

// The bytes as a file to import.
inline QString inputFile(const std::uint8_t* data, std::size_t size) {
    static const QString path = tempFolder() + QStringLiteral("/input.xml");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    return path;
}

// Every stored macro is one the macro page could have written.
inline void checkMacros() {
    std::vector<store::MacroDefinition> macros;
    db().listMacros(macros);
    std::vector<store::MacroEvent> steps;
    for (const store::MacroDefinition& m : macros) {
        check(store::isValidMacroSettings(m.playType, m.playTimes, m.delayType, m.delayTime),
              "macro settings");
        db().listMacroEvents(m.id, steps);
        for (const store::MacroEvent& s : steps) {
            check(store::isValidMacroStep(s.type, s.value), "macro step");
        }
    }
}

} // namespace corvane::exchange::fuzz
