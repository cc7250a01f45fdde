// The language files the program ships (data/language), against the English file and against
// every text number the program uses: a number missing from one language shows as an
// empty text in the interface, a lost placeholder drops the value it should show.
#include "i18n/LanguageChoice.h"
#include "i18n/LanguageTexts.h"
#include "i18n/TextDecoding.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace corvane::i18n;

const QString kSourceDir = QStringLiteral(CORVANE_SOURCE_DIR);
const QString kDataDir = kSourceDir + QStringLiteral("/data");
constexpr int kEnglish = 1033;

// Every language file shipped, by its number.
std::vector<int> shippedLanguages() {
    std::vector<int> lcids;
    QDirIterator files(kDataDir + QStringLiteral("/language"), {QStringLiteral("*.lan")},
                       QDir::Files);
    while (files.hasNext())
        lcids.push_back(QFileInfo(files.next()).completeBaseName().toInt());
    std::ranges::sort(lcids);
    return lcids;
}

// Texts that stay as they are in English, by language: names, units and words that
// language has taken over. Every other text equal to the English one is an oversight.
const std::map<int, std::set<QString>> kSameAsEnglish = {
    {1031, {"Multimedia", "Neon", "Firmware"}},
    {1034, {"Macro", "Macros", "Multimedia", "min", "Firmware"}},
    {1036, {"Macro", "Macros", "Action", "Type", "min", "FAQ"}},
    {1040, {"Home", "Macro", "Multimedia", "Neon", "min", "Firmware"}},
    {1045, {"Multimedia", "Neon", "min", "Firmware"}},
    {1066, {"Macro", "Neon", "Firmware"}},
    {2070, {"Macro", "Macros", "min", "Firmware"}},
};
const std::set<QString> kSameEverywhere = {"Corvane", "OK"};

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string join(const std::set<int>& ids) {
    std::string text;
    for (int id : ids)
        text += (text.empty() ? "" : " ") + std::to_string(id);
    return text;
}

std::string lines(const std::vector<std::string>& texts) {
    std::string text;
    for (const std::string& line : texts)
        text += line + '\n';
    return text;
}

// The text numbers of a language file's [LAN] section, as the reader sees its lines:
// ';' comments and lines without '=' are skipped, blanks around the key do not count,
// section names match without regard to case. Keys that are not numbers and numbers given
// twice (the second is never read) are written to `faults`.
std::map<int, QString> textsOf(int lcid, std::vector<std::string>& faults) {
    const QString path = languageFile(kDataDir, lcid);
    const QString text = decodeIniBytes(bytesOf(path), QByteArrayLiteral("UTF-8"));
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    std::map<int, QString> texts;
    bool inTexts = false;
    for (const QString& raw : text.split(lineEnd)) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inTexts = line.mid(1)
                          .section(u']', 0, 0)
                          .trimmed()
                          .compare(kTextSection.toString(), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inTexts || line.startsWith(u';') || !line.contains(u'='))
            continue;
        const QString key = line.section(u'=', 0, 0).trimmed();
        bool isNumber = false;
        const int id = key.toInt(&isNumber);
        if (!isNumber)
            faults.push_back(std::to_string(lcid) + ": key \"" + key.toStdString() +
                             "\" is not a text number");
        else if (!texts.emplace(id, line.section(u'=', 1).trimmed()).second)
            faults.push_back(std::to_string(lcid) + ": " + std::to_string(id) + " given twice");
    }
    return texts;
}

std::set<int> textIdsOf(int lcid, std::vector<std::string>& faults) {
    std::set<int> ids;
    for (const auto& [id, text] : textsOf(lcid, faults))
        ids.insert(id);
    return ids;
}

// The file's lines reduced to what the translators must keep: section headers as they
// stand, text lines by their number, comments and blank lines by their kind.
std::vector<std::string> shapeOf(int lcid) {
    const QString text =
        decodeIniBytes(bytesOf(languageFile(kDataDir, lcid)), QByteArrayLiteral("UTF-8"));
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    std::vector<std::string> shape;
    for (const QString& raw : text.split(lineEnd)) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            shape.emplace_back("(blank)");
        else if (line.startsWith(u';'))
            shape.emplace_back("(comment)");
        else if (line.startsWith(u'['))
            shape.push_back(line.toStdString());
        else
            shape.push_back(line.section(u'=', 0, 0).trimmed().toStdString() + "=");
    }
    return shape;
}

// The placeholders of a text in order: "%1", "%s", "%d", ...
std::vector<std::string> placeholdersOf(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%(?:\\d+|[sd])"));
    std::vector<std::string> found;
    for (const auto& match : placeholder.globalMatch(text))
        found.push_back(match.captured().toStdString());
    return found;
}

// Where the program's text numbers stand. In each file matching `names` under `folder`,
// every match of `within` (or the whole file) is searched for `pattern`, whose first
// capture is a text number. `atLeast` guards against a pattern that stopped matching the
// code it was written for.
struct TextSource {
    const char* what;
    const char* folder; // under the repository root, searched with its subfolders
    const char* names;  // file name patterns, separated by blanks
    const char* within; // capture 1 is the part searched; null for the whole file
    const char* pattern;
    int atLeast;
};

constexpr TextSource kTextSources[] = {
    {"the application shell's texts (app/start/TextIds.h)", "src/app", "TextIds.h", nullptr,
     R"(inline constexpr int \w+ = (\d+);)", 20},
    {"the connection state texts (ConnectionText)", "src/protocol", "WorkerHost.h",
     R"(namespace ConnectionText \{([^}]*)\})", R"(= (\d+);)", 3},
    {"the page windows' texts (kText... constants)", "src/pages", "*.cpp", nullptr,
     R"(constexpr int kText(?!Id\b)\w* = (\d+);)", 4},
    {"the lighting mode names", "src/store", "LightEffect.cpp",
     R"((?s)kLightModeDefaults = \{\{(.*?)\}\};)", R"(0x[0-9A-Fa-f]+,\s*(\d+)\s*\})", 6},
    // Everything above is named; a bare number handed to a lookup is caught here too.
    {"numbers written into a text lookup", "src", "*.cpp *.h", nullptr,
     R"(\b(?:uiText|lookupText)\s*\((?:[^(),]*,)?\s*(\d+)\s*\))", 0},
    {"the device descriptions' key names and descriptions", "data/device", "*.xml",
     R"(<key\b([^>]*)>)", R"(\b(?:name|func_desc)\s*=\s*"(\d+)\")", 12},
};

// The text numbers each source holds.
std::map<std::string, std::set<int>> textIdsInUse() {
    std::map<std::string, std::set<int>> used;
    for (const TextSource& source : kTextSources) {
        const QRegularExpression within(
            QString::fromUtf8(source.within ? source.within : "(?s)(.*)"));
        const QRegularExpression pattern(QString::fromUtf8(source.pattern));
        EXPECT_TRUE(within.isValid() && pattern.isValid()) << source.what;
        std::set<int>& ids = used[source.what];
        QDirIterator files(kSourceDir + u'/' + QString::fromUtf8(source.folder),
                           QString::fromUtf8(source.names).split(u' ', Qt::SkipEmptyParts),
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString text = QString::fromUtf8(bytesOf(files.next()));
            for (const auto& part : within.globalMatch(text)) {
                for (const auto& number : pattern.globalMatch(part.captured(1)))
                    ids.insert(number.captured(1).toInt());
            }
        }
        EXPECT_GE(int(ids.size()), source.atLeast)
            << source.what << ": found only " << join(ids) << " in " << source.folder;
    }
    return used;
}

class LanguageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = programFolder();
        m_lcid = currentLcid();
        setProgramFolder(kDataDir);
    }
    void TearDown() override {
        setProgramFolder(m_folder);
        setCurrentLcid(m_lcid);
    }

    // The text as the program looks it up.
    static QString textOf(int lcid, int id) {
        setCurrentLcid(lcid);
        return lookupText(kTextSection, id);
    }

private:
    QString m_folder;
    int m_lcid = 0;
};

TEST(LanguageFileList, EveryOfferedLanguageHasAFile) {
    const std::vector<int> shipped = shippedLanguages();
    std::vector<int> offered;
    for (const LanguageChoiceRow& row : languageChoice())
        offered.push_back(row.lcid);
    std::ranges::sort(offered);
    EXPECT_EQ(shipped, offered);
}

TEST_F(LanguageFiles, HoldTheEnglishTextNumbersInItsOrder) {
    std::vector<std::string> faults;
    const std::set<int> english = textIdsOf(kEnglish, faults);
    ASSERT_GT(english.size(), 100u);
    const std::vector<std::string> englishShape = shapeOf(kEnglish);
    for (int lcid : shippedLanguages()) {
        const std::set<int> ids = textIdsOf(lcid, faults);
        std::set<int> missing;
        std::set<int> extra;
        std::ranges::set_difference(english, ids, std::inserter(missing, missing.end()));
        std::ranges::set_difference(ids, english, std::inserter(extra, extra.end()));
        EXPECT_TRUE(missing.empty()) << lcid << ".lan lacks " << join(missing);
        EXPECT_TRUE(extra.empty()) << "only in " << lcid << ".lan: " << join(extra);
        const std::vector<std::string> shape = shapeOf(lcid);
        const auto [at, inEnglish] = std::ranges::mismatch(shape, englishShape);
        EXPECT_TRUE(at == shape.end() && inEnglish == englishShape.end())
            << lcid << ".lan line " << (at - shape.begin()) + 1 << " is \""
            << (at == shape.end() ? "(end)" : *at) << "\" where 1033.lan has \""
            << (inEnglish == englishShape.end() ? "(end)" : *inEnglish) << "\"";
    }
    EXPECT_TRUE(faults.empty()) << lines(faults);
}

TEST_F(LanguageFiles, KeepThePlaceholdersInOrder) {
    std::vector<std::string> faults;
    const std::map<int, QString> english = textsOf(kEnglish, faults);
    for (int lcid : shippedLanguages()) {
        for (const auto& [id, text] : textsOf(lcid, faults)) {
            const auto source = english.find(id);
            if (source != english.end() && placeholdersOf(text) != placeholdersOf(source->second))
                faults.push_back(std::to_string(lcid) + ": " + std::to_string(id) + " \"" +
                                 text.toStdString() + "\"");
        }
    }
    EXPECT_TRUE(faults.empty()) << "placeholders differ from 1033.lan:\n" << lines(faults);
}

TEST_F(LanguageFiles, AreTranslated) {
    std::vector<std::string> faults;
    const std::map<int, QString> english = textsOf(kEnglish, faults);
    for (int lcid : shippedLanguages()) {
        if (lcid == kEnglish)
            continue;
        const auto allowed = kSameAsEnglish.find(lcid);
        for (const auto& [id, text] : textsOf(lcid, faults)) {
            const auto source = english.find(id);
            if (source == english.end() || text != source->second ||
                kSameEverywhere.contains(text) ||
                (allowed != kSameAsEnglish.end() && allowed->second.contains(text)))
                continue;
            faults.push_back(std::to_string(lcid) + ": " + std::to_string(id) + " \"" +
                             text.toStdString() + "\"");
        }
    }
    EXPECT_TRUE(faults.empty()) << "left in English:\n" << lines(faults);
}

// The program's own reader (quotes, blanks, the length limit, the decoding) gives every
// text as written in the file.
TEST_F(LanguageFiles, ReadThroughTheProgramsReaderAsWritten) {
    for (int lcid : shippedLanguages()) {
        std::vector<std::string> faults;
        for (const auto& [id, text] : textsOf(lcid, faults)) {
            if (textOf(lcid, id) != text)
                faults.push_back(std::to_string(id) + " reads \"" + textOf(lcid, id).toStdString() +
                                 "\"");
        }
        EXPECT_TRUE(faults.empty()) << lcid << ".lan:\n" << lines(faults);
    }
}

TEST_F(LanguageFiles, HaveNoEmptyText) {
    for (int lcid : shippedLanguages()) {
        std::vector<std::string> faults;
        std::set<int> empty;
        for (int id : textIdsOf(lcid, faults)) {
            if (textOf(lcid, id).isEmpty())
                empty.insert(id);
        }
        EXPECT_TRUE(empty.empty()) << lcid << ".lan has empty texts: " << join(empty);
    }
}

TEST_F(LanguageFiles, HoldEveryTextTheProgramUses) {
    for (const auto& [what, ids] : textIdsInUse()) {
        for (int lcid : shippedLanguages()) {
            std::set<int> missing;
            for (int id : ids) {
                if (textOf(lcid, id).isEmpty())
                    missing.insert(id);
            }
            EXPECT_TRUE(missing.empty()) << lcid << ".lan lacks " << what << ": " << join(missing);
        }
    }
}

} // namespace
