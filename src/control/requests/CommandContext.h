#pragma once
// What a command sees while it runs (internal to control/).

#include "catalog/DeviceDetails.h"
#include "control/requests/Request.h"
#include "control/requests/Session.h"

#include <QString>

#include <functional>
#include <vector>

namespace corvane::store {
class ProfileDatabase;
}
namespace corvane::protocol {
class WorkerState;
}

namespace corvane::control {

struct CommandContext {
    Session& session;
    const Request& request;
    store::ProfileDatabase& database;
    protocol::WorkerState& state;
    int profile = 0;    // the current profile
    int deviceType = 0; // the current device type
    catalog::DeviceDetails details;

    // Device work, in order: each step's task is queued once the step before has run,
    // right after its `before` (which may prepare the worker, such as naming the key
    // whose macro the next button task downloads).
    struct Step {
        std::function<void()> before;
        int task = 0;
    };

    Answer answer;
    std::vector<Step> steps;
    unsigned pages = 0; // protocol::Page bits the window reloads

    // Appends a line to stdout.
    void print(const QString& line);
    // Appends a line to stdout verbatim (it carries its own line break, or none).
    void printRaw(const QString& text);
    // A line for --verbose only (stderr).
    void note(const QString& line);
    // Ends with exit code 2 / 1 and the message on stderr; returns false for chaining.
    bool usage(const QString& message);
    bool failure(const QString& message);
    bool failed() const { return answer.exitCode != ExitCode::Success; }
    bool json() const { return request.has(QStringLiteral("json")); }
    QString text(int id) const;
    int lcid() const;

    // The operand at `index`; a usage error naming `what` when it is missing.
    bool operand(int index, const QString& what, QString& value);
    // A usage error unless exactly `count` operands were given.
    bool operandCount(int count);
    void queue(int task) { steps.push_back({{}, task}); }
    void queueAfter(std::function<void()> before, int task) {
        steps.push_back({std::move(before), task});
    }
};

// The commands (one file each); the dispatch table is in RequestRun.cpp.
void runList(CommandContext& context);
void runShow(CommandContext& context);
void runSetDpi(CommandContext& context);
void runSetRate(CommandContext& context);
void runSetLod(CommandContext& context);
void runSetSensor(CommandContext& context);
void runSetSleep(CommandContext& context);
void runSetRespond(CommandContext& context);
void runSetLighting(CommandContext& context);
void runBind(CommandContext& context);
void runUnbind(CommandContext& context);
void runProfileSwitch(CommandContext& context);
void runProfileRename(CommandContext& context);
void runRuleList(CommandContext& context);
void runRuleAdd(CommandContext& context);
void runRuleRemove(CommandContext& context);
void runRuleDefault(CommandContext& context);
void runProfileExport(CommandContext& context);
void runProfileImport(CommandContext& context);
void runMacroList(CommandContext& context);
void runMacroExport(CommandContext& context);
void runMacroImport(CommandContext& context);
void runReset(CommandContext& context);
void runFocus(CommandContext& context);

} // namespace corvane::control
