// Tells Corvane which window has the focus on GNOME Shell, where ordinary programs may not
// ask for it: on every focus change it calls ReportFocus on Corvane's session-bus service.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

const SERVICE = 'io.github.corvane.Corvane';
const PATH = '/io/github/corvane/Corvane';

export default class CorvaneFocusExtension extends Extension {
    enable() {
        this._signal = global.display.connect('notify::focus-window', () => this._report());
        this._report();
    }

    disable() {
        global.display.disconnect(this._signal);
        this._signal = null;
    }

    _report() {
        const window = global.display.focus_window;
        let appId = '';
        let title = '';
        let pid = 0;
        if (window) {
            // The Wayland app id (mutter gives it as the class), or WM_CLASS's class.
            appId = window.get_wm_class() || window.get_gtk_application_id() || '';
            title = window.get_title() || '';
            pid = window.get_pid() > 0 ? window.get_pid() : 0;
        }
        // Corvane may not be running: the call then fails quietly.
        Gio.DBus.session.call(SERVICE, PATH, SERVICE, 'ReportFocus',
            new GLib.Variant('(ssi)', [appId, title, pid]), null,
            Gio.DBusCallFlags.NO_AUTO_START, 1000, null, null);
    }
}
