// XSL 1.0 transformations with every way out of the process closed: no DTD is loaded, no entity
// is substituted or fetched, no network is reached, and a stylesheet may neither read nor write
// a file. The documentation generator transforms text it made itself, but a stylesheet or an
// XMI text can come from anywhere.
#pragma once

#include <map>
#include <string>
#include <string_view>

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

    // The serialised result of the transformation of `input`. Raises model_error when the
    // transformation fails or tries anything the security settings forbid.
    std::string Apply(const TXmlDocument& input) const;

    // For a stylesheet that makes many documents in one pass (its keys are then built once):
    // the result is a "pages" element whose "page" children each carry an "id" and hold one
    // document element. Each page is serialised as a document of its own under the
    // stylesheet's output settings, by id; other content is left out. Raises as `Apply`.
    std::map<std::string, std::string> ApplyPages(const TXmlDocument& input) const;

  private:
    // The result tree, which the caller frees; raises as `Apply`.
    void* Transform(const TXmlDocument& input) const;
    // The document as the stylesheet's output settings write it; raises when it cannot.
    std::string Serialise(void* result) const;

    void* stylesheet_;
};

}  // namespace tarnwell
