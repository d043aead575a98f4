// Feeds arbitrary bytes to the class-file import as a file of its own and as a class file that
// a type lookup pulls in, then writes the model in both XMI forms: no input may crash, hang or
// read out of bounds; a file either imports or fails with one of the reader's errors; the XMI
// always closes its document.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "classmodel/uError.h"
#include "classmodel/uJavaClassImport.h"
#include "classmodel/uModel.h"
#include "classmodel/uXmiExport.h"
#include "classmodel/uXmiExportArgoUML.h"

namespace {

using namespace tarnwell;

bool is_reader_error(std::string_view text) {
    return text == "Unexpected end of file" ||
           text.starts_with("Not a class file: constant pool entry ");
}

// A class that extends "B" and has a field of type "B": both lookups ask for the fuzzed bytes.
const std::string needs_b = [] {
    const auto u2 = [](unsigned v) {
        return std::string{static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
    };
    const auto utf8 = [&](std::string_view text) {
        return "\x01" + u2(static_cast<unsigned>(text.size())) + std::string(text);
    };
    return std::string("\xCA\xFE\xBA\xBE", 4) + u2(0) + u2(61) + u2(7) + utf8("A") + "\x07" +
           u2(1) + utf8("B") + "\x07" + u2(3) + utf8("next") + utf8("LB;") + u2(0x21) + u2(2) +
           u2(4) + u2(0) + u2(1) + u2(1) + u2(5) + u2(6) + u2(0) + u2(0) + u2(0);
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TObjectModel model;
    try {
        TJavaClassParser parser(nullptr);
        parser.ParseStream(std::make_unique<std::istringstream>(bytes), *model.ModelRoot(), model);
    } catch (const model_error& error) {
        if (!is_reader_error(error.what())) std::abort();
    }

    bool pulled = false;
    TJavaClassParser pulling(
        [&](const std::string&) -> std::unique_ptr<std::istream> {
            if (pulled) return nullptr;
            pulled = true;
            return std::make_unique<std::istringstream>(bytes);
        },
        [](const std::string& text) {
            if (!is_reader_error(text)) std::abort();
        });
    pulling.ParseStream(std::make_unique<std::istringstream>(needs_b), *model.ModelRoot(), model);

    TXMIExporter simple(model);
    simple.Export();
    TXMIExporterArgoUML argouml(model);
    argouml.Export();
    if (!simple.XMI().ends_with("</XMI>\r\n") || !argouml.XMI().ends_with("</XMI>\r\n")) {
        std::abort();
    }
    return 0;
}
