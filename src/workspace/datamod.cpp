#include "workspace/datamod.h"

#include <QStringList>
#include <algorithm>
#include <vector>

#include "parsers/language_table.h"
#include "workspace/highlighters.h"

namespace tarnwell {

TeditorDataModule::TeditorDataModule() {
    setObjectName(QStringLiteral("editorDataModule"));
}

QsciLexer* TeditorDataModule::highlighter(int language, const QColor& background,
                                          QObject* owner) const {
    return create_highlighter(language, background, owner);
}

QString TeditorDataModule::language_caption(int language) {
    if (language < 0 || language >= language_count) return QString();
    const language_row& row = language_table()[static_cast<std::size_t>(language)];
    const std::string_view caption = row.combo_text.empty() ? row.highlighter : row.combo_text;
    return QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()));
}

QString TeditorDataModule::file_filter() {
    // Rows with the same extensions (the two SQL dialects) share one entry.
    std::vector<std::pair<QString, QString>> entries;  // captions, patterns
    QStringList all;
    for (const language_row& row : language_table()) {
        if (row.extensions.empty()) continue;
        const QString patterns = QString::fromLatin1(row.extensions.data(),
                                                     static_cast<qsizetype>(row.extensions.size()))
                                     .replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString caption = language_caption(row.number);
        const auto same = std::find_if(entries.begin(), entries.end(),
                                       [&](const auto& entry) { return entry.second == patterns; });
        if (same != entries.end()) {
            same->first += QStringLiteral(", ") + caption;
        } else {
            entries.emplace_back(caption, patterns);
        }
        all << patterns.split(QLatin1Char(' '));
    }
    all.removeDuplicates();
    QStringList filters{QStringLiteral("All source files (") + all.join(QLatin1Char(' ')) +
                        QLatin1Char(')')};
    for (const auto& [caption, patterns] : entries) {
        filters << caption + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    filters << QStringLiteral("All files (*)");
    return filters.join(QStringLiteral(";;"));
}

}  // namespace tarnwell
