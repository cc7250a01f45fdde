#pragma once

// Internal to exchange/: a profile file as read, before any rule is applied.

#include "exchange/MacroElements.h"
#include "exchange/ProfileFile.h"
#include "store/ButtonBinding.h"
#include "xml/MarkupDocument.h"

#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace corvane::exchange {

// The attributes of a light item, in the order they are written.
inline constexpr std::array<const char16_t*, 13> kLightAttributes = {
    u"light_mode",   u"brightness",   u"speed",        u"direction",    u"colorful",
    u"colorindex",   u"color_value1", u"color_value2", u"color_value3", u"color_value4",
    u"color_value5", u"color_value6", u"color_value7",
};
using LightItemText = std::array<QString, kLightAttributes.size()>;

// The nine settings of Mouse, in their order.
inline constexpr std::array<const char16_t*, 9> kMouseSettings = {
    u"button_respondtime", u"report_rate", u"sensor_flag", u"liftoff_height",  u"scroll_flag",
    u"e-sports_flag",      u"sleep_light", u"move_wakeup", u"move_closelight",
};

// The stage settings Mouse_DPI carries, and DPI1 to DPI6.
inline constexpr std::array<const char16_t*, 3> kStageSettings = {u"dpi_flag", u"dpi_index",
                                                                  u"dpi_count"};
inline constexpr int kFileStages = 6;

struct ProfileFileContent {
    FileOrigin origin;
    bool hasKeyItems = false;
    std::vector<store::ButtonBinding> bindings; // profile not set
    bool hasLightItems = false;
    QString lightMode;
    std::vector<LightItemText> lights;
    // Settings found, in file order, with their text as read.
    std::vector<std::pair<QString, QString>> settings;
    bool hasMacros = false;
    std::vector<FileMacro> macros;
    // The applications the profile is for (app_rules), each name as read.
    bool hasAppRules = false;
    QStringList apps;
};

// The element of the applications a profile is for, and of each one. They come last in
// profileinfo, where a reader that walks forward to the elements it knows never looks.
inline constexpr char16_t kAppRulesElement[] = u"app_rules";
inline constexpr char16_t kAppElement[] = u"app";
inline constexpr char16_t kAppNameAttribute[] = u"name";

// Reads a profile file the way the stated reader walks it (forward only; Lightitems is
// looked for only when readLights is set). False when there is no profile root or no
// profileinfo.
bool readProfileContent(xml::MarkupDocument& document, bool readLights,
                        ProfileFileContent& content);

// The origin attributes of the root, the cursor on the root.
FileOrigin readOrigin(const xml::MarkupDocument& document);
void writeOrigin(xml::MarkupDocument& document, const FileOrigin& origin);

} // namespace corvane::exchange
