#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace qav {

namespace {
const char* kKey = "RecentFiles";
}

QSettings& appSettings() {
    static QSettings settings;
    return settings;
}

void RecentFiles::load(const QSettings& settings) {
    paths_.clear();
    for (const QString& p : settings.value(kKey).toStringList()) {
        if (p.isEmpty() || paths_.contains(p)) continue;
        paths_ << p;
        if (paths_.size() == kMaxFiles) break;
    }
}

void RecentFiles::store(QSettings& settings) const {
    if (paths_.isEmpty()) {
        settings.remove(kKey);  // an empty list would be written as an invalid value
    } else {
        settings.setValue(kKey, paths_);
    }
}

void RecentFiles::add(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    paths_.removeAll(full);
    paths_.prepend(full);
    while (paths_.size() > kMaxFiles) paths_.removeLast();
}

void RecentFiles::remove(const QString& path) {
    paths_.removeAll(path);
}

}  // namespace qav
