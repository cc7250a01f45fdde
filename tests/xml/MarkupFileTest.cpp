#include "TestFiles.h"

#include "xml/MarkupDocument.h"

#include <gtest/gtest.h>

#include <ostream>

namespace corvane::xml {
namespace {

using test::readBytes;
using test::utf16Bytes;
using test::utf32LeBytes;
using test::writeBytes;

QByteArray bytesOf(const char* literal, qsizetype size = -1) {
    return size < 0 ? QByteArray(literal) : QByteArray(literal, size);
}

struct LoadCase {
    const char* label;
    QByteArray file;
    int flags;
    const char* encoding;
    QString value;       // the v attribute of the first element named "a" ...
    const char* element; // ... or of this element
    QByteArray saved;    // expected bytes of save(); empty: identical to the file
};

// Names the case in test output by its label, not by its bytes.
void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.label;
}

const QString kChinese = QString::fromUtf8("中文");

std::vector<LoadCase> loadCases() {
    const QString utf16Doc = QString::fromUtf8("<a v=\"中文\"/>");
    return {
        {"Utf8Mark",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a v=\"中文\"/>\r\n",
         docflag::Utf8ByteOrderMark,
         "UTF-8",
         kChinese,
         "a",
         {}},
        {"Utf16LeMark",
         "\xFF\xFE" + utf16Bytes(utf16Doc, false),
         docflag::Utf16LittleEndian,
         "UTF-16LE",
         kChinese,
         "a",
         {}},
        {"Utf16BeMark",
         "\xFE\xFF" + utf16Bytes(utf16Doc, true),
         docflag::Utf16BigEndian,
         "UTF-16BE",
         kChinese,
         "a",
         {}},
        {"Utf8WithoutMarkOrDeclaration", "<a v=\"中文\"/>", 0, "UTF-8", kChinese, "a", {}},
        {"Utf8DetectedAfterLeadingBlank", "\r\n<a v=\"中文\"/>", 0, "UTF-8", kChinese, "a", {}},
        // Bytes that fail the UTF-8 test are read in the system code page
        // (Windows-1252 here) and written back as UTF-8.
        {"InvalidUtf8ReadInCodePage", "<a v=\"caf\xE9 \x80\"/>", 0, "", QString::fromUtf8("café €"),
         "a", "<a v=\"caf\xC3\xA9 \xE2\x82\xAC\"/>"},
        {"DeclaredWindows1252",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<a v=\"caf\xE9 \x80\"/>\r\n",
         0,
         "windows-1252",
         QString::fromUtf8("café €"),
         "a",
         {}},
        // The five bytes the code page leaves unassigned come back as they were.
        {"DeclaredWindows1252UnassignedBytes",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\x81\x8D\x8F\x90\x9D\x80\"/>",
         0,
         "windows-1252",
         QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D\u20AC"),
         "a",
         {}},
        {"DeclaredGbk",
         "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<a v=\"\xD6\xD0\xCE\xC4\"/>",
         0,
         "GBK",
         kChinese,
         "a",
         {}},
        {"DeclaredKoi8r",
         "<?xml version='1.0' encoding='koi8-r'?><a v=\"\xF0\xD2\xC9\xD7\xC5\xD4\"/>",
         0,
         "koi8-r",
         QString::fromUtf8("Привет"),
         "a",
         {}},
        {"HtmlMetaCharset",
         "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"/>"
         "</head><body v=\"\xD6\xD0\"/></html>",
         0,
         "gb2312",
         QString::fromUtf8("中"),
         "body",
         {}},
        {"Utf16DeclaredWithoutMark",
         utf16Bytes(QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"中文\"/>"),
                    false),
         0,
         "UTF-16",
         kChinese,
         "a",
         {}},
        {"Utf16BigEndianDeclaredWithoutMark",
         utf16Bytes(QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"中文\"/>"),
                    true),
         0,
         "UTF-16BE",
         kChinese,
         "a",
         {}},
        {"Utf32DeclaredWithoutMark",
         utf32LeBytes(
             QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-32\"?><a v=\"中文\"/>")),
         0,
         "UTF-32",
         kChinese,
         "a",
         {}},
        {"ZeroBytesDropped", bytesOf("<a v=\"x\0y\"/>", 12), 0, "UTF-8", "xy", "a",
         "<a v=\"xy\"/>"},
    };
}

class MarkupFileLoad : public test::TempFolderTest,
                       public ::testing::WithParamInterface<LoadCase> {};

TEST_P(MarkupFileLoad, ReadsTheEncodingAndWritesItBack) {
    const LoadCase& c = GetParam();
    writeBytes(path("in.xml"), c.file);
    MarkupDocument doc;
    ASSERT_TRUE(doc.load(path("in.xml"))) << doc.result().toStdString();
    EXPECT_EQ(doc.documentFlags(), c.flags);
    EXPECT_EQ(doc.encoding(), QString::fromLatin1(c.encoding));
    if (QByteArray(c.element) == "body") {
        ASSERT_TRUE(doc.findElem("html"));
        ASSERT_TRUE(doc.intoElem());
    }
    ASSERT_TRUE(doc.findElem(QString::fromLatin1(c.element)));
    EXPECT_EQ(doc.getAttrib("v"), c.value);

    ASSERT_TRUE(doc.save(path("out.xml"))) << doc.result().toStdString();
    EXPECT_EQ(readBytes(path("out.xml")), c.saved.isEmpty() ? c.file : c.saved);
}

INSTANTIATE_TEST_SUITE_P(Encodings, MarkupFileLoad, ::testing::ValuesIn(loadCases()),
                         [](const auto& info) { return std::string(info.param.label); });

using MarkupFile = test::TempFolderTest;

TEST_F(MarkupFile, ResultRecordsWhatLoadDid) {
    writeBytes(path("be.xml"), "\xFE\xFF" + utf16Bytes("<a/>", true));
    MarkupDocument doc;
    ASSERT_TRUE(doc.load(path("be.xml")));
    EXPECT_EQ(doc.result(), "<bom/><read encoding=\"UTF-16BE\" length=\"4\"/><endian_swap/>");

    writeBytes(path("plain.xml"), "\n<a/>");
    ASSERT_TRUE(doc.load(path("plain.xml")));
    EXPECT_TRUE(doc.result().contains("<utf8_detection/>")) << doc.result().toStdString();
    EXPECT_TRUE(doc.result().contains("<converted_to encoding=\"UTF-8\" length=\"5\"/>"));
}

TEST_F(MarkupFile, MissingFileFailsAndKeepsTheDocument) {
    MarkupDocument doc("<kept/>");
    EXPECT_FALSE(doc.load(path("missing.xml")));
    EXPECT_TRUE(doc.result().startsWith("<file_error msg=\"")) << doc.result().toStdString();
    EXPECT_TRUE(doc.result().endsWith(" n=\"2\"/>"));
    EXPECT_EQ(doc.text(), "<kept/>");
    EXPECT_TRUE(doc.findElem("kept"));

    EXPECT_FALSE(doc.load(path(""))); // a folder
    EXPECT_TRUE(doc.result().startsWith("<file_error")) << doc.result().toStdString();
}

TEST_F(MarkupFile, UnwritablePathFails) {
    MarkupDocument doc("<a/>");
    EXPECT_FALSE(doc.save(path("no/such/folder/out.xml")));
    EXPECT_TRUE(doc.result().startsWith("<file_error")) << doc.result().toStdString();
    EXPECT_FALSE(doc.save(path("")));
}

TEST_F(MarkupFile, IllFormedFileLoadsFalse) {
    writeBytes(path("two.xml"), "<a/><b/>");
    MarkupDocument doc;
    EXPECT_FALSE(doc.load(path("two.xml")));
    EXPECT_TRUE(doc.result().contains("<root_has_sibling/>"));
    writeBytes(path("lone.xml"), "<a></b></a>");
    EXPECT_FALSE(doc.load(path("lone.xml")));
    EXPECT_TRUE(doc.result().contains("<lone_end_tag tagname=\"b\" offset=\"3\"/>"));
}

TEST_F(MarkupFile, CharacterWithoutRepresentationIsReplaced) {
    MarkupDocument doc(QString::fromUtf8(
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<a v=\"é中\"/>\r\n"));
    ASSERT_TRUE(doc.save(path("lossy.xml")));
    EXPECT_TRUE(doc.result().contains("<conversion_loss/>")) << doc.result().toStdString();
    EXPECT_EQ(readBytes(path("lossy.xml")),
              "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<a v=\"\xE9?\"/>\r\n");
}

TEST_F(MarkupFile, ASaveThatWouldNotLoadAgainIsRefusedAndLeavesTheFile) {
    // The '?' for the element name would start a processing instruction.
    MarkupDocument doc(QString::fromUtf8(
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<\xE4\xB8\xAD v=\"1\"/>\r\n"));
    ASSERT_TRUE(doc.isWellFormed());
    writeBytes(path("kept.xml"), "<a/>");
    EXPECT_FALSE(doc.save(path("kept.xml")));
    EXPECT_TRUE(doc.result().contains("<conversion_loss/>")) << doc.result().toStdString();
    EXPECT_EQ(readBytes(path("kept.xml")), "<a/>");
}

TEST_F(MarkupFile, WrittenDocumentMatchesByteForByte) {
    MarkupDocument doc;
    doc.setDoc("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    ASSERT_TRUE(doc.addElem("profile"));
    ASSERT_TRUE(doc.intoElem());
    ASSERT_TRUE(doc.addElem("profileinfo"));
    ASSERT_TRUE(doc.setAttrib("name", QString::fromUtf8("配置 1 & <x>")));
    ASSERT_TRUE(doc.intoElem());
    ASSERT_TRUE(doc.addElem("keyitems"));
    ASSERT_TRUE(doc.intoElem());
    for (int key = 1; key <= 2; ++key) {
        ASSERT_TRUE(doc.addElem("item"));
        ASSERT_TRUE(doc.setAttrib("key_code", key));
        ASSERT_TRUE(doc.setAttrib("macro_desc", "it's \"quoted\""));
    }
    ASSERT_TRUE(doc.outOfElem());
    ASSERT_TRUE(doc.addElem("Mouse_DPI"));
    ASSERT_TRUE(doc.setAttrib("dpi_count", -1));
    ASSERT_TRUE(doc.save(path("profile.xml")));

    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<profile>\r\n"
        "<profileinfo name=\"\xE9\x85\x8D\xE7\xBD\xAE 1 &amp; &lt;x&gt;\">\r\n"
        "<keyitems>\r\n"
        "<item key_code=\"1\" macro_desc=\"it&apos;s &quot;quoted&quot;\"/>\r\n"
        "<item key_code=\"2\" macro_desc=\"it&apos;s &quot;quoted&quot;\"/>\r\n"
        "</keyitems>\r\n"
        "<Mouse_DPI dpi_count=\"-1\"/>\r\n"
        "</profileinfo>\r\n"
        "</profile>\r\n";
    EXPECT_EQ(readBytes(path("profile.xml")), expected);

    // The written file reads back with the same values.
    MarkupDocument back;
    ASSERT_TRUE(back.load(path("profile.xml"))) << back.result().toStdString();
    ASSERT_TRUE(back.findElem("profile") && back.intoElem() && back.findElem("profileinfo"));
    EXPECT_EQ(back.getAttrib("name"), QString::fromUtf8("配置 1 & <x>"));
    ASSERT_TRUE(back.intoElem() && back.findElem("keyitems") && back.intoElem());
    ASSERT_TRUE(back.findElem("item") && back.findElem("item"));
    EXPECT_EQ(back.getAttrib("key_code"), "2");
    EXPECT_EQ(back.getAttrib("macro_desc"), "it's \"quoted\"");
}

TEST_F(MarkupFile, Utf16DocumentSavesWithItsMark) {
    MarkupDocument doc("<a/>");
    doc.setDocumentFlags(docflag::Utf16BigEndian);
    ASSERT_TRUE(doc.save(path("be.xml")));
    EXPECT_EQ(readBytes(path("be.xml")), "\xFE\xFF" + utf16Bytes("<a/>", true));
    EXPECT_TRUE(doc.result().startsWith("<bom/>"));
}

} // namespace
} // namespace corvane::xml
