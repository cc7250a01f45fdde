#pragma once
// The description of one device type, read from <exeFolder>/device/<device_attr>.xml.
//
// The device file (root "mouse") holds, in this order:
//   image_file mouse_img=
//   menu light=
//   custom show_dpitips= show_savetips= show_lod= show_sensor= show_respondtime=
//   firmware url=
//   mouse_key / key name= key_value= direction= rect= func_desc= dashed= func_type=
//               func_value=  (repeated)
//   mouse_info / light_info / light_1 ... light_6 enable=
//              / dpi_info default_dpi= dpi_count= / dpi_1 ... dpi_6 value= color=
//              / report_rate default_value=, sleep_light, move_wakeup,
//                move_closelight, lod, button_respondtime value=
// Elements are looked up forward only: one placed before an element already read is
// missed. Flags are set only by the number 1. The readers keep no state: the UI thread
// and the device worker may both call them.

#include "catalog/TextNumbers.h"

#include <QString>

#include <array>
#include <utility>
#include <vector>

namespace corvane::catalog {

// One physical key of the mouse.
struct KeyEntry {
    int nameId = 0;       // TextId of the key's name
    int keyValue = 0;     // key number: the key_code of its button binding
    int direction = 0;    // side of the callout label in the mouse picture
    CalloutLine callout;  // drawn from (x1, y) to (x2, y)
    int funcDescId = 0;   // TextId of the default function's description
    bool dashed = false;  // the callout line is drawn dashed
    int funcType = 0;     // default macro_type
    int funcValue = 0;    // default macro_value
    QString nameText;     // the name attribute as written
    QString funcDescText; // the func_desc attribute as written
};

// A key's factory function, as the button page keeps it.
struct DefaultBinding {
    int keyCode = 0;
    int layoutValue = 0;
    QString layoutDesc; // the key name's TextId as text
    int macroType = 0;
    int macroValue = 0;
    QString macroDesc; // the default description's TextId as text
};

DefaultBinding defaultBindingOf(const KeyEntry& key);
std::vector<DefaultBinding> defaultBindingsOf(const std::vector<KeyEntry>& keys);

constexpr int kLightEffectCount = 6;

// The current device type's description, held by the main window. Each read replaces
// it element by element: what a file lacks keeps its previous value, except the key
// list, which is emptied as soon as the file has "mouse_key".
struct DeviceDetails {
    QString mousePicture; // "device/<mouse_img>", relative to the skin folder (a user
                          // model's: its own picture's full path, or the outline)
    bool hasLighting = false;
    bool showDpiTips = false;
    bool showSaveTips = false;
    bool showLod = false;
    bool showSensor = false;
    bool showRespondTime = false;
    QString firmwareUrl; // base address of the firmware download
    std::vector<KeyEntry> keys;
    std::array<bool, kLightEffectCount> lightEffects{}; // light_1 ... light_6 offered
};

// "<exeFolder>/device/<deviceAttr>.xml", or the user's own file of that model when
// addUserDevices registered one (UserDevices.h).
QString deviceFilePath(const QString& exeFolder, const QString& deviceAttr);

// Reads the device file of deviceAttr into inOut; an element the file lacks leaves its
// values as they were, except the firmware address, which is emptied. Returns false,
// leaving inOut unchanged, when the file cannot be loaded or its root is not "mouse".
bool readDeviceDetails(const QString& exeFolder, const QString& deviceAttr, DeviceDetails& inOut);

// The factory performance values of the device file as (setting key, value text)
// pairs, in this order: dpi_index, dpi_flag, dpi_count, then per stage N = 0..5
// dpi_groupN_value and dpi_groupN_rgb (the colour as the decimal text of parseColour);
// unless dpiOnly, then report_rate, report_rate_wireless, sleep_light, move_wakeup,
// move_closelight, liftoff_height, button_respondtime. A missing element or an empty
// attribute gives no pair; an unreadable file gives none at all. Texts are passed on
// as written.
std::vector<std::pair<QString, QString>>
performanceDefaults(const QString& exeFolder, const QString& deviceAttr, bool dpiOnly);

} // namespace corvane::catalog
