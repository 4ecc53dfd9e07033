#pragma once

#include "core/FileRules.h"
#include "core/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The program's own settings, kept as readable text in one file of the data folder
// (AppFolder::settingsFile()): UTF-8, one setting a line, "name=value", lines ended by CR LF (any
// line end reads). A switch is "yes" or "no". Lines that are not settings, names the program does
// not know and their order are kept as they are when a setting changes; when a name is listed twice
// the first one counts, and changing it drops the second. A missing or unreadable file holds no
// settings, so every setting has its default.
class SettingsFile final {
public:
    // Reads `path` once; later changes by other programs are not seen.
    explicit SettingsFile(QString path);

    // The switch `name`, or `fallback` when the file does not set it to "yes" or "no".
    bool isOn(const QString& name, bool fallback) const;
    // Sets the switch `name` and writes the file. When the write fails the file is as it was, and
    // this object still holds the new value.
    Result<void, FileRules::FileProblem> setOn(const QString& name, bool on);

private:
    // The value of `name`'s first line, or a null array when no line sets it.
    QByteArray value(const QString& name) const;

    QString m_path;
    QList<QByteArray> m_lines;
};
