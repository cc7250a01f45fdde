#include "cli/CommandTable.h"

#include <array>
#include <cstring>

namespace corvane::cli {

namespace {

constexpr OptionEntry kGlobalOptions[] = {
    {"help", nullptr, "Show the help of corvanectl or of the command and exit."},
    {"version", nullptr, "Show the version and exit."},
    {"verbose", nullptr, "Tell on stderr what was done and how the mouse was reached."},
    {"virtual-mouse", nullptr,
     "Use the demonstration mice (a wired mouse, a receiver with its mouse and a second "
     "wired mouse) in place of the real ones, as corvane --virtual-mouse does."},
};

constexpr OptionEntry kJsonOption[] = {
    {"json", nullptr, "Write JSON (described under JSON OUTPUT) instead of text."},
};

constexpr OptionEntry kShowOptions[] = {
    {"profile", "N", "Show profile N instead of the current profile."},
    {"json", nullptr, "Write JSON (described under JSON OUTPUT) instead of text."},
};

constexpr OptionEntry kDpiOptions[] = {
    {"stage", "N",
     "The stage (1 to 6) that DPI and --colour are for; the active stage by default."},
    {"stages", "LIST",
     "The DPI of stages 1, 2, ... as a comma-separated list; the number of values becomes "
     "the stage count unless --count is given."},
    {"colours", "LIST", "The colours of stages 1, 2, ... as a comma-separated list of #RRGGBB."},
    {"colour", "COLOUR", "The colour (#RRGGBB) of the stage."},
    {"count", "N", "The number of stages in use, 1 to 6."},
    {"active", "N", "The active stage, 1 to the stage count."},
};

constexpr OptionEntry kSleepOptions[] = {
    {"wake-on-move", "on|off", "Wake the mouse up when it is moved."},
    {"light-off-on-move", "on|off", "Turn the lighting off while the mouse moves."},
};

constexpr OptionEntry kLightingOptions[] = {
    {"brightness", "N", "Brightness level, 0 to 4, for modes that have one."},
    {"speed", "N", "Speed level, 0 to 4, for modes that have one."},
    {"colour", "COLOUR", "The mode's (first) colour, #RRGGBB."},
    {"colours", "LIST", "The colours of the mode's colour sequence, up to seven #RRGGBB."},
};

constexpr OptionEntry kUnbindOptions[] = {
    {"all", nullptr, "Give every key of the profile its default function back."},
};

constexpr OptionEntry kResetOptions[] = {
    {"yes", nullptr, "Confirm the reset; without it nothing is done."},
};

constexpr OptionEntry kImportProfileOptions[] = {
    {"force", nullptr, "Import a file made for another model of mouse."},
};

constexpr OptionEntry kExportMacroOptions[] = {
    {"all", nullptr, "Write every macro into one file (then FILE is the only operand)."},
};

constexpr OptionEntry kProbeOptions[] = {
    {"ask", "NODE",
     "Send the one read-only identification request to NODE and print what the mouse says."},
    {"template", nullptr, "With --ask: print a starting device file for the mouse instead."},
};

constexpr std::span<const OptionEntry> kNone;

const auto kCommands = std::to_array<CommandEntry>({
    {"list", "", "", 0, 0, false, "List the attached mice.",
     "One line per attached mouse: device type, name, connection (cable, or receiver with "
     "the wireless mouse linked or not), firmware version and battery level.",
     kJsonOption, "", ""},
    {"show", "", "", 0, 0, false, "Show the settings of a profile.",
     "The DPI stages with their colours and the active stage, the report rate, the "
     "lift-off distance, the sensor options, sleep and movement options, the button "
     "response time, the lighting, every key's function, and the macros.",
     kShowOptions, "", ""},
    {"set", "dpi", "[DPI]", 0, 1, false,
     "Set DPI stages, their colours, the stage count and the active stage.",
     "DPI alone sets the active stage's value. Values must be ones the mouse's sensor "
     "takes: the error names the nearest allowed values.",
     kDpiOptions, "", ""},
    {"set", "rate", "HZ", 1, 1, false, "Set the report rate.",
     "125, 250, 500 or 1000 Hz; mice that offer them also 2000, 4000 and 8000 Hz.", kNone, "rates",
     ""},
    {"set", "lod", "MM", 1, 1, false, "Set the lift-off distance: 1 or 2 (mm).", "", kNone, "lods",
     ""},
    {"set", "sensor", "OPTION=on|off...", 1, 3, false, "Turn sensor options on or off.",
     "The options are ripple-control, angle-snapping and motion-sync.", kNone, "sensor", "sensor"},
    {"set", "sleep", "[MINUTES]", 0, 1, false, "Set the sleep time and the movement options.",
     "The sleep time is 1, 2, 5, 6, 10, 15, 20 or 30 minutes.", kSleepOptions, "", ""},
    {"set", "respond", "MS", 1, 1, false, "Set the button response time, 4 to 20 ms.", "", kNone,
     "", ""},
    {"set", "lighting", "[MODE]", 0, 1, false,
     "Set the lighting mode, brightness, speed and colours.",
     "The modes are flowing, breathing, steady, neon, rainbow and off, as far as the mouse "
     "offers them. Without MODE the current mode is changed. Each mode lets only some of "
     "the options be set.",
     kLightingOptions, "modes", ""},
    {"bind", "", "KEY FUNCTION", 2, 2, false, "Give a key of the mouse a function.",
     "KEY is a key's name as show lists it (left, right, middle, back, forward, dpi, ...) or "
     "its number. The left button keeps its function.\n\n"
     "FUNCTION is one of: mouse:left, mouse:right, mouse:middle, mouse:forward, mouse:back, "
     "mouse:fire, mouse:wheel-up, mouse:wheel-down, mouse:wheel-left, mouse:wheel-right; "
     "media:volume-up, media:volume-down, media:mute, media:player, media:play-pause, "
     "media:previous, media:next, media:stop; dpi:cycle, dpi:up, dpi:down; device:profile, "
     "device:rate, device:lighting, device:lighting-toggle, device:battery, device:sleep; "
     "system:brightness-up, system:brightness-down, system:calculator, system:computer, "
     "system:browser-home, system:email, system:show-desktop, system:switch-windows, "
     "system:copy, system:cut, system:paste; disable; key:COMBINATION (a keyboard key with "
     "modifiers, such as key:ctrl+shift+t, key:f5 or key:ctrl); repeat:COUNT,INTERVAL (the "
     "rapid fire: COUNT 0 to 255, INTERVAL 5 to 255 ms); macro:NAME or macro:#ID (a macro by "
     "its name, or by its id where two macros share a name; macro list shows the ids).",
     kNone, "keys", "functions"},
    {"unbind", "", "[KEY]", 0, 1, false, "Give a key its default function back.", "",
     kUnbindOptions, "keys", ""},
    {"profile", "switch", "N", 1, 1, false, "Make profile N current and send it to the mouse.", "",
     kNone, "profiles", ""},
    {"profile", "rename", "N NAME", 2, 2, false, "Rename profile N.", "", kNone, "profiles", ""},
    {"profile", "export", "N FILE", 2, 2, true, "Write profile N to a profile file.",
     "The file holds the profile's settings, key functions, lighting and the macros its "
     "keys play, and the model it was made for. A FILE of - writes it to standard output.",
     kNone, "profiles", "files"},
    {"profile", "import", "FILE", 1, 1, true, "Read a profile file into the current profile.",
     "The current profile takes the file's settings, key functions and lighting, and its "
     "name from the file name; values the mouse does not take keep the profile's own. The "
     "profile is then sent to the mouse. A FILE of - reads standard input (the profile "
     "keeps its name).",
     kImportProfileOptions, "files", ""},
    {"macro", "list", "", 0, 0, false, "List the macros.", "", kJsonOption, "", ""},
    {"macro", "export", "NAME FILE", 1, 2, true,
     "Write a macro (or with --all every macro) to a file.",
     "NAME is the macro's name, or #ID where two macros share a name. A FILE of - writes "
     "to standard output.",
     kExportMacroOptions, "", "files"},
    {"macro", "import", "FILE", 1, 1, true, "Add the macro or macros of a macro file.",
     "Macros whose settings or steps the mouse does not take are left out with a warning; "
     "when every macro is left out the import fails. A FILE of - reads standard input.",
     kNone, "files", ""},
    {"rule", "list", "", 0, 0, false, "List which applications choose a profile.",
     "One line per rule: the profile and the application, then the default profile the "
     "mouse goes back to for every other application.",
     kJsonOption, "", ""},
    {"rule", "add", "N APP", 2, 2, false, "Switch to profile N while APP has the focus.",
     "APP is the application's Wayland app id or X11 window class or instance (games under "
     "Proton show steam_app_ID), or its program's file name; letter case does not count. "
     "An application chooses one profile: a rule for it elsewhere moves to N. With no rule "
     "at all the profile never follows the focus.",
     kNone, "profiles", ""},
    {"rule", "remove", "N APP", 2, 2, false, "Remove APP from profile N's rules.", "", kNone,
     "profiles", ""},
    {"rule", "default", "N", 1, 1, false,
     "Go back to profile N when an application without a rule has the focus.", "", kNone,
     "profiles", ""},
    {"focus", "", "", 0, 0, false,
     "Show which application Corvane sees as focused now, and its profile.",
     "Asks the running window: its desktop watcher (or none, when only the session bus "
     "reports the focus), whether following is paused, the focused application's names a "
     "rule can give, and the profile its rule or the default names. Without the window it "
     "fails.",
     kJsonOption, "", ""},
    {"reset", "", "", 0, 0, false, "Restore the factory settings of the mouse and every profile.",
     "The mouse is reset, every profile gets the factory values, and key functions and "
     "lighting are set back. Nothing happens without --yes.",
     kResetOptions, "", ""},
    {"probe", "", "", 0, 0, false,
     "List HID interfaces that take our commands but that no device file describes.",
     "Read only: it sends nothing. Each line gives the node, vendor:product, the interface "
     "number, the command report lengths and the node's permissions. --ask NODE sends the "
     "identification request, after saying so; --template turns the answer into a device "
     "file for $XDG_DATA_HOME/corvane/devices/.",
     kProbeOptions, "", ""},
    {"check-device", "", "FILE", 1, 1, true,
     "Check a device file and print each problem with its line.",
     "The file is read as the program reads it. Exits with 1 when the program would skip "
     "the file.",
     kNone, "files", ""},
    {"udev-rule", "", "", 0, 0, false,
     "Print the udev rule for every known model, the user's own included.",
     "Install it with: corvanectl udev-rule | sudo tee "
     "/etc/udev/rules.d/71-corvane-local.rules",
     kNone, "", ""},
});

} // namespace

std::span<const CommandEntry> commandEntries() {
    return kCommands;
}

std::span<const OptionEntry> globalOptions() {
    return kGlobalOptions;
}

const CommandEntry* findCommand(const char* command, const char* action) {
    for (const CommandEntry& entry : kCommands) {
        if (std::strcmp(entry.command, command) == 0 && std::strcmp(entry.action, action) == 0)
            return &entry;
    }
    return nullptr;
}

const char* const kDescription =
    "corvanectl reads and changes the settings of an attached Corvane mouse: DPI stages, "
    "report rate, sensor and power options, lighting, the functions of its keys, profiles "
    "and macros. It works on the same profile store as the corvane window, so both always "
    "agree.";

const char* const kHandoverText =
    "When the corvane window runs, corvanectl hands each request to it over the window's "
    "local socket in $XDG_RUNTIME_DIR (only the same user can reach it); the window's "
    "device worker talks to the mouse and its pages show the change. Otherwise corvanectl "
    "talks to the mouse itself and ends when the work is done. The two never talk to a "
    "mouse at the same time: the window's lock file is held by whichever does.";

const char* const kExitStatusText =
    "0 on success; 1 when the mouse or the profile store failed (also when no mouse is "
    "attached, except for list, which then prints an empty list), when the output cannot "
    "be written, or when an import took nothing, with the reason on stderr; 2 for a usage "
    "error: an unknown command, key or option, a missing operand, or a value the mouse "
    "does not take. A refused request leaves the store unchanged.";

const char* const kJsonText =
    "list --json writes {\"mice\": [MOUSE...]} with MOUSE = {\"type\": device type, "
    "\"name\": text, \"connection\": \"cable\" or \"receiver\", \"linked\": bool, "
    "\"firmware\": text such as \"1.10\", \"battery\": null or {\"level\": percent, "
    "\"charging\": bool}, \"current\": bool (the mouse requests go to)}.\n\n"
    "show --json writes {\"profile\": {\"id\", \"name\", \"current\"}, \"dpi\": {\"count\", "
    "\"active\" (from 1), \"stages\": [{\"stage\" (from 1), \"dpi\", \"colour\" "
    "(\"#RRGGBB\")} for all six stages]}, \"rate\": Hz or null, \"lod\": mm or null, "
    "\"sensor\": null or {\"ripple-control\", \"angle-snapping\", \"motion-sync\": bool}, "
    "\"sleep\": {\"minutes\" or null, \"wake-on-move\", \"light-off-on-move\": bool}, "
    "\"respond\": ms or null (lod, sensor and respond are null for a mouse without that "
    "setting), "
    "\"lighting\": null (no lighting) or {\"mode\": name, and only what the mode lets be "
    "set: \"brightness\", \"speed\", \"colours\": [\"#RRGGBB\"...]}, \"keys\": [{\"key\": "
    "name, \"number\", \"function\": a bind FUNCTION (or code:TYPE,VALUE,VALUE2 for codes "
    "corvanectl has no name for), \"description\": the text the window shows, \"stored\": "
    "false for the key's default function}], \"macros\": [{\"id\", \"name\", \"steps\"}]}. "
    "Every value can be given back to set, bind and unbind as it is.\n\n"
    "macro list --json writes {\"macros\": [{\"id\", \"name\", \"steps\"}]}.\n\n"
    "focus --json writes {\"watcher\": name or null, \"paused\": bool, \"focused\": null "
    "or {\"app_id\", \"instance\", \"title\", \"pid\", \"identities\": [name...]}, "
    "\"profile\": the profile it chooses or null, \"rule\": bool (a rule names it)}. Fields are "
    "only "
    "ever added to these shapes, never renamed or removed.";

namespace {
constexpr Example kExamples[] = {
    {"corvanectl set dpi 800", "Set the active DPI stage to 800 DPI (from a game launcher)."},
    {"corvanectl profile switch 2",
     "Make profile 2 current and send it to the mouse (from a desktop hotkey)."},
    {"corvanectl bind back key:ctrl+shift+t",
     "Let the back button reopen the last closed browser tab."},
    {"corvanectl show --json | jq '.dpi.stages[].dpi'", "Read the stage values in a script."},
    {"corvanectl profile export 1 ~/backup/mouse-profile1.xml",
     "Back profile 1 up (from a nightly cron job)."},
};
} // namespace

std::span<const Example> examples() {
    return kExamples;
}

} // namespace corvane::cli
