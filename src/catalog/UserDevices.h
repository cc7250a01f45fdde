#pragma once
// Models a user adds without touching the installation: one XML file per model in
// <dataHome>/corvane/devices/, named <device_attr>.xml. The file is a device file
// (root "mouse") whose first child "catalog" is the model's entry of the device list:
//
//   <mouse>
//     <catalog name="..." device_type="..." image="...">
//       <mode value="0" vid="0x1209" pid="0xC0C1" dev_id="CVM3" .../>
//     </catalog>
//     <image_file .../> <menu .../> ... as in an installed device file
//   </mouse>
//
// Pictures are named relative to the file's folder; a model without its own picture
// is shown with the skin's neutral outline. docs/device-files.md describes every
// element. An installed model always wins: a user file that would take its device
// type, its file name or one of its vendor/product/identifier triples is skipped, and
// so is a file with an error (DeviceFileCheck.h).

#include "catalog/DeviceCatalog.h"
#include "catalog/DeviceFileCheck.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvane::catalog {

// The skin's neutral pictures: the key page's and the device list's.
inline constexpr char kOutlinePicture[] = "device/outline.png";
inline constexpr char kOutlineListPicture[] = "outline_list.png"; // below <skin>/device/

// <dataHome>/corvane/devices
QString userDeviceFolderFor(const QString& dataHome);

// One user file, checked and read with the program's own readers.
struct UserDeviceFile {
    QString path;
    std::vector<DeviceFileProblem> problems;
    std::optional<DeviceDescription> device; // set unless the file has an error
    std::vector<DeviceMode> modes;
};
UserDeviceFile readUserDeviceFile(const QString& path);

// Why the file's model may not join `catalog` (whose models win); empty when it may.
QString clashWith(const DeviceCatalog& catalog, const UserDeviceFile& file);

// What became of one user file when it was added to a catalog.
struct UserDeviceReport {
    QString path;
    std::vector<DeviceFileProblem> problems;
    QString clash; // why an otherwise sound file was skipped; empty when it was not
    bool used = false;

    // The lines to show a user: each problem, then the verdict when skipped.
    QStringList lines() const;
};

// Appends the models of every *.xml file in `folder` (in name order) to `catalog`,
// after the installed ones, and makes deviceFilePath() find their device files from
// now on (replacing what an earlier call registered). A report for every file that was
// skipped or has a problem; nothing for a sound file, nor when the folder is missing.
std::vector<UserDeviceReport> addUserDevices(DeviceCatalog& catalog, const QString& folder);

// The folder of the registered user file of deviceAttr; empty for an installed model.
QString userDeviceFolderOf(const QString& deviceAttr);
// The registered user file of deviceAttr; empty for an installed model.
QString userDeviceFileOf(const QString& deviceAttr);

} // namespace corvane::catalog
