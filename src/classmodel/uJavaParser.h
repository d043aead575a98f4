// Java source import: the importer for ".java" files and the forgiving declaration scanner
// that fills the class model from a source text.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "classmodel/uIntegrator.h"
#include "classmodel/uModel.h"

namespace tarnwell {

// The workspace seam: asks the program to show an imported source file as a document.
class IDocumentOpener {
  public:
    virtual ~IDocumentOpener() = default;
    virtual void OpenDocument(const std::string& file) = 0;
};

// Imports ".java" files. A type that no file has declared yet is looked for as
// "<type name>.java" along the search path and read on the spot.
class TJavaImporter : public TImportIntegrator {
  public:
    // `opener` may be nullptr: then imported files are not opened as documents.
    TJavaImporter(TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
                  IImportFeedback& feedback, IDocumentOpener* opener);

    // ".java" = "Java".
    static TFileExtensions GetFileExtensions();
    // The registry entry of the importer; every importer it makes opens through `opener`.
    static TImportIntegratorClass Class(IDocumentOpener* opener);

  protected:
    void ImportOneFile(const std::string& file) override;

  private:
    // The `RequestPackage` handler of the parsers.
    TFoundFile NeedPackageHandler(const std::string& type_name);

    IDocumentOpener* opener_;
};

// Reads one Java source text into the model: packages, imports, classes with inner classes,
// interfaces, attributes, operations and parameters; enumerations and records become classes.
// It is no compiler front end: what it does not understand (type arguments, annotations,
// bodies) is read over, never reported.
class TJavaParser : public TCodeParser {
  public:
    // How deeply type declarations, together with the files that type lookups pull in while
    // a file is read, may nest. Deeper declarations are passed over with a trace line, so that
    // no input can exhaust the stack.
    static constexpr int max_depth = 400;
    // A lookup reads a file only while this much depth is left for the file's own
    // declarations; otherwise it finds no file (with a trace line) and the file stays unread,
    // to be imported in its turn when it is on the list.
    static constexpr int pulled_file_reserve = 32;

    // Finds and opens the source of a type by its name, telling the file it was found in.
    using TSourceRequest = std::function<TFoundFile(const std::string& type_name)>;

    // `depth` is the nesting this parser starts at: that of the parser whose lookup made it.
    explicit TJavaParser(TNeedPackageHandler request_package, int depth = 0);
    // The classifiers read are located in `source_file`, and those of the files lookups
    // open in theirs.
    TJavaParser(TSourceRequest request_source, std::string source_file, int depth = 0);

    void ParseStream(std::unique_ptr<std::istream> stream, TLogicPackage& root,
                     TObjectModel& model) override;

  private:
    char Current() const { return buffer_[pos_]; }
    char Following() const { return buffer_[pos_ + 1]; }
    void SkipWhiteSpace();
    void GetNextToken();
    bool Expect(std::string_view text);
    void SkipBlock();
    std::string ReadType();
    // At a token that opens a type argument or parameter list ("<"): reads over the list up
    // to the token that closes it, and past that. Answers what that token holds after the
    // closing ">" (an array's "[]").
    std::string SkipTypeArguments();
    // At `open`: reads over the tokens up to the `close` that matches it, and past that.
    void SkipBracketed(std::string_view open, std::string_view close);
    // Reads over annotations (with their arguments) and "final" before a parameter's type.
    void SkipParameterModifiers();
    void ParseModifiers();
    void ApplyModifiers(TModelEntity& entity);

    void ParseCompilationUnit();
    // The keyword at the token dispatches: "class", "enum" and "record" declare classes,
    // "interface" and "@interface" interfaces. False for any other token.
    bool ParseTypeDeclaration(bool inner, const std::string& outer_name);
    enum class TClassForm { Class, Enum, Record };
    void ParseClass(bool inner, const std::string& outer_name, TClassForm form);
    void ParseInterface();
    // Starts a type declaration at its keyword: reads the name, adds the classifier, applies
    // the modifiers, reads on and counts one level of depth, which the caller gives back at
    // the end. Too deep, it passes over the declaration up to the end of its block instead
    // and answers none.
    template <class Classifier>
    Classifier* BeginDeclaration(Classifier* (TUnitPackage::*add)(const std::string&));
    template <class Owner>
    void ParseAttributes(Owner& owner, const std::string& name, const std::string& type);
    // Answers whether the declaration ended with its ";".
    bool ParseAttribute(TAttribute& attribute, const std::string& type);
    void ParseOperation(TOperation& operation, const std::string& owner_name,
                        const std::string& type);

    // The line of a position, from 1; positions asked for never go back.
    int LineAt(std::size_t pos);

    TClassifier* RequestClassifier(const std::string& name, bool force,
                                   std::optional<TEntityKind> kind);
    TClassifier* SearchClassifier(const std::string& name, std::optional<TEntityKind> kind);
    bool RequestPackage(const std::string& short_name);

    TSourceRequest request_source_;
    std::string source_file_;
    int depth_;

    std::string buffer_;  // the text and a NUL; the scanner stops at the first NUL
    std::size_t pos_ = 0;
    std::size_t line_scanned_ = 0;  // the lines before this position are counted in line_
    int line_ = 1;
    std::string token_;
    std::string comment_;
    TVisibility modifier_visibility_ = TVisibility::Public;
    bool modifier_abstract_ = false;

    TLogicPackage* root_ = nullptr;
    TObjectModel* model_ = nullptr;
    TUnitPackage* current_package_ = nullptr;
    // Simple type name → package, from single-type imports.
    std::unordered_map<std::string, std::string> class_imports_;
    // Packages of on-demand imports, in source order.
    std::vector<std::string> package_imports_;
    // Folded type name → the name as first written and the classifier found for it.
    std::unordered_map<std::string, std::pair<std::string, TClassifier*>> classifier_cache_;
};

}  // namespace tarnwell
