#include "control/requests/ProfileChoice.h"

#include "control/names/ValueText.h"
#include "store/ProfileDatabase.h"

namespace corvane::control {

bool chooseProfile(CommandContext& context, const QString& text, int& profile) {
    std::vector<store::ProfileRecord> profiles;
    context.database.listProfiles(profiles);
    const std::optional<int> number = parseNumber(text);
    QStringList numbers;
    for (const store::ProfileRecord& record : profiles) {
        if (number && record.id == *number) {
            profile = record.id;
            return true;
        }
        numbers << QString::number(record.id);
    }
    return context.usage(
        QStringLiteral("no profile %1; the profiles are %2").arg(text, choiceList(numbers)));
}

} // namespace corvane::control
