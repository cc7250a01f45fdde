// corvanectl profile: switching and renaming the profiles of the current device type.
#include "control/requests/CommandContext.h"
#include "control/requests/ProfileChoice.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/WorkerState.h"
#include "store/ProfileDatabase.h"

namespace corvane::control {

void runProfileSwitch(CommandContext& context) {
    QString text;
    int profile = 0;
    if (!context.operand(0, QStringLiteral("the profile number"), text) ||
        !context.operandCount(1) || !chooseProfile(context, text, profile))
        return;
    if (!context.database.setCurrentProfile(profile))
        return (void)context.failure(QStringLiteral("the profile store cannot be written"));
    context.state.setCurrentProfile(profile);
    if (context.session.showProfileName)
        context.session.showProfileName();
    // The push sends the whole profile and reloads the pages.
    context.queue(protocol::DeviceTask::PushProfile);
}

void runProfileRename(CommandContext& context) {
    QString text;
    QString name;
    int profile = 0;
    if (!context.operand(0, QStringLiteral("the profile number"), text) ||
        !context.operand(1, QStringLiteral("the new name"), name) || !context.operandCount(2) ||
        !chooseProfile(context, text, profile))
        return;
    if (name.trimmed().isEmpty())
        return (void)context.usage(QStringLiteral("a profile name cannot be empty"));
    if (!context.database.renameProfile(profile, name))
        return (void)context.failure(QStringLiteral("the profile store cannot be written"));
    if (profile == context.profile && context.session.showProfileName)
        context.session.showProfileName();
}

} // namespace corvane::control
