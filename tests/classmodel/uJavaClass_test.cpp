#include "classmodel/uJavaClass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classmodel/uError.h"
#include "test_support.h"

namespace tarnwell {
namespace {

using test::class_file_builder;
using test::data_path;
using test::read_file;
using test::trace_recorder;

// The class files javac made for the fixtures.
const std::vector<std::string> fixture_classes = {
    "classfiles/Calc.class",  "classfiles/Modern.class",      "classfiles/Outer.class",
    "classfiles/pkg/A.class", "classfiles/Outer$Inner.class", "classfiles/pkg/Shape.class",
    "classfiles/pkg/B.class", "classfiles/module-info.class",
};

std::string error_of(std::string_view bytes) {
    try {
        const TClassFile file(bytes);
    } catch (const model_error& error) {
        return error.what();
    }
    return "";
}

TEST(ModifiedUtf8, TwoByteSequencesGiveTheirLowByteThreeByteOnesAQuestionMark) {
    struct utf8_case {
        std::string bytes;
        std::string text;
    };
    const utf8_case cases[] = {
        {"plain", "plain"},
        {"caf\xC3\xA9", "caf\xE9"},              // U+00E9
        {"a\xC0\x80z", std::string("a\0z", 3)},  // the encoded NUL
        {"\xC4\x80", std::string("\0", 1)},      // U+0100 keeps its low byte
        {"price\xE2\x82\xAC!", "price?!"},       // U+20AC
        {"\xED\xA0\xBD\xED\xB8\x80", "??"},      // a surrogate pair
        {"ab\xC3", "ab"},                        // cut off inside a sequence
        {"ab\xE2\x82", "ab"},
    };
    for (const utf8_case& c : cases) {
        EXPECT_EQ(ModifiedUtf8ToText(c.bytes), c.text) << c.bytes;
    }
}

TEST(ClassFile, ReadsEveryKindOfConstantAndResolvesIndexes) {
    class_file_builder builder("pkg/Thing", "pkg/Base");
    builder.field(0x0002, "count", "I").method(0x0001, "size", "()I");
    const std::uint16_t number = builder.entry("\x03" + class_file_builder::u4(0x01020304));
    const std::uint16_t real = builder.entry("\x04" + class_file_builder::u4(0x3F800000));
    const std::uint16_t wide =
        builder.entry("\x05" + class_file_builder::u4(1) + class_file_builder::u4(2), 2);
    const std::uint16_t dbl =
        builder.entry("\x06" + class_file_builder::u4(3) + class_file_builder::u4(4), 2);
    const std::uint16_t empty = builder.entry(std::string(1, '\0'));
    const std::uint16_t name = builder.utf8("size");
    const std::uint16_t type = builder.utf8("()I");
    const std::uint16_t string = builder.entry("\x08" + class_file_builder::u2(name));
    const std::uint16_t name_and_type =
        builder.entry("\x0C" + class_file_builder::u2(name) + class_file_builder::u2(type));
    const std::uint16_t method_ref =
        builder.entry("\x0A" + class_file_builder::u2(2) + class_file_builder::u2(name_and_type));
    // A reference whose class index names a UTF-8 entry and whose name-and-type index is out
    // of range resolves to nothing.
    const std::uint16_t broken_ref =
        builder.entry("\x09" + class_file_builder::u2(name) + class_file_builder::u2(999));
    // The tags of later class-file versions are read over.
    const std::uint16_t handle = builder.entry("\x0F\x06" + class_file_builder::u2(method_ref));
    builder.entry("\x10" + class_file_builder::u2(type));
    builder.entry("\x11" + class_file_builder::u4(0));
    const std::uint16_t call_site = builder.entry("\x12" + class_file_builder::u4(0));
    builder.entry("\x13" + class_file_builder::u2(name));
    const std::uint16_t last = builder.entry("\x14" + class_file_builder::u2(name));

    const TClassFile file(builder.bytes());
    const TConstPool& pool = file.ConstantPool;
    EXPECT_EQ(file.Header.Magic, 0xCAFEBABEu);
    EXPECT_EQ(file.Header.MajorVersion, 61);
    EXPECT_EQ(pool.Count(), last + 1u);
    EXPECT_EQ(pool.Get<TConstInt>(number)->Value(), 0x01020304u);
    EXPECT_EQ(pool.Get<TConstFloat>(real)->Bits(), 0x3F800000u);
    EXPECT_EQ(pool.Get<TConstLong>(wide)->Value(), 0x100000002u);
    EXPECT_EQ(pool.Get<TConstDouble>(dbl)->Value(), 0x300000004u);
    EXPECT_EQ(pool.Entry(wide + 1), nullptr);
    EXPECT_EQ(pool.Entry(dbl + 1), nullptr);
    EXPECT_EQ(pool.Entry(empty), nullptr);
    EXPECT_EQ(pool.Get<TConstClass_or_String>(string)->Name(), "size");
    EXPECT_EQ(pool.Get<TConstName_and_Type_info>(name_and_type)->Descriptor(), "()I");
    const auto* ref = pool.Get<TConstRef>(method_ref);
    EXPECT_EQ(ref->Name(), "size");
    EXPECT_EQ(ref->ClassEntry()->Name(), "pkg/Thing");
    const auto* broken = pool.Get<TConstRef>(broken_ref);
    EXPECT_EQ(broken->ClassEntry(), nullptr);
    EXPECT_EQ(broken->NameAndType(), nullptr);
    EXPECT_EQ(broken->Name(), NoName);
    EXPECT_EQ(pool.Entry(handle)->Tag(), 15);
    EXPECT_EQ(pool.Entry(call_site)->Tag(), 18);
    EXPECT_EQ(pool.Get<TConstInt>(name), nullptr);
    for (const std::size_t outside : {std::size_t{0}, pool.Count(), std::size_t{65535}}) {
        EXPECT_EQ(pool.Entry(outside), nullptr) << outside;
    }

    EXPECT_EQ(file.ThisClass()->Name(), "pkg/Thing");
    EXPECT_EQ(file.SuperClass()->Name(), "pkg/Base");
    ASSERT_EQ(file.FieldSection.Fields.size(), 1u);
    EXPECT_EQ(file.FieldSection.Fields[0].Name, "count");
    EXPECT_EQ(file.FieldSection.Fields[0].Descriptor, "I");
    ASSERT_EQ(file.MethodSection.Methods.size(), 1u);
    EXPECT_EQ(file.MethodSection.Methods[0].AccessFlags, 0x0001);
    ASSERT_EQ(file.MethodSection.Methods[0].Attributes.size(), 1u);
    EXPECT_EQ(file.MethodSection.Methods[0].Attributes[0].Length, 3u);
}

TEST(ClassFile, AWideEntryInTheLastSlotEndsThePool) {
    class_file_builder builder("A", "");
    builder.entry("\x05" + class_file_builder::u4(0) + class_file_builder::u4(7), 1);
    const TClassFile file(builder.bytes());
    EXPECT_EQ(file.ConstantPool.Get<TConstLong>(file.ConstantPool.Count() - 1)->Value(), 7u);
}

TEST(ClassFile, DeclarationIndexesOfTheWrongKindNameNothing) {
    class_file_builder builder("A", "");
    const std::uint16_t text = builder.utf8("B");
    builder.declaration(text, 4000);
    const TClassFile file(builder.bytes());
    EXPECT_EQ(file.ThisClass(), nullptr);
    EXPECT_EQ(file.SuperClass(), nullptr);
}

TEST(ClassFile, AnUnknownTagIsTracedAndStopsTheFile) {
    for (const int tag : {2, 13, 21, 99, 255}) {
        trace_recorder trace;
        class_file_builder builder("A", "");
        builder.entry(std::string(1, static_cast<char>(tag)) + "junk junk");
        EXPECT_EQ(
            error_of(builder.bytes()),
            "Not a class file: constant pool entry 3 has the unknown tag " + std::to_string(tag));
        EXPECT_EQ(trace.lines, std::vector<std::string>{"allocConstEntry: bad tag value = " +
                                                        std::to_string(tag)});
    }
}

TEST(ClassFile, EveryTruncationOfARealClassFileEndsTooSoon) {
    for (const std::string& name : fixture_classes) {
        const std::string bytes = read_file(data_path(name));
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(error_of(bytes), "") << name;
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            EXPECT_EQ(error_of(std::string_view(bytes).substr(0, length)), "Unexpected end of file")
                << name << " cut at " << length;
        }
    }
}

TEST(ClassFile, CountsAndLengthsBeyondTheBytesEndTooSoon) {
    const std::string header = class_file_builder::u4(0xCAFEBABE) + class_file_builder::u4(61);
    const std::string after_pool = class_file_builder::u2(1) + class_file_builder::u2(0x21) +
                                   class_file_builder::u2(0) + class_file_builder::u2(0);
    const std::string cases[] = {
        // 65 535 pool entries announced, two there.
        header + class_file_builder::u2(0xFFFF) + std::string(2, '\0'),
        // A UTF-8 entry of 65 535 bytes with three.
        header + class_file_builder::u2(2) +
            "\x01\xFF\xFF"
            "abc",
        // 65 535 interfaces, one there.
        header + after_pool + class_file_builder::u2(0xFFFF) + class_file_builder::u2(1),
        // A field whose attribute claims 4 GiB.
        header + after_pool + class_file_builder::u2(0) + class_file_builder::u2(1) +
            std::string(6, '\0') + class_file_builder::u2(1) + class_file_builder::u2(0) +
            class_file_builder::u4(0xFFFFFFFF) + std::string(16, '\0'),
        // A class attribute longer than what is left, at the very end.
        header + after_pool + std::string(6, '\0') + class_file_builder::u2(1) +
            class_file_builder::u2(0) + class_file_builder::u4(10) + "short",
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(error_of(bytes), "Unexpected end of file");
    }
}

}  // namespace
}  // namespace tarnwell
