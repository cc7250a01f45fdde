#include "app/start/LocaleLcid.h"

#include <array>

namespace corvane::app {

namespace {

struct LanguageLcid {
    QLocale::Language language;
    QLocale::Script script; // AnyScript: every script of the language
    int lcid;
};

// First match wins. The first block holds the languages the settings page can offer.
constexpr std::array table{
    LanguageLcid{QLocale::Chinese, QLocale::TraditionalChineseScript, 1028},
    LanguageLcid{QLocale::Chinese, QLocale::AnyScript, 2052},
    LanguageLcid{QLocale::Arabic, QLocale::AnyScript, 1025},
    LanguageLcid{QLocale::German, QLocale::AnyScript, 1031},
    LanguageLcid{QLocale::English, QLocale::AnyScript, 1033},
    LanguageLcid{QLocale::Spanish, QLocale::AnyScript, 1034},
    LanguageLcid{QLocale::French, QLocale::AnyScript, 1036},
    LanguageLcid{QLocale::Italian, QLocale::AnyScript, 1040},
    LanguageLcid{QLocale::Japanese, QLocale::AnyScript, 1041},
    LanguageLcid{QLocale::Polish, QLocale::AnyScript, 1045},
    LanguageLcid{QLocale::Russian, QLocale::AnyScript, 1049},
    LanguageLcid{QLocale::Ukrainian, QLocale::AnyScript, 1058},
    LanguageLcid{QLocale::Vietnamese, QLocale::AnyScript, 1066},
    LanguageLcid{QLocale::Portuguese, QLocale::AnyScript, 2070},

    LanguageLcid{QLocale::Bulgarian, QLocale::AnyScript, 1026},
    LanguageLcid{QLocale::Catalan, QLocale::AnyScript, 1027},
    LanguageLcid{QLocale::Czech, QLocale::AnyScript, 1029},
    LanguageLcid{QLocale::Danish, QLocale::AnyScript, 1030},
    LanguageLcid{QLocale::Greek, QLocale::AnyScript, 1032},
    LanguageLcid{QLocale::Finnish, QLocale::AnyScript, 1035},
    LanguageLcid{QLocale::Hebrew, QLocale::AnyScript, 1037},
    LanguageLcid{QLocale::Hungarian, QLocale::AnyScript, 1038},
    LanguageLcid{QLocale::Korean, QLocale::AnyScript, 1042},
    LanguageLcid{QLocale::Dutch, QLocale::AnyScript, 1043},
    LanguageLcid{QLocale::NorwegianBokmal, QLocale::AnyScript, 1044},
    LanguageLcid{QLocale::NorwegianNynorsk, QLocale::AnyScript, 2068},
    LanguageLcid{QLocale::Romanian, QLocale::AnyScript, 1048},
    LanguageLcid{QLocale::Croatian, QLocale::AnyScript, 1050},
    LanguageLcid{QLocale::Slovak, QLocale::AnyScript, 1051},
    LanguageLcid{QLocale::Swedish, QLocale::AnyScript, 1053},
    LanguageLcid{QLocale::Thai, QLocale::AnyScript, 1054},
    LanguageLcid{QLocale::Turkish, QLocale::AnyScript, 1055},
    LanguageLcid{QLocale::Indonesian, QLocale::AnyScript, 1057},
    LanguageLcid{QLocale::Belarusian, QLocale::AnyScript, 1059},
    LanguageLcid{QLocale::Slovenian, QLocale::AnyScript, 1060},
    LanguageLcid{QLocale::Estonian, QLocale::AnyScript, 1061},
    LanguageLcid{QLocale::Latvian, QLocale::AnyScript, 1062},
    LanguageLcid{QLocale::Lithuanian, QLocale::AnyScript, 1063},
    LanguageLcid{QLocale::Persian, QLocale::AnyScript, 1065},
    LanguageLcid{QLocale::Hindi, QLocale::AnyScript, 1081},
    LanguageLcid{QLocale::Malay, QLocale::AnyScript, 1086},
    LanguageLcid{QLocale::Kazakh, QLocale::AnyScript, 1087},
};

constexpr int fallbackLcid = 1033;

} // namespace

int lcidOfLocale(const QLocale& locale) {
    for (const LanguageLcid& entry : table) {
        if (entry.language == locale.language() &&
            (entry.script == QLocale::AnyScript || entry.script == locale.script()))
            return entry.lcid;
    }
    return fallbackLcid;
}

int userInterfaceLcid() {
    const QLocale system = QLocale::system();
    const QStringList languages = system.uiLanguages();
    return lcidOfLocale(languages.isEmpty() ? system : QLocale(languages.first()));
}

} // namespace corvane::app
