#include "control/requests/RequestRun.h"

#include "control/requests/CommandContext.h"
#include "hid/DeviceManager.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"

#include <array>

namespace corvane::control {

namespace {

using CommandFunction = void (*)(CommandContext&);

struct CommandEntry {
    const char* command;
    const char* action; // "" for commands without a second word
    CommandFunction run;
};

constexpr auto kCommands = std::to_array<CommandEntry>({
    {"list", "", runList},
    {"show", "", runShow},
    {"set", "dpi", runSetDpi},
    {"set", "rate", runSetRate},
    {"set", "lod", runSetLod},
    {"set", "sensor", runSetSensor},
    {"set", "sleep", runSetSleep},
    {"set", "respond", runSetRespond},
    {"set", "lighting", runSetLighting},
    {"bind", "", runBind},
    {"unbind", "", runUnbind},
    {"profile", "switch", runProfileSwitch},
    {"profile", "rename", runProfileRename},
    {"profile", "export", runProfileExport},
    {"profile", "import", runProfileImport},
    {"macro", "list", runMacroList},
    {"macro", "export", runMacroExport},
    {"macro", "import", runMacroImport},
    {"rule", "list", runRuleList},
    {"rule", "add", runRuleAdd},
    {"rule", "remove", runRuleRemove},
    {"rule", "default", runRuleDefault},
    {"focus", "", runFocus},
    {"reset", "", runReset},
});

const CommandEntry* findCommand(const Request& request) {
    for (const CommandEntry& entry : kCommands) {
        if (request.command == QLatin1String(entry.command) &&
            request.action == QLatin1String(entry.action))
            return &entry;
    }
    return nullptr;
}

constexpr int kNoConnection = -1;

Answer errorAnswer(int exitCode, const QString& message) {
    Answer answer;
    answer.exitCode = exitCode;
    answer.err = QStringLiteral("corvanectl: %1\n").arg(message);
    return answer;
}

} // namespace

RequestRun::RequestRun(Session& session, Request request)
    : session_(session), request_(std::move(request)) {}

void RequestRun::start() {
    if (started_)
        return;
    started_ = true;
    const CommandEntry* entry = findCommand(request_);
    if (!entry) {
        answer_ = errorAnswer(ExitCode::Usage, QStringLiteral("unknown request \"%1 %2\"")
                                                   .arg(request_.command, request_.action)
                                                   .trimmed());
        return;
    }
    if (!session_.worker) {
        answer_ =
            errorAnswer(ExitCode::Failure, QStringLiteral("the device worker is not running"));
        return;
    }
    if (entry->run == runFocus) {
        // Asks nothing of the mouse or its store: what the window sees.
        CommandContext context{session_,
                               request_,
                               store::ProfileDatabase::instance(),
                               session_.worker->state(),
                               0,
                               0,
                               {},
                               {},
                               {},
                               0};
        entry->run(context);
        answer_ = context.answer;
        return;
    }
    protocol::WorkerState& state = session_.worker->state();
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    // Listing the attached mice needs none: no mouse is an empty list, which a script
    // loops over as over any other.
    const bool listing = entry->run == runList;
    if (!listing && (state.currentDeviceType() == 0 ||
                     hid::DeviceManager::instance().connectionKind() == kNoConnection)) {
        answer_ = errorAnswer(ExitCode::Failure, QStringLiteral("no mouse attached"));
        return;
    }
    if (!listing && (!database.isOpen() || state.currentProfile() < 1)) {
        answer_ = errorAnswer(ExitCode::Failure,
                              QStringLiteral("the mouse's profile store cannot be opened"));
        return;
    }

    CommandContext context{session_,
                           request_,
                           database,
                           state,
                           state.currentProfile(),
                           state.currentDeviceType(),
                           state.details(),
                           {},
                           {},
                           0};
    entry->run(context);
    answer_ = context.answer;
    if (context.failed())
        return;
    if (context.pages != 0 && session_.reloadPages)
        session_.reloadPages(context.pages);
    refusedBefore_ = state.rejectedWrites();
    steps_ = std::move(context.steps);
    advance();
}

bool RequestRun::advance() {
    while (queued_ == 0 || session_.worker->finished(lastTicket_)) {
        if (queued_ == steps_.size())
            return true;
        const CommandContext::Step& step = steps_[queued_++];
        if (step.before)
            step.before();
        lastTicket_ = session_.worker->queueTask(step.task);
    }
    return false;
}

Answer RequestRun::answer() const {
    if (!steps_.empty() && session_.worker->state().rejectedWrites() != refusedBefore_) {
        Answer refused =
            errorAnswer(ExitCode::Failure,
                        QStringLiteral("the mouse did not take the change; it is stored "
                                       "and goes out with the next change or profile switch"));
        refused.out = answer_.out;
        return refused;
    }
    return answer_;
}

Answer RequestRun::timedOutAnswer() const {
    Answer late = errorAnswer(
        ExitCode::Failure,
        QStringLiteral("the mouse did not finish in time; the change is stored and goes out "
                       "when the device worker gets to it"));
    late.out = answer_.out;
    return late;
}

} // namespace corvane::control
