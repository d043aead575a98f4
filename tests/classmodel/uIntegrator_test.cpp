#include "classmodel/uIntegrator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classmodel/uJavaParser.h"
#include "test_support.h"

namespace tarnwell {
namespace {

using test::data_path;
using test::memory_provider;
using test::recording_feedback;
using test::trace_recorder;

// An importer that only notes the files it is given, each as a package of that name.
class noting_importer : public TImportIntegrator {
  public:
    noting_importer(TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
                    IImportFeedback& feedback, std::vector<std::string>& imported)
        : TImportIntegrator(model, std::move(provider), feedback), imported_(imported) {}

  protected:
    void ImportOneFile(const std::string& file) override {
        imported_.push_back(file);
        Model().ModelRoot()->AddUnitPackage(file);
    }

  private:
    std::vector<std::string>& imported_;
};

TImportIntegratorClass class_file_importer(std::vector<std::string>& imported) {
    return {"TJavaClassImporter",
            {{".class", "Java Class"}},
            [&imported](TObjectModel& model, std::unique_ptr<TCodeProvider> provider,
                        IImportFeedback& feedback) -> std::unique_ptr<TImportIntegrator> {
                return std::make_unique<noting_importer>(model, std::move(provider), feedback,
                                                         imported);
            }};
}

struct document_list : IDocumentOpener {
    void OpenDocument(const std::string& file) override { opened.push_back(file); }
    std::vector<std::string> opened;
};

struct model_events : IModelBeforeListener, IModelAfterListener {
    void BeforeChange(TModelEntity*) override { ++before; }
    void AfterChange(TModelEntity*) override { ++after; }
    int before = 0;
    int after = 0;
};

TEST(Integrators, FilterTextListsEveryTypeInRegistrationOrder) {
    std::vector<std::string> imported;
    TIntegrators integrators;
    integrators.Register(class_file_importer(imported));
    integrators.Register(TJavaImporter::Class(nullptr));
    EXPECT_EQ(FilterText(integrators),
              "All types (*.class;*.java)|*.class;*.java|Java Class (*.class)|*.class|"
              "Java (*.java)|*.java");
    EXPECT_EQ(integrators.Get().front().ClassName, "TJavaClassImporter");
}

TEST(Integrators, TheFirstFileChoosesTheImporterAndTheFilesItReads) {
    const std::string a = data_path("mixed/A.java");
    const std::string b = data_path("mixed/B.class");
    struct choice_case {
        std::vector<std::string> files;
        bool imported;
        std::vector<std::string> kept;
        std::vector<std::string> class_files_read;
    };
    const choice_case cases[] = {
        {{a, b}, true, {a}, {}},
        {{b, a, b}, true, {b, b}, {b}},
        {{data_path("mixed/notes.TXT"), a}, false, {data_path("mixed/notes.TXT"), a}, {}},
        {{data_path("mixed/UPPER.JAVA"), b}, true, {data_path("mixed/UPPER.JAVA")}, {}},
    };
    for (const choice_case& c : cases) {
        std::vector<std::string> class_files_read;
        TIntegrators integrators;
        integrators.Register(class_file_importer(class_files_read));
        integrators.Register(TJavaImporter::Class(nullptr));
        TObjectModel model;
        recording_feedback feedback;
        std::vector<std::string> files = c.files;
        EXPECT_EQ(ImportFileList(integrators, model, files, feedback), c.imported);
        EXPECT_EQ(files, c.kept);
        EXPECT_EQ(class_files_read, c.class_files_read);
        EXPECT_EQ(feedback.busy_changes, (std::vector<bool>{true, false}));
        EXPECT_FALSE(model.Locked());
    }
}

TEST(Integrators, BatchImportReportsWhatItReads) {
    TIntegrators integrators;
    document_list documents;
    integrators.Register(TJavaImporter::Class(&documents));
    TObjectModel model;
    model_events events;
    model.AddListener(&events);
    recording_feedback feedback;
    const std::string circle = data_path("shapes/Circle.java");
    std::vector<std::string> files{circle};
    ASSERT_TRUE(ImportFileList(integrators, model, files, feedback));

    EXPECT_EQ(
        feedback.statuses,
        (std::vector<std::string>{"Reading " + circle, "Reading " + data_path("shapes/Shape.java"),
                                  "2 files read."}));
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_EQ(documents.opened, std::vector<std::string>{circle});
    EXPECT_EQ(events.before, 1);
    EXPECT_EQ(events.after, 1);
    EXPECT_EQ(model.ModelRoot()->GetConfigFile(), data_path("shapes/Circle.vixModel"));
}

TEST(Integrators, ProgressWindowOpensForMoreThanThreeFiles) {
    for (const std::size_t count : {3u, 4u}) {
        std::vector<std::string> files;
        for (std::size_t i = 0; i < count; ++i)
            files.push_back("/src/F" + std::to_string(i) + ".x");
        TObjectModel model;
        recording_feedback feedback;
        std::vector<std::string> imported;
        noting_importer importer(
            model, std::make_unique<memory_provider>(std::map<std::string, std::string>{}),
            feedback, imported);
        importer.BuildModelFrom(files);
        EXPECT_EQ(imported, files);
        EXPECT_FALSE(feedback.progress_open);
        if (count == 3) {
            EXPECT_TRUE(feedback.progress_captions.empty());
            EXPECT_EQ(feedback.ticks, 0);
        } else {
            EXPECT_EQ(feedback.progress_captions, std::vector<std::string>{"Reading files..."});
            EXPECT_EQ(feedback.progress_maximum, 4);
            EXPECT_EQ(feedback.ticks, 4);
        }
    }
}

TEST(Integrators, AFileListedTwiceIsReadOnceWithATraceLine) {
    const trace_recorder trace;
    TObjectModel model;
    recording_feedback feedback;
    std::vector<std::string> imported;
    noting_importer importer(
        model, std::make_unique<memory_provider>(std::map<std::string, std::string>{}), feedback,
        imported);
    importer.BuildModelFrom({"/src/A.x", "/src/B.x", "/src/A.x"});
    EXPECT_EQ(imported, (std::vector<std::string>{"/src/A.x", "/src/B.x"}));
    EXPECT_EQ(trace.lines, std::vector<std::string>{"Skipping file, already parsed: /src/A.x"});
    EXPECT_EQ(importer.FilesRead(), (std::set<std::string>{"/src/A.x", "/src/B.x"}));
    EXPECT_EQ(importer.CodeProvider().SearchPath(), std::vector<std::string>{"/src/"});
}

TEST(Integrators, AnErrorStopsOneFileAndTheBatchGoesOn) {
    TObjectModel model;
    model.ModelRoot()->AddUnitPackage("stale");
    recording_feedback feedback;
    const std::map<std::string, std::string> sources{
        {"/src/A.java", "package a; class A { int x; }"},
        {"/src/C.java", "package c; class C { }"},
    };
    TJavaImporter importer(model, std::make_unique<memory_provider>(sources), feedback, nullptr);
    importer.BuildModelFrom({"/src/A.java", "/src/Gone.java", "/src/C.java"});
    EXPECT_EQ(feedback.messages, std::vector<std::string>{"Cannot open /src/Gone.java"});
    EXPECT_FALSE(model.Locked());
    EXPECT_EQ(test::dump(model),
              "package <<Unknown>>\n"
              "  private class int\n"
              "package a\n"
              "  public class A\n"
              "    public attribute x : ?int\n"
              "package c\n"
              "  public class C\n");

    // A single file with the lock flag locks and unlocks around it, also after an error.
    model_events events;
    model.AddListener(&events);
    importer.ImportFile("/src/Missing.java", false, true);
    EXPECT_EQ(events.before, 1);
    EXPECT_EQ(events.after, 1);
    EXPECT_EQ(feedback.messages.size(), 2u);
}

}  // namespace
}  // namespace tarnwell
