// corvanectl bind and unbind: the button page's functions for the keys of the current
// profile.
#include "control/names/BindingRules.h"
#include "control/names/FunctionNames.h"
#include "control/names/KeyNames.h"
#include "control/names/ValueText.h"
#include "control/requests/CommandContext.h"
#include "protocol/codec/BindingType.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/WorkerHost.h"
#include "protocol/worker/WorkerState.h"
#include "store/ProfileDatabase.h"

namespace corvane::control {

namespace {

const catalog::KeyEntry* findKey(CommandContext& context, const QString& name) {
    const std::optional<int> number = parseNumber(name);
    for (const catalog::KeyEntry& key : context.details.keys) {
        if ((number && key.keyValue == *number) ||
            name.compare(mouseKeyName(key.nameId, key.keyValue), Qt::CaseInsensitive) == 0)
            return &key;
    }
    return nullptr;
}

bool keyOf(CommandContext& context, const catalog::KeyEntry*& key) {
    QString name;
    if (!context.operand(0, QStringLiteral("the key"), name))
        return false;
    key = findKey(context, name);
    if (key)
        return true;
    QStringList names;
    for (const catalog::KeyEntry& entry : context.details.keys)
        names << mouseKeyName(entry.nameId, entry.keyValue);
    return context.usage(QStringLiteral("this mouse has no key \"%1\"; its keys are %2")
                             .arg(name, choiceList(names)));
}

void sendButtons(CommandContext& context) {
    context.queue(protocol::DeviceTask::SendButtons);
    context.pages |= protocol::Page::Buttons;
}

} // namespace

void runBind(CommandContext& context) {
    const catalog::KeyEntry* key = nullptr;
    QString function;
    if (!keyOf(context, key) || !context.operand(1, QStringLiteral("the function"), function) ||
        !context.operandCount(2))
        return;
    if (key->keyValue == kPrimaryKey)
        return (void)context.usage(QStringLiteral("the %1 key keeps its function so that the mouse "
                                                  "can always click; bind another key")
                                       .arg(mouseKeyName(key->nameId, key->keyValue)));
    std::vector<store::MacroDefinition> macros;
    context.database.listMacros(macros);
    const ParsedFunction parsed =
        parseFunction(function, macros, [&context](int id) { return context.text(id); });
    if (!parsed.ok)
        return (void)context.usage(parsed.error);

    store::ButtonBinding binding;
    binding.profile = context.profile;
    binding.keyCode = key->keyValue;
    binding.macroType = parsed.type;
    binding.macroValue = parsed.value;
    binding.macroValue2 = parsed.value2;
    binding.macroDesc = parsed.description;
    if (context.database.saveBinding(binding) <= 0)
        return (void)context.failure(QStringLiteral("the profile store cannot be written"));
    if (parsed.type == static_cast<int>(protocol::BindingType::MacroCall))
        context.state.requestMacroDownload(key->keyValue); // its steps go out with the keys
    sendButtons(context);
}

void runUnbind(CommandContext& context) {
    if (context.request.has(QStringLiteral("all"))) {
        if (!context.operandCount(0))
            return;
        if (!context.database.deleteBindings(context.profile))
            return (void)context.failure(QStringLiteral("the profile store cannot be written"));
        sendButtons(context);
        return;
    }
    const catalog::KeyEntry* key = nullptr;
    if (!keyOf(context, key) || !context.operandCount(1))
        return;
    // Saving a binding without values removes the key's row: the key is back to its
    // default function.
    store::ButtonBinding binding;
    binding.profile = context.profile;
    binding.keyCode = key->keyValue;
    binding.macroType = static_cast<int>(protocol::BindingType::MouseFunction);
    context.database.saveBinding(binding);
    store::ButtonBinding left;
    if (context.database.getBinding(context.profile, key->keyValue, left))
        return (void)context.failure(QStringLiteral("the profile store cannot be written"));
    sendButtons(context);
}

} // namespace corvane::control
