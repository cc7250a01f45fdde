// The language files the program ships (data/language), against each other and against
// every text number the program uses: a number missing from one language shows as an
// empty text in the interface.
#include "i18n/LanguageTexts.h"
#include "i18n/TextDecoding.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
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
constexpr int kLanguages[] = {1033, 2052};

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
std::set<int> textIdsOf(int lcid, std::vector<std::string>& faults) {
    const QString path = languageFile(kDataDir, lcid);
    const QString text = decodeIniBytes(bytesOf(path), QByteArrayLiteral("UTF-8"));
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    std::set<int> ids;
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
        else if (!ids.insert(id).second)
            faults.push_back(std::to_string(lcid) + ": " + std::to_string(id) + " given twice");
    }
    return ids;
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

TEST_F(LanguageFiles, HoldTheSameTextNumbers) {
    std::vector<std::string> faults;
    const std::set<int> english = textIdsOf(1033, faults);
    const std::set<int> chinese = textIdsOf(2052, faults);
    EXPECT_TRUE(faults.empty()) << lines(faults);
    ASSERT_FALSE(english.empty());
    std::set<int> onlyEnglish;
    std::set<int> onlyChinese;
    std::ranges::set_difference(english, chinese, std::inserter(onlyEnglish, onlyEnglish.end()));
    std::ranges::set_difference(chinese, english, std::inserter(onlyChinese, onlyChinese.end()));
    EXPECT_TRUE(onlyEnglish.empty()) << "only in 1033.lan: " << join(onlyEnglish);
    EXPECT_TRUE(onlyChinese.empty()) << "only in 2052.lan: " << join(onlyChinese);
}

TEST_F(LanguageFiles, HaveNoEmptyText) {
    for (int lcid : kLanguages) {
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
        for (int lcid : kLanguages) {
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
