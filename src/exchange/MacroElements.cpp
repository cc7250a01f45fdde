#include "exchange/MacroElements.h"

#include "exchange/ExchangeFile.h"
#include "store/ProfileDatabase.h"
#include "store/ValueRules.h"

#include <algorithm>

namespace corvane::exchange {

namespace {

const QString kMacroName = QStringLiteral("macro_name");
const QString kPlayType = QStringLiteral("macro_type");
const QString kPlayTimes = QStringLiteral("play_times");
const QString kDelayType = QStringLiteral("delay_type");
const QString kDelayTime = QStringLiteral("delay_time");
const QString kMacroId = QStringLiteral("macro_id");
const QString kItem = QStringLiteral("item");
const QString kMacroItem = QStringLiteral("macro_item");
const QString kRecordItem = QStringLiteral("record_item");
const QString kDesc = QStringLiteral("desc");
const QString kIndex = QStringLiteral("index");
const QString kType = QStringLiteral("type");
const QString kValue = QStringLiteral("value");
const QString kTimestamp = QStringLiteral("timestamp");

} // namespace

void writeMacroAttributes(xml::MarkupDocument& document, const store::MacroDefinition& macro) {
    document.setAttrib(kMacroName, macro.name);
    document.setAttrib(kPlayType, macro.playType);
    document.setAttrib(kPlayTimes, macro.playTimes);
    document.setAttrib(kDelayType, macro.delayType);
    document.setAttrib(kDelayTime, macro.delayTime);
}

void writeSteps(xml::MarkupDocument& document, const std::vector<store::MacroEvent>& steps) {
    for (const store::MacroEvent& step : steps) {
        document.addElem(kItem);
        document.setAttrib(kDesc, step.desc);
        document.setAttrib(kIndex, step.index);
        document.setAttrib(kType, step.type);
        document.setAttrib(kValue, step.value);
        document.setAttrib(kTimestamp, step.timestamp);
    }
}

void writeMacroItem(xml::MarkupDocument& document, const FileMacro& macro) {
    document.addElem(kMacroItem);
    if (macro.sourceId > 0) {
        document.setAttrib(kMacroId, macro.sourceId);
    }
    writeMacroAttributes(document, macro.macro);
    if (macro.steps.empty()) {
        return;
    }
    document.intoElem();
    document.addElem(kRecordItem);
    document.intoElem();
    writeSteps(document, macro.steps);
    document.outOfElem();
    document.outOfElem();
}

store::MacroDefinition readMacroAttributes(const xml::MarkupDocument& document) {
    store::MacroDefinition macro;
    macro.name = document.getAttrib(kMacroName);
    macro.playType = numberAttribute(document, kPlayType);
    macro.playTimes = numberAttribute(document, kPlayTimes);
    macro.delayType = numberAttribute(document, kDelayType);
    macro.delayTime = numberAttribute(document, kDelayTime);
    return macro;
}

std::vector<store::MacroEvent> readSteps(xml::MarkupDocument& document) {
    std::vector<store::MacroEvent> steps;
    while (document.findElem(kItem)) {
        store::MacroEvent& step = steps.emplace_back();
        step.desc = document.getAttrib(kDesc);
        step.index = numberAttribute(document, kIndex);
        step.type = numberAttribute(document, kType);
        step.value = numberAttribute(document, kValue);
        step.timestamp = numberAttribute(document, kTimestamp);
    }
    return steps;
}

std::vector<FileMacro> readMacroItems(xml::MarkupDocument& document) {
    std::vector<FileMacro> macros;
    while (document.findElem(kMacroItem)) {
        FileMacro& macro = macros.emplace_back();
        macro.sourceId = numberAttribute(document, kMacroId);
        macro.macro = readMacroAttributes(document);
        document.intoElem();
        if (document.findElem(kRecordItem)) {
            document.intoElem();
            macro.steps = readSteps(document);
            document.outOfElem();
        }
        document.outOfElem();
    }
    return macros;
}

bool followsMacroRules(const FileMacro& macro) {
    const store::MacroDefinition& m = macro.macro;
    return store::isValidMacroSettings(m.playType, m.playTimes, m.delayType, m.delayTime) &&
           std::all_of(macro.steps.begin(), macro.steps.end(), [](const store::MacroEvent& s) {
               return store::isValidMacroStep(s.type, s.value);
           });
}

int storeMacro(store::ProfileDatabase& database, const FileMacro& macro) {
    const int id = database.insertMacro(macro.macro);
    if (id <= 0) {
        return 0;
    }
    for (store::MacroEvent step : macro.steps) {
        step.macroId = id;
        if (database.insertMacroEvent(step) <= 0) {
            return 0;
        }
    }
    return id;
}

namespace {

// Name, settings and steps (in the order of their index, as the store gives them back) in
// one text; lengths before texts keep any two different macros apart.
QString identityOf(const store::MacroDefinition& macro, std::vector<store::MacroEvent> steps) {
    std::stable_sort(
        steps.begin(), steps.end(),
        [](const store::MacroEvent& a, const store::MacroEvent& b) { return a.index < b.index; });
    QString key = QStringLiteral("%1:%2|%3|%4|%5|%6")
                      .arg(macro.name.size())
                      .arg(macro.name)
                      .arg(macro.playType)
                      .arg(macro.playTimes)
                      .arg(macro.delayType)
                      .arg(macro.delayTime);
    for (const store::MacroEvent& step : steps) {
        key += QStringLiteral("|%1,%2,%3,%4,%5:%6")
                   .arg(step.type)
                   .arg(step.index)
                   .arg(step.value)
                   .arg(step.timestamp)
                   .arg(step.desc.size())
                   .arg(step.desc);
    }
    return key;
}

} // namespace

bool withinMacroLimits(const std::vector<FileMacro>& macros) {
    return macros.size() <= kMaxFileMacros &&
           std::all_of(macros.begin(), macros.end(),
                       [](const FileMacro& macro) { return macro.steps.size() <= kMaxMacroSteps; });
}

IdenticalMacros::IdenticalMacros(store::ProfileDatabase& database) {
    std::vector<store::MacroDefinition> macros;
    database.listMacros(macros);
    std::vector<store::MacroEvent> steps;
    for (const store::MacroDefinition& stored : macros) {
        database.listMacroEvents(stored.id, steps);
        FileMacro known;
        known.macro = stored;
        known.steps = steps;
        add(stored.id, known); // the first of equal macros is the one found
    }
}

int IdenticalMacros::find(const FileMacro& macro) const {
    return ids_.value(identityOf(macro.macro, macro.steps), 0);
}

void IdenticalMacros::add(int id, const FileMacro& macro) {
    const QString key = identityOf(macro.macro, macro.steps);
    if (!ids_.contains(key)) {
        ids_.insert(key, id);
    }
}

} // namespace corvane::exchange
