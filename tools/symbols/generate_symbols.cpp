// Writes the two symbol picture sets: OUTDIR/photo1 (65 x 33) and OUTDIR/photo2 (27 x 21), one
// 8-bit bitmap per symbol name, all on the chart palette so that a chart built from them keeps
// every colour when it is saved as an 8-bit bitmap.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "flowview/chart_picture.h"
#include "flowview/symbol_painter.h"
#include "layout/grid_script.h"

namespace {

bool write_set(const QString& folder, tarnwell::symbol_set set) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "tarnwell-symbols: cannot create %s\n", qPrintable(folder));
        return false;
    }
    const QSize size = tarnwell::symbol_cell_size(set);
    for (int i = 1; i <= tarnwell::symbol_count; ++i) {
        const std::string_view name = tarnwell::symbol_name(static_cast<tarnwell::symbol>(i));
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        tarnwell::paint_symbol(painter, QRectF(QPointF(0, 0), QSizeF(size)), name, set);
        painter.end();
        const QString file = folder + "/" +
                             QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) +
                             ".bmp";
        const QImage indexed = picture.convertToFormat(
            QImage::Format_Indexed8, tarnwell::chart_palette(), Qt::ThresholdDither);
        if (!indexed.save(file, "BMP")) {
            std::fprintf(stderr, "tarnwell-symbols: cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarnwell-symbols OUTDIR\n");
        return 2;
    }
    tarnwell::use_offscreen_without_display();
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool ok = write_set(out + "/photo1", tarnwell::symbol_set::large) &&
                    write_set(out + "/photo2", tarnwell::symbol_set::small);
    return ok ? 0 : 1;
}
