#include "classwin/uConfig.h"

#include "classmodel/uDiagramFrame.h"

namespace tarnwell {

TConfig::TConfig(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)), defaults_(ReadDiagramDefaults(*settings_)) {
    const QVariant stored = settings_->value(QStringLiteral("RecentFiles"));
    // A single name comes back from the file as text, not as a one-entry list.
    for (const QString& file : stored.toStringList()) {
        if (!file.isEmpty() && !recent_.contains(file) && recent_.size() < RecentCapacity)
            recent_.append(file);
    }
}

void TConfig::StoreDefaults() {
    settings_->setValue(QStringLiteral("DiSave"), defaults_.Save);
    settings_->setValue(QStringLiteral("DiShowAssoc"), defaults_.ShowAssoc ? 1 : 0);
    settings_->setValue(QStringLiteral("DiVisibilityFilter"), defaults_.VisibilityFilter);
    settings_->sync();
}

void TConfig::AddRecentFile(const QString& file) {
    recent_.removeAll(file);
    recent_.prepend(file);
    while (recent_.size() > RecentCapacity) recent_.removeLast();
}

void TConfig::StoreRecentFiles() {
    // A one-entry list is still written as a list.
    settings_->setValue(QStringLiteral("RecentFiles"), QVariant(recent_));
    settings_->sync();
}

}  // namespace tarnwell
