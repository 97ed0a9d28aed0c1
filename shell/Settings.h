#pragma once

#include <QString>

// The settings file Delvard.ini: it remembers the map folder between runs,
// and an empty one marks the first run.

// The value of key in section of file, read through a 255-byte buffer: a
// value of up to 254 bytes comes back whole, a longer one as its first 254
// (never ending in half a UTF-8 character). Missing file, section or key
// gives empty text.
QString GetIniValue(const QString& section, const QString& key, const QString& file);

// Where the settings live for this run, as decided at start-up.
struct SettingsStart
{
    QString path;          // the settings file to use; empty when none is usable
    bool firstRun = false; // the file was empty: ask for the map folder
    bool usable = false;   // path names a file that exists and could be opened
    bool fellBack = false; // path lies in the fallback folder, not the program's
    QString problem;       // for the user when !usable: the files tried and why they failed
};

// "<folder><separator>Delvard.ini".
QString settingsPathIn(const QString& folder);

// The per-user folder for the settings when the program's folder is
// read-only. Needs the application's name to be set.
QString settingsFallbackFolder();

// Makes sure a settings file exists: Delvard.ini in programFolder if it can
// be created or opened for appending there, else Delvard.ini in
// fallbackFolder (created if missing), else none. Opening for appending
// creates an empty file and changes nothing in an existing one; an empty
// file means the first run. With no usable file the run goes on without
// one and is never treated as a first run, so the user is not asked the
// same question on every start.
SettingsStart prepareSettingsFile(const QString& programFolder, const QString& fallbackFolder);

// Writes Module1::MapFolder to Module1::SettingsPath, section "Paths", key
// "Map". On failure returns false and, if problem is given, a text for the
// user naming the file; the folder then lasts only for this run.
bool storeMapFolder(QString* problem);
