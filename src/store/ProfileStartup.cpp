#include "store/ProfileStartup.h"

#include "store/ProfileDatabase.h"

#include <vector>

namespace corvane::store {

namespace {

constexpr int kDefaultProfileCount = 4;

QString askProfileWord(const ProfileStartupHooks& hooks) {
    return hooks.profileWord ? hooks.profileWord() : QString();
}

// Creates "<word> 1" to "<word> 4" with their default and factory values;
// the first one created becomes current. The id SQLite gives each profile is
// used, not the number in its name.
void createDefaultProfiles(ProfileDatabase& database, const ProfileStartupHooks& hooks) {
    int firstId = 0;
    for (int number = 1; number <= kDefaultProfileCount; ++number) {
        ProfileRecord record;
        record.name = askProfileWord(hooks) + u' ' + QString::number(number);
        const int id = database.createProfile(record);
        if (id == 0) {
            continue;
        }
        if (firstId == 0) {
            firstId = id;
        }
        if (hooks.writeFactoryValues) {
            hooks.writeFactoryValues(id);
        }
    }
    if (firstId != 0) {
        database.setCurrentProfile(firstId);
    }
}

} // namespace

LoadedProfiles loadProfiles(ProfileDatabase& database, const ProfileStartupHooks& hooks) {
    std::lock_guard lock(database.mutex());
    std::vector<ProfileRecord> profiles;
    if (database.listProfiles(profiles) < 1) {
        createDefaultProfiles(database, hooks);
    }

    LoadedProfiles loaded;
    loaded.currentProfile = database.getCurrentProfile();
    if (loaded.currentProfile < 1 && database.listProfiles(profiles) > 0) {
        // No profile is marked current: the first one (profile 1 in every
        // file this program made) becomes current.
        database.setCurrentProfile(profiles.front().id);
        loaded.currentProfile = database.getCurrentProfile();
    }
    loaded.buttonText = profileButtonText(database, loaded.currentProfile, askProfileWord(hooks));
    return loaded;
}

QString profileDisplayName(QStringView storedName, std::span<const QStringView> words,
                           QStringView profileWord) {
    for (QStringView word : words) {
        if (!storedName.startsWith(word)) {
            continue;
        }
        const QStringView rest = storedName.mid(word.size());
        QString shown = profileWord.toString();
        // A default name keeps the blank after its word, so it is not doubled.
        if (!rest.isEmpty() && !rest.startsWith(u' ')) {
            shown += u' ';
        }
        shown += rest;
        return shown;
    }
    return storedName.toString();
}

QString profileButtonText(ProfileDatabase& database, int profile, QStringView profileWord) {
    QString storedName;
    database.getProfileName(profile, storedName);
    return profileDisplayName(storedName, kFullProfileWords, profileWord);
}

} // namespace corvane::store
