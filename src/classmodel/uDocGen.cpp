#include "classmodel/uDocGen.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "classmodel/uError.h"
#include "classmodel/uIterators.h"

namespace tarnwell {

TDocTempFolders::~TDocTempFolders() {
    for (const std::string& folder : folders_) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

std::string TDocTempFolders::Create() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    // mkdtemp makes the folder with a name nobody could foresee, readable by this user alone.
    std::string pattern = (base / "Vixmodel-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw model_error("Failed to create temp directory");
    folders_.push_back(pattern);
    return pattern;
}

TDocGen::TDocGen(TObjectModel& model, IDocGenHost& host, TDocTempFolders& temp_folders)
    : TExportIntegrator(model), host_(host), temp_folders_(temp_folders) {}

void TDocGen::Generate(const std::string& folder, bool preview) {
    preview_ = preview;
    std::string dir = folder;
    if (preview) {
        dir = temp_folders_.Create();
    } else if (dir.empty()) {
        const std::string config = Model().ModelRoot()->GetConfigFile();
        const std::string start =
            config.empty() ? std::string() : std::filesystem::path(config).parent_path().string();
        std::optional<std::string> chosen = host_.ChooseFolder(start);
        if (!chosen || chosen->empty()) return;
        dir = *chosen;
    }
    if (dir.back() != '/') dir += '/';
    output_dir_ = dir;

    packages_.clear();
    auto all = Model().ModelRoot()->GetAllUnitPackages();
    TModelIterator sorted(*all, TIterationSort::ByName);
    while (sorted.HasNext()) packages_.push_back(static_cast<TUnitPackage*>(sorted.Next()));

    Prepare();
    Traverse();
    Finish();
}

void TDocGen::Traverse() {
    DocStart();
    auto progress =
        host_.OpenProgress("Generating documentation...", static_cast<int>(packages_.size()));
    for (TUnitPackage* package : packages_) {
        DocPackage(*package);
        auto classifiers = package->GetClassifiers();
        TModelIterator classes(*classifiers, TEntityKind::Class, TVisibility::Private,
                               TIterationSort::ByName);
        while (classes.HasNext()) DocClass(static_cast<TClass&>(*classes.Next()));
        classifiers->Reset();
        TModelIterator interfaces(*classifiers, TEntityKind::Interface, TVisibility::Private,
                                  TIterationSort::ByName);
        while (interfaces.HasNext()) DocInterface(static_cast<TInterface&>(*interfaces.Next()));
        if (progress) progress->Tick();
    }
}

}  // namespace tarnwell
