// Speed of a class diagram of the size of a large library package (about 400 classes and
// interfaces with their members, inheritance, interfaces and associations): built from the
// model, laid out, and painted whole, as the desktop program shows a package.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <random>
#include <string>
#include <vector>

#include "classmodel/uModel.h"
#include "classmodel/uRtfdDiagram.h"
#include "classmodel/uRtfdPainter.h"

namespace {

using namespace tarnwell;

// One package of `classes` classes and `interfaces` interfaces: classes inherit from earlier
// ones or from a class of a second package, implement a few interfaces and hold fields of
// each other's types; every classifier has a handful of members of mixed visibility.
void fill_model(TObjectModel& model, int classes, int interfaces) {
    std::mt19937 random(400);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    TUnitPackage* base_package = model.ModelRoot()->AddUnitPackage("gen.base");
    TClass* object = base_package->AddClass("Object");
    TUnitPackage* p = model.ModelRoot()->AddUnitPackage("gen.util");
    std::vector<TInterface*> interface_list;
    for (int i = 0; i < interfaces; ++i) {
        TInterface* in = p->AddInterface("Interface" + std::to_string(i));
        if (i > 3 && below(2) == 0)
            in->SetAncestor(interface_list[static_cast<std::size_t>(below(i))]);
        for (int k = 0; k < 2 + below(5); ++k) {
            TOperation* op = in->AddOperation("operation" + std::to_string(k));
            op->SetVisibility(TVisibility::Public);
            op->SetOperationType(TOperationType::Function);
            op->SetIsAbstract(true);
        }
        interface_list.push_back(in);
    }
    std::vector<TClass*> class_list;
    for (int i = 0; i < classes; ++i) {
        TClass* c = p->AddClass("GeneratedClass" + std::to_string(i));
        c->SetAncestor(i > 0 && below(3) != 0 ? class_list[static_cast<std::size_t>(below(i))]
                                              : object);
        for (int k = below(3); k > 0; --k)
            c->AddImplements(interface_list[static_cast<std::size_t>(below(interfaces))]);
        for (int k = 0; k < below(8); ++k) {
            TAttribute* a = c->AddAttribute("field" + std::to_string(k));
            a->SetVisibility(static_cast<TVisibility>(below(3)));
            if (!class_list.empty() && below(6) == 0)
                a->SetTypeClassifier(class_list[static_cast<std::size_t>(below(i))]);
        }
        for (int k = 0; k < 1 + below(12); ++k) {
            TOperation* op = c->AddOperation("method" + std::to_string(k) + "WithALongerName");
            op->SetVisibility(static_cast<TVisibility>(below(3)));
            op->SetOperationType(static_cast<TOperationType>(below(4)));
        }
        class_list.push_back(c);
    }
}

void run(benchmark::State& state, bool associations) {
    int argc = 1;
    char name[] = "diagram_bench";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
    TObjectModel model;
    fill_model(model, 360, 40);
    const TDiagramFonts fonts;
    TDiagramDefaults defaults;
    defaults.Save = 2;
    defaults.ShowAssoc = associations;
    std::int64_t pixels = 0;
    for (auto _ : state) {
        TRtfdDiagram diagram(model, fonts, defaults, "");
        diagram.SetPackage(static_cast<TAbstractPackage*>(
            model.ModelRoot()->FindUnitPackage("gen.util", true, TCompareMode::CaseSensitive)));
        diagram.InitFromModel();
        const TPoint size = diagram.GetDiagramSize();
        // Every box and line painted, onto a screen's worth of pixels.
        QImage screen(1920, 1080, QImage::Format_RGB32);
        {
            QPainter painter(&screen);
            PaintDiagram(painter, diagram, fonts, {});
        }
        pixels = static_cast<std::int64_t>(size.X) * size.Y;
        benchmark::DoNotOptimize(screen.bits());
        state.counters["boxes"] = static_cast<double>(diagram.Boxes().size());
        state.counters["lines"] = static_cast<double>(diagram.Surface().GetConnections().size());
    }
    state.counters["surface_px"] = static_cast<double>(pixels);
}

void BM_PackageDiagramInheritance(benchmark::State& state) {
    run(state, false);
}
void BM_PackageDiagramWithAssociations(benchmark::State& state) {
    run(state, true);
}

}  // namespace

BENCHMARK(BM_PackageDiagramInheritance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackageDiagramWithAssociations)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
