#include "classmodel/uXslTransform.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <climits>
#include <memory>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "classmodel/uError.h"

namespace tarnwell {
namespace {

// Neither the documents nor the stylesheets may reach outside: every external entity, DTD and
// imported or included stylesheet would come through this loader, and it hands out nothing.
xmlParserInputPtr refuse_external(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

// The libraries' messages would go to standard error; the first of each operation is kept for
// the error it raises instead.
thread_local std::string first_message;

void keep_message(void*, const char* format, ...) {
    if (!first_message.empty()) return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    first_message = line;
    while (!first_message.empty() &&
           (first_message.back() == '\n' || first_message.back() == ' ')) {
        first_message.pop_back();
    }
}

// Raises the error of a failed operation, with the libraries' first message when there is one.
[[noreturn]] void fail(std::string message) {
    if (!first_message.empty()) message += ": " + first_message;
    first_message.clear();
    throw model_error(message);
}

// Without NOENT entities stay references, without DTDLOAD no external subset is read.
constexpr int parse_options =
    XML_PARSE_NONET | XML_PARSE_NOCDATA | XML_PARSE_NOWARNING | XML_PARSE_NOERROR;

// libxml2 and libxslt keep their settings process-wide; they are set once, before first use.
xsltSecurityPrefsPtr closed_prefs() {
    static xsltSecurityPrefsPtr prefs = [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(refuse_external);
        xmlSetGenericErrorFunc(nullptr, keep_message);
        xsltSetGenericErrorFunc(nullptr, keep_message);
        xsltSecurityPrefsPtr p = xsltNewSecurityPrefs();
        for (xsltSecurityOption option :
             {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
              XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK}) {
            xsltSetSecurityPrefs(p, option, xsltSecurityForbid);
        }
        xsltSetDefaultSecurityPrefs(p);
        return p;
    }();
    return prefs;
}

xmlDocPtr parse(std::string_view text, const char* what) {
    closed_prefs();
    first_message.clear();
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        throw model_error(std::string(what) + " is too large");
    }
    xmlDocPtr doc =
        xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, parse_options);
    if (doc == nullptr) {
        const xmlError* error = xmlGetLastError();
        if (error != nullptr && error->message != nullptr)
            keep_message(nullptr, "%s", error->message);
        fail(std::string(what) + " is not well-formed XML");
    }
    return doc;
}

}  // namespace

TXmlDocument::TXmlDocument(std::string_view text) : document_(parse(text, "The XML text")) {}

TXmlDocument::~TXmlDocument() {
    xmlFreeDoc(static_cast<xmlDocPtr>(document_));
}

TXslTransform::TXslTransform(std::string_view stylesheet) : stylesheet_(nullptr) {
    xmlDocPtr doc = parse(stylesheet, "The stylesheet");
    // On success the stylesheet owns the document; on failure it is ours to free.
    xsltStylesheetPtr style = xsltParseStylesheetDoc(doc);
    if (style == nullptr || style->errors != 0) {
        if (style != nullptr) {
            xsltFreeStylesheet(style);
        } else {
            xmlFreeDoc(doc);
        }
        fail("The stylesheet is not a valid XSL stylesheet");
    }
    stylesheet_ = style;
}

TXslTransform::~TXslTransform() {
    xsltFreeStylesheet(static_cast<xsltStylesheetPtr>(stylesheet_));
}

void* TXslTransform::Transform(const TXmlDocument& input) const {
    auto* style = static_cast<xsltStylesheetPtr>(stylesheet_);
    first_message.clear();
    xsltTransformContextPtr context =
        xsltNewTransformContext(style, static_cast<xmlDocPtr>(input.Handle()));
    if (context == nullptr) fail("The transformation could not start");
    xsltSetCtxtSecurityPrefs(closed_prefs(), context);
    // A deep or endlessly recursive stylesheet ends with an error instead of exhausting the stack.
    context->maxTemplateDepth = 1000;
    context->maxTemplateVars = 100000;
    xmlDocPtr result = xsltApplyStylesheetUser(style, static_cast<xmlDocPtr>(input.Handle()),
                                               nullptr, nullptr, nullptr, context);
    const bool failed = result == nullptr || context->state != XSLT_STATE_OK;
    xsltFreeTransformContext(context);
    if (failed) {
        xmlFreeDoc(result);
        fail("The transformation failed");
    }
    return result;
}

std::string TXslTransform::Serialise(void* result) const {
    xmlChar* text = nullptr;
    int length = 0;
    const int saved = xsltSaveResultToString(&text, &length, static_cast<xmlDocPtr>(result),
                                             static_cast<xsltStylesheetPtr>(stylesheet_));
    std::string out;
    if (saved == 0 && text != nullptr) out.assign(reinterpret_cast<const char*>(text), length);
    xmlFree(text);
    if (saved != 0) fail("The transformation's result could not be written");
    return out;
}

std::string TXslTransform::Apply(const TXmlDocument& input) const {
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> result(
        static_cast<xmlDocPtr>(Transform(input)), xmlFreeDoc);
    return Serialise(result.get());
}

namespace {

bool is_element(const xmlNode* node, const char* name) {
    return node != nullptr && node->type == XML_ELEMENT_NODE &&
           (name == nullptr || xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name)));
}

}  // namespace

std::map<std::string, std::string> TXslTransform::ApplyPages(const TXmlDocument& input) const {
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> result(
        static_cast<xmlDocPtr>(Transform(input)), xmlFreeDoc);
    // Each page's element in turn becomes the result's document element and is written with
    // what the transformation put around it (the document type); the nodes never leave the
    // result's tree, so their names stay with its dictionary.
    xmlNodePtr pages = xmlDocGetRootElement(result.get());
    std::map<std::string, std::string> written;
    if (!is_element(pages, "pages")) return written;
    xmlUnlinkNode(pages);
    const std::unique_ptr<xmlNode, decltype(&xmlFreeNode)> pages_owner(pages, xmlFreeNode);
    for (xmlNodePtr page = pages->children; page != nullptr; page = page->next) {
        if (!is_element(page, "page")) continue;
        xmlChar* id = xmlGetProp(page, reinterpret_cast<const xmlChar*>("id"));
        const std::string name = id == nullptr ? std::string() : reinterpret_cast<char*>(id);
        xmlFree(id);
        xmlNodePtr root = page->children;
        while (root != nullptr && !is_element(root, nullptr)) root = root->next;
        if (name.empty() || root == nullptr) continue;
        xmlUnlinkNode(root);
        xmlAddChild(reinterpret_cast<xmlNodePtr>(result.get()), root);
        const std::unique_ptr<xmlNode, void (*)(xmlNodePtr)> placed(root, [](xmlNodePtr node) {
            xmlUnlinkNode(node);
            xmlFreeNode(node);
        });
        written[name] = Serialise(result.get());
    }
    return written;
}

}  // namespace tarnwell
