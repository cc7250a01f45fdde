#!/usr/bin/env bash
# Installs the build into a scratch prefix and starts the installed program with the
# virtual mice on Qt's offscreen platform. It passes when the program found its
# installation files under <prefix>/share/corvane: the window is saved once the
# worker has reported the devices, and the first device type's database exists under
# the user's data folder, named after the caption and device file in config.xml.
set -euo pipefail
build=$1
scratch=$2

rm -rf "$scratch"
mkdir -p "$scratch/home" "$scratch/data" "$scratch/config" "$scratch/runtime"
chmod 700 "$scratch/runtime"

cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log"

program=$scratch/prefix/bin/corvane
[ -x "$program" ] || { echo "not installed: $program"; exit 1; }
for file in share/corvane/config.xml share/corvane/device/corvane_m1.xml \
            share/corvane/language/1033.lan share/corvane/skins/default/Corvane.ico \
            lib/udev/rules.d/70-corvane.rules \
            share/applications/io.github.corvane.Corvane.desktop \
            share/metainfo/io.github.corvane.Corvane.metainfo.xml \
            bin/corvanectl share/man/man1/corvanectl.1 \
            share/bash-completion/completions/corvanectl \
            share/dbus-1/interfaces/io.github.corvane.Corvane.xml \
            share/corvane/kwin/corvane-focus.js \
            share/gnome-shell/extensions/focus@corvane.github.io/extension.js; do
  [ -e "$scratch/prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done

# Started from another folder, so only the executable's own location can lead it to
# its files.
cd "$scratch"
HOME=$scratch/home XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config \
XDG_RUNTIME_DIR=$scratch/runtime QT_QPA_PLATFORM=offscreen \
CORVANE_SCREENSHOT=$scratch/window.png CORVANE_SCREENSHOT_TAB=1 CORVANE_SCREENSHOT_QUIT=1 \
  timeout 60 "$program" --virtual-mouse

[ -s "$scratch/window.png" ] || { echo "the window was not saved"; exit 1; }
database="$scratch/data/Corvane Files/db/corvane_m1_data1.db"
[ -s "$database" ] || { echo "no database at $database: installation files not found"; exit 1; }
# corvanectl, installed beside it, finds the same files and the same store.
HOME=$scratch/home XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config \
XDG_RUNTIME_DIR=$scratch/runtime \
  timeout 60 "$scratch/prefix/bin/corvanectl" --virtual-mouse set rate 500 \
  || { echo "the installed corvanectl failed"; exit 1; }
echo "installed program ran from $scratch/prefix"
