// The desktop entry, the AppStream metainfo and the theme icons must agree with each
// other and with config.xml: software centres offer the program for the USB ids the
// metainfo lists, and menus find the icon by the entry's Icon name.

#include "PackagingFiles.h"

#include "catalog/DeviceCatalog.h"

#include <QFileInfo>
#include <QImageReader>
#include <QStringList>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace corvane::packaging {
namespace {

const QString kDesktopFile = kPackagingFolder + u'/' + kAppId + QStringLiteral(".desktop");
const QString kMetainfoFile = kPackagingFolder + u'/' + kAppId + QStringLiteral(".metainfo.xml");

// Texts compared as std::string, so that a failure prints them readably.
std::string str(const QString& text) {
    return text.toStdString();
}

// The keys of the [Desktop Entry] group.
std::map<QString, QString> desktopEntry() {
    std::map<QString, QString> keys;
    bool inGroup = false;
    for (const QString& raw : readText(kDesktopFile).split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'['))
            inGroup = line == QLatin1String("[Desktop Entry]");
        else if (inGroup && !line.startsWith(u'#') && line.contains(u'='))
            keys[line.section(u'=', 0, 0).trimmed()] = line.section(u'=', 1).trimmed();
    }
    return keys;
}

struct Metainfo {
    bool wellFormed = false;
    QString id;
    QString launchable;
    QString binary;
    QStringList modaliases;
    QStringList releases; // versions, newest first as the file lists them
};

Metainfo readMetainfo() {
    Metainfo info;
    QXmlStreamReader xml(readText(kMetainfoFile));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("release"))
            info.releases << xml.attributes().value(QLatin1String("version")).toString();
        else if (name == QLatin1String("id"))
            info.id = xml.readElementText();
        else if (name == QLatin1String("launchable"))
            info.launchable = xml.readElementText();
        else if (name == QLatin1String("binary"))
            info.binary = xml.readElementText();
        else if (name == QLatin1String("modalias"))
            info.modaliases << xml.readElementText();
    }
    info.wellFormed = !xml.hasError();
    return info;
}

TEST(DesktopIntegration, EntryStartsTheProgramWithOurIcon) {
    std::map<QString, QString> entry = desktopEntry();
    ASSERT_FALSE(entry.empty()) << "no [Desktop Entry] group";
    EXPECT_EQ(str(entry["Type"]), "Application");
    EXPECT_EQ(str(entry["Name"]), str(catalog::readStartupInfo(kConfigXml).caption));
    EXPECT_EQ(str(entry["Exec"]), "corvane");
    EXPECT_EQ(str(entry["Icon"]), str(kAppId));
}

TEST(DesktopIntegration, ThemeIconInEverySize) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString path = QStringLiteral("%1/icons/hicolor/%2x%2/apps/%3.png")
                                 .arg(kPackagingFolder)
                                 .arg(size)
                                 .arg(kAppId);
        QImageReader reader(path);
        EXPECT_EQ(reader.size(), QSize(size, size)) << path.toStdString();
    }
}

TEST(DesktopIntegration, MetainfoNamesTheEntryAndProgram) {
    const Metainfo info = readMetainfo();
    ASSERT_TRUE(info.wellFormed);
    EXPECT_EQ(str(info.id), str(kAppId));
    EXPECT_EQ(str(info.launchable), str(QFileInfo(kDesktopFile).fileName()));
    EXPECT_EQ(str(info.binary), str(desktopEntry()["Exec"]));
    ASSERT_FALSE(info.releases.isEmpty());
    EXPECT_EQ(str(info.releases.first()), str(catalog::readCatalog(kConfigXml).product.version))
        << "the newest release is the version config.xml announces";
}

TEST(DesktopIntegration, MetainfoOffersTheProgramForEveryCatalogDevice) {
    // Modaliases spell the ids in uppercase hex: usb:v1209pC0A1*.
    const auto hex = [](int id) {
        return QStringLiteral("%1").arg(id, 4, 16, QChar(u'0')).toUpper();
    };
    QStringList wanted;
    for (const UsbId& id : catalogUsbIds())
        wanted << QStringLiteral("usb:v") + hex(id.first) + u'p' + hex(id.second) + u'*';
    ASSERT_FALSE(wanted.isEmpty());
    QStringList listed = readMetainfo().modaliases;
    wanted.sort();
    listed.sort();
    EXPECT_EQ(str(listed.join(u' ')), str(wanted.join(u' ')));
}

} // namespace
} // namespace corvane::packaging
