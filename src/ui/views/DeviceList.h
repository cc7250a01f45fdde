#pragma once
// The home page's list of known devices: one card per entry with its picture, name,
// online state, connection mode, firmware version and battery. At most one entry is
// selected; entries are addressed by device type (several entries may share a type:
// per-type setters change all of them, select picks the first).

#include "ui/views/ItemControl.h"

#include <QList>
#include <QSize>

namespace corvane::ui {

class DeviceList : public ItemControl {
public:
    // Connection modes an online entry shows.
    enum Mode { Wired = 0, Wireless = 1 };

    DeviceList(int id, QWidget* parent);

    // Appends an entry (offline, no version, no battery); returns its index. The image is
    // a skin image (a drawn mouse when missing).
    int addEntry(const QString& name, int deviceType, const QString& image);
    void clear();
    int count() const { return int(m_entries.size()); }
    QString entryName(int index) const;
    int entryType(int index) const; // 0 for a bad index

    void markAllOffline();
    void setState(int deviceType, int mode, bool online);
    void setFirmwareVersion(int deviceType, const QString& version);
    // level 0..100; a level below 0 hides the battery.
    void setBattery(int deviceType, int level, bool charging);
    bool isOnline(int deviceType) const;
    int onlineCount() const;

    // Shown before each firmware version ("caption: version").
    void setVersionCaption(const QString& caption);

    // Selection. select returns false and keeps the selection when no entry has the type.
    // Never notify.
    bool select(int deviceType);
    int selectedType() const; // 0 when none
    int selectedIndex() const { return m_selected; }
    void clearSelection();

    // Cards are laid out in rows, centred; each has this size (240 x 230 by default).
    void setCardSize(const QSize& size);
    QRect entryRect(int index) const;

    // Skin images: "device_mode.png" (two frames side by side: wired, wireless),
    // "icon/icon_battery_bkg.png", "icon/icon_batteryvalue.png" (clipped to the level),
    // "icon/icon_charge.png". Each is drawn when missing.

    // A click on a card (online or not, also the selected one) selects it and notifies
    // Click with param1 = index, param2 = device type.

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    int itemAt(const QPoint& point) const override;

private:
    struct Entry {
        QString name;
        int type = 0;
        QString image;
        bool online = false;
        int mode = Wired;
        QString version;
        int battery = -1;
        bool charging = false;
    };
    template <class F> void forType(int deviceType, F change);
    void paintEntry(QPainter& p, int index) const;
    void paintMode(QPainter& p, const QRect& r, int mode) const;
    void paintBattery(QPainter& p, const QRect& r, int level, bool charging) const;

    QList<Entry> m_entries;
    int m_selected = -1;
    QString m_versionCaption;
    QSize m_cardSize{240, 230};
};

} // namespace corvane::ui
