#pragma once
// The installation's catalog of supported devices, read from config.xml.
//
// config.xml (root "config") holds, in this order:
//   language.info default_lan=  / lan value=  (repeated)       -> StartupInfo
//   device / mouse name= device_type= device_attr= image=     -> DeviceDescription
//            mouse / mode value= desc= vid= pid= dev_id= hid_interface= -> DeviceMode
//   software caption= version= / website, feedback, qa, store, upgrade url=,
//            copyright info=                                    -> ProductInfo
// Elements are looked up forward only, in the order above; others are ignored.
// Numbers are decimal texts (leadingInt) except vid and pid, which are hexadecimal
// with an optional 0x (leadingHex).
//
// Reading is done by the functions below; they return data only. The main window
// fills its device list and registers each DeviceMode with the DeviceManager.
// The readers keep no state: any thread may call them.

#include <QString>

#include <optional>
#include <vector>

namespace corvane::catalog {

// What start-up needs from config.xml before anything else exists.
struct StartupInfo {
    bool loaded = false;                // config.xml was read and has its root
    std::optional<int> defaultLanguage; // default_lan, when language.info exists
    std::vector<int> languages;         // each lan value, in file order
    QString caption;                    // software caption (the product name); empty if none
};

// One "mouse" element of the device list.
struct DeviceDescription {
    QString name;       // shown in the device list
    int deviceType = 0; // the key of everything per device
    QString deviceAttr; // file stem of the device file and of the database file
    QString image;      // device list picture, relative to <skinFolder>/device/

    // The picture's full path: <skinFolder>/device/<image>.
    QString imagePath(const QString& skinFolder) const;
};

// One "mode" element: one USB interface by which a device type attaches.
struct DeviceMode {
    DeviceDescription device; // the "mouse" element it belongs to
    int mode = 0;             // 0 = USB cable, 1 = 2.4 GHz receiver
    int vid = 0;              // USB vendor id
    int pid = 0;              // USB product id
    QString devId;            // four-character device identifier the mouse reports
    QString desc;             // read, not used
    QString hidInterface;     // read, not used
};

// Program version and links of the "software" element; empty texts when absent.
struct ProductInfo {
    QString version;
    QString website;
    QString feedback;
    QString qa;
    QString store;
    QString upgrade; // base address of the version check and the setup download
};

struct DeviceCatalog {
    std::vector<DeviceDescription> devices; // one per "mouse", file order
    std::vector<DeviceMode> modes;          // one per "mode", file order over all devices
    ProductInfo product;
};

// Reads the language list and product caption. A missing or malformed file gives a
// StartupInfo with loaded false and nothing else set.
StartupInfo readStartupInfo(const QString& configXmlPath);

// Reads the device list and product information. A missing or malformed file, or one
// whose root is not "config", gives an empty catalog.
DeviceCatalog readCatalog(const QString& configXmlPath);

// The first device with this device type, if any.
std::optional<DeviceDescription> findDescription(const DeviceCatalog& catalog, int deviceType);

// The device_attr of the first device with this type; empty when no device has it.
QString deviceAttrOf(const DeviceCatalog& catalog, int deviceType);

} // namespace corvane::catalog
