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

bool sameSteps(const std::vector<store::MacroEvent>& a, const std::vector<store::MacroEvent>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const store::MacroEvent& x, const store::MacroEvent& y) {
                          return x.type == y.type && x.index == y.index && x.value == y.value &&
                                 x.timestamp == y.timestamp && x.desc == y.desc;
                      });
}

bool sameSettings(const store::MacroDefinition& a, const store::MacroDefinition& b) {
    return a.name == b.name && a.playType == b.playType && a.playTimes == b.playTimes &&
           a.delayType == b.delayType && a.delayTime == b.delayTime;
}

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

int findIdenticalMacro(store::ProfileDatabase& database, const FileMacro& macro) {
    std::vector<store::MacroDefinition> macros;
    database.listMacros(macros);
    // The store gives steps in the order of their index, whatever order they came in.
    std::vector<store::MacroEvent> fileSteps = macro.steps;
    std::stable_sort(
        fileSteps.begin(), fileSteps.end(),
        [](const store::MacroEvent& a, const store::MacroEvent& b) { return a.index < b.index; });
    std::vector<store::MacroEvent> steps;
    for (const store::MacroDefinition& stored : macros) {
        if (sameSettings(stored, macro.macro)) {
            database.listMacroEvents(stored.id, steps);
            if (sameSteps(steps, fileSteps)) {
                return stored.id;
            }
        }
    }
    return 0;
}

} // namespace corvane::exchange
