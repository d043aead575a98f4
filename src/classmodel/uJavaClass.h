// The reader of compiled Java class files: header, constant pool, declaration, fields, methods
// and attributes, in file order. A class file is untrusted input: every read is checked against
// the end of the bytes, and nothing is allocated before the bytes it stands for were read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The access flags an import looks at.
namespace access_flag {
inline constexpr std::uint16_t Public = 0x0001;
inline constexpr std::uint16_t Private = 0x0002;
inline constexpr std::uint16_t Protected = 0x0004;
inline constexpr std::uint16_t Interface = 0x0200;
inline constexpr std::uint16_t Abstract = 0x0400;
inline constexpr std::uint16_t Synthetic = 0x1000;
inline constexpr std::uint16_t Module = 0x8000;
}  // namespace access_flag

// The text of an entry that has none.
inline constexpr std::string_view NoName = "**noname";

// Modified UTF-8 as single-byte text: a sequence of two bytes gives the low 8 bits of its
// character, one of three bytes gives "?" (its character has no single byte). A sequence cut
// off by the end of the bytes ends the text.
std::string ModifiedUtf8ToText(std::string_view bytes);

// Big-endian reads over a byte buffer that raise "Unexpected end of file" rather than read or
// skip past its end.
class TByteReader {
  public:
    explicit TByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::uint8_t U1();
    std::uint16_t U2();
    std::uint32_t U4();
    std::string_view Bytes(std::size_t count);
    void Skip(std::uint32_t count) { Bytes(count); }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

class TConstPool;

// An entry of the constant pool.
class TConstBase {
  public:
    explicit TConstBase(std::uint8_t tag) : tag_(tag) {}
    TConstBase(const TConstBase&) = delete;
    TConstBase& operator=(const TConstBase&) = delete;
    virtual ~TConstBase() = default;

    std::uint8_t Tag() const { return tag_; }
    // Binds the entry's indexes to the entries they name, once the whole pool is read.
    virtual void Resolve(const TConstPool&) {}
    // The text the entry stands for; `NoName` when it has none.
    virtual std::string_view Name() const { return NoName; }

  private:
    std::uint8_t tag_;
};

class TConstUtf8 : public TConstBase {
  public:
    explicit TConstUtf8(std::string text) : TConstBase(1), text_(std::move(text)) {}
    std::string_view Name() const override { return text_; }

  private:
    std::string text_;
};

class TConstInt : public TConstBase {
  public:
    explicit TConstInt(std::uint32_t value) : TConstBase(3), value_(value) {}
    std::uint32_t Value() const { return value_; }

  private:
    std::uint32_t value_;
};

// The raw bits of a float.
class TConstFloat : public TConstBase {
  public:
    explicit TConstFloat(std::uint32_t bits) : TConstBase(4), bits_(bits) {}
    std::uint32_t Bits() const { return bits_; }

  private:
    std::uint32_t bits_;
};

// A long (tag 5) or the raw bits of a double (tag 6); either occupies two entries.
class TConstWide : public TConstBase {
  public:
    TConstWide(std::uint8_t tag, std::uint32_t high, std::uint32_t low)
        : TConstBase(tag), high_(high), low_(low) {}
    std::uint64_t Value() const { return (std::uint64_t{high_} << 32) | low_; }

  private:
    std::uint32_t high_;
    std::uint32_t low_;
};

class TConstLong : public TConstWide {
  public:
    TConstLong(std::uint32_t high, std::uint32_t low) : TConstWide(5, high, low) {}
};

class TConstDouble : public TConstWide {
  public:
    TConstDouble(std::uint32_t high, std::uint32_t low) : TConstWide(6, high, low) {}
};

// A class (tag 7) or a string (tag 8): the index of its UTF-8 text.
class TConstClass_or_String : public TConstBase {
  public:
    TConstClass_or_String(std::uint8_t tag, std::uint16_t name_index)
        : TConstBase(tag), name_index_(name_index) {}
    void Resolve(const TConstPool& pool) override;
    std::string_view Name() const override;

  private:
    std::uint16_t name_index_;
    const TConstUtf8* utf8_ = nullptr;
};

class TConstName_and_Type_info : public TConstBase {
  public:
    TConstName_and_Type_info(std::uint16_t name_index, std::uint16_t descriptor_index)
        : TConstBase(12), name_index_(name_index), descriptor_index_(descriptor_index) {}
    void Resolve(const TConstPool& pool) override;
    std::string_view Name() const override;
    std::string_view Descriptor() const;

  private:
    std::uint16_t name_index_;
    std::uint16_t descriptor_index_;
    const TConstUtf8* name_ = nullptr;
    const TConstUtf8* descriptor_ = nullptr;
};

// A field (tag 9), method (10) or interface method (11) reference.
class TConstRef : public TConstBase {
  public:
    TConstRef(std::uint8_t tag, std::uint16_t class_index, std::uint16_t name_and_type_index)
        : TConstBase(tag), class_index_(class_index), name_and_type_index_(name_and_type_index) {}
    void Resolve(const TConstPool& pool) override;
    // The name of the member referred to.
    std::string_view Name() const override;
    const TConstClass_or_String* ClassEntry() const { return class_; }
    const TConstName_and_Type_info* NameAndType() const { return name_and_type_; }

  private:
    std::uint16_t class_index_;
    std::uint16_t name_and_type_index_;
    const TConstClass_or_String* class_ = nullptr;
    const TConstName_and_Type_info* name_and_type_ = nullptr;
};

// An entry of the later class-file versions, which names nothing an import uses: a method
// handle (15), method type (16), dynamic constant (17), call site (18), module (19) or package
// (20). Its data is read over.
class TConstLater : public TConstBase {
  public:
    using TConstBase::TConstBase;
};

class TConstPool {
  public:
    // Reads the count and the entries 1 … count − 1, then resolves them. A tag outside the
    // known ones writes the trace line "allocConstEntry: bad tag value = <tag>" and raises: the
    // rest cannot be read.
    void Read(TByteReader& reader);

    // The number the file gives: entries are numbered 1 … Count() − 1.
    std::size_t Count() const { return count_; }
    // The entry of that number; none for entry 0, an empty entry or a number out of range.
    const TConstBase* Entry(std::size_t index) const;
    // The entry when it is of the kind `T`, else none.
    template <class T>
    const T* Get(std::size_t index) const {
        return dynamic_cast<const T*>(Entry(index));
    }

  private:
    std::size_t count_ = 0;
    std::vector<std::unique_ptr<TConstBase>> entries_;
};

struct TClassFileHeader {
    std::uint32_t Magic = 0;
    std::uint16_t MinorVersion = 0;
    std::uint16_t MajorVersion = 0;
};

// An attribute of a class, field or method: its bytes are skipped.
struct TAttributeInfo {
    std::uint16_t NameIndex = 0;
    std::uint32_t Length = 0;
};

struct TClassDeclSec {
    std::uint16_t AccessFlags = 0;
    std::uint16_t ThisClass = 0;
    std::uint16_t SuperClass = 0;
    std::vector<std::uint16_t> Interfaces;
};

// A field or a method. Its name and descriptor are the texts of the UTF-8 entries its indexes
// name, empty when they name none.
struct TMemberInfo {
    std::uint16_t AccessFlags = 0;
    std::uint16_t NameIndex = 0;
    std::uint16_t DescriptorIndex = 0;
    std::vector<TAttributeInfo> Attributes;
    std::string Name;
    std::string Descriptor;
};
struct TFieldInfo : TMemberInfo {};
struct TMethodInfo : TMemberInfo {};

struct TClassFieldSec {
    std::vector<TFieldInfo> Fields;
};
struct TClassMethodSec {
    std::vector<TMethodInfo> Methods;
};
struct TClassAttrSec {
    std::vector<TAttributeInfo> Attributes;
};

// A whole class file, read when it is made. Raises "Unexpected end of file" for bytes that end
// too soon and the bad-tag error for a constant pool it cannot read; the magic and the version
// are read, not checked.
class TClassFile {
  public:
    explicit TClassFile(std::string_view bytes);

    TClassFileHeader Header;
    TConstPool ConstantPool;
    TClassDeclSec Declaration;
    TClassFieldSec FieldSection;
    TClassMethodSec MethodSection;
    TClassAttrSec AttributeSection;

    // The class or string entries the declaration names; none where an index names no such
    // entry (the super class of java.lang.Object, a corrupt file).
    const TConstClass_or_String* ThisClass() const;
    const TConstClass_or_String* SuperClass() const;
    std::vector<const TConstClass_or_String*> Interfaces() const;
};

}  // namespace tarnwell
