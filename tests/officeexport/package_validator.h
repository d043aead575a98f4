// An Office package judged as a strict reader judges it: the packaging (a content type for every
// part, no content type for a part that is not there, every relationship target present, no
// relationship id twice) and every XML part, after Markup Compatibility processing, against the
// schema of its root element's namespace.
#pragma once

#include <libxml/xmlschemas.h>

#include <memory>
#include <string>
#include <vector>

#include "officeexport/ooxml_package.h"

namespace tarnwell::test {

class package_validator {
  public:
    // Loads the schema set `schema_file` imports (tests/data/ooxml-schemas/all.xsd).
    explicit package_validator(const std::string& schema_file);

    bool ready() const { return schema_ != nullptr; }
    const std::string& load_error() const { return load_error_; }

    // Every fault of the package, each "part: what"; empty when it is valid.
    std::vector<std::string> problems(const ooxml_package& package) const;

  private:
    struct schema_free {
        void operator()(xmlSchema* schema) const { xmlSchemaFree(schema); }
    };
    std::unique_ptr<xmlSchema, schema_free> schema_;
    std::string load_error_;
};

// The packaging faults alone, each "part: what".
std::vector<std::string> packaging_problems(const ooxml_package& package);

}  // namespace tarnwell::test
