#include "c_source_generator.h"

#include <algorithm>

namespace tarnwell {

namespace {

const char* const return_types[] = {
    "int",         "void",  "static unsigned long", "const char *", "struct record *",
    "static void", "double"};

void append_unit(std::string& out, int n) {
    const std::string id = std::to_string(n);
    const std::string type = return_types[n % std::size(return_types)];
    out += "/*\n * record_" + id +
           ": one unit of the generated text.\n * { braces } in a comment.\n */\n";
    if (n % 5 == 0) {
        out += "#define LIMIT_" + id + " \\\n    (" + id + " * 2)\n";
    }
    if (n % 7 == 0) {
        out += "struct pair_" + id + " {\n    int key;\n    const char *name;\n};\n";
        out += "static const int table_" + id + "[] = { 1, 2, 3, " + id + " };\n";
    }
    out += "\n" + type + "\nrecord_" + id + "(struct record *r, int count)\n{\n";
    out += "    int i;\n    const char *text = \"{ not a block }\";\n    char c = '}';\n";
    out += "    for (i = 0; i < count; i++) {\n";
    out += "        if (r[i].key == " + id + ") {\n            c = (char) i;\n        } else {\n";
    out += "            r[i].key += i; // keep going\n        }\n    }\n";
    out += "    switch (count) {\n    case 0:\n        break;\n    default: {\n";
    out += "        while (count-- > 0)\n            text++;\n    }\n    }\n";
    if (type.find("void") == std::string::npos) {
        out += "    return 0;\n";
    }
    out += "}\n\n";
}

}  // namespace

generated_c_source generate_c_source(int lines) {
    generated_c_source source;
    source.text =
        "#include <stdio.h>\n#include <string.h>\n\nstruct record {\n    int key;\n};\n\n";
    int line_count = static_cast<int>(std::count(source.text.begin(), source.text.end(), '\n'));
    while (line_count < lines) {
        const std::size_t before = source.text.size();
        append_unit(source.text, source.functions++);
        line_count += static_cast<int>(std::count(
            source.text.begin() + static_cast<std::ptrdiff_t>(before), source.text.end(), '\n'));
    }
    return source;
}

}  // namespace tarnwell
