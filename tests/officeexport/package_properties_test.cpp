#include "officeexport/package_properties.h"

#include <gtest/gtest.h>

#include "officeexport/ooxml_templates.h"
#include "officeexport/ooxml_xml.h"

namespace tarnwell {
namespace {

const char* const core_relationship =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
const char* const app_relationship =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties";

TEST(PackageProperties, TimesAreWrittenInUtcAsW3cdtf) {
    EXPECT_EQ(w3cdtf_time(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(w3cdtf_time(1000000000), "2001-09-09T01:46:40Z");
    EXPECT_EQ(w3cdtf_time(951782400), "2000-02-29T00:00:00Z");
}

// How often a text occurs in a part.
int count_of(const ooxml_package& package, const std::string& part, const std::string& text) {
    const std::string* bytes = package.part(part);
    if (!bytes) return -1;
    int count = 0;
    for (std::size_t at = bytes->find(text); at != std::string::npos;
         at = bytes->find(text, at + 1)) {
        ++count;
    }
    return count;
}

// A template saved by an office program: its own properties, under names of its choosing.
ooxml_package template_with_properties(const std::string& core_target,
                                       const std::string& app_target) {
    ooxml_package package = builtin_template(office_kind::presentation);
    std::string rels = *package.part("_rels/.rels");
    rels.insert(rels.rfind("</Relationships>"),
                "<Relationship Id=\"rId7\" Type=\"" + std::string(core_relationship) +
                    "\" Target=\"" + core_target + "\"/><Relationship Id=\"rId8\" Type=\"" +
                    app_relationship + "\" Target=\"" + app_target + "\"/>");
    package.set_part("_rels/.rels", rels);
    package.set_part(
        "meta/core1.xml",
        "<cp:coreProperties "
        "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>Loops &amp; "
        "jumps</dc:title><dc:creator>Ada</dc:creator><cp:lastModifiedBy>Ada</cp:lastModifiedBy>"
        "<cp:revision>7</cp:revision><cp:lastPrinted>2019-05-01T10:00:00Z</cp:lastPrinted>"
        "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2019-04-01T10:00:00Z</dcterms:created>"
        "<cp:keywords>flow</cp:keywords></cp:coreProperties>");
    package.set_part(
        "meta/app1.xml",
        "<Properties "
        "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
        "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
        "<Application>Presenter</Application><Slides>3</Slides><Company>Hollin "
        "Ltd</Company><TitlesOfParts><vt:vector size=\"1\" baseType=\"lpstr\"><vt:lpstr>Old "
        "title</vt:lpstr></vt:vector></TitlesOfParts></Properties>");
    std::string types = *package.part("[Content_Types].xml");
    types.insert(types.rfind("</Types>"),
                 "<Override PartName=\"/meta/core1.xml\" "
                 "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>");
    package.set_part("[Content_Types].xml", types);
    return package;
}

TEST(PackageProperties, EveryPackageGetsBothPartsOnceWhateverItHeld) {
    struct expected {
        const char* what;
        ooxml_package package;
        std::string core_part;
        std::string app_part;
        std::vector<std::string> kept;     // texts of the template's properties that stay
        std::vector<std::string> dropped;  // and those that go
    };
    expected cases[] = {
        {"no properties",
         builtin_template(office_kind::presentation),
         "docProps/core.xml",
         "docProps/app.xml",
         {},
         {}},
        {"properties of its own",
         template_with_properties("/meta/core1.xml", "meta/app1.xml"),
         "meta/core1.xml",
         "meta/app1.xml",
         {"Loops &amp; jumps", "<cp:keywords>flow</cp:keywords>", "Hollin Ltd"},
         {"Ada", "2019", "<cp:revision>7", "Presenter", "Slides", "Old title"}},
        // "../../app.xml" leaves the package: that relationship is replaced.
        {"a relationship to a missing part",
         template_with_properties("gone/core.xml", "../../app.xml"),
         "gone/core.xml",
         "docProps/app.xml",
         {},
         {}},
    };
    const std::time_t now = 1000000000;
    for (expected& c : cases) {
        SCOPED_TRACE(c.what);
        // Saving an export again, as a template, must not add anything twice.
        for (int round = 0; round < 2; ++round) set_package_properties(c.package, now);
        const std::optional<package_relationship> core =
            c.package.relationship("", "/metadata/core-properties");
        const std::optional<package_relationship> app =
            c.package.relationship("", "/relationships/extended-properties");
        ASSERT_TRUE(core && app);
        EXPECT_EQ(core->target, c.core_part);
        EXPECT_EQ(app->target, c.app_part);
        EXPECT_EQ(count_of(c.package, "_rels/.rels", core_relationship), 1);
        EXPECT_EQ(count_of(c.package, "_rels/.rels", app_relationship), 1);
        EXPECT_EQ(c.package.content_type(c.core_part),
                  "application/vnd.openxmlformats-package.core-properties+xml");
        EXPECT_EQ(c.package.content_type(c.app_part),
                  "application/vnd.openxmlformats-officedocument.extended-properties+xml");
        EXPECT_EQ(count_of(c.package, "[Content_Types].xml", c.core_part), 1);
        EXPECT_EQ(count_of(c.package, c.core_part, "<dc:creator>Tarnwell</dc:creator>"), 1);
        EXPECT_EQ(count_of(c.package, c.core_part, "<cp:lastModifiedBy>Tarnwell<"), 1);
        EXPECT_EQ(count_of(c.package, c.core_part,
                           "xsi:type=\"dcterms:W3CDTF\">2001-09-09T01:46:40Z</dcterms:"),
                  2);
        EXPECT_EQ(count_of(c.package, c.app_part, "<Application>Tarnwell</Application>"), 1);
        for (const std::string& text : c.kept) {
            EXPECT_EQ(
                count_of(c.package, c.core_part, text) + count_of(c.package, c.app_part, text), 1)
                << text;
        }
        for (const std::string& text : c.dropped) {
            EXPECT_EQ(
                count_of(c.package, c.core_part, text) + count_of(c.package, c.app_part, text), 0)
                << text;
        }
    }
}

}  // namespace
}  // namespace tarnwell
