#include "classmodel/uJavaClass.h"

#include "classmodel/uError.h"

namespace tarnwell {

namespace {

std::vector<TAttributeInfo> read_attributes(TByteReader& reader) {
    std::vector<TAttributeInfo> attributes;
    const std::uint16_t count = reader.U2();
    // Grown one read attribute at a time: a count the bytes cannot hold ends in "Unexpected
    // end of file", not in a large allocation.
    for (std::uint16_t i = 0; i < count; ++i) {
        TAttributeInfo attribute;
        attribute.NameIndex = reader.U2();
        attribute.Length = reader.U4();
        reader.Skip(attribute.Length);
        attributes.push_back(attribute);
    }
    return attributes;
}

std::string text_of(const TConstPool& pool, std::uint16_t index) {
    const TConstUtf8* utf8 = pool.Get<TConstUtf8>(index);
    return utf8 == nullptr ? std::string() : std::string(utf8->Name());
}

template <class Member>
std::vector<Member> read_members(TByteReader& reader, const TConstPool& pool) {
    std::vector<Member> members;
    const std::uint16_t count = reader.U2();
    for (std::uint16_t i = 0; i < count; ++i) {
        Member member;
        member.AccessFlags = reader.U2();
        member.NameIndex = reader.U2();
        member.DescriptorIndex = reader.U2();
        member.Attributes = read_attributes(reader);
        member.Name = text_of(pool, member.NameIndex);
        member.Descriptor = text_of(pool, member.DescriptorIndex);
        members.push_back(std::move(member));
    }
    return members;
}

}  // namespace

std::string ModifiedUtf8ToText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        if (first < 0x80) {
            text += static_cast<char>(first);
            i += 1;
        } else if ((first & 0xF0) == 0xE0) {
            if (i + 3 > bytes.size()) break;
            text += '?';
            i += 3;
        } else {
            if (i + 2 > bytes.size()) break;
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            text += static_cast<char>((((first & 0x1F) << 6) | (second & 0x3F)) & 0xFF);
            i += 2;
        }
    }
    return text;
}

std::uint8_t TByteReader::U1() {
    return static_cast<std::uint8_t>(Bytes(1)[0]);
}

std::uint16_t TByteReader::U2() {
    const std::string_view b = Bytes(2);
    return static_cast<std::uint16_t>((static_cast<unsigned char>(b[0]) << 8) |
                                      static_cast<unsigned char>(b[1]));
}

std::uint32_t TByteReader::U4() {
    const std::uint32_t high = U2();
    return (high << 16) | U2();
}

std::string_view TByteReader::Bytes(std::size_t count) {
    if (count > bytes_.size() - pos_) throw model_error("Unexpected end of file");
    const std::string_view taken = bytes_.substr(pos_, count);
    pos_ += count;
    return taken;
}

void TConstClass_or_String::Resolve(const TConstPool& pool) {
    utf8_ = pool.Get<TConstUtf8>(name_index_);
}

std::string_view TConstClass_or_String::Name() const {
    return utf8_ != nullptr ? utf8_->Name() : NoName;
}

void TConstName_and_Type_info::Resolve(const TConstPool& pool) {
    name_ = pool.Get<TConstUtf8>(name_index_);
    descriptor_ = pool.Get<TConstUtf8>(descriptor_index_);
}

std::string_view TConstName_and_Type_info::Name() const {
    return name_ != nullptr ? name_->Name() : NoName;
}

std::string_view TConstName_and_Type_info::Descriptor() const {
    return descriptor_ != nullptr ? descriptor_->Name() : NoName;
}

void TConstRef::Resolve(const TConstPool& pool) {
    class_ = pool.Get<TConstClass_or_String>(class_index_);
    name_and_type_ = pool.Get<TConstName_and_Type_info>(name_and_type_index_);
}

std::string_view TConstRef::Name() const {
    return name_and_type_ != nullptr ? name_and_type_->Name() : NoName;
}

void TConstPool::Read(TByteReader& reader) {
    count_ = reader.U2();
    entries_.clear();
    entries_.emplace_back();
    // Each entry is made after its tag was read, so the pool grows with the bytes read and
    // never by the count alone.
    while (entries_.size() < count_) {
        const std::uint8_t tag = reader.U1();
        std::unique_ptr<TConstBase> entry;
        bool wide = false;
        switch (tag) {
            case 0:
                break;
            case 1: {
                const std::uint16_t length = reader.U2();
                entry = std::make_unique<TConstUtf8>(ModifiedUtf8ToText(reader.Bytes(length)));
                break;
            }
            case 3:
                entry = std::make_unique<TConstInt>(reader.U4());
                break;
            case 4:
                entry = std::make_unique<TConstFloat>(reader.U4());
                break;
            case 5:
            case 6: {
                const std::uint32_t high = reader.U4();
                const std::uint32_t low = reader.U4();
                if (tag == 5) {
                    entry = std::make_unique<TConstLong>(high, low);
                } else {
                    entry = std::make_unique<TConstDouble>(high, low);
                }
                wide = true;
                break;
            }
            case 7:
            case 8:
                entry = std::make_unique<TConstClass_or_String>(tag, reader.U2());
                break;
            case 9:
            case 10:
            case 11: {
                const std::uint16_t class_index = reader.U2();
                entry = std::make_unique<TConstRef>(tag, class_index, reader.U2());
                break;
            }
            case 12: {
                const std::uint16_t name_index = reader.U2();
                entry = std::make_unique<TConstName_and_Type_info>(name_index, reader.U2());
                break;
            }
            case 15:
                reader.Skip(3);
                entry = std::make_unique<TConstLater>(tag);
                break;
            case 16:
            case 19:
            case 20:
                reader.Skip(2);
                entry = std::make_unique<TConstLater>(tag);
                break;
            case 17:
            case 18:
                reader.Skip(4);
                entry = std::make_unique<TConstLater>(tag);
                break;
            default:
                TErrorHandler::Instance().Trace("allocConstEntry: bad tag value = " +
                                                std::to_string(tag));
                throw model_error("Not a class file: constant pool entry " +
                                  std::to_string(entries_.size()) + " has the unknown tag " +
                                  std::to_string(tag));
        }
        entries_.push_back(std::move(entry));
        if (wide && entries_.size() < count_) entries_.emplace_back();
    }
    for (const auto& entry : entries_) {
        if (entry) entry->Resolve(*this);
    }
}

const TConstBase* TConstPool::Entry(std::size_t index) const {
    return index < entries_.size() ? entries_[index].get() : nullptr;
}

TClassFile::TClassFile(std::string_view bytes) {
    TByteReader reader(bytes);
    Header.Magic = reader.U4();
    Header.MinorVersion = reader.U2();
    Header.MajorVersion = reader.U2();
    ConstantPool.Read(reader);
    Declaration.AccessFlags = reader.U2();
    Declaration.ThisClass = reader.U2();
    Declaration.SuperClass = reader.U2();
    const std::uint16_t interface_count = reader.U2();
    for (std::uint16_t i = 0; i < interface_count; ++i) {
        Declaration.Interfaces.push_back(reader.U2());
    }
    FieldSection.Fields = read_members<TFieldInfo>(reader, ConstantPool);
    MethodSection.Methods = read_members<TMethodInfo>(reader, ConstantPool);
    AttributeSection.Attributes = read_attributes(reader);
}

const TConstClass_or_String* TClassFile::ThisClass() const {
    return ConstantPool.Get<TConstClass_or_String>(Declaration.ThisClass);
}

const TConstClass_or_String* TClassFile::SuperClass() const {
    return ConstantPool.Get<TConstClass_or_String>(Declaration.SuperClass);
}

std::vector<const TConstClass_or_String*> TClassFile::Interfaces() const {
    std::vector<const TConstClass_or_String*> entries;
    entries.reserve(Declaration.Interfaces.size());
    for (const std::uint16_t index : Declaration.Interfaces) {
        entries.push_back(ConstantPool.Get<TConstClass_or_String>(index));
    }
    return entries;
}

}  // namespace tarnwell
