// The editor data module: the process-wide services the documents share, created before
// the main window. It owns the language parsers and the layout engine, and makes each
// document's highlighter.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>

#include "layout/xmls2script.h"
#include "parsers/parser_registry.h"

class QsciLexer;

namespace tarnwell {

class TeditorDataModule : public QObject {
    Q_OBJECT
  public:
    TeditorDataModule();

    const parser_registry& parsers() const { return parsers_; }
    // One engine lays out every chart, one layout at a time.
    txml2script& layout_engine() { return layout_engine_; }

    // A new highlighter for one editor: the one of the language table's row, or the
    // general one for a number outside it.
    QsciLexer* highlighter(int language, const QColor& background, QObject* owner) const;

    // The caption of a language in the language list: the row's combo text, or the name of
    // its highlighter for the rows without one.
    static QString language_caption(int language);

    // The file types of the open and save dialogs: every language with its extensions.
    static QString file_filter();

  private:
    parser_registry parsers_;
    txml2script layout_engine_;
};

}  // namespace tarnwell
