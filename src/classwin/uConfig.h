// The settings of the class half, kept with QSettings under "broxsoft"/"tarnwell": the defaults
// of new diagrams and the list of recently imported files.
#pragma once

#include <QSettings>
#include <QStringList>
#include <memory>

#include "classmodel/uRtfdDiagram.h"

namespace tarnwell {

class TConfig {
  public:
    static constexpr int RecentCapacity = 10;

    // `settings` is where the values live; the program passes the user's own.
    explicit TConfig(std::unique_ptr<QSettings> settings);

    TDiagramDefaults& Defaults() { return defaults_; }
    const TDiagramDefaults& Defaults() const { return defaults_; }
    // Writes "DiSave", "DiShowAssoc" and "DiVisibilityFilter".
    void StoreDefaults();

    // Newest first, at most ten, each name once (names compare with their letter case).
    const QStringList& RecentFiles() const { return recent_; }
    void AddRecentFile(const QString& file);
    // Stored as a list, so names holding commas come back whole.
    void StoreRecentFiles();

    QSettings& Settings() { return *settings_; }

  private:
    std::unique_ptr<QSettings> settings_;
    TDiagramDefaults defaults_;
    QStringList recent_;
};

}  // namespace tarnwell
