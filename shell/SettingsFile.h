#pragma once

#include <QString>

namespace delvard {

// The settings file Delvard.ini: it remembers the map folder between runs
// (section "Paths", key "Map"), and an empty one marks the first run.
class SettingsFile
{
  public:
    // Makes sure a settings file exists: Delvard.ini in programFolder if it
    // can be created or opened for appending there, else Delvard.ini in
    // fallbackFolder (created if missing; a read-only Delvard.ini beside the
    // program seeds it), else none. Opening for appending creates an empty
    // file and changes nothing in an existing one. With no usable file the
    // run goes on without one and is never taken for a first run, so the
    // user is not asked the same question on every start.
    //
    // A program installed by a package manager lives in a folder that is not
    // the user's to change, even for an administrator who could write there:
    // with SystemInstall the program's folder is only read (its Delvard.ini
    // seeds the user's file) and the settings always go to fallbackFolder.
    enum class Install { Portable, SystemInstall };
    static SettingsFile prepare(const QString& programFolder, const QString& fallbackFolder,
                                Install install = Install::Portable);

    // The per-user folder for the settings when the program's folder is
    // read-only. Needs the application's name to be set.
    static QString userFolder();

    // "<folder><separator>Delvard.ini".
    static QString pathIn(const QString& folder);

    QString path() const { return path_; } // empty when none is usable
    bool usable() const { return !path_.isEmpty(); }
    bool firstRun() const { return firstRun_; }
    bool inUserFolder() const { return inUserFolder_; }
    // Why no file is usable: the files tried and the system's reasons.
    QString problem() const { return problem_; }

    // The stored map folder; empty when the file holds none.
    QString mapFolder() const;
    // Stores the map folder. On failure returns false and, if problem is
    // given, a text for the user naming the file; the folder then lasts
    // only for this run.
    bool storeMapFolder(const QString& folder, QString* problem) const;

  private:
    QString path_;
    bool firstRun_ = false;
    bool inUserFolder_ = false;
    QString problem_;
};

// The value of key in section of file, read through a 255-byte buffer as
// the settings have always been read: a value of up to 254 bytes comes back
// whole, a longer one as its first 254 (never ending in half a UTF-8
// character). A missing file, section or key gives empty text.
QString readIniValue(const QString& section, const QString& key, const QString& file);

} // namespace delvard
