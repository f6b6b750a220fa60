#pragma once
// File > "Recent Files": the section files last opened or saved, newest first, kept with the
// program's settings so the list outlives the run.
#include <QString>
#include <QStringList>

class QSettings;

namespace qav {

class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    // Reads the list from the settings (an absent or damaged entry gives an empty list).
    void load(const QSettings& settings);
    void store(QSettings& settings) const;

    // Puts the file first (by its absolute path; a file already listed moves up), dropping the
    // oldest beyond kMaxFiles.
    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& paths() const { return paths_; }

private:
    QStringList paths_;
};

// The program's settings (recent files, the last folder of the file dialogs, ...).
QSettings& appSettings();

}  // namespace qav
