// XSL 1.0 transformations with every way out of the process closed: no DTD is loaded, no entity
// is substituted or fetched, no network is reached, and a stylesheet may neither read nor write
// a file. The documentation generator transforms text it made itself, but a stylesheet or an
// XMI text can come from anywhere.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwell {

// A parsed XML document (the input of a transformation).
class TXmlDocument {
  public:
    // Raises model_error with the parser's first message when the text is not well-formed.
    explicit TXmlDocument(std::string_view text);
    ~TXmlDocument();
    TXmlDocument(const TXmlDocument&) = delete;
    TXmlDocument& operator=(const TXmlDocument&) = delete;

    void* Handle() const { return document_; }

  private:
    void* document_;
};

// A compiled stylesheet.
class TXslTransform {
  public:
    // Raises model_error when the text is no well-formed XML or no stylesheet.
    explicit TXslTransform(std::string_view stylesheet);
    ~TXslTransform();
    TXslTransform(const TXslTransform&) = delete;
    TXslTransform& operator=(const TXslTransform&) = delete;

    // The serialised result of the transformation of `input`; string parameters are passed as
    // they are (no XPath is evaluated in them). Raises model_error when the transformation
    // fails or tries anything the security settings forbid.
    std::string Apply(
        const TXmlDocument& input,
        const std::vector<std::pair<std::string, std::string>>& parameters = {}) const;

  private:
    void* stylesheet_;
};

}  // namespace tarnwell
