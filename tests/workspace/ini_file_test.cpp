#include "workspace/ini_file.h"

#include <gtest/gtest.h>

#include "workspace/reopen_list.h"

namespace tarnwell {
namespace {

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCase) {
    const ini_file ini = ini_file::parse(
        "; comment\r\n[Main]\r\nWidth = 640\r\nreopen1=/src/a.cpp\r\n\r\n[word]\nkey=a=b\n");
    EXPECT_EQ(ini.value("main", "width"), " 640");
    EXPECT_EQ(ini.int_value("MAIN", "WIDTH", 0), 640);
    EXPECT_EQ(ini.value("main", "reopen1"), "/src/a.cpp");
    EXPECT_EQ(ini.value("word", "key"), "a=b");
    EXPECT_EQ(ini.value("main", "missing"), std::nullopt);
    EXPECT_EQ(ini.value("nowhere", "key"), std::nullopt);
    EXPECT_EQ(ini.int_value("word", "key", 7), 7);
}

TEST(IniFile, WritesWhatItReadsBack) {
    ini_file ini;
    ini.set_value("main", "width", "640");
    ini.set_value("main", "path", "/a b/c.java");
    ini.set_value("excel", "fe_outpath", "/out");
    ini.set_value("MAIN", "Width", "800");
    EXPECT_EQ(ini.text(), "[main]\nwidth=800\npath=/a b/c.java\n\n[excel]\nfe_outpath=/out\n");
    const ini_file again = ini_file::parse(ini.text());
    EXPECT_EQ(again.text(), ini.text());
    // Blanks at the ends of a value survive writing and reading, with either line end.
    ini.set_value("print", "header", "Page ");
    ini.set_value("print", "footer", "\t- ");
    const ini_file blanks = ini_file::parse(ini.text());
    EXPECT_EQ(blanks.value("print", "header"), "Page ");
    EXPECT_EQ(blanks.value("print", "footer"), "\t- ");
    EXPECT_EQ(ini_file::parse("[p]\r\nheader=Page \r\n").value("p", "header"), "Page ");
}

TEST(IniFile, RefusesWhatWouldBreakTheFile) {
    ini_file ini;
    EXPECT_FALSE(ini.set_value("main", "path", "/a\nb"));
    EXPECT_FALSE(ini.set_value("main", "a=b", "x"));
    EXPECT_FALSE(ini.set_value("ma]in", "a", "x"));
    EXPECT_FALSE(ini.set_value("main", "", "x"));
    EXPECT_EQ(ini.text(), "");
}

TEST(IniFile, ToleratesAnyBytes) {
    using namespace std::string_literals;
    const std::string junk = "[\0\xff]\n=\n[]\n[x\nkey\n\x01=\x02\n[s]\n=v\nk=\xfe"s;
    const ini_file ini = ini_file::parse(junk);
    EXPECT_EQ(ini.value("s", "k"), "\xfe");
    EXPECT_EQ(ini_file::parse(ini.text()).text(), ini.text());
}

TEST(ReopenList, KeepsTheTwoNewestWithoutRepeats) {
    reopen_list list;
    list.add("/a");
    list.add("/b");
    list.add("/a");
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"/a", "/b"}));
    list.add("/c");
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"/c", "/a"}));

    ini_file ini;
    list.store(ini);
    reopen_list loaded;
    loaded.load(ini);
    EXPECT_EQ(loaded.entries(), list.entries());

    reopen_list one;
    one.add("/only");
    one.store(ini);
    EXPECT_EQ(ini.value("main", "reopen2"), std::nullopt);
}

}  // namespace
}  // namespace tarnwell
