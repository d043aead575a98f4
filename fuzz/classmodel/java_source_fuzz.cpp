// Feeds arbitrary bytes to the Java source import, as a file of its own and as the file a type
// lookup pulls in: no input may crash, hang or read out of bounds, whatever model it leaves.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "classmodel/uError.h"
#include "classmodel/uJavaParser.h"
#include "classmodel/uModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnwell;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TObjectModel model;
    bool pulled = false;
    TJavaParser parser([&](const std::string&) -> std::unique_ptr<std::istream> {
        if (pulled) return nullptr;
        pulled = true;
        return std::make_unique<std::istringstream>(bytes);
    });
    try {
        parser.ParseStream(std::make_unique<std::istringstream>(bytes), *model.ModelRoot(), model);
        parser.ParseStream(std::make_unique<std::istringstream>("class A extends B { B b; }"),
                           *model.ModelRoot(), model);
    } catch (const model_error&) {
        // A refused change is a clean outcome for the fuzzer: the import reports it per file.
    }
    return 0;
}
