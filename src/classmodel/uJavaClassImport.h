// Class-file import: the importer for ".class" files and ".jar" archives, and the parser that
// fills the class model from one class file.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "classmodel/uIntegrator.h"
#include "classmodel/uJavaClass.h"
#include "classmodel/uModel.h"

namespace tarnwell {

class TJarArchive;

// Imports compiled classes: a ".class" file as it is, a ".jar" as the batch of the class files
// it holds. A type no class has been read for is looked for as a class file and read on the
// spot: in the jar being read by its path, else in the folder of its package, else as
// "<short name>.class" along the search path. Unlike the source importer it opens no document.
class TJavaClassImporter : public TImportIntegrator {
  public:
    TJavaClassImporter(TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
                       IImportFeedback& feedback);

    // ".class" = "Java Class", ".jar" = "Java Archive".
    static TFileExtensions GetFileExtensions();
    static TImportIntegratorClass Class();

  protected:
    void ImportOneFile(const std::string& file) override;

  private:
    void ImportJar(const std::string& file);
    void Parse(std::unique_ptr<std::istream> stream);
    // The `RequestPackage` handler of the parsers, given the type's full name.
    std::unique_ptr<std::istream> NeedPackageHandler(const std::string& type_name);
    // An entry of the jar being read, counted as read; none when it was read already.
    std::unique_ptr<std::istream> LoadJarEntry(const std::string& entry);

    // The archive being read, while its classes are imported.
    TJarArchive* jar_ = nullptr;
    std::string jar_file_;
};

// Reads one class file into the model: its package, the class or interface with its ancestor
// and implemented interfaces, and its fields and methods with their types. Synthetic members,
// static initialisers and module descriptors are left out.
class TJavaClassParser : public TCodeParser {
  public:
    // Takes an error text of a class file that a type lookup pulled in: that file is left out,
    // the file that needed it goes on.
    using TErrorReport = std::function<void(const std::string& text)>;

    // How deeply type lookups may pull in class files that pull in others. A lookup deeper
    // than this reads no file (with a trace line) and the type becomes a placeholder, so that
    // no chain of class files can exhaust the stack.
    static constexpr int max_depth = 200;

    // `request_package` is given full type names; `depth` is the nesting this parser starts
    // at: that of the parser whose lookup made it.
    explicit TJavaClassParser(TNeedPackageHandler request_package, TErrorReport report = {},
                              int depth = 0);

    // Raises "Unexpected end of file" or the bad-tag error of the reader; then the model is as
    // it was.
    void ParseStream(std::unique_ptr<std::istream> stream, TLogicPackage& root,
                     TObjectModel& model) override;

  private:
    void ParseClassFile(const TClassFile& file);
    // The fields and methods of a class or an interface.
    template <class Owner>
    void ParseMembers(Owner& owner, const TClassFile& file);
    void ParseField(TAttribute& attribute, const TFieldInfo& field);
    void ParseMethod(TOperation& operation, const TMethodInfo& method);
    // The type of the field descriptor at `pos`, which is moved past it; none for a
    // character that starts no type.
    TClassifier* ReadFieldType(const std::string& descriptor, std::size_t& pos);
    TClassifier* ResolveType(const std::string& name, std::optional<TEntityKind> kind);
    TClassifier* FindType(const std::string& name, std::optional<TEntityKind> kind) const;
    bool RequestPackage(const std::string& type_name);

    TNeedPackageHandler request_package_;
    TErrorReport report_;
    int depth_;

    TLogicPackage* root_ = nullptr;
    TObjectModel* model_ = nullptr;
};

// A name as a class file writes it ("java/lang/String;") in the model's form
// ("java.lang.String").
std::string ConvertClassName(std::string_view name);
// Everything before the last "." of a name, or "Default" when it has none.
std::string PackagePart(std::string_view name);
// Everything after the last "." of a name.
std::string ShortName(std::string_view name);

}  // namespace tarnwell
